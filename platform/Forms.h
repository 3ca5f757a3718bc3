#pragma once
// One program-wide instance per window class, reached by its type: form<T>() creates it hidden
// and runs its load on first use, ifLoaded<T>() never creates, unload<T>() destroys it and the
// next form<T>() builds a fresh one. Windows unload inside nested event loops and inside their
// own handlers, so an unloaded window is forgotten at once but deleted only later.
#include "platform/VbCompat.h"

#include <QCloseEvent>
#include <QPointer>
#include <QWidget>

#include <typeindex>

// What every window may answer when it is about to be unloaded.
class FormBase {
public:
    virtual ~FormBase() = default;
    // Set cancel to non-zero to refuse. mode is vb::FormControlMenu for a close by the user,
    // vb::FormCode for an unload from code.
    virtual void Form_QueryUnload(int& cancel, int mode) {
        (void)cancel;
        (void)mode;
    }
    virtual void Form_Unload(int& cancel) { (void)cancel; }
    // True while the window is being unloaded by code or has been.
    bool unloading() const { return m_unloading; }

protected:
    bool m_unloading = false;
    friend bool formsUnloadWidget(QWidget* w, int mode);
};

namespace forms {
QWidget* find(std::type_index type);
void add(std::type_index type, QWidget* w);
void forget(QWidget* w);
// A loaded window of the type kept aside, handed out by form() instead of a new one; null builds
// one. The client sets none; the fuzz targets keep windows across inputs with it.
using Supplier = QWidget* (*)(std::type_index type);
Supplier& supplier();
}  // namespace forms

// Runs the unload checks on a window; true when it went (then it is hidden and deleted later).
bool formsUnloadWidget(QWidget* w, int mode);

// Base for windows: a close by the user goes through Form_QueryUnload and Form_Unload.
template <class Base>
class FormWindow : public Base, public FormBase {
public:
    using Base::Base;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (m_unloading) {
            event->accept();
            return;
        }
        event->ignore();
        formsUnloadWidget(this, vb::FormControlMenu);
    }
};

template <class T>
T* ifLoaded() {
    return static_cast<T*>(forms::find(std::type_index(typeid(T))));
}

template <class T>
T* form() {
    if (T* existing = ifLoaded<T>()) return existing;
    if (forms::supplier())
        if (QWidget* kept = forms::supplier()(std::type_index(typeid(T)))) return static_cast<T*>(kept);
    T* w = new T();
    forms::add(std::type_index(typeid(T)), w);
    if constexpr (requires { w->Form_Load(); }) w->Form_Load();
    return w;
}

// Unloads the window when loaded; false when its checks refused. Nothing happens when not loaded.
template <class T>
bool unload() {
    T* w = ifLoaded<T>();
    return w ? formsUnloadWidget(w, vb::FormCode) : true;
}

// Unloads a window held by pointer (the many-instance kind, or a window closing itself).
inline bool unloadWidget(QWidget* w) { return w ? formsUnloadWidget(w, vb::FormCode) : true; }

// Every loaded single-instance window (tests use it to start each case clean).
QList<QWidget*> loadedForms();
