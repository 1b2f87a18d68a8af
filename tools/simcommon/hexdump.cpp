#include "hexdump.h"

QString HexDump::text(const QByteArray &bytes, int maxBytes)
{
    QString text = QString::fromLatin1(bytes.left(maxBytes).toHex(' '));
    if (bytes.size() > maxBytes)
        text += QStringLiteral(" ...");
    return text;
}
