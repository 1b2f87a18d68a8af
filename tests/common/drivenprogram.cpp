#include "drivenprogram.h"

#include <QDir>
#include <QProcess>

void startDriven(QProcess &process, const QString &program, const QString &folder, const QString &steps,
                 const QProcessEnvironment &extra)
{
    QDir(folder).mkpath(QStringLiteral("tmp"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), QDir(folder).filePath(QStringLiteral("tmp")));
    env.insert(QStringLiteral("ROTAFLEX_UNATTENDED"), QStringLiteral("1"));
    env.insert(QStringLiteral("ROTAFLEX_DRIVE"), steps);
    env.remove(QStringLiteral("QT_IM_MODULE"));
    env.insert(extra);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, QStringList());
}
