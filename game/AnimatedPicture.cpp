#include "game/AnimatedPicture.h"

#include "platform/RuntimeError.h"

#include <QMovie>
#include <QTimer>

AnimatedPicture::AnimatedPicture(QWidget* parent) : QLabel(parent) {
    setScaledContents(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void AnimatedPicture::ReadGIF(const QString& path) {
    auto* movie = new QMovie(path, QByteArray(), this);
    if (!movie->isValid()) {
        delete movie;
        throw RuntimeError(QStringLiteral("File not found"), 53);
    }
    if (m_movie) {
        m_movie->stop();
        m_movie->deleteLater();
    }
    m_movie = movie;
    m_playing = false;
    connect(m_movie, &QMovie::frameChanged, this, &AnimatedPicture::frameShown);
    connect(m_movie, &QMovie::finished, this, [this] {
        if (m_playing) finish();
    });
    setMovie(m_movie);
}

bool AnimatedPicture::playing() const { return m_playing; }

void AnimatedPicture::Play() {
    m_runs = 0;
    if (!m_movie) {
        // Nothing to show: the caller's end handler still runs, after this call returns.
        m_playing = true;
        QTimer::singleShot(0, this, [this] {
            if (m_playing) finish();
        });
        return;
    }
    m_movie->stop();
    m_playing = true;
    m_movie->start();
}

void AnimatedPicture::Stop() {
    m_playing = false;
    if (m_movie) m_movie->stop();
}

void AnimatedPicture::frameShown(int frame) {
    if (!m_playing || !m_movie) return;
    const int last = m_movie->frameCount() - 1;
    if (last > 0 && frame < last) return;
    ++m_runs;
    if (Loop > 0 && m_runs >= Loop) {
        // The last frame stays on screen; stopping inside the movie's own signal is not safe.
        QTimer::singleShot(0, this, [this] {
            if (m_playing) finish();
        });
    }
}

void AnimatedPicture::finish() {
    m_playing = false;
    if (m_movie) m_movie->setPaused(true);
    emit Finished();
}
