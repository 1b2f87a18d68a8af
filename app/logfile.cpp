#include "app/logfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>

namespace {

struct LogState
{
    QMutex mutex;
    QString folder;
    qint64 maxBytes = LogFile::kDefaultMaxBytes;
    int maxFiles = LogFile::kDefaultMaxFiles;
    QFile file;
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

void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    LogFile::write(type, message);
    LogState &s = state();
    if (s.previous)
        s.previous(type, context, message);
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

void LogFile::install(const QString &folder, qint64 maxBytes, int maxFiles)
{
    LogState &s = state();
    {
        QMutexLocker locker(&s.mutex);
        QDir().mkpath(folder);
        s.folder = folder;
        s.maxBytes = qMax<qint64>(1024, maxBytes);
        s.maxFiles = qMax(1, maxFiles);
        openCurrent(s);
    }
    if (!s.installed) {
        s.previous = qInstallMessageHandler(handler);
        s.installed = true;
    }
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
}

void LogFile::write(QtMsgType type, const QString &message)
{
    LogState &s = state();
    QMutexLocker locker(&s.mutex);
    if (!s.file.isOpen())
        return;
    const QByteArray line = formatLine(type, message).toUtf8() + '\n';
    if (s.file.size() > 0 && s.file.size() + line.size() > s.maxBytes)
        rotate(s);
    s.file.write(line);
    s.file.flush();
}
