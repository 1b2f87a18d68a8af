#include "fesboxoption.h"

#include "fes/fesframe.h"
#include "fes/fesprotocol.h"

#include <QRegularExpression>
#include <QStringList>

bool FesBoxOption::parse(const QString &text, FesBoxOption *option, QString *error)
{
    const int equals = text.indexOf(QLatin1Char('='));
    bool ok = false;
    const int number = equals > 0 ? text.left(equals).trimmed().toInt(&ok) : 0;
    if (!ok || number < 1 || number > FesProtocol::kDeviceCount) {
        *error = QStringLiteral("--box wants N=MAC with N 1 to %1, got '%2'").arg(FesProtocol::kDeviceCount).arg(text);
        return false;
    }
    QString mac = text.mid(equals + 1).trimmed();
    mac.remove(QLatin1Char(':'));
    mac.remove(QLatin1Char('-'));
    static const QRegularExpression twelveHex(QStringLiteral("^[0-9A-Fa-f]{12}$"));
    if (!twelveHex.match(mac).hasMatch()) {
        *error = QStringLiteral("--box wants a MAC of 12 hexadecimal digits, got '%1'").arg(text.mid(equals + 1));
        return false;
    }
    option->number = number;
    option->macText = mac.toUpper();
    option->mac = FesFrame::macFromText(option->macText);
    return true;
}

bool FesBoxOption::parseAll(const QStringList &texts, QList<FesBoxOption> *options, QString *error)
{
    QList<FesBoxOption> parsed;
    for (const QString &text : texts) {
        FesBoxOption option;
        if (!parse(text, &option, error))
            return false;
        for (const FesBoxOption &other : parsed) {
            if (other.number == option.number) {
                *error = QStringLiteral("box %1 is given twice").arg(option.number);
                return false;
            }
            if (other.mac == option.mac) {
                *error = QStringLiteral("MAC %1 is given twice").arg(option.macText);
                return false;
            }
        }
        parsed << option;
    }
    *options = parsed;
    return true;
}

QList<FesBoxOption> FesBoxOption::defaults()
{
    QList<FesBoxOption> boxes;
    QString unused;
    for (const char *text : {"1=A1B2C3D4E5F6", "2=A1B2C3D4E5F7"}) {
        FesBoxOption option;
        parse(QString::fromLatin1(text), &option, &unused);
        boxes << option;
    }
    return boxes;
}
