#pragma once
// The delayed steps of a loopback game (a resident's move, a reveal, the close): each belongs to
// the game it was scheduled in. One game object plays one game after another, so a step still
// waiting when that game is over (decided, or left by the client) or the next has begun would
// act on the wrong one: it does nothing instead.
#include <QObject>
#include <QTimer>
#include <functional>

class LoopbackLater {
public:
    // Steps run in the thread of `context`, and not after it is gone.
    explicit LoopbackLater(QObject* context) : m_context(context) {}

    void operator()(int ms, std::function<void()> step) {
        QTimer::singleShot(ms, m_context, [this, serial = m_serial, step = std::move(step)] {
            if (serial == m_serial) step();
        });
    }
    // The game is over or a new one begins: the steps waiting so far are dropped.
    void drop() { ++m_serial; }

private:
    QObject* m_context;
    int m_serial = 0;
};
