#include "shell/soundcontroller.h"

#include "platform/volumebackendfactory.h"

#include <QDebug>

#include <algorithm>
#include <cmath>

namespace {

// A level a hair below a whole percent is that percent: single-precision scalars and 16-bit
// volume steps give 29 % back as 28.99..., which would show and then set one less.
constexpr double kPercentTolerance = 0.005;

} // namespace

SoundController::SoundController(QObject *parent) : QObject(parent)
{
    choose();
}

SoundController::SoundController(std::unique_ptr<platform::VolumeBackend> backend, QObject *parent)
    : QObject(parent), m_backend(std::move(backend))
{
}

SoundController::~SoundController() = default;

bool SoundController::setVolume(int value)
{
    if (value == Unmute)
        return report(backend().setMute(false));
    if (value == Mute)
        return report(backend().setMute(true));
    return report(backend().setLevel(std::clamp(value, 0, 100) / 100.0));
}

int SoundController::getVolume()
{
    double level = 0;
    if (!report(backend().readLevel(level)))
        return 0;
    const int percent = int(std::floor(100.0 * std::clamp(level, 0.0, 1.0) + kPercentTolerance));
    return std::min(percent + 1, 100);
}

QString SoundController::backendName() const
{
    return QString::fromStdString(m_backend->name());
}

void SoundController::choose()
{
    platform::VolumeBackendChoice choice = platform::chooseVolumeBackend();
    m_searching = !choice.answered;
    if (m_searching && m_backend)
        return; // still none: the search was logged the first time
    for (const std::string &note : choice.notes)
        qDebug().noquote() << QString::fromStdString(note);
    m_backend = std::move(choice.backend);
    qDebug().noquote() << "Volume control:" << backendName();
}

platform::VolumeBackend &SoundController::backend()
{
    if (m_searching)
        choose();
    return *m_backend;
}

bool SoundController::report(bool ok)
{
    if (ok) {
        m_lastLogged.clear();
        return true;
    }
    if (m_backend->lastError() != m_lastLogged) {
        m_lastLogged = m_backend->lastError();
        qDebug().noquote() << QString::fromStdString(m_lastLogged);
    }
    return false;
}
