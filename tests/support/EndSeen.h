#pragma once
// What a game window showed the last time it could be seen before it closed. A window is drawn
// only when the event loop gets a turn, so a probe that runs at every turn (the client's own
// pauses among them) notes the window's state while it is loaded and visible; a line handled in
// the same turn as the close is never on screen, and never noted. The window's picture as it
// closes, when it still shows that state, is saved as `picture` when CORVADEX_SCREENSHOTS names
// a folder.
#include "Screenshots.h"

#include "platform/Forms.h"

#include <QEvent>
#include <QImage>
#include <QPointer>
#include <QTimer>

#include <functional>

template <class W>
class EndSeen : public QObject {
public:
    EndSeen(std::function<QString(W*)> state, const char* picture) : m_state(std::move(state)), m_picture(picture) {
        m_probe.setInterval(0);
        connect(&m_probe, &QTimer::timeout, this, [this] {
            W* w = ifLoaded<W>();
            if (!w || !w->isVisible()) return;
            if (w != m_window) {
                m_window = w;
                w->installEventFilter(this);
            }
            m_last = m_state(w);
        });
        m_probe.start();
    }
    ~EndSeen() override {
        if (!m_shot.isNull()) save(m_shot, m_picture);
    }

    // The state last seen on screen.
    QString last() const { return m_last; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && watched == m_window && m_state(m_window) == m_last) m_shot = m_window->grab().toImage();
        return false;
    }

private:
    std::function<QString(W*)> m_state;
    const char* m_picture;
    QTimer m_probe;
    QPointer<W> m_window;
    QString m_last;
    QImage m_shot;
};

// The score a board shows, blue then red, as the game's points line gives it.
template <class W>
QString shownScore(W* w) {
    return w->player1_cards->text() + u' ' + w->player2_cards->text();
}

// The last line of a window's text box.
template <class W>
QString lastLine(W* w) {
    return w->chatin->toPlainText().trimmed().section(u'\n', -1).trimmed();
}
