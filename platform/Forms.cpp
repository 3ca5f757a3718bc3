#include "platform/Forms.h"

#include <QHash>

namespace {
QHash<std::type_index, QPointer<QWidget>>& registry() {
    static QHash<std::type_index, QPointer<QWidget>> r;
    return r;
}
}  // namespace

namespace forms {
QWidget* find(std::type_index type) {
    auto it = registry().find(type);
    if (it == registry().end()) return nullptr;
    QWidget* w = it->data();
    if (!w) registry().erase(it);
    return w;
}

void add(std::type_index type, QWidget* w) { registry().insert(type, w); }

Supplier& supplier() {
    static Supplier s = nullptr;
    return s;
}

void forget(QWidget* w) {
    for (auto it = registry().begin(); it != registry().end();) {
        if (it->data() == w || it->isNull())
            it = registry().erase(it);
        else
            ++it;
    }
}
}  // namespace forms

bool formsUnloadWidget(QWidget* w, int mode) {
    auto* base = dynamic_cast<FormBase*>(w);
    if (base) {
        if (base->m_unloading) return true;
        int cancel = 0;
        base->Form_QueryUnload(cancel, mode);
        if (cancel) return false;
        base->m_unloading = true;
        base->Form_Unload(cancel);
        if (cancel) {
            base->m_unloading = false;
            return false;
        }
    }
    forms::forget(w);
    w->hide();
    w->deleteLater();
    return true;
}

QList<QWidget*> loadedForms() {
    QList<QWidget*> out;
    for (const auto& p : registry())
        if (p) out << p.data();
    return out;
}
