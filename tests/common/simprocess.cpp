#include "simprocess.h"

SimProcess::SimProcess(const QString &program) : m_program(program)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process, [this] { readOutput(); });
}

SimProcess::~SimProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.write("quit\n");
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

void SimProcess::start(const QStringList &arguments, const QString &workingDirectory)
{
    m_process.setWorkingDirectory(workingDirectory);
    m_process.start(m_program, arguments);
}

void SimProcess::type(const QString &line)
{
    m_process.write((line + QLatin1Char('\n')).toUtf8());
}

QString SimProcess::line(const QString &prefix) const
{
    for (const QString &line : m_lines)
        if (line.startsWith(prefix))
            return line;
    return QString();
}

int SimProcess::countLines(const QString &prefix) const
{
    int count = 0;
    for (const QString &line : m_lines)
        count += line.startsWith(prefix) ? 1 : 0;
    return count;
}

void SimProcess::readOutput()
{
    m_partial += m_process.readAllStandardOutput();
    int newline;
    while ((newline = m_partial.indexOf('\n')) >= 0) {
        m_lines << QString::fromUtf8(m_partial.left(newline));
        m_partial.remove(0, newline + 1);
    }
}
