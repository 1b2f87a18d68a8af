#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariantMap>

// Reads one field of a record from a row map; a key the row lacks leaves the field as it is.
namespace RowField {

template<typename Convert>
inline bool with(const QVariantMap &row, const char *key, Convert convert)
{
    const auto it = row.constFind(QLatin1String(key));
    if (it == row.constEnd())
        return false;
    convert(it.value());
    return true;
}

inline void take(const QVariantMap &row, const char *key, int &field)
{
    with(row, key, [&](const QVariant &v) { field = v.toInt(); });
}

inline void take(const QVariantMap &row, const char *key, uint32_t &field)
{
    with(row, key, [&](const QVariant &v) { field = v.toUInt(); });
}

// Integer fields that the stored format reads as unsigned (patient sex and age).
inline void takeUnsigned(const QVariantMap &row, const char *key, int &field)
{
    with(row, key, [&](const QVariant &v) { field = static_cast<int>(v.toUInt()); });
}

inline void take(const QVariantMap &row, const char *key, float &field)
{
    with(row, key, [&](const QVariant &v) { field = v.toFloat(); });
}

inline void take(const QVariantMap &row, const char *key, QString &field)
{
    with(row, key, [&](const QVariant &v) { field = v.toString(); });
}

inline void take(const QVariantMap &row, const char *key, QDate &field)
{
    with(row, key, [&](const QVariant &v) { field = v.toDate(); });
}

inline void take(const QVariantMap &row, const char *key, QDateTime &field)
{
    with(row, key, [&](const QVariant &v) { field = v.toDateTime(); });
}

} // namespace RowField
