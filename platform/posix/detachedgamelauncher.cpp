#include "platform/posix/detachedgamelauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <fstream>
#include <sstream>

namespace platform {

DetachedGameLauncher::DetachedGameLauncher(const std::string &applicationFolder)
    : m_applicationFolder(applicationFolder)
{
}

bool DetachedGameLauncher::start(const std::string &program)
{
    m_pid = 0;
    m_startTime = 0;
    if (program.empty())
        return fail("the catalogue entry names no program");
    const QString given = QString::fromStdString(program);
    // Catalogue paths such as "./DependFile/Game/" belong to the installation, not to wherever
    // the program was started from.
    const QFileInfo file(QDir(QString::fromStdString(m_applicationFolder)), given);
    const QString path = QDir::cleanPath(file.absoluteFilePath());
    if (!file.exists())
        return fail("no such program: " + path.toStdString());
    if (!file.isFile() || !file.isExecutable())
        return fail("not an executable program: " + path.toStdString());
    qint64 pid = 0;
    if (!QProcess::startDetached(path, {}, file.absolutePath(), &pid) || pid <= 0)
        return fail("the program did not start: " + path.toStdString());
    m_pid = pid_t(pid);
    m_startTime = startTimeOf(m_pid);
    return succeed();
}

bool DetachedGameLauncher::isRunning() const
{
    return m_pid > 0 && m_startTime != 0 && startTimeOf(m_pid) == m_startTime;
}

void DetachedGameLauncher::stop()
{
    if (isRunning())
        ::kill(m_pid, SIGTERM);
}

unsigned long long DetachedGameLauncher::startTimeOf(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line))
        return 0;
    // The command name in parentheses may hold spaces and parentheses: fields follow the last ')'.
    const std::string::size_type close = line.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(line.substr(close + 1));
    std::string state;
    fields >> state;
    if (state == "Z" || state == "X")
        return 0;
    std::string skipped;
    for (int field = 4; field < 22 && fields >> skipped; ++field) {
    }
    unsigned long long startTime = 0;
    fields >> startTime;
    return startTime;
}

std::unique_ptr<GameLauncher> makeGameLauncher(const std::string &applicationFolder)
{
    return std::make_unique<DetachedGameLauncher>(applicationFolder);
}

} // namespace platform
