#pragma once
// Pictures and labels the player clicks: a QLabel that reports the released mouse button (1 left,
// 2 right) and a click, and an animated picture that cycles through its frames once started.
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <vector>

class PictureLabel : public QLabel {
    Q_OBJECT
public:
    explicit PictureLabel(QWidget* parent = nullptr);

signals:
    // A left-button release inside the control.
    void Click();
    // Every release: 1 left, 2 right, 4 middle.
    void MouseUp(int button);

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

class CyclingPicture : public PictureLabel {
    Q_OBJECT
public:
    explicit CyclingPicture(QWidget* parent = nullptr);

    void setFrames(std::vector<QPixmap> frames, int msPerFrame);
    // Starts the animation from the current frame.
    void Play();
    void Stop();
    // Shows the next frame (the lobby's advert timer steps pictures that do not play by themselves).
    void step();
    int frameCount() const { return int(m_frames.size()); }
    int currentFrame() const { return m_current; }
    bool playing() const { return m_timer->isActive(); }

private:
    std::vector<QPixmap> m_frames;
    int m_current = 0;
    QTimer* m_timer;
};
