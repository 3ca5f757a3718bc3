#pragma once
// The elemental charge of a board cell: a small badge ("+1", "-1") over the card, empty when the
// cell has no charge. A click on it counts as a click on its cell, and so does the pointer
// moving over it.
#include <QLabel>

class ElementLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElementLabel(QWidget* parent = nullptr);

signals:
    void clicked();
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
};
