#pragma once

#include <QObject>
#include <QString>

class QMediaPlayer;
class QMediaPlaylist;

// Plays one sound file over and over until it is stopped: the alarm of a prompt that waits for
// the user. Without a sound device it runs silently on GStreamer's fake sink.
class LoopingSound : public QObject
{
    Q_OBJECT
public:
    // Alarms are played at full volume; the system volume still applies.
    static constexpr int kVolume = 100;

    // A path relative to the working folder is taken as it stands at each play().
    explicit LoopingSound(const QString &filePath, QObject *parent = nullptr);

    void play();
    void stop();
    bool isPlaying() const;
    QString filePath() const { return m_filePath; }

private:
    QString m_filePath;
    QMediaPlayer *m_player = nullptr;
    QMediaPlaylist *m_playlist = nullptr;
};
