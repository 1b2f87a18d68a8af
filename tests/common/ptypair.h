#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal for serial-link tests: the code under test opens slavePath() as its serial
// port, the test plays the device on the master side.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    bool write(const QByteArray &bytes);
    // Reads what has arrived, waiting up to timeoutMs for the first byte.
    QByteArray read(int timeoutMs = 1000);
    // Reads until at least count bytes have arrived or timeoutMs passed.
    // runEvents false: reads without letting the code under test's event loop run.
    QByteArray readAtLeast(int count, int timeoutMs = 2000, bool runEvents = true);
    // Closes the device side, as when a cable is pulled.
    void closeMaster();

private:
    int m_master = -1;
    int m_slaveKeep = -1;
    QString m_slavePath;
};
