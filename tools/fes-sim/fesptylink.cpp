#include "fesptylink.h"

#include "fes/fesframe.h"
#include "tools/simcommon/ptyendpoint.h"

FesPtyLink::FesPtyLink(QObject *parent) : QObject(parent), m_pty(new PtyEndpoint(this))
{
    connect(m_pty, &PtyEndpoint::received, this, &FesPtyLink::feed);
    connect(m_pty, &PtyEndpoint::outputDropped, this,
            [this] { emit notice(QStringLiteral("pty full, replies dropped until the program reads")); });
}

bool FesPtyLink::open(const QString &linkPath)
{
    return m_pty->open(linkPath);
}

QString FesPtyLink::error() const
{
    return m_pty->error();
}

QString FesPtyLink::ptyPath() const
{
    return m_pty->ptyPath();
}

QString FesPtyLink::linkPath() const
{
    return m_pty->linkPath();
}

void FesPtyLink::sendPayload(const QByteArray &payload)
{
    m_pty->write(FesFrame::createFrame(payload));
    ++m_framesSent;
}

void FesPtyLink::feed(const QByteArray &bytes)
{
    for (const FesFrameReader::Item &item : m_reader.feed(bytes)) {
        switch (item.kind) {
        case FesFrameReader::Item::Kind::Frame:
            ++m_framesReceived;
            emit frameReceived(item.bytes);
            break;
        case FesFrameReader::Item::Kind::BadEnd:
            emit notice(QStringLiteral("rx bad end byte 0x%1, start byte dropped: %2")
                            .arg(uint8_t(item.bytes.back()), 2, 16, QLatin1Char('0'))
                            .arg(QString::fromLatin1(item.bytes.toHex(' '))));
            break;
        case FesFrameReader::Item::Kind::Stray:
            emit notice(QStringLiteral("rx skipped %1 bytes outside frames: %2")
                            .arg(item.bytes.size())
                            .arg(QString::fromLatin1(item.bytes.left(32).toHex(' '))));
            break;
        }
    }
}
