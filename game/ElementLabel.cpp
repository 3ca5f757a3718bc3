#include "game/ElementLabel.h"

#include <QMouseEvent>
#include <QPainter>

ElementLabel::ElementLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    setAlignment(Qt::AlignCenter);
    QFont f = font();
    f.setBold(true);
    f.setPointSize(12);
    setFont(f);
}

void ElementLabel::paintEvent(QPaintEvent*) {
    const QString t = text();
    if (t.isEmpty()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect r = fontMetrics().boundingRect(t).adjusted(-6, -2, 6, 2);
    QRect badge(QPoint(0, 0), r.size());
    badge.moveCenter(rect().center());
    p.setPen(QPen(QColor(226, 188, 102), 1));
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawRoundedRect(badge, 6, 6);
    p.setPen(t.startsWith(u'-') ? QColor(255, 110, 110) : QColor(130, 255, 140));
    p.drawText(badge, Qt::AlignCenter, t);
}

void ElementLabel::mousePressEvent(QMouseEvent* e) { e->accept(); }

void ElementLabel::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
}

void ElementLabel::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    emit mouseMoved();
}
