#include "Art.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace assets::art {

quint32 hashOf(const QString &text)
{
    quint32 h = 2166136261u; // FNV-1a over the UTF-16 text
    for (QChar c : text) {
        h ^= c.unicode();
        h *= 16777619u;
    }
    return h;
}

QImage canvas(int w, int h, bool transparent)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(transparent ? Qt::transparent : kInk);
    return img;
}

QFont font(const QString &family, qreal pixels, bool bold)
{
    QFont f(family);
    f.setPixelSize(std::max(1, int(std::lround(pixels))));
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QFont serif(qreal pixels, bool bold) { return font(QStringLiteral("DejaVu Serif"), pixels, bold); }
QFont sans(qreal pixels, bool bold) { return font(QStringLiteral("DejaVu Sans Condensed"), pixels, bold); }

QLinearGradient ramp(const QPointF &from, const QPointF &to, std::initializer_list<QColor> stops)
{
    QLinearGradient g(from, to);
    int k = 0;
    const int last = std::max<int>(1, int(stops.size()) - 1);
    for (const QColor &c : stops)
        g.setColorAt(double(k++) / last, c);
    return g;
}

void shaded(QPainter &p, const QPainterPath &path, const QBrush &fill, const QPen &outline)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(outline);
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

void grain(QImage &img, quint32 seed, int strength)
{
    Rng rng(seed);
    for (int y = 0; y < img.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int a = qAlpha(line[x]);
            if (a < 255) {
                rng.next();
                continue;
            }
            const int d = int(rng.next() % quint32(2 * strength + 1)) - strength;
            line[x] = qRgba(std::clamp(qRed(line[x]) + d, 0, 255), std::clamp(qGreen(line[x]) + d, 0, 255),
                            std::clamp(qBlue(line[x]) + d, 0, 255), a);
        }
    }
}

void tileNoise(QImage &img, quint32 seed, int cell, int strength)
{
    const int gw = std::max(1, img.width() / cell), gh = std::max(1, img.height() / cell);
    std::vector<double> grid(size_t(gw * gh));
    Rng rng(seed);
    for (double &g : grid)
        g = rng.range(-1, 1);
    auto at = [&](int gx, int gy) { return grid[size_t(((gy % gh + gh) % gh) * gw + ((gx % gw + gw) % gw))]; };
    const double sx = double(gw) / img.width(), sy = double(gh) / img.height();
    for (int y = 0; y < img.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        const double fy = y * sy;
        const int y0 = int(fy);
        const double ty = (fy - y0) * (fy - y0) * (3 - 2 * (fy - y0));
        for (int x = 0; x < img.width(); ++x) {
            const double fx = x * sx;
            const int x0 = int(fx);
            const double tx = (fx - x0) * (fx - x0) * (3 - 2 * (fx - x0));
            const double v = (at(x0, y0) * (1 - tx) + at(x0 + 1, y0) * tx) * (1 - ty)
                + (at(x0, y0 + 1) * (1 - tx) + at(x0 + 1, y0 + 1) * tx) * ty;
            const int d = int(std::lround(v * strength));
            line[x] = qRgba(std::clamp(qRed(line[x]) + d, 0, 255), std::clamp(qGreen(line[x]) + d, 0, 255),
                            std::clamp(qBlue(line[x]) + d, 0, 255), qAlpha(line[x]));
        }
    }
}

void backdrop(QPainter &p, const QRectF &r, const QColor &centre, const QColor &edge)
{
    QRadialGradient g(r.center() - QPointF(0, r.height() * 0.12), std::hypot(r.width(), r.height()) * 0.62);
    g.setColorAt(0, centre);
    g.setColorAt(0.55, QColor::fromRgbF(centre.redF() * 0.45 + edge.redF() * 0.55, centre.greenF() * 0.45 + edge.greenF() * 0.55,
                                        centre.blueF() * 0.45 + edge.blueF() * 0.55));
    g.setColorAt(1, edge);
    p.fillRect(r, g);
}

void arcaneCircle(QPainter &p, const QPointF &c, qreal radius, const QColor &colour, quint32 seed)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    QPen pen(colour, std::max(1.0, radius / 90));
    p.setPen(pen);
    p.drawEllipse(c, radius, radius);
    p.drawEllipse(c, radius * 0.86, radius * 0.86);
    p.drawEllipse(c, radius * 0.52, radius * 0.52);
    // Two interlaced triangles and rune ticks between the outer rings.
    for (int t = 0; t < 2; ++t) {
        QPolygonF tri;
        for (int k = 0; k < 3; ++k) {
            const qreal a = qDegreesToRadians(-90 + t * 60 + k * 120.0);
            tri << c + QPointF(std::cos(a), std::sin(a)) * radius * 0.86;
        }
        p.drawPolygon(tri);
    }
    Rng rng(seed);
    const int ticks = 36;
    for (int k = 0; k < ticks; ++k) {
        const qreal a = 2 * M_PI * k / ticks;
        const QPointF dir(std::cos(a), std::sin(a));
        const qreal len = 0.04 + 0.06 * rng.unit();
        p.drawLine(c + dir * radius * 0.88, c + dir * radius * (0.88 + len));
        if (k % 3 == 0)
            p.drawEllipse(c + dir * radius * 0.93, radius * 0.012 + 0.5, radius * 0.012 + 0.5);
    }
    p.restore();
}

void frame(QPainter &p, const QRectF &r, qreal width, qreal radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, kGoldLight);
    g.setColorAt(0.3, kGold);
    g.setColorAt(0.55, kGoldDeep);
    g.setColorAt(0.8, kGold);
    g.setColorAt(1, kGoldDeep.darker(130));
    QPainterPath outer, inner;
    outer.addRoundedRect(r, radius, radius);
    inner.addRoundedRect(r.adjusted(width, width, -width, -width), std::max<qreal>(0, radius - width),
                         std::max<qreal>(0, radius - width));
    p.fillPath(outer.subtracted(inner), g);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.drawRoundedRect(r.adjusted(width - 0.5, width - 0.5, -width + 0.5, -width + 0.5), std::max<qreal>(0, radius - width),
                      std::max<qreal>(0, radius - width));
    if (width >= 4) {
        p.setPen(QPen(QColor(255, 244, 200, 120), 1));
        p.drawRoundedRect(r.adjusted(width / 2, width / 2, -width / 2, -width / 2), radius, radius);
    }
    p.restore();
}

void panel(QPainter &p, const QRectF &r, qreal radius, int alpha)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QLinearGradient g = ramp(r.topLeft(), r.bottomLeft(), {QColor(8, 6, 12, alpha), QColor(22, 17, 30, alpha)});
    p.setBrush(g);
    p.setPen(QPen(QColor(kGoldDeep.red(), kGoldDeep.green(), kGoldDeep.blue(), 220), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(QColor(255, 230, 160, 40), 1));
    p.drawLine(r.topLeft() + QPointF(radius, 1.5), r.topRight() + QPointF(-radius, 1.5));
    p.restore();
}

void cornerFlourishes(QPainter &p, const QRectF &r, qreal size)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF corners[4] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    for (int k = 0; k < 4; ++k) {
        p.save();
        p.translate(corners[k]);
        p.rotate(90 * k);
        QPainterPath path;
        path.moveTo(0, size);
        path.cubicTo(0, size * 0.3, size * 0.3, 0, size, 0);
        path.moveTo(size * 0.2, size * 0.75);
        path.cubicTo(size * 0.25, size * 0.4, size * 0.4, size * 0.25, size * 0.75, size * 0.2);
        p.setPen(QPen(kGold, std::max(1.0, size / 12), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(kGoldLight);
        p.drawEllipse(QPointF(size * 0.22, size * 0.22), size * 0.09, size * 0.09);
        p.restore();
    }
    p.restore();
}

namespace {
QPainterPath textPath(const QRectF &r, int flags, const QString &text, const QFont &f)
{
    QPainterPath path;
    const QFontMetricsF fm(f);
    const qreal w = fm.horizontalAdvance(text);
    qreal x = r.left();
    if (flags & Qt::AlignHCenter)
        x = r.center().x() - w / 2;
    else if (flags & Qt::AlignRight)
        x = r.right() - w;
    qreal y = r.top() + fm.ascent();
    if (flags & Qt::AlignVCenter)
        y = r.center().y() + (fm.ascent() - fm.descent()) / 2;
    else if (flags & Qt::AlignBottom)
        y = r.bottom() - fm.descent();
    path.addText(QPointF(std::round(x), std::round(y)), f, text);
    return path;
}
} // namespace

void engraved(QPainter &p, const QRectF &r, int flags, const QString &text, const QFont &f, const QColor &top,
              const QColor &bottom)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = textPath(r, flags, text, f);
    const QRectF b = path.boundingRect();
    const qreal px = f.pixelSize();
    p.translate(0, std::max(1.0, px / 14));
    p.fillPath(path, QColor(0, 0, 0, 150));
    p.translate(0, -std::max(1.0, px / 14));
    p.setPen(QPen(QColor(20, 12, 6, 230), std::max(1.0, px / 9), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    const QLinearGradient g = ramp(b.topLeft(), b.bottomLeft(), {top, kGold, bottom});
    p.fillPath(path, g);
    p.restore();
}

void outlined(QPainter &p, const QRectF &r, int flags, const QString &text, const QFont &f, const QColor &fill,
              const QColor &outline)
{
    p.save();
    p.setFont(f);
    p.setPen(outline);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx || dy)
                p.drawText(r.translated(dx, dy), flags, text);
    p.setPen(fill);
    p.drawText(r, flags, text);
    p.restore();
}

QFont fitted(const QFont &base, const QString &text, qreal width, qreal maxPixels, qreal minPixels)
{
    QFont f = base;
    for (qreal px = maxPixels; px >= minPixels; px -= 0.5) {
        f.setPixelSize(int(px));
        if (QFontMetricsF(f).horizontalAdvance(text) <= width)
            return f;
    }
    f.setPixelSize(int(minPixels));
    return f;
}

// ---------------------------------------------------------------------------------
// Glyphs, in a 100 x 100 box.

namespace {

QPainterPath stroked(const QPainterPath &centre, qreal width, Qt::PenCapStyle cap = Qt::RoundCap)
{
    QPainterPathStroker s;
    s.setWidth(width);
    s.setCapStyle(cap);
    s.setJoinStyle(Qt::RoundJoin);
    return s.createStroke(centre).simplified();
}

QPainterPath polygon(std::initializer_list<QPointF> pts)
{
    QPainterPath p;
    p.addPolygon(QPolygonF(QList<QPointF>(pts)));
    p.closeSubpath();
    return p;
}

QPainterPath ellipse(qreal cx, qreal cy, qreal rx, qreal ry)
{
    QPainterPath p;
    p.addEllipse(QPointF(cx, cy), rx, ry);
    return p;
}

QPainterPath rect(qreal x, qreal y, qreal w, qreal h, qreal radius = 0)
{
    QPainterPath p;
    p.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return p;
}

QPainterPath star(qreal cx, qreal cy, qreal outer, qreal inner, int points, qreal turn = -90)
{
    QPolygonF poly;
    for (int k = 0; k < points * 2; ++k) {
        const qreal a = qDegreesToRadians(turn + k * 180.0 / points);
        const qreal rr = k % 2 ? inner : outer;
        poly << QPointF(cx + rr * std::cos(a), cy + rr * std::sin(a));
    }
    QPainterPath p;
    p.addPolygon(poly);
    p.closeSubpath();
    return p;
}

QPainterPath letter(const QString &s, qreal size)
{
    QPainterPath p;
    p.addText(0, 0, serif(size, true), s);
    const QRectF b = p.boundingRect();
    return p.translated(50 - b.center().x(), 50 - b.center().y());
}

QPainterPath drop(qreal cx, qreal top, qreal bottom, qreal halfWidth)
{
    QPainterPath p;
    const qreal r = halfWidth;
    const qreal cy = bottom - r;
    p.moveTo(cx, top);
    p.cubicTo(cx + r * 0.3, top + (cy - top) * 0.45, cx + r, cy - r * 0.5, cx + r, cy);
    p.arcTo(QRectF(cx - r, cy - r, 2 * r, 2 * r), 0, -180);
    p.cubicTo(cx - r, cy - r * 0.5, cx - r * 0.3, top + (cy - top) * 0.45, cx, top);
    p.closeSubpath();
    return p;
}

using GlyphFn = std::function<QPainterPath()>;

const std::map<QString, GlyphFn> &glyphs()
{
    static const std::map<QString, GlyphFn> table{
        {QStringLiteral("fire"), [] {
             QPainterPath p;
             p.moveTo(50, 4);
             p.cubicTo(58, 24, 84, 36, 82, 64);
             p.cubicTo(80, 86, 64, 96, 50, 96);
             p.cubicTo(34, 96, 18, 86, 18, 64);
             p.cubicTo(18, 48, 30, 40, 32, 26);
             p.cubicTo(40, 34, 40, 44, 42, 48);
             p.cubicTo(46, 36, 52, 22, 50, 4);
             p.closeSubpath();
             QPainterPath inner;
             inner.moveTo(50, 50);
             inner.cubicTo(56, 60, 66, 68, 64, 80);
             inner.cubicTo(62, 90, 38, 90, 36, 80);
             inner.cubicTo(35, 70, 44, 64, 50, 50);
             inner.closeSubpath();
             return p.subtracted(inner);
         }},
        {QStringLiteral("ice"), [] {
             QPainterPath c;
             for (int k = 0; k < 6; ++k) {
                 const qreal a = qDegreesToRadians(k * 60.0 - 90);
                 const QPointF d(std::cos(a), std::sin(a)), n(-d.y(), d.x());
                 const QPointF o(50, 50);
                 c.moveTo(o);
                 c.lineTo(o + d * 44);
                 for (qreal t : {22.0, 33.0}) {
                     c.moveTo(o + d * t);
                     c.lineTo(o + d * (t + 10) + n * 10);
                     c.moveTo(o + d * t);
                     c.lineTo(o + d * (t + 10) - n * 10);
                 }
             }
             return stroked(c, 7).united(ellipse(50, 50, 9, 9));
         }},
        {QStringLiteral("thunder"), [] {
             return polygon({{60, 2}, {22, 54}, {46, 54}, {36, 98}, {80, 40}, {55, 40}, {70, 2}});
         }},
        {QStringLiteral("earth"), [] {
             QPainterPath p = polygon({{4, 88}, {30, 36}, {42, 52}, {60, 14}, {96, 88}});
             QPainterPath snow = polygon({{60, 14}, {50, 34}, {56, 30}, {62, 38}, {67, 30}, {70, 34}});
             return p.subtracted(snow).united(ellipse(22, 88, 14, 8));
         }},
        {QStringLiteral("poison"), [] {
             QPainterPath p = drop(50, 6, 74, 26);
             QPainterPath eyes = ellipse(41, 52, 6, 7).united(ellipse(59, 52, 6, 7));
             QPainterPath mouth = rect(42, 62, 16, 4, 2);
             p = p.subtracted(eyes).subtracted(mouth);
             return p.united(ellipse(22, 86, 8, 8)).united(ellipse(40, 92, 5, 5)).united(ellipse(78, 84, 10, 10));
         }},
        {QStringLiteral("wind"), [] {
             QPainterPath c;
             c.moveTo(8, 34);
             c.lineTo(62, 34);
             c.cubicTo(80, 34, 84, 10, 66, 10);
             c.cubicTo(56, 10, 54, 22, 60, 24);
             c.moveTo(8, 54);
             c.lineTo(78, 54);
             c.cubicTo(96, 54, 96, 30, 82, 30);
             c.moveTo(16, 74);
             c.lineTo(56, 74);
             c.cubicTo(74, 74, 76, 94, 60, 94);
             c.cubicTo(52, 94, 50, 86, 55, 84);
             return stroked(c, 8);
         }},
        {QStringLiteral("water"), [] {
             QPainterPath p = drop(50, 4, 96, 32);
             QPainterPath shine;
             shine.moveTo(34, 62);
             shine.cubicTo(32, 74, 38, 82, 48, 84);
             return p.subtracted(stroked(shine, 6));
         }},
        {QStringLiteral("holy"), [] {
             QPainterPath p = star(50, 50, 48, 16, 8, -90);
             return p.subtracted(ellipse(50, 50, 12, 12)).united(ellipse(50, 50, 7, 7));
         }},
        {QStringLiteral("trophy"), [] {
             QPainterPath cup;
             cup.moveTo(24, 10);
             cup.lineTo(76, 10);
             cup.cubicTo(76, 44, 64, 58, 50, 58);
             cup.cubicTo(36, 58, 24, 44, 24, 10);
             cup.closeSubpath();
             QPainterPath handles;
             handles.moveTo(24, 18);
             handles.cubicTo(4, 18, 8, 44, 30, 42);
             handles.moveTo(76, 18);
             handles.cubicTo(96, 18, 92, 44, 70, 42);
             return cup.united(stroked(handles, 6)).united(rect(44, 56, 12, 18)).united(rect(28, 74, 44, 14, 3));
         }},
        {QStringLiteral("book"), [] {
             QPainterPath p = rect(14, 12, 72, 78, 5).subtracted(rect(22, 20, 56, 62, 2));
             p = p.united(rect(26, 24, 48, 54, 2).subtracted(rect(30, 28, 40, 46, 1)));
             return p.united(star(50, 51, 14, 6, 4, -90)).united(rect(14, 82, 72, 8, 2));
         }},
        {QStringLiteral("question"), [] { return letter(QStringLiteral("?"), 96); }},
        {QStringLiteral("scroll"), [] {
             QPainterPath p = rect(22, 16, 56, 68, 2);
             p = p.united(ellipse(22, 22, 10, 10)).united(ellipse(78, 78, 10, 10));
             QPainterPath lines;
             for (int y : {32, 44, 56, 68}) {
                 lines.moveTo(32, y);
                 lines.lineTo(y == 68 ? 54 : 68, y);
             }
             return p.subtracted(stroked(lines, 4, Qt::FlatCap));
         }},
        {QStringLiteral("bubbles"), [] {
             QPainterPath a = rect(6, 10, 58, 40, 14).united(polygon({{16, 46}, {14, 64}, {32, 48}}));
             QPainterPath b = rect(38, 40, 56, 38, 14).united(polygon({{80, 74}, {86, 92}, {66, 76}}));
             return a.united(b.subtracted(a)).subtracted(stroked(rect(38, 40, 56, 38, 14).intersected(a), 4));
         }},
        {QStringLiteral("house"), [] {
             QPainterPath p = polygon({{50, 6}, {94, 46}, {82, 46}, {82, 92}, {18, 92}, {18, 46}, {6, 46}});
             return p.subtracted(rect(42, 62, 16, 30, 2)).subtracted(rect(26, 52, 12, 12));
         }},
        {QStringLiteral("portal"), [] {
             QPainterPath arch;
             arch.moveTo(16, 94);
             arch.lineTo(16, 44);
             arch.arcTo(QRectF(16, 8, 68, 72), 180, -180);
             arch.lineTo(84, 94);
             arch.closeSubpath();
             QPainterPath swirl;
             swirl.moveTo(50, 54);
             for (int k = 0; k < 60; ++k) {
                 const qreal a = k * 0.3, r = 2 + k * 0.42;
                 swirl.lineTo(50 + r * std::cos(a), 56 + r * std::sin(a));
             }
             return arch.subtracted(rect(26, 30, 48, 64, 20)).united(stroked(swirl, 5));
         }},
        {QStringLiteral("dome"), [] {
             QPainterPath d;
             d.moveTo(8, 80);
             d.cubicTo(8, 30, 92, 30, 92, 80);
             d.closeSubpath();
             QPainterPath flag = polygon({{50, 6}, {70, 13}, {50, 20}});
             QPainterPath pole = rect(48, 6, 4, 36);
             QPainterPath arches;
             for (int x : {20, 44, 68})
                 arches.addRoundedRect(QRectF(x, 58, 12, 22), 6, 6);
             return d.subtracted(arches).united(flag).united(pole).united(rect(4, 80, 92, 10, 2));
         }},
        {QStringLiteral("podium"), [] {
             QPainterPath p = rect(36, 30, 28, 62).united(rect(6, 50, 30, 42)).united(rect(64, 62, 30, 30));
             return p.united(star(50, 14, 12, 5, 5));
         }},
        {QStringLiteral("coins"), [] {
             QPainterPath p;
             for (int k = 0; k < 4; ++k)
                 p = p.united(rect(14, 72 - k * 14, 48, 16, 7));
             p = p.united(ellipse(68, 40, 24, 24).subtracted(ellipse(68, 40, 16, 16))).united(letter(QStringLiteral("Z"), 26).translated(18, -10));
             return p;
         }},
        {QStringLiteral("crown"), [] {
             QPainterPath p = polygon({{8, 30}, {28, 54}, {50, 16}, {72, 54}, {92, 30}, {84, 80}, {16, 80}});
             return p.united(rect(14, 82, 72, 10, 2)).united(ellipse(8, 28, 6, 6)).united(ellipse(50, 14, 7, 7)).united(ellipse(92, 28, 6, 6))
                 .subtracted(ellipse(50, 64, 7, 7));
         }},
        {QStringLiteral("bag"), [] {
             QPainterPath p;
             p.moveTo(36, 26);
             p.cubicTo(10, 40, 6, 92, 50, 92);
             p.cubicTo(94, 92, 90, 40, 64, 26);
             p.closeSubpath();
             QPainterPath tie = polygon({{34, 10}, {66, 10}, {58, 26}, {42, 26}});
             return p.united(tie).subtracted(letter(QStringLiteral("$"), 40).translated(0, 14));
         }},
        {QStringLiteral("chart"), [] {
             QPainterPath p = rect(10, 86, 82, 6).united(rect(10, 10, 6, 82));
             p = p.united(rect(24, 60, 14, 24)).united(rect(44, 42, 14, 42)).united(rect(64, 24, 14, 60));
             QPainterPath line;
             line.moveTo(22, 48);
             line.lineTo(46, 28);
             line.lineTo(62, 36);
             line.lineTo(88, 10);
             return p.united(stroked(line, 5));
         }},
        {QStringLiteral("play"), [] {
             return rect(6, 16, 88, 68, 14).subtracted(polygon({{40, 32}, {40, 68}, {70, 50}}));
         }},
        {QStringLiteral("balloon"), [] {
             QPainterPath p = ellipse(50, 42, 44, 34).united(polygon({{24, 66}, {14, 94}, {46, 74}}));
             return p.subtracted(ellipse(30, 42, 6, 6)).subtracted(ellipse(50, 42, 6, 6)).subtracted(ellipse(70, 42, 6, 6));
         }},
        {QStringLiteral("camera"), [] {
             QPainterPath p = rect(6, 28, 88, 60, 10).united(rect(34, 16, 32, 16, 4)).united(rect(12, 20, 14, 10, 2));
             return p.subtracted(ellipse(50, 58, 22, 22)).united(ellipse(50, 58, 13, 13)).subtracted(ellipse(80, 40, 5, 5));
         }},
        {QStringLiteral("plus"), [] { return rect(40, 8, 20, 84, 4).united(rect(8, 40, 84, 20, 4)); }},
        {QStringLiteral("door"), [] {
             QPainterPath frameP = rect(46, 6, 46, 88, 4).subtracted(rect(54, 14, 30, 72));
             QPainterPath arrow = polygon({{4, 42}, {26, 42}, {26, 28}, {48, 50}, {26, 72}, {26, 58}, {4, 58}});
             return frameP.united(arrow).united(ellipse(76, 52, 4, 4));
         }},
        {QStringLiteral("vault"), [] {
             QPainterPath p = rect(8, 8, 84, 84, 10).subtracted(ellipse(50, 50, 30, 30));
             p = p.united(ellipse(50, 50, 22, 22).subtracted(ellipse(50, 50, 8, 8)));
             QPainterPath spokes;
             for (int k = 0; k < 4; ++k) {
                 const qreal a = qDegreesToRadians(45.0 + 90 * k);
                 spokes.moveTo(50, 50);
                 spokes.lineTo(50 + 28 * std::cos(a), 50 + 28 * std::sin(a));
             }
             return p.united(stroked(spokes, 5));
         }},
        {QStringLiteral("hourglass"), [] {
             QPainterPath p = rect(18, 6, 64, 10, 3).united(rect(18, 84, 64, 10, 3));
             QPainterPath glass = polygon({{26, 16}, {74, 16}, {56, 50}, {74, 84}, {26, 84}, {44, 50}});
             QPainterPath hollow = polygon({{33, 20}, {67, 20}, {52, 48}, {48, 48}});
             QPainterPath sandTop = polygon({{40, 32}, {60, 32}, {52, 46}, {48, 46}});
             return p.united(glass.subtracted(hollow).united(sandTop));
         }},
        {QStringLiteral("roster"), [] {
             QPainterPath p;
             for (int k = 0; k < 4; ++k) {
                 p = p.united(ellipse(18, 16 + k * 22, 8, 8));
                 p = p.united(rect(32, 11 + k * 22, 60, 10, 4));
             }
             return p;
         }},
        {QStringLiteral("pin"), [] {
             QPainterPath p = rect(6, 14, 88, 74, 4).subtracted(rect(14, 22, 72, 58));
             p = p.united(rect(20, 30, 26, 22)).united(rect(52, 28, 28, 30)).united(rect(26, 58, 40, 16));
             return p.united(ellipse(33, 30, 5, 5)).united(ellipse(66, 28, 5, 5));
         }},
        {QStringLiteral("banner"), [] {
             QPainterPath p = polygon({{20, 10}, {80, 10}, {80, 90}, {50, 72}, {20, 90}});
             return p.subtracted(star(50, 40, 20, 8, 5));
         }},
        {QStringLiteral("board"), [] {
             QPainterPath p = rect(6, 10, 88, 60, 6).subtracted(rect(14, 18, 72, 44));
             p = p.united(rect(46, 70, 8, 24)).united(rect(24, 90, 52, 6, 3));
             QPainterPath lines;
             for (int y : {28, 40, 52}) {
                 lines.moveTo(22, y);
                 lines.lineTo(78, y);
             }
             return p.united(stroked(lines, 5));
         }},
        {QStringLiteral("sword"), [] {
             QPainterPath blade = polygon({{50, 4}, {58, 16}, {58, 66}, {42, 66}, {42, 16}});
             return blade.united(rect(24, 66, 52, 8, 3)).united(rect(45, 74, 10, 16)).united(ellipse(50, 94, 6, 5));
         }},
        {QStringLiteral("shield"), [] {
             QPainterPath p;
             p.moveTo(50, 4);
             p.cubicTo(66, 14, 80, 14, 90, 14);
             p.cubicTo(90, 60, 74, 84, 50, 96);
             p.cubicTo(26, 84, 10, 60, 10, 14);
             p.cubicTo(20, 14, 34, 14, 50, 4);
             p.closeSubpath();
             return p.subtracted(rect(46, 22, 8, 58)).subtracted(rect(26, 40, 48, 8));
         }},
        {QStringLiteral("lock"), [] {
             QPainterPath shackle;
             shackle.moveTo(30, 50);
             shackle.lineTo(30, 34);
             shackle.arcTo(QRectF(30, 12, 40, 40), 180, -180);
             shackle.lineTo(70, 50);
             return stroked(shackle, 10).united(rect(18, 46, 64, 48, 8)).subtracted(ellipse(50, 64, 7, 7)).subtracted(rect(47, 66, 6, 16));
         }},
    };
    return table;
}

} // namespace

QPainterPath glyph(const QString &name, const QRectF &box)
{
    const auto it = glyphs().find(name);
    if (it == glyphs().end())
        return {};
    QTransform t;
    t.translate(box.left(), box.top());
    t.scale(box.width() / 100.0, box.height() / 100.0);
    return t.map(it->second());
}

void drawGlyph(QPainter &p, const QString &name, const QRectF &box, const QColor &light, const QColor &dark,
               qreal outline)
{
    const QPainterPath path = glyph(name, box);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (outline > 0) {
        p.setPen(QPen(QColor(8, 5, 10, 230), outline * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    const QLinearGradient g = ramp(box.topLeft(), box.bottomLeft(), {light, dark});
    p.fillPath(path, g);
    p.restore();
}

void badge(QPainter &p, const QRectF &box, const QString &glyphName, const QColor &enamel)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = box.adjusted(0.5, 0.5, -0.5, -0.5);
    const QLinearGradient rim = ramp(r.topLeft(), r.bottomRight(), {kGoldLight, kGold, kGoldDeep});
    p.setPen(QPen(kInk, 1));
    p.setBrush(rim);
    p.drawEllipse(r);
    const qreal w = std::max<qreal>(2, r.width() * 0.09);
    const QRectF inner = r.adjusted(w, w, -w, -w);
    QRadialGradient g(inner.center() - QPointF(0, inner.height() * 0.25), inner.width() * 0.8);
    g.setColorAt(0, enamel.lighter(150));
    g.setColorAt(0.6, enamel);
    g.setColorAt(1, enamel.darker(220));
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.setBrush(g);
    p.drawEllipse(inner);
    const qreal pad = inner.width() * 0.2;
    drawGlyph(p, glyphName, inner.adjusted(pad, pad, -pad, -pad), QColor(255, 250, 232), kParchment.darker(125),
              std::max(0.6, r.width() / 40));
    // Glaze highlight on the upper half.
    QPainterPath shine;
    shine.addEllipse(QRectF(inner.left() + inner.width() * 0.15, inner.top() + inner.height() * 0.05,
                            inner.width() * 0.7, inner.height() * 0.4));
    QLinearGradient sg(inner.topLeft(), QPointF(inner.left(), inner.center().y()));
    sg.setColorAt(0, QColor(255, 255, 255, 90));
    sg.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(shine, sg);
    p.restore();
}

QColor elementColour(const QString &element)
{
    static const std::map<QString, QColor> colours{
        {QStringLiteral("fire"), QColor(236, 96, 32)},    {QStringLiteral("ice"), QColor(140, 214, 246)},
        {QStringLiteral("thunder"), QColor(246, 214, 60)}, {QStringLiteral("earth"), QColor(150, 112, 64)},
        {QStringLiteral("poison"), QColor(140, 200, 60)},  {QStringLiteral("wind"), QColor(150, 226, 190)},
        {QStringLiteral("water"), QColor(52, 126, 226)},   {QStringLiteral("holy"), QColor(252, 240, 190)},
    };
    const auto it = colours.find(element);
    return it == colours.end() ? QColor(170, 160, 150) : it->second;
}

QImage cardBack(int w, int h)
{
    QImage img = canvas(w, h, false);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r(0, 0, w, h);
        backdrop(p, r, QColor(64, 40, 96), QColor(16, 10, 28));
        // Diamond lattice.
        p.setPen(QPen(QColor(226, 188, 102, 70), 1));
        for (int k = -h; k < w + h; k += 9) {
            p.drawLine(QPointF(k, 0), QPointF(k + h, h));
            p.drawLine(QPointF(k, h), QPointF(k + h, 0));
        }
        const QPointF c = r.center();
        const qreal rad = std::min(w, h) * 0.32;
        QRadialGradient glow(c, rad * 1.6);
        glow.setColorAt(0, QColor(140, 100, 200, 160));
        glow.setColorAt(1, QColor(140, 100, 200, 0));
        p.fillRect(r, glow);
        arcaneCircle(p, c, rad, QColor(226, 188, 102, 200), 77);
        drawGlyph(p, QStringLiteral("holy"), QRectF(c.x() - rad * 0.45, c.y() - rad * 0.45, rad * 0.9, rad * 0.9), kGoldLight,
                  kGoldDeep, 0.6);
        frame(p, r.adjusted(1, 1, -1, -1), std::max(2.0, w / 24.0), 3);
        cornerFlourishes(p, r.adjusted(5, 5, -5, -5), w * 0.16);
    }
    grain(img, 4242, 3);
    return img;
}

} // namespace assets::art
