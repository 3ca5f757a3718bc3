#include "variants/SkinBackdrop.h"

#include "app/modSkin.h"

#include <QPainter>

SkinBackdrop::SkinBackdrop(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette ground = palette();
    ground.setColor(QPalette::Window, QColor(20, 18, 30));
    setPalette(ground);
}

void SkinBackdrop::load(const QString& section, const QString& key) {
    m_picture = SkinPicture(section, key);
    update();
}

void SkinBackdrop::paintEvent(QPaintEvent*) {
    if (m_picture.isNull()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), m_picture);
}

void SkinBackdrop::mouseMoveEvent(QMouseEvent* e) {
    QWidget::mouseMoveEvent(e);
    emit mouseMoved();
}
