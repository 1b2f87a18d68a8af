#include "loopbacktrainer.h"

#include <QDeadlineTimer>
#include <QNetworkDatagram>
#include <QtTest>

LoopbackTrainer::LoopbackTrainer()
{
    QUdpSocket probe;
    m_bound = m_socket.bind(QHostAddress(QHostAddress::LocalHost), 0)
        && probe.bind(QHostAddress(QHostAddress::LocalHost), 0);
    m_programPort = probe.localPort();
}

QString LoopbackTrainer::configXml(const QString &extra) const
{
    return QStringLiteral("<config><communicateType type=\"1\"/><udpServerAddress IP=\"127.0.0.1\" port=\"%1\"/>"
                          "<udpClientAddress IP=\"127.0.0.1\" port=\"%2\"/>%3</config>")
        .arg(m_programPort)
        .arg(m_socket.localPort())
        .arg(extra);
}

QList<QByteArray> LoopbackTrainer::payloads(int waitMs)
{
    QList<QByteArray> payloads;
    QDeadlineTimer deadline(waitMs);
    while (!deadline.hasExpired()) {
        QTest::qWait(10);
        while (m_socket.hasPendingDatagrams()) {
            const QByteArray frame = m_socket.receiveDatagram().data();
            payloads << frame.mid(2, uint8_t(frame.at(1)));
        }
    }
    return payloads;
}

void addHeightButtonRows(const QString &upButton, const QString &downButton)
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("emergency");
    QTest::addColumn<QByteArray>("payload");
    QTest::newRow("up") << upButton << 0 << QByteArray::fromHex("02110100");
    QTest::newRow("down") << downButton << 0 << QByteArray::fromHex("02110200");
    // Catches the machine moved while its emergency stop is pressed.
    QTest::newRow("up during emergency") << upButton << 1 << QByteArray();
    QTest::newRow("down during emergency") << downButton << 1 << QByteArray();
}
