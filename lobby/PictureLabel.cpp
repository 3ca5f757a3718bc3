#include "lobby/PictureLabel.h"

#include "app/ErrorHandler.h"

#include <QMouseEvent>

PictureLabel::PictureLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

void PictureLabel::mouseReleaseEvent(QMouseEvent* e) {
    int button = 0;
    switch (e->button()) {
        case Qt::LeftButton: button = 1; break;
        case Qt::RightButton: button = 2; break;
        case Qt::MiddleButton: button = 4; break;
        default: break;
    }
    const bool inside = rect().contains(e->position().toPoint());
    shielded("PictureLabel::mouseReleaseEvent", [&] {
        if (button) emit MouseUp(button);
        if (button == 1 && inside) emit Click();
    });
    e->accept();
}

CyclingPicture::CyclingPicture(QWidget* parent) : PictureLabel(parent), m_timer(new QTimer(this)) {
    connect(m_timer, &QTimer::timeout, this, &CyclingPicture::step);
}

void CyclingPicture::setFrames(std::vector<QPixmap> frames, int msPerFrame) {
    m_frames = std::move(frames);
    m_current = 0;
    m_timer->setInterval(msPerFrame);
    if (!m_frames.empty()) setPixmap(m_frames.front());
}

void CyclingPicture::Play() {
    if (m_frames.size() > 1) m_timer->start();
}

void CyclingPicture::Stop() { m_timer->stop(); }

void CyclingPicture::step() {
    if (m_frames.empty()) return;
    m_current = (m_current + 1) % int(m_frames.size());
    setPixmap(m_frames[size_t(m_current)]);
}
