#include "training/loopingsound.h"

#include <QDebug>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QMediaPlaylist>
#include <QUrl>

LoopingSound::LoopingSound(const QString &filePath, QObject *parent)
    : QObject(parent), m_filePath(filePath), m_player(new QMediaPlayer(this)),
      m_playlist(new QMediaPlaylist(m_player))
{
    m_playlist->setPlaybackMode(QMediaPlaylist::Loop);
    m_player->setPlaylist(m_playlist);
    m_player->setVolume(kVolume);
    // A file that cannot be played is not tried again and again by the loop; the log says why
    // the prompt is silent. Queued: the player finishes its own error handling first.
    connect(
        m_player, QOverload<QMediaPlayer::Error>::of(&QMediaPlayer::error), this,
        [this] {
            if (m_playlist->isEmpty())
                return;
            qWarning() << "alarm sound not played:" << m_filePath << m_player->errorString();
            m_player->stop();
            m_playlist->clear();
        },
        Qt::QueuedConnection);
}

void LoopingSound::play()
{
    // GStreamer needs an absolute location; the working folder decides it, as for every data file.
    const QUrl url = QUrl::fromLocalFile(QFileInfo(m_filePath).absoluteFilePath());
    if (m_playlist->mediaCount() != 1 || m_playlist->media(0).request().url() != url) {
        m_playlist->clear();
        m_playlist->addMedia(url);
    }
    m_playlist->setCurrentIndex(0);
    m_player->play();
}

void LoopingSound::stop()
{
    m_player->stop();
}

bool LoopingSound::isPlaying() const
{
    return m_player->state() == QMediaPlayer::PlayingState;
}
