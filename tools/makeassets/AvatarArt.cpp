// Avatar layers: an opaque background and transparent head and body pictures of one
// size, so that drawing them over each other at one place composes the figure.

#include "Art.h"
#include "Pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

namespace assets {

using namespace art;

namespace {

constexpr int kW = 96, kH = 128;

QImage avatarBackground(int code)
{
    QImage img = canvas(kW, kH, false);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        if (code == 1) { // dusk over a forest
            QLinearGradient sky(0, 0, 0, kH);
            sky.setColorAt(0, QColor(60, 40, 110));
            sky.setColorAt(0.6, QColor(220, 120, 80));
            sky.setColorAt(1, QColor(250, 200, 120));
            p.fillRect(img.rect(), sky);
            Rng rng(3);
            for (int k = 0; k < 9; ++k) {
                const qreal x = k * 12 + rng.range(-4, 4), top = rng.range(54, 84);
                QPolygonF tree;
                tree << QPointF(x - 10, kH) << QPointF(x, top) << QPointF(x + 10, kH);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(20, 16, 30));
                p.drawPolygon(tree);
            }
        } else if (code == 2) { // a hall with a lit arch
            p.fillRect(img.rect(), QColor(52, 46, 50));
            p.setPen(QPen(QColor(30, 26, 30), 1));
            for (int y = 0; y < kH; y += 12)
                for (int x = (y / 12) % 2 * 10; x < kW; x += 20)
                    p.drawRect(QRectF(x, y, 20, 12));
            QPainterPath arch;
            arch.moveTo(28, kH);
            arch.lineTo(28, 40);
            arch.arcTo(QRectF(28, 20, 40, 40), 180, -180);
            arch.lineTo(68, kH);
            arch.closeSubpath();
            const QLinearGradient light = ramp(QPointF(0, 20), QPointF(0, kH), {QColor(255, 230, 160), QColor(200, 110, 50)});
            p.fillPath(arch, light);
            for (int s : {12, 84}) {
                QRadialGradient torch(QPointF(s, 44), 18);
                torch.setColorAt(0, QColor(255, 200, 90, 220));
                torch.setColorAt(1, QColor(255, 160, 60, 0));
                p.fillRect(QRectF(s - 18, 26, 36, 36), torch);
            }
        } else { // night sky with a moon
            const QLinearGradient sky = ramp(QPointF(0, 0), QPointF(0, kH), {QColor(8, 10, 36), QColor(40, 50, 100)});
            p.fillRect(img.rect(), sky);
            Rng rng(9);
            for (int k = 0; k < 40; ++k) {
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(255, 255, 230, 100 + int(rng.next() % 150)));
                p.drawEllipse(QPointF(rng.range(0, kW), rng.range(0, kH * 0.7)), 0.7, 0.7);
            }
            QRadialGradient moon(QPointF(70, 24), 14);
            moon.setColorAt(0, QColor(255, 252, 230));
            moon.setColorAt(1, QColor(200, 200, 180));
            p.setBrush(moon);
            p.drawEllipse(QPointF(70, 24), 11, 11);
            p.setBrush(QColor(24, 30, 60));
            p.drawEllipse(QRectF(0, 100, 96, 60));
        }
    }
    grain(img, quint32(code) * 7919u, 3);
    QPainter p(&img);
    frame(p, QRectF(0, 0, kW, kH), 2, 3);
    return img;
}

QColor outfitColour(int code)
{
    return code == 1 ? QColor(120, 80, 46) : code == 2 ? QColor(150, 158, 170) : QColor(96, 50, 140);
}

QImage avatarBody(bool female, int code)
{
    QImage img = canvas(kW, kH, true);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal shoulder = female ? 30 : 36;
    const QColor c = outfitColour(code);
    QPainterPath torso;
    torso.moveTo(48 - 8, 74);
    torso.cubicTo(48 - shoulder, 78, 48 - shoulder - 4, 92, 48 - shoulder - 6, kH);
    torso.lineTo(48 + shoulder + 6, kH);
    torso.cubicTo(48 + shoulder + 4, 92, 48 + shoulder, 78, 48 + 8, 74);
    torso.closeSubpath();
    const QLinearGradient g = ramp(QPointF(0, 74), QPointF(0, kH), {c.lighter(130), c.darker(170)});
    shaded(p, torso, g, QPen(kInk, 1.5));
    if (code == 1) { // leather with a strap and a buckle
        p.setPen(QPen(QColor(60, 36, 20), 5));
        p.drawLine(QPointF(48 - shoulder + 8, 82), QPointF(48 + shoulder - 4, kH));
        p.setPen(QPen(kGold, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(54, 100, 7, 6));
    } else if (code == 2) { // plate with gold trim and a crest
        p.setPen(QPen(kGold, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(48 - shoulder, 70, 2 * shoulder, 30), 200 * 16, 140 * 16);
        drawGlyph(p, QStringLiteral("shield"), QRectF(40, 96, 16, 18), kGoldLight, kGoldDeep, 0.6);
    } else { // robe with runes and a high collar
        p.setPen(QPen(kGold, 1.5));
        p.drawLine(QPointF(48, 80), QPointF(48, kH));
        for (int y = 90; y < kH; y += 12)
            p.fillPath(glyph(QStringLiteral("holy"), QRectF(50, y, 8, 8)), kGoldLight);
        QPainterPath collar;
        collar.moveTo(48 - 16, 74);
        collar.lineTo(48, 88);
        collar.lineTo(48 + 16, 74);
        p.setPen(QPen(kGoldDeep, 3));
        p.setBrush(Qt::NoBrush);
        p.drawPath(collar);
    }
    if (female) { // a pendant
        p.setPen(QPen(kGold, 1));
        p.drawLine(QPointF(44, 76), QPointF(48, 84));
        p.drawLine(QPointF(52, 76), QPointF(48, 84));
        p.setBrush(QColor(200, 40, 80));
        p.drawEllipse(QPointF(48, 86), 2.5, 2.5);
    }
    return img;
}

QImage avatarHead(bool female, int code)
{
    QImage img = canvas(kW, kH, true);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor skin = code == 1 ? QColor(236, 196, 160) : code == 2 ? QColor(198, 150, 110) : QColor(150, 104, 76);
    const QColor hair = female ? (code == 1 ? QColor(150, 60, 30) : code == 2 ? QColor(232, 200, 120) : QColor(30, 24, 30))
                               : (code == 1 ? QColor(50, 36, 26) : code == 2 ? QColor(120, 110, 100) : QColor(20, 16, 16));
    // Long hair falls behind the face.
    if (female && code != 3) {
        QPainterPath back;
        back.addRoundedRect(QRectF(28, 30, 40, 52), 16, 16);
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(hair.darker(120));
        p.drawPath(back);
    }
    // Neck and face.
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(skin.darker(115));
    p.drawRect(QRectF(42, 62, 12, 14));
    QRadialGradient fg(QPointF(44, 44), 22);
    fg.setColorAt(0, skin.lighter(110));
    fg.setColorAt(1, skin.darker(120));
    p.setBrush(fg);
    p.drawEllipse(QRectF(32, 28, 32, female ? 38 : 40));
    // Eyes, brows, mouth.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 24, 30));
    p.drawEllipse(QPointF(42, 46), 1.8, 2);
    p.drawEllipse(QPointF(54, 46), 1.8, 2);
    p.setPen(QPen(hair.darker(140), female ? 1 : 1.8));
    p.drawLine(QPointF(38, female ? 41 : 40), QPointF(45, female ? 40 : 41));
    p.drawLine(QPointF(51, female ? 40 : 41), QPointF(58, female ? 41 : 40));
    p.setPen(QPen(female ? QColor(170, 60, 70) : skin.darker(170), 1.4));
    p.drawLine(QPointF(45, 58), QPointF(51, 58));
    if (code == 2 && !female) { // helm
        QPainterPath helm;
        helm.moveTo(30, 48);
        helm.cubicTo(28, 18, 68, 18, 66, 48);
        helm.lineTo(60, 48);
        helm.lineTo(60, 38);
        helm.lineTo(36, 38);
        helm.lineTo(36, 48);
        helm.closeSubpath();
        const QLinearGradient hg = ramp(QPointF(0, 20), QPointF(0, 48), {QColor(220, 224, 232), QColor(100, 106, 120)});
        shaded(p, helm, hg, QPen(kInk, 1.2));
        p.setPen(QPen(kGold, 2));
        p.drawLine(QPointF(48, 20), QPointF(48, 38));
    } else if (code == 3) { // hood
        QPainterPath hood;
        hood.moveTo(26, 78);
        hood.cubicTo(20, 20, 76, 20, 70, 78);
        hood.lineTo(62, 78);
        hood.cubicTo(66, 36, 30, 36, 34, 78);
        hood.closeSubpath();
        const QLinearGradient hg = ramp(QPointF(0, 20), QPointF(0, 78), {QColor(70, 40, 100), QColor(30, 16, 44)});
        shaded(p, hood, hg, QPen(kInk, 1.2));
    } else { // hair on top, a circlet for the second look
        QPainterPath top;
        top.moveTo(31, 44);
        top.cubicTo(28, 20, 68, 20, 65, 44);
        top.cubicTo(58, 34, 40, 32, 31, 44);
        top.closeSubpath();
        shaded(p, top, hair, QPen(kInk, 1.2));
        if (code == 2) {
            p.setPen(QPen(kGold, 2));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(32, 28, 32, 14), 20 * 16, 140 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(80, 160, 240));
            p.drawEllipse(QPointF(48, 29), 2.2, 2.2);
        }
    }
    return img;
}

} // namespace

const QStringList &avatarPrefixes()
{
    static const QStringList p{QStringLiteral("m"), QStringLiteral("f")};
    return p;
}

const QStringList &avatarCodes()
{
    static const QStringList c{QStringLiteral("001"), QStringLiteral("002"), QStringLiteral("003")};
    return c;
}

QList<NamedPicture> renderAvatars()
{
    const QString folder = QStringLiteral("skins/default/avatars/");
    QList<NamedPicture> out;
    for (int i = 0; i < avatarCodes().size(); ++i) {
        const QString code = avatarCodes()[i];
        out.append({folder + QStringLiteral("background_") + code + QStringLiteral(".gif"), {{avatarBackground(i + 1)}, {0}, -1}});
        for (const QString &prefix : avatarPrefixes()) {
            const bool female = prefix == QLatin1String("f");
            out.append({folder + prefix + QStringLiteral("_head_") + code + QStringLiteral(".gif"),
                        {{avatarHead(female, i + 1)}, {0}, -1}});
            out.append({folder + prefix + QStringLiteral("_body_") + code + QStringLiteral(".gif"),
                        {{avatarBody(female, i + 1)}, {0}, -1}});
        }
    }
    return out;
}

} // namespace assets
