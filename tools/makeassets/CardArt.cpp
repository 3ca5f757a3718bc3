// Card faces: a creature sigil drawn from the card's name, its four ranks, its element,
// its level and name, in the blue or the red frame.

#include "Art.h"
#include "Pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>
#include <cmath>

namespace assets {

using namespace art;

namespace {

// A mirrored outline with eyes: reads as a creature's head or mask at card size.
void creatureSigil(QPainter &p, const QRectF &box, quint32 seed, const QColor &tint)
{
    Rng rng(seed);
    const QPointF c = box.center() + QPointF(0, box.height() * 0.04);
    const qreal w = box.width() * 0.40, h = box.height() * 0.42;
    const int n = 7;
    QList<QPointF> half;
    for (int k = 0; k <= n; ++k) {
        const qreal t = qreal(k) / n; // top to bottom
        const qreal y = -h + 2 * h * t;
        qreal x = w * (0.3 + 0.7 * std::sin(M_PI * std::pow(t, 0.6 + 0.6 * (seed % 5) / 4.0))) * rng.range(0.6, 1.1);
        if (k == 0 || k == n)
            x = w * rng.range(0.05, 0.25);
        half << QPointF(x, y);
    }
    const int horns = int(rng.next() % 3); // 0 none, 1 horns, 2 ears
    QList<QPointF> outline;
    for (const QPointF &pt : std::as_const(half))
        outline << pt;
    for (int k = int(half.size()) - 1; k >= 0; --k)
        outline << QPointF(-half[k].x(), half[k].y());
    QPainterPath body;
    const QPointF first = (outline.first() + outline.last()) / 2;
    body.moveTo(c + first);
    for (int k = 0; k < outline.size(); ++k) {
        const QPointF a = outline[k], b = outline[(k + 1) % outline.size()];
        body.quadTo(c + a, c + (a + b) / 2);
    }
    body.closeSubpath();
    if (horns) {
        for (int s : {-1, 1}) {
            QPainterPath horn;
            const QPointF base = c + QPointF(s * w * 0.35, -h * 0.75);
            horn.moveTo(base + QPointF(-s * w * 0.15, 0));
            if (horns == 1)
                horn.quadTo(base + QPointF(s * w * 0.9, -h * 0.2), base + QPointF(s * w * 0.75, -h * 0.75));
            else
                horn.lineTo(base + QPointF(s * w * 0.45, -h * 0.55));
            horn.lineTo(base + QPointF(s * w * 0.2, 0));
            horn.closeSubpath();
            body = body.united(horn);
        }
    }
    const int extra = int(rng.next() % 4); // 0 plain, 1 crest spikes, 2 wings, 3 both
    if (extra & 1) {
        const int spikes = 3 + int(rng.next() % 3);
        for (int k = 0; k < spikes; ++k) {
            const qreal x = (k - (spikes - 1) / 2.0) * w * 0.28;
            QPainterPath spike;
            spike.moveTo(c + QPointF(x - w * 0.1, -h * 0.7));
            spike.lineTo(c + QPointF(x, -h * (1.05 + 0.15 * ((k + 1) % 2))));
            spike.lineTo(c + QPointF(x + w * 0.1, -h * 0.7));
            spike.closeSubpath();
            body = body.united(spike);
        }
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (extra & 2) {
        for (int s : {-1, 1}) {
            QPainterPath wing;
            const QPointF root = c + QPointF(s * w * 0.6, -h * 0.1);
            wing.moveTo(root);
            wing.cubicTo(root + QPointF(s * w * 0.9, -h * 0.9), root + QPointF(s * w * 1.4, -h * 0.4), root + QPointF(s * w * 1.5, h * 0.3));
            wing.cubicTo(root + QPointF(s * w * 1.1, h * 0.1), root + QPointF(s * w * 0.9, h * 0.5), root + QPointF(s * w * 0.2, h * 0.5));
            wing.closeSubpath();
            const QLinearGradient wg = ramp(root, root + QPointF(s * w * 1.5, 0), {tint.darker(200), tint.darker(120)});
            shaded(p, wing, wg, QPen(QColor(6, 4, 8), 1));
        }
    }
    QRadialGradient g(c - QPointF(0, h * 0.4), h * 1.6);
    g.setColorAt(0, tint.lighter(130));
    g.setColorAt(0.5, tint.darker(160));
    g.setColorAt(1, QColor(10, 8, 12));
    shaded(p, body, g, QPen(QColor(6, 4, 8), 1.4));
    // Brow ridge and eyes.
    const qreal ey = -h * rng.range(0.05, 0.3), ex = w * rng.range(0.25, 0.42);
    const QColor eye = QColor::fromHsv((tint.hsvHue() + 180) % 360, 60, 255);
    for (int s : {-1, 1}) {
        QRadialGradient eg(c + QPointF(s * ex, ey), 4);
        eg.setColorAt(0, QColor(255, 255, 255));
        eg.setColorAt(0.5, eye);
        eg.setColorAt(1, QColor(eye.red(), eye.green(), eye.blue(), 0));
        p.setPen(Qt::NoPen);
        p.setBrush(eg);
        p.drawEllipse(c + QPointF(s * ex, ey), 4, 3);
    }
    if (rng.next() % 2) { // a jaw with fangs
        const qreal my = h * rng.range(0.3, 0.5), mw = w * rng.range(0.25, 0.4);
        p.setPen(QPen(QColor(6, 4, 8), 1.2));
        p.setBrush(QColor(30, 6, 10));
        p.drawChord(QRectF(c.x() - mw, c.y() + my - mw * 0.5, 2 * mw, mw), 180 * 16, 180 * 16);
        p.setBrush(QColor(250, 244, 226));
        p.setPen(Qt::NoPen);
        for (int s : {-1, 1}) {
            QPolygonF fang;
            fang << c + QPointF(s * mw * 0.55 - 1.6, my) << c + QPointF(s * mw * 0.55 + 1.6, my)
                 << c + QPointF(s * mw * 0.55, my + mw * 0.45);
            p.drawPolygon(fang);
        }
    }
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.setBrush(Qt::NoBrush);
    const int marks = 1 + int(rng.next() % 3);
    for (int m = 0; m < marks; ++m) {
        const qreal y = ey + h * (0.25 + 0.18 * m);
        p.drawLine(c + QPointF(-w * 0.25, y), c + QPointF(w * 0.25, y + (m % 2 ? 2 : -2)));
    }
    p.restore();
}

} // namespace

QImage renderCard(const CardSpec &card, bool red)
{
    const int W = 72, H = 90;
    const quint32 seed = hashOf(card.name);
    const QColor side = red ? kRed : kBlue;
    const QColor tint = card.element == QLatin1String("none") ? QColor(150, 140, 130) : elementColour(card.element);
    QImage img = canvas(W, H, false);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        // Side frame: the player's colour, so a captured card reads at a glance.
        const QLinearGradient fg = ramp(QPointF(0, 0), QPointF(W, H), {side.lighter(160), side, side.darker(140)});
        p.fillRect(img.rect(), fg);
        // Art window.
        const QRectF art(5, 5, 62, 62);
        QRadialGradient bg(art.center() - QPointF(0, 8), 52);
        bg.setColorAt(0, QColor(tint.red() / 2 + 30, tint.green() / 2 + 26, tint.blue() / 2 + 34));
        bg.setColorAt(1, QColor(12, 10, 16));
        p.fillRect(art, bg);
        Rng rng(seed ^ 0x5bd1e995u);
        p.setPen(QPen(QColor(tint.red(), tint.green(), tint.blue(), 50), 1));
        for (int k = 0; k < 5; ++k) {
            const qreal r = rng.range(8, 34);
            p.drawEllipse(art.center() + QPointF(rng.range(-14, 14), rng.range(-10, 10)), r, r);
        }
        p.setClipRect(art);
        creatureSigil(p, art.adjusted(6, 8, -6, -2), seed, tint);
        if (card.rarity == QLatin1String("Special")) {
            QLinearGradient holo(art.topLeft(), art.bottomRight());
            for (int k = 0; k <= 6; ++k)
                holo.setColorAt(k / 6.0, QColor::fromHsv((k * 60 + int(seed % 60)) % 360, 120, 255, k % 2 ? 70 : 20));
            p.fillRect(art, holo);
        }
        p.setClipping(false);
        p.setPen(QPen(QColor(0, 0, 0, 220), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(art.adjusted(-0.5, -0.5, 0.5, 0.5));
        // Level pips along the foot of the art.
        const int level = std::clamp(card.level, 1, 10);
        const qreal x0 = 36 - (level - 1) * 2.5;
        for (int k = 0; k < level; ++k) {
            p.setPen(QPen(kInk, 0.8));
            p.setBrush(kGoldLight);
            p.drawEllipse(QPointF(x0 + k * 5, 63.5), 1.7, 1.7);
        }
        // Ranks: top, left, right, bottom in a diamond on a dark plate.
        p.setPen(QPen(QColor(0, 0, 0, 200), 1));
        p.setBrush(QColor(8, 6, 12, 170));
        p.drawRoundedRect(QRectF(5.5, 5.5, 25, 28), 4, 4);
        const QFont rf = sans(10, true);
        const QColor rankColour(255, 250, 236);
        outlined(p, QRectF(12, 5, 12, 11), Qt::AlignCenter, rankText(card.top), rf, rankColour);
        outlined(p, QRectF(5, 13, 12, 11), Qt::AlignCenter, rankText(card.left), rf, rankColour);
        outlined(p, QRectF(19, 13, 12, 11), Qt::AlignCenter, rankText(card.right), rf, rankColour);
        outlined(p, QRectF(12, 21, 12, 11), Qt::AlignCenter, rankText(card.bottom), rf, rankColour);
        // Element stone.
        if (card.element != QLatin1String("none")) {
            const QPointF ec(58, 14);
            QRadialGradient eg(ec - QPointF(2, 2), 10);
            eg.setColorAt(0, QColor(60, 52, 66));
            eg.setColorAt(1, QColor(10, 8, 12));
            p.setPen(QPen(kGold, 1));
            p.setBrush(eg);
            p.drawEllipse(ec, 8, 8);
            drawGlyph(p, card.element, QRectF(ec.x() - 5.5, ec.y() - 5.5, 11, 11), tint.lighter(150), tint, 0.5);
        }
        // Name plate.
        const QRectF plate(5, 70, 62, 16);
        const QLinearGradient pg = ramp(plate.topLeft(), plate.bottomLeft(), {QColor(40, 30, 24), QColor(14, 10, 8)});
        p.setPen(QPen(kGoldDeep, 1));
        p.setBrush(pg);
        p.drawRoundedRect(plate, 2, 2);
        const QColor gem = card.rarity == QLatin1String("Common") ? QColor(170, 170, 170)
            : card.rarity == QLatin1String("Uncommon")            ? QColor(80, 200, 110)
            : card.rarity == QLatin1String("Rare")                ? QColor(80, 140, 250)
                                                                  : QColor(240, 120, 230);
        p.setPen(QPen(kInk, 0.8));
        p.setBrush(gem);
        p.drawEllipse(QPointF(63.5, 73.5), 1.8, 1.8);
        // One line when the name fits at a readable size, else two lines split at a blank.
        QFont nf = fitted(sans(9, true), card.name, 58, 9, 7);
        p.setPen(kParchment);
        const int blank = card.name.lastIndexOf(u' ', card.name.size() / 2 + 2);
        if (QFontMetricsF(nf).horizontalAdvance(card.name) <= 58 || blank < 0) {
            p.setFont(fitted(nf, card.name, 58, 9, 5));
            p.drawText(plate.adjusted(2, 0, -2, 0), Qt::AlignCenter, card.name);
        } else {
            const QString first = card.name.left(blank), second = card.name.mid(blank + 1);
            p.setFont(fitted(fitted(sans(8, true), first, 56, 8, 5), second, 56, 8, 5));
            p.drawText(QRectF(plate.left() + 1, plate.top() - 0.5, 60, 9), Qt::AlignCenter, first);
            p.drawText(QRectF(plate.left() + 1, plate.top() + 7, 60, 9), Qt::AlignCenter, second);
        }
        frame(p, QRectF(0, 0, W, H), 2, 3);
    }
    grain(img, seed, 2);
    return img;
}

} // namespace assets
