#pragma once
// Drawing helpers behind every picture of the default skin: one palette, one frame
// style, one lettering, one set of glyphs, so all the windows look of a piece.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace assets::art {

// Palette: night-blue stone, old gold, ember red, steel blue.
inline const QColor kInk{14, 11, 20};
inline const QColor kNight{30, 24, 42};
inline const QColor kDusk{58, 44, 74};
inline const QColor kGold{226, 188, 102};
inline const QColor kGoldLight{255, 236, 170};
inline const QColor kGoldDeep{128, 90, 36};
inline const QColor kParchment{236, 224, 196};
inline const QColor kBlue{56, 110, 206};
inline const QColor kRed{190, 46, 46};

// Deterministic random numbers (xorshift); the same sequence on every machine.
class Rng {
public:
    explicit Rng(quint32 seed) : s_(seed ? seed : 0x9e3779b9u) {}
    quint32 next()
    {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    double unit() { return double(next() & 0xffffff) / double(0x1000000); }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }

private:
    quint32 s_;
};

quint32 hashOf(const QString &text);

QImage canvas(int w, int h, bool transparent);
QFont font(const QString &family, qreal pixels, bool bold = false);
QFont serif(qreal pixels, bool bold = true);
QFont sans(qreal pixels, bool bold = false);

// A linear gradient from `from` to `to` through evenly spaced colour stops.
QLinearGradient ramp(const QPointF &from, const QPointF &to, std::initializer_list<QColor> stops);
// Fills a path with `fill` and outlines it.
void shaded(QPainter &p, const QPainterPath &path, const QBrush &fill, const QPen &outline = QPen(kInk, 1.2));

// Adds fine grain (±strength) to opaque pixels.
void grain(QImage &img, quint32 seed, int strength);
// Smooth noise that wraps at the image edges, so the picture tiles without seams.
void tileNoise(QImage &img, quint32 seed, int cell, int strength);

// A dark radial backdrop with a vignette, the ground of every window background.
void backdrop(QPainter &p, const QRectF &r, const QColor &centre, const QColor &edge);
// Faint rune circle.
void arcaneCircle(QPainter &p, const QPointF &c, qreal radius, const QColor &colour, quint32 seed);
// Gilded bevel frame inside `r`.
void frame(QPainter &p, const QRectF &r, qreal width, qreal radius = 0);
// Dark inset panel with a thin gold edge.
void panel(QPainter &p, const QRectF &r, qreal radius = 6, int alpha = 170);
// Corner ornaments for a framed area.
void cornerFlourishes(QPainter &p, const QRectF &r, qreal size);
// Gold lettering with a dark outline and a soft shadow.
void engraved(QPainter &p, const QRectF &r, int flags, const QString &text, const QFont &f,
              const QColor &top = kGoldLight, const QColor &bottom = kGoldDeep);
// Plain text with a one-pixel dark outline, readable on any ground.
void outlined(QPainter &p, const QRectF &r, int flags, const QString &text, const QFont &f, const QColor &fill,
              const QColor &outline = kInk);
// Largest font of `base` not above `maxPixels` that fits `text` into `width`.
QFont fitted(const QFont &base, const QString &text, qreal width, qreal maxPixels, qreal minPixels = 5);

// Vector glyphs drawn in a 100 x 100 box, scaled to `box`. Names: the eight elements,
// the lobby link icons, the guild icons, and a few symbols (plus, door, camera, ...).
QPainterPath glyph(const QString &name, const QRectF &box);
// A glyph filled with a vertical gradient and outlined.
void drawGlyph(QPainter &p, const QString &name, const QRectF &box, const QColor &light, const QColor &dark,
               qreal outline = 1.2);
// A round badge (link icons): rim, enamel, glyph.
void badge(QPainter &p, const QRectF &box, const QString &glyphName, const QColor &enamel);

// Element colours, for glyphs and card art.
QColor elementColour(const QString &element);

// The card back, shared by the skin and the flip animations.
QImage cardBack(int w, int h);

} // namespace assets::art
