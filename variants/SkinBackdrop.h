#pragma once
// The surface of a variant board: the skin's background picture drawn to fit the surface, so
// the board's trays stay under the controls whatever size the skin's picture has. Pointer moves
// over the bare surface are reported (the windows hide their hover frame then).
#include <QPixmap>
#include <QWidget>

class SkinBackdrop : public QWidget {
    Q_OBJECT
public:
    explicit SkinBackdrop(QWidget* parent = nullptr);
    // The picture of [section] key of the skin; a skin without it keeps the plain ground.
    void load(const QString& section, const QString& key);
    const QPixmap& picture() const { return m_picture; }
    void setPicture(const QPixmap& picture) {
        m_picture = picture;
        update();
    }

signals:
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QPixmap m_picture;
};
