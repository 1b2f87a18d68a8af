#include "database/trainparam.h"

#include "database/rowfield.h"

ST_TrainParam variantMapToTrainParam(const QVariantMap &row)
{
    using RowField::take;
    ST_TrainParam p;
    take(row, "ID", p.ID);
    take(row, "trainLimp", p.trainLimp);
    take(row, "trainMode", p.trainMode);
    take(row, "trainTime", p.trainTime);
    take(row, "trainResistance", p.trainResistance);
    take(row, "trainSpeed", p.trainSpeed);
    take(row, "trainDirection", p.trainDirection);
    take(row, "spasmProtect", p.spasmProtect);
    take(row, "spasmLevel", p.spasmLevel);
    take(row, "gameID", p.gameID);
    return p;
}

QVariantMap TrainParamToVariantMap(const ST_TrainParam &p)
{
    QVariantMap row;
    row.insert(QStringLiteral("ID"), p.ID);
    row.insert(QStringLiteral("trainLimp"), p.trainLimp);
    row.insert(QStringLiteral("trainMode"), p.trainMode);
    row.insert(QStringLiteral("trainTime"), p.trainTime);
    row.insert(QStringLiteral("trainResistance"), p.trainResistance);
    row.insert(QStringLiteral("trainSpeed"), p.trainSpeed);
    row.insert(QStringLiteral("trainDirection"), p.trainDirection);
    row.insert(QStringLiteral("spasmProtect"), p.spasmProtect);
    row.insert(QStringLiteral("spasmLevel"), p.spasmLevel);
    row.insert(QStringLiteral("gameID"), p.gameID);
    return row;
}
