#pragma once
// The shared error reporter and the guards that lead to it.
#include "platform/RuntimeError.h"

#include <QString>
#include <QtGlobal>
#include <exception>

// Beeps and shows the "Error" box ending with the site identifier; when connected it also tells
// the server ("ERRORHANDLER", "QUITERROR") and ends the program. Not connected, it returns.
void ErrorHandler(const QString& text, int site, int unused = 0);
// The splash window's variant, with a site label instead of a number.
void SplashErrorHandler(const QString& text, const QString& label);

// Runs fn; an error escaping it goes to ErrorHandler with the site, and the rest of fn is skipped.
template <class F>
void guarded(int site, F&& fn) {
    try {
        fn();
    } catch (const RuntimeError& e) {
        ErrorHandler(e.description(), site, 0);
    } catch (const std::exception& e) {
        ErrorHandler(QString::fromLocal8Bit(e.what()), site, 0);
    }
}

// The outermost catch of a Qt entry point without a site of its own: a fault is logged and the
// event loop goes on.
template <class F>
void shielded(const char* where, F&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        qWarning("%s: %s", where, e.what());
    } catch (...) {
        qWarning("%s: unknown error", where);
    }
}

// Runs one statement of a skip-and-continue procedure: a failure is passed over.
template <class F>
void resumeNext(F&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        qWarning("skipped: %s", e.what());
    }
}
