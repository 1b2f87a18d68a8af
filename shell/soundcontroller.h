#pragma once

#include <QObject>

#include <memory>
#include <string>

namespace platform {
class VolumeBackend;
}

// Reads and sets the master volume of the default playback device in the volume dialog's
// numbers, through the sound system that the platform layer found. Failures only reach the log.
class SoundController : public QObject
{
    Q_OBJECT
public:
    static constexpr int Unmute = -1;
    static constexpr int Mute = -2;

    // Uses the first sound system of this machine that answers; while none does, it looks again
    // at every call, so a sound server that starts after the program is used once it answers.
    explicit SoundController(QObject *parent = nullptr);
    explicit SoundController(std::unique_ptr<platform::VolumeBackend> backend, QObject *parent = nullptr);
    ~SoundController() override;

    // Unmute (-1) and Mute (-2) switch the mute state; any other value is clamped to 0..100
    // and set as the level value / 100.
    bool setVolume(int value);
    // The integer part of 100 × level plus 1, at most 100; 0 when the level cannot be read.
    int getVolume();
    QString backendName() const;

private:
    void choose();
    // The backend for the next call: the factory's choice is made again while it is the null one.
    platform::VolumeBackend &backend();
    // Logs a failure once, not again for every slider step that fails the same way.
    bool report(bool ok);

    std::unique_ptr<platform::VolumeBackend> m_backend;
    bool m_searching = false;
    std::string m_lastLogged;
};
