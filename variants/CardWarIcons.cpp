#include "variants/CardWarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {
QPixmap canvas(int w, int h) {
    QPixmap p(w, h);
    p.fill(Qt::transparent);
    return p;
}

QPixmap sword() {
    QPixmap pm = canvas(62, 35);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath blade;
    blade.moveTo(18, 14);
    blade.lineTo(56, 15);
    blade.lineTo(61, 17.5);
    blade.lineTo(56, 20);
    blade.lineTo(18, 21);
    blade.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.setBrush(QColor(214, 220, 232));
    p.drawPath(blade);
    p.setBrush(QColor(196, 150, 60));
    p.drawRoundedRect(QRectF(14, 5, 5, 25), 2, 2);
    p.setBrush(QColor(110, 60, 30));
    p.drawRect(QRectF(3, 15, 11, 5));
    p.setBrush(QColor(226, 188, 102));
    p.drawEllipse(QPointF(3, 17.5), 3, 3);
    return pm;
}

QPixmap shield() {
    QPixmap pm = canvas(50, 50);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath s;
    s.moveTo(25, 2);
    s.cubicTo(34, 7, 42, 7, 47, 6);
    s.cubicTo(47, 28, 40, 41, 25, 48);
    s.cubicTo(10, 41, 3, 28, 3, 6);
    s.cubicTo(8, 7, 16, 7, 25, 2);
    p.setPen(QPen(QColor(196, 150, 60), 3));
    p.setBrush(QColor(40, 70, 140));
    p.drawPath(s);
    p.setPen(QPen(QColor(226, 188, 102), 2));
    p.drawLine(QPointF(25, 8), QPointF(25, 42));
    p.drawLine(QPointF(10, 20), QPointF(40, 20));
    return pm;
}

// One element icon on a dark round ground, drawn by its number 1..10.
QPixmap element(int n) {
    QPixmap pm = canvas(21, 21);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 16, 24, 200));
    p.drawEllipse(QRectF(0.5, 0.5, 20, 20));
    const QPointF c(10.5, 10.5);
    switch (n) {
        case 1:  // stone
            p.setBrush(QColor(140, 126, 110));
            p.drawPolygon(QPolygonF({QPointF(4, 14), QPointF(7, 6), QPointF(14, 5), QPointF(17, 12), QPointF(13, 17)}));
            break;
        case 2: {  // flame
            QPainterPath f;
            f.moveTo(10.5, 2);
            f.cubicTo(18, 9, 17, 18, 10.5, 19);
            f.cubicTo(4, 18, 3, 10, 10.5, 2);
            p.setBrush(QColor(240, 110, 20));
            p.drawPath(f);
            p.setBrush(QColor(255, 210, 60));
            p.drawEllipse(QPointF(10.5, 14), 3, 4);
            break;
        }
        case 3: {  // star burst
            QPolygonF star;
            for (int i = 0; i < 16; ++i) {
                const double r = i % 2 ? 3.5 : 9, a = i * M_PI / 8;
                star << c + QPointF(r * qCos(a), r * qSin(a));
            }
            p.setBrush(QColor(255, 226, 40));
            p.drawPolygon(star);
            break;
        }
        case 4:  // ice crystal
            p.setPen(QPen(QColor(170, 230, 255), 2));
            for (int i = 0; i < 3; ++i) {
                const double a = i * M_PI / 3;
                p.drawLine(c + QPointF(8 * qCos(a), 8 * qSin(a)), c - QPointF(8 * qCos(a), 8 * qSin(a)));
            }
            break;
        case 5:  // lightning bolt
            p.setBrush(QColor(250, 240, 120));
            p.drawPolygon(QPolygonF({QPointF(12, 2), QPointF(5, 12), QPointF(10, 12), QPointF(8, 19), QPointF(16, 8),
                                     QPointF(11, 8), QPointF(14, 2)}));
            break;
        case 6:  // grey ring
            p.setPen(QPen(QColor(170, 170, 170), 3));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, 6, 6);
            break;
        case 7:  // purple bubbles
            p.setBrush(QColor(170, 90, 220));
            p.drawEllipse(QPointF(7, 13), 4, 4);
            p.drawEllipse(QPointF(14, 8), 3.5, 3.5);
            p.drawEllipse(QPointF(14, 15), 2, 2);
            break;
        case 8: {  // hooded shape
            QPainterPath h;
            h.moveTo(10.5, 2);
            h.cubicTo(18, 4, 18, 12, 17, 19);
            h.lineTo(4, 19);
            h.cubicTo(3, 12, 3, 4, 10.5, 2);
            p.setBrush(QColor(40, 140, 60));
            p.drawPath(h);
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(10.5, 10), 4, 5);
            break;
        }
        case 9: {  // water drop
            QPainterPath d;
            d.moveTo(10.5, 2);
            d.cubicTo(16, 10, 17, 13, 15, 16);
            d.cubicTo(13, 20, 8, 20, 6, 16);
            d.cubicTo(4, 13, 5, 10, 10.5, 2);
            p.setBrush(QColor(60, 140, 240));
            p.drawPath(d);
            break;
        }
        default: {  // whirlwind
            p.setPen(QPen(QColor(200, 230, 220), 1.6));
            p.setBrush(Qt::NoBrush);
            QPainterPath w;
            w.moveTo(c);
            for (int i = 1; i <= 40; ++i) {
                const double a = i * 0.45, r = i * 0.22;
                w.lineTo(c + QPointF(r * qCos(a), r * qSin(a)));
            }
            p.drawPath(w);
            break;
        }
    }
    return pm;
}
}  // namespace

std::array<QPixmap, 13> CardWarIcons() {
    std::array<QPixmap, 13> icons;
    icons[1] = sword();
    icons[2] = shield();
    for (int n = 1; n <= 10; ++n) icons[n + 2] = element(n);
    return icons;
}
