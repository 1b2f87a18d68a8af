#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One "--box N=MAC" value: a stimulation box number 1..4 and its 12-digit MAC.
struct FesBoxOption
{
    int number = 0;
    QString macText; // 12 upper-case hexadecimal digits, as the database stores it
    QByteArray mac;  // the same 6 bytes, first pair first

    // Accepts "N=MAC" with N 1..4 and MAC as 12 hex digits, optionally split by ':' or '-'.
    static bool parse(const QString &text, FesBoxOption *option, QString *error);
    // Parses every value; numbers and MACs must not repeat.
    static bool parseAll(const QStringList &texts, QList<FesBoxOption> *options, QString *error);
    // Boxes 1 and 2 as the shipped setup registers them.
    static QList<FesBoxOption> defaults();
};
