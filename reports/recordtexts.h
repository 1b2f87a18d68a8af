#pragma once

#include <QString>

// A record stores its mode and body part as the display text of the language it was saved in;
// the list shows them in the interface's language. Texts it does not know are shown as stored.
class RecordTexts
{
public:
    static QString modeText(const QString &stored, bool english);
    static QString bodyText(const QString &stored, bool english);
};
