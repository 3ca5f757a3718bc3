#pragma once
// The client's own push button: a skin picture in three looks (normal, under the pointer,
// pressed) with a caption over it, the skin's hand cursor, and one Click signal.
#include <QLabel>
#include <QWidget>

class RFButton : public QWidget {
    Q_OBJECT
public:
    explicit RFButton(QWidget* parent = nullptr);

    QString ButtonCaption() const { return lblCaption->text(); }
    void ButtonCaption(const QString& caption);
    // The name of the look last loaded; setting it does not change the picture.
    QString ButtonState() const { return m_state; }
    void ButtonState(const QString& state) { m_state = state; }
    bool Enabled() const { return lblCaption->isEnabled(); }
    void Enabled(bool on);
    void RolloverRelease();

    // Every instance keeps this size whatever its window asks for.
    static constexpr int kWidthTwips = 1500;
    static constexpr int kHeightTwips = 315;

    QLabel* imgButton;
    QLabel* lblCaption;

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void fitCaption();
    void loadLook(const QString& name);
    void press();
    QString m_state;
};
