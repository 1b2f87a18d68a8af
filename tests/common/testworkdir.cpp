#include "testworkdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

TestWorkDir::TestWorkDir() : m_dir(QDir::tempPath() + QStringLiteral("/rotaflex-test-XXXXXX"))
{
    m_previous = QDir::currentPath();
    if (m_dir.isValid()) {
        QDir(m_dir.path()).mkpath(QStringLiteral("DependFile/ConfigFile"));
        QDir(m_dir.path()).mkpath(QStringLiteral("DependFile/DBFile"));
        QDir::setCurrent(m_dir.path());
    }
}

TestWorkDir::~TestWorkDir()
{
    QDir::setCurrent(m_previous);
}

bool TestWorkDir::isValid() const
{
    return m_dir.isValid();
}

QString TestWorkDir::path() const
{
    return m_dir.path();
}

QString TestWorkDir::filePath(const QString &relative) const
{
    return m_dir.filePath(relative);
}

bool TestWorkDir::write(const QString &relative, const QByteArray &bytes) const
{
    const QString target = filePath(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

bool TestWorkDir::copyFromRepo(const QString &relativeToDependFile) const
{
    const QString source = QStringLiteral(ROTAFLEX_SOURCE_DIR "/DependFile/") + relativeToDependFile;
    const QString target = filePath(QStringLiteral("DependFile/") + relativeToDependFile);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    return QFile::copy(source, target);
}

ProgramCopy::ProgramCopy(const QString &executable)
    : m_dir(QDir::tempPath() + QStringLiteral("/rotaflex-program-XXXXXX"))
{
    const QString target = m_dir.filePath(QFileInfo(executable).fileName());
    if (m_dir.isValid() && QFile::copy(executable, target))
        m_path = target;
}

void prepareTestEnvironment()
{
    // Files kept beside the executable (the language file) and in the runtime folder must be
    // this test's own: tests run side by side, and no other test program may share them.
    const QFileInfo self(QCoreApplication::applicationFilePath());
    QCOMPARE(QDir(self.absolutePath()).entryList({QStringLiteral("tst_*")}, QDir::Files),
             QStringList{self.fileName()});
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    QVERIFY2(runtime.startsWith(self.absolutePath() + QLatin1Char('/')), qPrintable(runtime));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
