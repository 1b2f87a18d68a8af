#include "database/sqlstatement.h"

#include <QRegularExpression>

namespace SqlStatement {

bool isIdentifier(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return pattern.match(name).hasMatch();
}

QString insert(const QString &table, const QStringList &columns)
{
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("insert into %1(").arg(table) + columns.join(QStringLiteral(", "))
        + QStringLiteral(")") + QStringLiteral(" values(") + marks.join(QLatin1Char(','))
        + QStringLiteral(")");
}

namespace {

// "a = ?,b = ? " with the values in the same order.
void appendSetList(Bound &bound, const QVariantMap &row, bool skipUuid)
{
    QStringList parts;
    for (auto it = row.constBegin(); it != row.constEnd(); ++it) {
        if (skipUuid && it.key() == QLatin1String("UUID"))
            continue;
        parts << QStringLiteral("%1 = ?").arg(it.key());
        bound.values << it.value();
    }
    bound.sql += parts.join(QLatin1Char(',')) + QLatin1Char(' ');
}

// Update and delete bind their keys by this one rule, so that both act on the same stored rows:
// an integer, or a text that spells one exactly ("123", not "0123" or "1e2"), binds as an
// integer, as insert stores an integer; anything else binds as it is.
QVariant keyParameter(const QVariant &value)
{
    switch (static_cast<QMetaType::Type>(value.type())) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toLongLong();
    case QMetaType::QString: {
        const QString text = value.toString();
        bool ok = false;
        const qlonglong number = text.toLongLong(&ok);
        if (ok && QString::number(number) == text)
            return number;
        return value;
    }
    default:
        return value;
    }
}

QVariant keyValue(const QVariantMap &row, const QString &keyName)
{
    // A missing key gives the empty text (not NULL), as a statement with '' would.
    return row.contains(keyName) ? keyParameter(row.value(keyName)) : QVariant(QString(QLatin1String("")));
}

} // namespace

Bound update(const QString &table, const QString &keyName, const QVariantMap &row)
{
    Bound bound;
    bound.sql = QStringLiteral("update %1 set ").arg(table);
    appendSetList(bound, row, false);
    bound.sql += QStringLiteral("where %1 = ?").arg(keyName);
    bound.values << keyValue(row, keyName);
    return bound;
}

Bound updateByTwoKeys(const QString &table, const QString &key1Name, const QString &key1Value,
                      const QString &key2Name, const QVariantMap &row)
{
    Bound bound;
    bound.sql = QStringLiteral("update %1 set ").arg(table);
    appendSetList(bound, row, true);
    bound.sql += QStringLiteral("where %1 = ? and %2 = ?").arg(key1Name, key2Name);
    bound.values << keyParameter(key1Value) << keyValue(row, key2Name);
    return bound;
}

Bound remove(const QString &table, const QString &keyName, const QString &keyValue)
{
    return {QStringLiteral("delete from %1 where %2 = ?").arg(table, keyName), {keyParameter(keyValue)}};
}

Bound selectAll(const QString &table, const QString &orderColumn)
{
    return {QStringLiteral("select * from %1 order by ?").arg(table), {orderColumn}};
}

QString create(const QString &table, const QMap<QString, QString> &columns)
{
    QStringList parts;
    for (auto it = columns.constBegin(); it != columns.constEnd(); ++it)
        parts << QStringLiteral("%1 %2").arg(it.key(), it.value());
    return QStringLiteral("create table if not exists %1 (").arg(table) + parts.join(QLatin1Char(','))
        + QStringLiteral(")");
}

QString tableInfo(const QString &table)
{
    return QStringLiteral("PRAGMA table_info(%1)").arg(table);
}

} // namespace SqlStatement
