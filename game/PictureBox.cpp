#include "game/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

QString plainToolTip(const QString& text) {
    if (text.isEmpty()) return {};
    // Forcing rich text makes the escaped entities show as the characters they stand for.
    return QStringLiteral("<qt>") + text.toHtmlEscaped() + QStringLiteral("</qt>");
}

PictureBox::PictureBox(QWidget* parent, Fit fit) : QWidget(parent), m_fit(fit) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureBox::Picture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void PictureBox::ToolTipText(const QString& text) {
    m_toolTip = text;
    setToolTip(plainToolTip(text));
}

void PictureBox::setHighlighted(bool on) {
    if (m_highlight == on) return;
    m_highlight = on;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect box = rect();
    if (m_picture.isNull()) {
        p.fillRect(box, Qt::black);
    } else if (m_fit == Fit::FitWidth && m_picture.width() > 0) {
        const int h = m_picture.height() * box.width() / m_picture.width();
        p.setClipRect(box);
        p.drawPixmap(QRect(0, 0, box.width(), h), m_picture);
    } else {
        p.drawPixmap(box, m_picture);
    }
    if (m_highlight) {
        p.setClipping(false);
        p.setPen(QPen(QColor(255, 214, 96), 3));
        p.drawRect(box.adjusted(1, 1, -2, -2));
    }
}

void PictureBox::mousePressEvent(QMouseEvent* e) {
    m_pressed = e->button() == Qt::LeftButton;
    e->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e) {
    const bool click = m_pressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    m_pressed = false;
    e->accept();
    if (click) emit clicked();
}

void PictureBox::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    emit mouseMoved();
}
