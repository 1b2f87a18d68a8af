#include "xvfbserver.h"

#include <QTest>

XvfbServer::XvfbServer()
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    // -displayfd 1: the server picks a free display and names it on its standard output.
    m_process.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                                             QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                                             QStringLiteral("1920x1080x24")});
    if (!m_process.waitForStarted(5000)) {
        m_error = QStringLiteral("Xvfb: ") + m_process.errorString();
        return;
    }
    if (!QTest::qWaitFor([this] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; }, 10000)
        || !m_process.canReadLine()) {
        m_error = QString::fromLocal8Bit(m_process.readAllStandardError());
        return;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(m_process.readLine().trimmed());
}

XvfbServer::~XvfbServer()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}
