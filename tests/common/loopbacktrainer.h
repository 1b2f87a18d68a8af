#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUdpSocket>

// A test trainer on loopback UDP: configXml() points the program's link at it, and payloads()
// reads back what the program sent.
class LoopbackTrainer
{
public:
    LoopbackTrainer();
    bool isBound() const { return m_bound; }

    // A config.xml for communication type 1 between this trainer and a free port of the program;
    // extra elements go inside <config>.
    QString configXml(const QString &extra = QString()) const;
    // Payloads (command byte onwards) that arrived within waitMs.
    QList<QByteArray> payloads(int waitMs = 200);

private:
    QUdpSocket m_socket;
    quint16 m_programPort = 0;
    bool m_bound = false;
};

// The rows of a height-buttons test (columns button, emergency, payload; an empty payload means
// nothing goes out): each button sends its step of item 0x11, neither sends during an emergency stop.
void addHeightButtonRows(const QString &upButton, const QString &downButton);
