#include "platform/KeyAscii.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

#include <exception>

int16_t keyAscii(const QKeyEvent* e) {
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers();
    // AltGr arrives as Ctrl+Alt on some systems and types a character: it is not a control key.
    const bool control = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
    if (control && key >= Qt::Key_A && key <= Qt::Key_Z) return int16_t(key - Qt::Key_A + 1);
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return control ? 10 : 13;
        case Qt::Key_Backspace: return control ? 127 : 8;
        case Qt::Key_Tab: return 9;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Delete: return 0;
        default: break;
    }
    const QString t = e->text();
    if (t.isEmpty()) return 0;
    const char16_t c = t[0].unicode();
    if (c < 32 || c == 127 || c > 32767) return 0;
    return int16_t(c);
}

namespace {
class KeyPressHook : public QObject {
public:
    KeyPressHook(QLineEdit* box, std::function<void(int16_t&)> handler) : QObject(box), m_box(box), m_handler(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // The type first: the box sends events while it is destroyed, when it is no longer a
        // line edit that m_box may be read as.
        if (event->type() != QEvent::KeyPress || watched != m_box) return false;
        int16_t code = keyAscii(static_cast<QKeyEvent*>(event));
        if (code == 0) return false;
        const int16_t typed = code;
        // The outermost catch of this entry point: a fault is logged and the key goes through.
        try {
            m_handler(code);
        } catch (const std::exception& ex) {
            qWarning("key press: %s", ex.what());
            return false;
        } catch (...) {
            qWarning("key press: unknown error");
            return false;
        }
        if (code == typed) return false;
        // The handler may have ended the window that holds the box.
        if (code != 0 && m_box) m_box->insert(QString(QChar(char16_t(code))));
        return true;
    }

private:
    QPointer<QLineEdit> m_box;
    std::function<void(int16_t&)> m_handler;
};
}  // namespace

void hookKeyPress(QLineEdit* box, std::function<void(int16_t&)> handler) {
    if (!box) return;
    box->installEventFilter(new KeyPressHook(box, std::move(handler)));
}
