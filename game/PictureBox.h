#pragma once
// A picture box of the card windows: a picture drawn into a fixed box, a Tag that holds the
// card's name or a state word, a plain-text tool tip, and click and pointer-move signals.
#include <QPixmap>
#include <QString>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    // How the picture fills the box: Stretch scales it to the box; FitWidth scales it to the
    // box's width and shows its top part (a card standing in a hand slot).
    enum class Fit { Stretch, FitWidth };

    explicit PictureBox(QWidget* parent = nullptr, Fit fit = Fit::Stretch);

    QString Tag;

    const QPixmap& Picture() const { return m_picture; }
    // A null picture shows black, as a picture that failed to load.
    void Picture(const QPixmap& picture);
    QString ToolTipText() const { return m_toolTip; }
    // Shown as plain text whatever it holds.
    void ToolTipText(const QString& text);
    // A gold frame around the box (the picked hand card).
    bool highlighted() const { return m_highlight; }
    void setHighlighted(bool on);

signals:
    void clicked();
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QPixmap m_picture;
    QString m_toolTip;
    Fit m_fit;
    bool m_highlight = false;
    bool m_pressed = false;
};

// A tool tip that shows its text literally.
QString plainToolTip(const QString& text);
