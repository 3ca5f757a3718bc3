#pragma once
// What the look tests share: the part of a window's picture where a child stands, how far two
// pictures differ, and saving a picture when CORVADEX_SCREENSHOTS names a folder.
#include <QDir>
#include <QImage>
#include <QWidget>

#include <cstdlib>

// The part of the window's picture where the child stands.
inline QImage part(const QImage& all, QWidget* window, QWidget* child) {
    const qreal ratio = all.devicePixelRatio();
    const QRect at(child->mapTo(window, QPoint(0, 0)) * ratio, child->size() * ratio);
    return all.copy(at);
}

// Share of pixels that differ by more than a little in some channel.
inline double difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    int off = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c) {
            const QRgb p = x.pixel(c, r), q = y.pixel(c, r);
            if (std::abs(qRed(p) - qRed(q)) > 24 || std::abs(qGreen(p) - qGreen(q)) > 24 || std::abs(qBlue(p) - qBlue(q)) > 24) ++off;
        }
    return double(off) / (x.width() * x.height());
}

// Saves the picture as name.png in the folder CORVADEX_SCREENSHOTS names; nothing when it is not set.
inline void save(const QImage& image, const char* name) {
    const QString folder = qEnvironmentVariable("CORVADEX_SCREENSHOTS");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    image.save(folder + u'/' + QLatin1String(name) + QStringLiteral(".png"));
}
