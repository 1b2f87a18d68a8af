#include "app/logfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

namespace {

struct LogState
{
    QMutex mutex;
    QString folder; // empty while lines are held
    qint64 maxBytes = LogFile::kDefaultMaxBytes;
    int maxFiles = LogFile::kDefaultMaxFiles;
    QFile file;
    QStringList held;
    QtMessageHandler previous = nullptr;
    bool installed = false;
};

LogState &state()
{
    static LogState s;
    return s;
}

void openCurrent(LogState &s)
{
    s.file.close();
    QDir().mkpath(s.folder);
    s.file.setFileName(LogFile::fileName(s.folder, 0));
    s.file.open(QIODevice::WriteOnly | QIODevice::Append);
}

void rotate(LogState &s)
{
    s.file.close();
    QFile::remove(LogFile::fileName(s.folder, s.maxFiles - 1));
    for (int i = s.maxFiles - 2; i >= 0; --i)
        QFile::rename(LogFile::fileName(s.folder, i), LogFile::fileName(s.folder, i + 1));
    openCurrent(s);
}

void writeLine(LogState &s, const QString &text)
{
    // An open file whose folder was removed swallows every line: open it again where it belongs.
    if (!s.file.isOpen() || !QFile::exists(s.file.fileName()))
        openCurrent(s);
    if (!s.file.isOpen())
        return;
    const QByteArray line = text.toUtf8() + '\n';
    if (s.file.size() > 0 && s.file.size() + line.size() > s.maxBytes)
        rotate(s);
    s.file.write(line);
    s.file.flush();
}

void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    LogFile::write(type, message);
    LogState &s = state();
    if (s.previous)
        s.previous(type, context, message);
}

void installHandler(LogState &s)
{
    if (!s.installed) {
        s.previous = qInstallMessageHandler(handler);
        s.installed = true;
    }
}

} // namespace

QString LogFile::fileName(const QString &folder, int index)
{
    if (index == 0)
        return folder + QStringLiteral("/rotaflex.log");
    return folder + QStringLiteral("/rotaflex.%1.log").arg(index);
}

QString LogFile::formatLine(QtMsgType type, const QString &message)
{
    static const char *const kinds[] = {"D", "W", "C", "F", "I"};
    const int index = (type >= QtDebugMsg && type <= QtInfoMsg) ? int(type) : 0;
    return QStringLiteral("%1 [%2] %3")
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")),
             QLatin1String(kinds[index]), message);
}

void LogFile::hold()
{
    LogState &s = state();
    {
        QMutexLocker locker(&s.mutex);
        s.file.close();
        s.folder.clear();
    }
    installHandler(s);
}

void LogFile::install(const QString &folder, qint64 maxBytes, int maxFiles)
{
    LogState &s = state();
    {
        QMutexLocker locker(&s.mutex);
        s.folder = folder;
        s.maxBytes = qMax<qint64>(1024, maxBytes);
        s.maxFiles = qMax(1, maxFiles);
        openCurrent(s);
        for (const QString &line : qAsConst(s.held))
            writeLine(s, line);
        s.held.clear();
    }
    installHandler(s);
}

void LogFile::uninstall()
{
    LogState &s = state();
    if (s.installed) {
        qInstallMessageHandler(s.previous);
        s.installed = false;
        s.previous = nullptr;
    }
    QMutexLocker locker(&s.mutex);
    s.file.close();
    s.folder.clear();
    s.held.clear();
}

void LogFile::write(QtMsgType type, const QString &message)
{
    LogState &s = state();
    QMutexLocker locker(&s.mutex);
    if (s.folder.isEmpty()) {
        if (s.installed && s.held.size() < kMaxHeldLines)
            s.held << formatLine(type, message);
        return;
    }
    writeLine(s, formatLine(type, message));
}
