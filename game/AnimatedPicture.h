#pragma once
// An animated picture (a card flip): a GIF played a set number of times in a label, with a
// signal when the last run ends.
#include <QLabel>
#include <QString>

class QMovie;

class AnimatedPicture : public QLabel {
    Q_OBJECT
public:
    explicit AnimatedPicture(QWidget* parent = nullptr);

    // How many runs Play makes; 0 plays until stopped.
    int Loop = 0;
    // Loads the animation; a file that is missing or no animation throws "File not found".
    void ReadGIF(const QString& path);
    // Starts from the first frame. Without an animation it ends at once (Finished follows).
    void Play();
    void Stop();
    bool playing() const;
    QMovie* movie() const { return m_movie; }

signals:
    void Finished();

private:
    void frameShown(int frame);
    void finish();

    QMovie* m_movie = nullptr;
    int m_runs = 0;
    bool m_playing = false;
};
