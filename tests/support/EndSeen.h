#pragma once
// What a game window showed the last time it could be seen before it closed. A window is drawn
// only when the event loop gets a turn, so a probe that runs at every turn (the client's own
// pauses among them) notes the window's state while it is loaded and visible; a line handled in
// the same turn as the close is never on screen, and never noted. The last picture seen is saved
// as `picture` when CORVADEX_SCREENSHOTS names a folder.
#include "Screenshots.h"

#include "platform/Forms.h"

#include <QImage>
#include <QTimer>

#include <functional>

template <class W>
class EndSeen {
public:
    EndSeen(std::function<QString(W*)> state, const char* picture) : m_state(std::move(state)), m_picture(picture) {
        m_probe.setInterval(0);
        QObject::connect(&m_probe, &QTimer::timeout, [this] {
            W* w = ifLoaded<W>();
            if (!w || !w->isVisible()) return;
            const QString now = m_state(w);
            if (now == m_last) return;
            m_last = now;
            m_shot = w->grab().toImage();
        });
        m_probe.start();
    }
    ~EndSeen() {
        if (!m_shot.isNull()) save(m_shot, m_picture);
    }
    EndSeen(const EndSeen&) = delete;
    EndSeen& operator=(const EndSeen&) = delete;

    // The state last seen on screen.
    QString last() const { return m_last; }

private:
    std::function<QString(W*)> m_state;
    const char* m_picture;
    QTimer m_probe;
    QString m_last;
    QImage m_shot;
};
