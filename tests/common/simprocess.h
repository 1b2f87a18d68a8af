#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// A simulator as a real process: its stdout is collected line by line, its stdin is typed to.
// A simulator still running at destruction is asked to quit, then killed.
class SimProcess
{
public:
    explicit SimProcess(const QString &program);
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    void start(const QStringList &arguments, const QString &workingDirectory);

    void type(const QString &line);

    // The first line starting with prefix, or an empty string.
    QString line(const QString &prefix) const;
    bool hasLine(const QString &prefix) const { return !line(prefix).isEmpty(); }
    int countLines(const QString &prefix) const;

    QProcess &process() { return m_process; }
    QStringList lines() const { return m_lines; }
    QString output() const { return m_lines.join(QLatin1Char('\n')); }

private:
    void readOutput();

    QString m_program;
    QProcess m_process;
    QByteArray m_partial;
    QStringList m_lines;
};
