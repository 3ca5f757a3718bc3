// The default skin's pictures, one drawing per skin key.

#include "Art.h"
#include "Pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>
#include <cmath>
#include <functional>
#include <map>

namespace assets {

using namespace art;

namespace {

Picture still(const QImage &img) { return Picture{{img}, {0}, -1}; }

// ---------------------------------------------------------------- window grounds

struct Ground {
    int w, h;
    QColor centre, edge;
    quint32 seed;
};

// Backdrop, a faint rune circle, grain and a gilded edge: the base of every window.
QImage windowGround(const Ground &g, bool circle = true, bool edge = true)
{
    QImage img = canvas(g.w, g.h, false);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r(0, 0, g.w, g.h);
        backdrop(p, r, g.centre, g.edge);
        if (circle)
            arcaneCircle(p, r.center(), std::min(g.w, g.h) * 0.42, QColor(226, 188, 102, 26), g.seed);
    }
    tileNoise(img, g.seed, 48, 6);
    grain(img, g.seed + 1, 3);
    if (edge) {
        QPainter p(&img);
        frame(p, QRectF(0, 0, g.w, g.h), 4);
        cornerFlourishes(p, QRectF(7, 7, g.w - 14, g.h - 14), std::min(g.w, g.h) * 0.06 + 6);
    }
    return img;
}

void headerBand(QPainter &p, const QRectF &r)
{
    p.save();
    const QLinearGradient g = ramp(r.topLeft(), r.bottomLeft(), {QColor(0, 0, 0, 150), QColor(0, 0, 0, 60)});
    p.fillRect(r, g);
    p.setPen(QPen(kGoldDeep, 1));
    p.drawLine(QPointF(r.left(), r.bottom() - 1.5), QPointF(r.right(), r.bottom() - 1.5));
    p.setPen(QPen(QColor(255, 230, 160, 90), 1));
    p.drawLine(QPointF(r.left(), r.bottom() - 0.5), QPointF(r.right(), r.bottom() - 0.5));
    p.restore();
}

// A card-sized socket carved into the table.
void socket(QPainter &p, const QRectF &r, const QColor &tint = QColor(96, 80, 120))
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QLinearGradient g = ramp(r.topLeft(), r.bottomLeft(), {QColor(tint.red() / 3, tint.green() / 3, tint.blue() / 3, 200), QColor(tint.red() / 2 + 12, tint.green() / 2 + 10, tint.blue() / 2 + 16, 200)});
    p.setBrush(g);
    p.setPen(QPen(QColor(0, 0, 0, 220), 1));
    p.drawRoundedRect(r.adjusted(-1.5, -1.5, 1.5, 1.5), 4, 4);
    p.setPen(QPen(QColor(226, 188, 102, 110), 1));
    p.drawRoundedRect(r.adjusted(-3.5, -3.5, 3.5, 3.5), 5, 5);
    p.setOpacity(0.18);
    const qreal s = std::min(r.width(), r.height()) * 0.4;
    p.fillPath(glyph(QStringLiteral("holy"), QRectF(r.center().x() - s / 2, r.center().y() - s / 2, s, s)), kGold);
    p.restore();
}

void carvedTable(QPainter &p, const QRectF &r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QLinearGradient g = ramp(r.topLeft(), r.bottomRight(), {QColor(60, 48, 70), QColor(30, 22, 38)});
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(r, 10, 10);
    p.restore();
    frame(p, r, 5, 10);
}

void tray(QPainter &p, const QRectF &r, const QColor &tint)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QLinearGradient g = ramp(r.topLeft(), r.topRight(), {QColor(tint.red(), tint.green(), tint.blue(), 40), QColor(tint.red(), tint.green(), tint.blue(), 90), QColor(tint.red(), tint.green(), tint.blue(), 40)});
    p.setBrush(g);
    p.setPen(QPen(tint.lighter(130), 1));
    p.drawRoundedRect(r, 8, 8);
    p.restore();
}

QImage loginPicture()
{
    QImage img = windowGround({480, 360, QColor(70, 44, 92), QColor(10, 7, 16), 11});
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QImage back = cardBack(54, 68);
    for (int side = 0; side < 2; ++side) {
        p.save();
        p.translate(side ? 414 : 66, 60);
        p.rotate(side ? 14 : -14);
        p.drawImage(QPointF(-27, -34), back);
        p.restore();
    }
    engraved(p, QRectF(0, 22, 480, 56), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("CORVADEX"), serif(46));
    outlined(p, QRectF(0, 80, 480, 18), Qt::AlignCenter, QStringLiteral("Duels of the Ninefold Board"), serif(13, false),
             kParchment);
    panel(p, QRectF(44, 112, 392, 222), 10, 150);
    cornerFlourishes(p, QRectF(50, 118, 380, 210), 18);
    return img;
}

QImage splashPicture()
{
    QImage img = windowGround({480, 300, QColor(84, 50, 104), QColor(8, 6, 14), 12});
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(240, 190), 150);
    glow.setColorAt(0, QColor(255, 200, 120, 90));
    glow.setColorAt(1, QColor(255, 200, 120, 0));
    p.fillRect(img.rect(), glow);
    arcaneCircle(p, QPointF(240, 190), 110, QColor(255, 220, 150, 90), 5);
    const QImage back = cardBack(72, 90);
    for (int k = -1; k <= 1; ++k) {
        p.save();
        p.translate(240 + k * 40, 210 + std::abs(k) * 8);
        p.rotate(k * 16);
        p.drawImage(QPointF(-36, -60), back);
        p.restore();
    }
    engraved(p, QRectF(0, 20, 480, 60), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("CORVADEX"), serif(50));
    outlined(p, QRectF(0, 270, 480, 18), Qt::AlignCenter, QStringLiteral("A realm of cards and cunning"), serif(12, false),
             kParchment);
    return img;
}

QImage loadingPicture()
{
    QImage img = windowGround({320, 140, QColor(60, 40, 80), QColor(10, 8, 16), 13}, false);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    arcaneCircle(p, QPointF(52, 70), 44, QColor(226, 188, 102, 90), 9);
    p.save();
    p.translate(52, 70);
    p.rotate(-10);
    p.drawImage(QPointF(-24, -30), cardBack(48, 60));
    p.restore();
    engraved(p, QRectF(100, 14, 210, 36), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Corvadex"), serif(26));
    p.setPen(QPen(kGoldDeep, 1));
    p.drawLine(QPointF(100, 54), QPointF(300, 54));
    panel(p, QRectF(100, 62, 204, 62), 6, 140);
    return img;
}

QImage blackbarPicture()
{
    QImage img = canvas(420, 360, false);
    {
        QPainter p(&img);
        const QLinearGradient g = ramp(QPointF(0, 0), QPointF(0, 360), {QColor(20, 16, 24), QColor(4, 3, 6)});
        p.fillRect(img.rect(), g);
        headerBand(p, QRectF(0, 0, 420, 40));
    }
    grain(img, 31, 2);
    QPainter p(&img);
    frame(p, QRectF(0, 0, 420, 360), 3);
    cornerFlourishes(p, QRectF(6, 46, 408, 308), 14);
    return img;
}

QImage baseformPicture()
{
    // Tiles without seams: every pattern repeats at a divisor of the size.
    QImage img = canvas(640, 480, false);
    img.fill(QColor(36, 28, 44));
    tileNoise(img, 41, 80, 10);
    tileNoise(img, 43, 16, 5);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        for (int y = 0; y <= 480; y += 40)
            for (int x = 0; x <= 640; x += 40) {
                QPolygonF d;
                d << QPointF(x, y - 7) << QPointF(x + 7, y) << QPointF(x, y + 7) << QPointF(x - 7, y);
                p.setPen(QPen(QColor(255, 220, 160, 22), 1));
                p.setBrush(QColor(0, 0, 0, 30));
                p.drawPolygon(d);
            }
    }
    grain(img, 47, 3);
    return img;
}

QImage controlPanelPicture()
{
    QImage img = windowGround({800, 600, QColor(56, 40, 74), QColor(8, 6, 12), 51}, false);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    arcaneCircle(p, QPointF(290, 312), 220, QColor(226, 188, 102, 24), 51);
    headerBand(p, QRectF(4, 4, 792, 58));
    engraved(p, QRectF(40, 8, 260, 48), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("CORVADEX"), serif(34));
    outlined(p, QRectF(262, 26, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("~ Grand Lobby ~"),
             serif(13, false), kParchment);
    // Footer band and a gilded divider between the chat side and the list side.
    const QLinearGradient foot = ramp(QPointF(0, 560), QPointF(0, 596), {QColor(0, 0, 0, 60), QColor(0, 0, 0, 150)});
    p.fillRect(QRectF(4, 562, 792, 34), foot);
    p.setPen(QPen(kGoldDeep, 1));
    p.drawLine(QPointF(4, 562), QPointF(796, 562));
    const QLinearGradient div = ramp(QPointF(0, 70), QPointF(0, 556), {QColor(226, 188, 102, 0), QColor(226, 188, 102, 160), QColor(226, 188, 102, 0)});
    p.fillRect(QRectF(579, 70, 2, 486), div);
    for (int y : {180, 312, 444})
        p.fillPath(glyph(QStringLiteral("holy"), QRectF(572, y - 8, 16, 16)), kGold);
    return img;
}

QImage pmPicture()
{
    QImage img = windowGround({420, 320, QColor(34, 52, 70), QColor(6, 8, 14), 61});
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    headerBand(p, QRectF(4, 4, 412, 42));
    p.setOpacity(0.12);
    drawGlyph(p, QStringLiteral("balloon"), QRectF(130, 100, 160, 160), kParchment, kParchment, 0);
    return img;
}

QImage cvboardPicture()
{
    QImage img = windowGround({500, 580, QColor(50, 36, 64), QColor(8, 6, 12), 71});
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // The cells and hands sit where the board window puts them (twips / 15).
    const int cols[3] = {138, 215, 295}, rows[3] = {91, 187, 283};
    carvedTable(p, QRectF(124, 77, 257, 310));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            socket(p, QRectF(cols[c], rows[r], 72, 90));
    tray(p, QRectF(14, 132, 80, 246), kBlue);
    tray(p, QRectF(407, 132, 80, 246), kRed);
    for (int k = 0; k < 5; ++k) {
        socket(p, QRectF(23, 142 + 40 * k, 62, 63), kBlue);
        socket(p, QRectF(416, 140 + 40 * k, 62, 63), kRed);
    }
    panel(p, QRectF(12, 400, 476, 166), 8, 120);
    return img;
}

QImage arena(const Ground &g, const QRectF &table, QList<QPair<QRectF, QColor>> trays)
{
    QImage img = windowGround(g);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    carvedTable(p, table);
    arcaneCircle(p, table.center(), std::min(table.width(), table.height()) * 0.42, QColor(226, 188, 102, 50), g.seed + 3);
    for (const auto &t : trays)
        tray(p, t.first, t.second);
    return img;
}

QImage cvwarPicture()
{
    QImage img = windowGround({700, 520, QColor(92, 38, 28), QColor(12, 6, 6), 81});
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    headerBand(p, QRectF(4, 4, 692, 40));
    engraved(p, QRectF(0, 8, 700, 32), Qt::AlignCenter, QStringLiteral("Corvada War"), serif(22));
    // Hands and play slots where the card-war window puts them.
    tray(p, QRectF(76, 100, 82, 246), kBlue);
    tray(p, QRectF(531, 100, 82, 246), kRed);
    for (int k = 0; k < 5; ++k) {
        socket(p, QRectF(86, 110 + 40 * k, 62, 63), kBlue);
        socket(p, QRectF(541, 110 + 40 * k, 62, 63), kRed);
    }
    p.setOpacity(0.35);
    p.save();
    p.translate(350, 210);
    for (int s : {-1, 1}) {
        p.save();
        p.rotate(s * 35);
        drawGlyph(p, QStringLiteral("sword"), QRectF(-30, -110, 60, 220), kParchment, kGoldDeep, 1);
        p.restore();
    }
    p.restore();
    p.setOpacity(1);
    socket(p, QRectF(254, 164, 72, 90), kBlue);
    socket(p, QRectF(378, 164, 72, 90), kRed);
    panel(p, QRectF(14, 370, 672, 136), 8, 120);
    return img;
}

QImage chinchinPicture()
{
    QImage img = windowGround({560, 440, QColor(110, 34, 30), QColor(14, 4, 6), 91});
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF bowl(130, 110, 300, 190);
    QRadialGradient outer(bowl.center(), 170);
    outer.setColorAt(0, QColor(30, 18, 14));
    outer.setColorAt(0.8, QColor(90, 60, 40));
    outer.setColorAt(1, QColor(160, 120, 70));
    p.setBrush(outer);
    p.setPen(QPen(kGoldDeep, 3));
    p.drawEllipse(bowl);
    QRadialGradient inner(bowl.center() + QPointF(0, 10), 120);
    inner.setColorAt(0, QColor(236, 222, 196));
    inner.setColorAt(1, QColor(150, 130, 110));
    p.setBrush(inner);
    p.setPen(QPen(QColor(60, 40, 30), 2));
    p.drawEllipse(bowl.adjusted(24, 20, -24, -20));
    panel(p, QRectF(14, 322, 532, 104), 8, 120);
    return img;
}

QImage guildPicture()
{
    QImage img = windowGround({678, 545, QColor(40, 56, 44), QColor(6, 10, 8), 101});
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    headerBand(p, QRectF(4, 4, 670, 64));
    engraved(p, QRectF(20, 10, 640, 52), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Guild Hall"), serif(30));
    // Shelf behind the six link pictures (they stand at top 77, 30 pixels square).
    panel(p, QRectF(4, 70, 210, 42), 6, 150);
    p.setOpacity(0.1);
    drawGlyph(p, QStringLiteral("banner"), QRectF(440, 160, 180, 220), kParchment, kParchment, 0);
    return img;
}

QImage sphereGround()
{
    QImage img = windowGround({560, 460, QColor(30, 34, 80), QColor(4, 4, 14), 111});
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(5);
    for (int k = 0; k < 140; ++k) {
        const QPointF pt(rng.range(8, 552), rng.range(8, 452));
        const int a = 60 + int(rng.next() % 150);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 240, a));
        p.drawEllipse(pt, 0.6 + rng.unit(), 0.6 + rng.unit());
    }
    const QPointF c(280, 210);
    for (int r : {150, 110, 60}) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(160, 170, 255, 90), 2));
        p.drawEllipse(c, r, r);
    }
    arcaneCircle(p, c, 175, QColor(200, 200, 255, 60), 17);
    return img;
}

// ---------------------------------------------------------------- small pictures

QImage cursorPicture()
{
    QImage img = canvas(32, 32, true);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(2, 2);
    arrow.lineTo(2, 24);
    arrow.lineTo(8, 19);
    arrow.lineTo(12, 28);
    arrow.lineTo(16, 26);
    arrow.lineTo(12, 17);
    arrow.lineTo(20, 17);
    arrow.closeSubpath();
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arrow);
    QLinearGradient g(2, 2, 16, 28);
    g.setColorAt(0, kGoldLight);
    g.setColorAt(0.6, kGold);
    g.setColorAt(1, kGoldDeep);
    p.fillPath(arrow, g);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.drawLine(QPointF(3.5, 5), QPointF(3.5, 19));
    return img;
}

QImage borderPicture()
{
    QImage img = canvas(400, 104, true);
    QPainter p(&img);
    frame(p, QRectF(0, 0, 400, 104), 6, 8);
    cornerFlourishes(p, QRectF(8, 8, 384, 88), 14);
    return img;
}

QImage cardblockPicture()
{
    QImage img = canvas(72, 90, false);
    {
        QPainter p(&img);
        const QLinearGradient g = ramp(QPointF(0, 0), QPointF(72, 90), {QColor(104, 98, 96), QColor(46, 42, 44)});
        p.fillRect(img.rect(), g);
    }
    tileNoise(img, 121, 9, 18);
    grain(img, 123, 6);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Cracks, then two chains crossing, then the lock.
    p.setPen(QPen(QColor(20, 18, 20, 200), 1));
    p.drawPolyline(QPolygonF({QPointF(8, 6), QPointF(18, 20), QPointF(14, 32), QPointF(24, 44)}));
    p.drawPolyline(QPolygonF({QPointF(66, 80), QPointF(52, 70), QPointF(56, 58)}));
    for (int s : {-1, 1}) {
        for (int k = -5; k <= 5; ++k) {
            const QPointF c(36 + k * 7.5, 45 + s * k * 9);
            p.save();
            p.translate(c);
            p.rotate(s * 50 + (k % 2 ? 90 : 0));
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(20, 16, 14), 3.2));
            p.drawEllipse(QPointF(0, 0), 5, 3);
            p.setPen(QPen(QColor(170, 160, 150), 1.6));
            p.drawEllipse(QPointF(0, 0), 5, 3);
            p.restore();
        }
    }
    drawGlyph(p, QStringLiteral("lock"), QRectF(22, 30, 28, 30), kGoldLight, kGoldDeep, 1);
    frame(p, QRectF(0, 0, 72, 90), 2, 3);
    return img;
}

// A card turning away and a flash of light turning back in, over a clear ground.
Picture flipPicture(bool horizontal)
{
    Picture pic;
    const QImage back = cardBack(72, 90);
    QImage face = canvas(72, 90, false);
    {
        QPainter p(&face);
        p.setRenderHint(QPainter::Antialiasing);
        QRadialGradient g(QPointF(36, 45), 60);
        g.setColorAt(0, QColor(255, 250, 220));
        g.setColorAt(0.4, kGold);
        g.setColorAt(1, kGoldDeep);
        p.fillRect(face.rect(), g);
        drawGlyph(p, QStringLiteral("holy"), QRectF(14, 23, 44, 44), QColor(255, 255, 255), kGoldLight, 0);
        frame(p, QRectF(0, 0, 72, 90), 2, 3);
    }
    const int frames = 12;
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / (frames - 1);
        const double s = std::max(0.04, std::fabs(std::cos(M_PI * t)));
        QImage img = canvas(72, 90, true);
        QPainter p(&img);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.translate(36, 45);
        if (horizontal)
            p.scale(s, 1.0 - 0.08 * std::sin(M_PI * t));
        else
            p.scale(1.0 - 0.08 * std::sin(M_PI * t), s);
        p.drawImage(QPointF(-36, -45), t < 0.5 ? back : face);
        p.end();
        pic.frames.append(img);
        pic.delays.append(i == frames - 1 ? 6 : 4);
    }
    return pic; // plays once: the board shows the captured card when it ends
}

QImage turnMarker(const QColor &c)
{
    QImage img = canvas(64, 20, true);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QLinearGradient g = ramp(QPointF(0, 0), QPointF(0, 20), {c.lighter(150), c, c.darker(200)});
    p.setPen(QPen(kGold, 1.5));
    p.setBrush(g);
    QPainterPath ribbon;
    ribbon.moveTo(1, 3);
    ribbon.lineTo(63, 3);
    ribbon.lineTo(57, 10);
    ribbon.lineTo(63, 17);
    ribbon.lineTo(1, 17);
    ribbon.lineTo(7, 10);
    ribbon.closeSubpath();
    p.drawPath(ribbon);
    outlined(p, QRectF(0, 2, 64, 16), Qt::AlignCenter, QStringLiteral("TURN"), sans(11, true), QColor(255, 250, 230));
    return img;
}

QImage linkIcon(const QString &glyphName, const QColor &enamel, int size)
{
    QImage img = canvas(size, size, true);
    QPainter p(&img);
    badge(p, QRectF(0, 0, size, size), glyphName, enamel);
    return img;
}

QImage plaque(int w, int h, const QString &text, const QString &glyphName, int look)
{
    // look 0 normal, 1 under the pointer (lit), 2 pressed (sunk)
    QImage img = canvas(w, h, true);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, w - 1, h - 1);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    const QColor top = look == 1 ? QColor(120, 86, 150) : look == 2 ? QColor(26, 18, 34) : QColor(84, 60, 104);
    const QColor bottom = look == 1 ? QColor(58, 38, 80) : look == 2 ? QColor(48, 34, 62) : QColor(32, 22, 44);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.setPen(QPen(look == 1 ? kGoldLight : kGold, 1));
    p.drawRoundedRect(r, 4, 4);
    p.setPen(QPen(look == 2 ? QColor(0, 0, 0, 160) : QColor(255, 240, 200, 70), 1));
    p.drawLine(QPointF(4, 2), QPointF(w - 4, 2));
    if (look == 1) {
        QRadialGradient glow(QPointF(w / 2.0, h / 2.0), w / 2.0);
        glow.setColorAt(0, QColor(255, 220, 140, 70));
        glow.setColorAt(1, QColor(255, 220, 140, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 4, 4);
    }
    if (look == 2) {
        QLinearGradient inset(r.topLeft(), QPointF(r.left(), r.top() + 6));
        inset.setColorAt(0, QColor(0, 0, 0, 170));
        inset.setColorAt(1, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(inset);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 4, 4);
    }
    const qreal shift = look == 2 ? 1 : 0;
    qreal textLeft = 0;
    if (!glyphName.isEmpty()) {
        const qreal s = h - 10;
        drawGlyph(p, glyphName, QRectF(6 + shift, 5 + shift, s, s), kGoldLight, kGoldDeep, 0.8);
        textLeft = s + 6;
    }
    if (!text.isEmpty())
        outlined(p, QRectF(textLeft + shift, shift, w - textLeft, h), Qt::AlignCenter, text, sans(12, true),
                 look == 1 ? QColor(255, 246, 214) : kParchment);
    return img;
}

QImage rushTrough()
{
    QImage img = canvas(234, 14, false);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), QColor(10, 6, 10));
    const QLinearGradient g = ramp(QPointF(0, 0), QPointF(0, 14), {QColor(0, 0, 0), QColor(40, 28, 34)});
    p.fillRect(QRectF(2, 2, 230, 10), g);
    p.setPen(QPen(QColor(226, 188, 102, 90), 1));
    for (int x = 23; x < 234; x += 23)
        p.drawLine(QPointF(x + 0.5, 3), QPointF(x + 0.5, 11));
    frame(p, QRectF(0, 0, 234, 14), 2, 3);
    return img;
}

QImage rushFill()
{
    QImage img = canvas(234, 14, false);
    QPainter p(&img);
    QLinearGradient g(0, 0, 234, 0);
    g.setColorAt(0, QColor(130, 10, 10));
    g.setColorAt(0.6, QColor(230, 90, 20));
    g.setColorAt(1, QColor(255, 214, 80));
    p.fillRect(img.rect(), g);
    QLinearGradient sheen(0, 0, 0, 14);
    sheen.setColorAt(0, QColor(255, 255, 255, 110));
    sheen.setColorAt(0.45, QColor(255, 255, 255, 20));
    sheen.setColorAt(1, QColor(0, 0, 0, 80));
    p.fillRect(img.rect(), sheen);
    return img;
}

QImage balloonIcon()
{
    QImage img = canvas(24, 24, true);
    QPainter p(&img);
    drawGlyph(p, QStringLiteral("balloon"), QRectF(1, 2, 22, 20), QColor(255, 252, 240), QColor(200, 190, 170), 1);
    return img;
}

// ---------------------------------------------------------------- coins and effects

void coin(QPainter &p, const QPointF &c, qreal radius, double squeeze, const QColor &metal, const QColor &gem)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal rx = std::max(1.2, radius * std::fabs(squeeze));
    // Edge: a darker ellipse offset sideways while the coin is turned.
    const qreal edge = radius * 0.16 * std::sqrt(std::max(0.0, 1 - squeeze * squeeze));
    p.setPen(Qt::NoPen);
    p.setBrush(metal.darker(220));
    p.drawEllipse(c + QPointF(edge, 0), rx, radius);
    QRadialGradient g(c - QPointF(rx * 0.3, radius * 0.35), radius * 1.3);
    g.setColorAt(0, metal.lighter(170));
    g.setColorAt(0.5, metal);
    g.setColorAt(1, metal.darker(180));
    p.setBrush(g);
    p.setPen(QPen(metal.darker(260), 1));
    p.drawEllipse(c, rx, radius);
    if (std::fabs(squeeze) > 0.3) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(metal.lighter(140), 1));
        p.drawEllipse(c, rx * 0.74, radius * 0.74);
        if (gem.isValid()) {
            QRadialGradient gg(c - QPointF(rx * 0.1, radius * 0.12), radius * 0.4);
            gg.setColorAt(0, gem.lighter(180));
            gg.setColorAt(1, gem.darker(150));
            p.setBrush(gg);
            p.setPen(QPen(QColor(0, 0, 0, 180), 1));
            p.drawEllipse(c, rx * 0.34, radius * 0.34);
        } else {
            p.fillPath(glyph(QStringLiteral("holy"), QRectF(c.x() - rx * 0.45, c.y() - radius * 0.45, rx * 0.9, radius * 0.9)),
                       metal.lighter(150));
        }
    }
    p.restore();
}

Picture spinningCoin(int size, const QColor &metal, const QColor &gem)
{
    Picture pic;
    for (int i = 0; i < 10; ++i) {
        QImage img = canvas(size, size, true);
        QPainter p(&img);
        coin(p, QPointF(size / 2.0, size / 2.0), size / 2.0 - 2, std::cos(2 * M_PI * i / 10.0), metal, gem);
        p.end();
        pic.frames.append(img);
        pic.delays.append(6);
    }
    pic.loops = 0; // the window stops it or lets it spin
    return pic;
}

Picture shatteringCoin(int size, const QColor &metal)
{
    Picture pic;
    const QPointF c(size / 2.0, size / 2.0);
    for (int i = 0; i < 9; ++i) {
        QImage img = canvas(size, size, true);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const double t = i / 8.0;
        if (i == 0) {
            coin(p, c, size / 2.0 - 2, 1, metal, QColor());
        } else {
            // Six wedges drifting apart and shrinking; a white crack flash first.
            for (int k = 0; k < 6; ++k) {
                const qreal a0 = k * 60.0, mid = qDegreesToRadians(a0 + 30);
                const QPointF off(std::cos(mid) * t * size * 0.45, std::sin(mid) * t * size * 0.45);
                const qreal r = (size / 2.0 - 2) * (1 - 0.55 * t);
                QPainterPath wedge;
                wedge.moveTo(c + off);
                wedge.arcTo(QRectF(c + off - QPointF(r, r), QSizeF(2 * r, 2 * r)), -a0, -60);
                wedge.closeSubpath();
                wedge = QTransform().translate(c.x() + off.x(), c.y() + off.y()).rotate(t * 40 * (k % 2 ? 1 : -1))
                            .translate(-c.x() - off.x(), -c.y() - off.y()).map(wedge);
                QRadialGradient g(c + off, r);
                g.setColorAt(0, metal.lighter(150));
                g.setColorAt(1, metal.darker(170));
                shaded(p, wedge, g, QPen(metal.darker(260), 1));
            }
            if (i < 3) {
                p.setPen(QPen(QColor(255, 255, 240), 2));
                p.drawLine(c - QPointF(size * 0.3, 0), c + QPointF(size * 0.3, 0));
                p.drawLine(c - QPointF(0, size * 0.3), c + QPointF(0, size * 0.3));
            }
        }
        p.end();
        pic.frames.append(img);
        pic.delays.append(5);
    }
    return pic; // plays once
}

Picture effectBanner(const QString &text, const QColor &colour, const QString &glyphName)
{
    Picture pic;
    const int frames = 12;
    for (int i = 0; i < frames; ++i) {
        QImage img = canvas(200, 60, true);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const double t = double(i) / (frames - 1);
        const double grow = i < 4 ? 0.6 + 0.4 * (i / 3.0) + 0.1 * std::sin(M_PI * i / 3.0) : 1.0;
        p.translate(100, 30);
        p.scale(grow, grow);
        // Rays behind the word, turning slowly.
        p.save();
        p.rotate(t * 40);
        for (int k = 0; k < 12; ++k) {
            p.rotate(30);
            QPolygonF ray;
            ray << QPointF(0, -4) << QPointF(0, 4) << QPointF(90, 0);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(colour.red(), colour.green(), colour.blue(), k % 2 ? 150 : 200));
            p.drawPolygon(ray);
        }
        p.restore();
        p.setClipRect(QRectF(-100 / grow, -30 / grow, 200 / grow, 60 / grow));
        if (!glyphName.isEmpty())
            drawGlyph(p, glyphName, QRectF(-96, -20, 40, 40), colour.lighter(170), colour.darker(150), 1);
        const QFont f = fitted(serif(30), text, 160, 30, 12);
        const QLinearGradient g = ramp(QPointF(0, -16), QPointF(0, 16), {QColor(255, 255, 255), colour.lighter(140), colour.darker(140)});
        QPainterPath path;
        const QFontMetricsF fm(f);
        path.addText(QPointF(-fm.horizontalAdvance(text) / 2 + (glyphName.isEmpty() ? 0 : 16), (fm.ascent() - fm.descent()) / 2),
                     f, text);
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        p.fillPath(path, g);
        p.end();
        pic.frames.append(img);
        pic.delays.append(i == frames - 1 ? 40 : 5);
    }
    return pic;
}

QImage dieFace(int value)
{
    QImage img = canvas(48, 48, true);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(2, 2, 44, 44);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 140));
    p.drawRoundedRect(r.translated(1.5, 2), 9, 9);
    const QLinearGradient g = ramp(r.topLeft(), r.bottomRight(), {QColor(255, 252, 240), QColor(204, 192, 168)});
    p.setBrush(g);
    p.setPen(QPen(QColor(90, 76, 60), 1.2));
    p.drawRoundedRect(r, 9, 9);
    static const int layout[7][6][2] = {
        {},
        {{1, 1}},
        {{0, 0}, {2, 2}},
        {{0, 0}, {1, 1}, {2, 2}},
        {{0, 0}, {2, 0}, {0, 2}, {2, 2}},
        {{0, 0}, {2, 0}, {1, 1}, {0, 2}, {2, 2}},
        {{0, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {2, 2}},
    };
    for (int k = 0; k < value; ++k) {
        const QPointF c(12 + layout[value][k][0] * 12, 12 + layout[value][k][1] * 12);
        const bool ace = value == 1;
        const qreal rad = ace ? 8 : 4.2;
        QRadialGradient pg(c - QPointF(rad * 0.3, rad * 0.3), rad * 1.4);
        pg.setColorAt(0, ace ? QColor(240, 80, 70) : QColor(70, 64, 70));
        pg.setColorAt(1, ace ? QColor(140, 10, 10) : QColor(8, 6, 8));
        p.setPen(Qt::NoPen);
        p.setBrush(pg);
        p.drawEllipse(c, rad, rad);
    }
    return img;
}

QImage elementCell(const QString &element)
{
    const QColor c = elementColour(element);
    QImage img = canvas(72, 90, false);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QRadialGradient g(QPointF(36, 40), 58);
        g.setColorAt(0, QColor(c.red() / 2, c.green() / 2, c.blue() / 2));
        g.setColorAt(1, QColor(12, 10, 16));
        p.fillRect(img.rect(), g);
        arcaneCircle(p, QPointF(36, 40), 28, QColor(c.red(), c.green(), c.blue(), 110), hashOf(element));
        QRadialGradient glow(QPointF(36, 40), 30);
        glow.setColorAt(0, QColor(c.red(), c.green(), c.blue(), 120));
        glow.setColorAt(1, QColor(c.red(), c.green(), c.blue(), 0));
        p.fillRect(img.rect(), glow);
        drawGlyph(p, element, QRectF(18, 22, 36, 36), c.lighter(160), c.darker(130), 1.2);
        outlined(p, QRectF(0, 70, 72, 16), Qt::AlignCenter, element.toUpper(), sans(10, true), c.lighter(140));
    }
    grain(img, hashOf(element), 2);
    QPainter p(&img);
    frame(p, QRectF(0, 0, 72, 90), 2, 3);
    return img;
}

using Maker = std::function<Picture()>;

const std::map<QString, Maker> &makers()
{
    static const std::map<QString, Maker> table = [] {
        std::map<QString, Maker> t{
            {QStringLiteral("start/login"), [] { return still(loginPicture()); }},
            {QStringLiteral("splash/background"), [] { return still(splashPicture()); }},
            {QStringLiteral("main/cardback"), [] { return still(cardBack(72, 90)); }},
            {QStringLiteral("main/cursor"), [] { return still(cursorPicture()); }},
            {QStringLiteral("main/border"), [] { return still(borderPicture()); }},
            {QStringLiteral("main/hflip"), [] { return flipPicture(true); }},
            {QStringLiteral("main/vflip"), [] { return flipPicture(false); }},
            {QStringLiteral("main/cardblock"), [] { return still(cardblockPicture()); }},
            {QStringLiteral("main/blackbar"), [] { return still(blackbarPicture()); }},
            {QStringLiteral("main/loadingscreen"), [] { return still(loadingPicture()); }},
            {QStringLiteral("baseform/background"), [] { return still(baseformPicture()); }},
            {QStringLiteral("controlpanel/background"), [] { return still(controlPanelPicture()); }},
            {QStringLiteral("controlpanel/snapshot"), [] { return still(linkIcon(QStringLiteral("camera"), QColor(60, 70, 90), 24)); }},
            {QStringLiteral("controlpanel/createicon"), [] { return still(plaque(110, 30, QStringLiteral("Create Table"), QStringLiteral("plus"), 0)); }},
            {QStringLiteral("controlpanel/joinicon"), [] { return still(plaque(110, 30, QStringLiteral("Join Table"), QStringLiteral("door"), 0)); }},
            {QStringLiteral("icons/rushbar"), [] { return still(rushTrough()); }},
            {QStringLiteral("icons/bar"), [] { return still(rushFill()); }},
            {QStringLiteral("icons/chatballoon"), [] { return still(balloonIcon()); }},
            {QStringLiteral("button/normal"), [] { return still(plaque(100, 21, {}, {}, 0)); }},
            {QStringLiteral("button/rollover"), [] { return still(plaque(100, 21, {}, {}, 1)); }},
            {QStringLiteral("button/down"), [] { return still(plaque(100, 21, {}, {}, 2)); }},
            {QStringLiteral("pm/background"), [] { return still(pmPicture()); }},
            {QStringLiteral("cvboard/background"), [] { return still(cvboardPicture()); }},
            {QStringLiteral("cvboard/p1turn"), [] { return still(turnMarker(kBlue)); }},
            {QStringLiteral("cvboard/p2turn"), [] { return still(turnMarker(kRed)); }},
            {QStringLiteral("omniboard/background"), [] {
                 return still(arena({640, 600, QColor(44, 40, 70), QColor(6, 6, 12), 131}, QRectF(112, 50, 416, 520),
                                    {{QRectF(14, 120, 90, 300), kBlue}, {QRectF(536, 120, 90, 300), kRed}}));
             }},
            {QStringLiteral("teamocvboard/background"), [] {
                 return still(arena({720, 620, QColor(40, 46, 70), QColor(6, 6, 12), 141}, QRectF(152, 50, 416, 520),
                                    {{QRectF(14, 60, 120, 240), kBlue}, {QRectF(14, 330, 120, 240), kBlue},
                                     {QRectF(586, 60, 120, 240), kRed}, {QRectF(586, 330, 120, 240), kRed}}));
             }},
            {QStringLiteral("memory/background"), [] {
                 return still(arena({600, 500, QColor(30, 60, 56), QColor(4, 10, 10), 151}, QRectF(90, 40, 420, 340),
                                    {{QRectF(14, 392, 572, 94), QColor(60, 120, 110)}}));
             }},
            {QStringLiteral("chinchin/background"), [] { return still(chinchinPicture()); }},
            {QStringLiteral("cvw/background"), [] { return still(cvwarPicture()); }},
            {QStringLiteral("sphere/background"), [] { return still(sphereGround()); }},
            {QStringLiteral("sphere/bordercoin"), [] { return spinningCoin(40, QColor(184, 120, 60), QColor()); }},
            {QStringLiteral("sphere/corecoin"), [] { return spinningCoin(48, QColor(226, 188, 102), QColor(150, 70, 220)); }},
            {QStringLiteral("sphere/spin"), [] { return spinningCoin(40, QColor(196, 200, 214), QColor(60, 140, 230)); }},
            {QStringLiteral("sphere/bust"), [] { return shatteringCoin(40, QColor(196, 200, 214)); }},
            {QStringLiteral("sphere/bordercoinbreak"), [] { return shatteringCoin(40, QColor(184, 120, 60)); }},
            {QStringLiteral("sphere/frozen"), [] { return effectBanner(QStringLiteral("FROZEN"), QColor(120, 200, 250), QStringLiteral("ice")); }},
            {QStringLiteral("sphere/corebreak"), [] { return effectBanner(QStringLiteral("CORE BREAK"), QColor(190, 90, 240), {}); }},
            {QStringLiteral("sphere/go"), [] { return effectBanner(QStringLiteral("GO!"), QColor(100, 220, 90), {}); }},
            {QStringLiteral("sphere/echo"), [] { return effectBanner(QStringLiteral("ECHO"), QColor(240, 200, 80), QStringLiteral("wind")); }},
            {QStringLiteral("sphere/nextturn"), [] { return effectBanner(QStringLiteral("NEXT TURN"), QColor(230, 150, 70), {}); }},
            {QStringLiteral("guild/background"), [] { return still(guildPicture()); }},
        };
        const std::pair<const char *, std::pair<const char *, QColor>> icons[] = {
            {"achievement", {"trophy", QColor(150, 30, 40)}},   {"cardwiki", {"book", QColor(40, 70, 150)}},
            {"helpwiki", {"question", QColor(30, 120, 120)}},    {"quests", {"scroll", QColor(130, 80, 40)}},
            {"forum", {"bubbles", QColor(100, 50, 140)}},        {"website", {"house", QColor(40, 110, 60)}},
            {"portal", {"portal", QColor(80, 40, 160)}},         {"fairdome", {"dome", QColor(190, 100, 30)}},
            {"leaderboard", {"podium", QColor(160, 40, 60)}},    {"zorviumbank", {"coins", QColor(30, 120, 90)}},
            {"membership", {"crown", QColor(40, 60, 170)}},      {"myshop", {"bag", QColor(170, 120, 30)}},
            {"mystats", {"chart", QColor(70, 80, 100)}},         {"video", {"play", QColor(170, 30, 30)}},
        };
        for (const auto &i : icons) {
            const QString g = QString::fromLatin1(i.second.first);
            const QColor c = i.second.second;
            t[QStringLiteral("icons/") + QString::fromLatin1(i.first)] = [g, c] { return still(linkIcon(g, c, 32)); };
        }
        const std::pair<const char *, std::pair<const char *, QColor>> guildIcons[] = {
            {"guildbank", {"vault", QColor(30, 110, 80)}},        {"guildhistory", {"hourglass", QColor(120, 80, 40)}},
            {"guildlist", {"roster", QColor(50, 70, 140)}},       {"guildmessageboard", {"pin", QColor(130, 50, 50)}},
            {"myguild", {"banner", QColor(140, 30, 40)}},         {"publicmessageboard", {"board", QColor(70, 90, 60)}},
        };
        for (const auto &i : guildIcons) {
            const QString g = QString::fromLatin1(i.second.first);
            const QColor c = i.second.second;
            t[QStringLiteral("guild/") + QString::fromLatin1(i.first)] = [g, c] { return still(linkIcon(g, c, 30)); };
        }
        for (int v = 1; v <= 6; ++v)
            t[QStringLiteral("dice/") + QString::number(v)] = [v] { return still(dieFace(v)); };
        for (const QString &e : elementNames())
            t[QStringLiteral("elements/") + e] = [e] { return still(elementCell(e)); };
        return t;
    }();
    return table;
}

} // namespace

bool renderSkinPicture(const QString &section, const QString &key, Picture *out)
{
    const auto it = makers().find(section.toLower() + u'/' + key.toLower());
    if (it == makers().end())
        return false;
    *out = it->second();
    return true;
}

} // namespace assets
