#pragma once

#include <QVariantMap>

// The last prescription of one patient; a row of TrainParamTable.
struct ST_TrainParam
{
    int ID = 0;
    int trainLimp = 0;
    int trainMode = 0;
    int trainTime = 0;
    int trainResistance = 0;
    int trainSpeed = 0;
    int trainDirection = 0;
    int spasmProtect = 0;
    int spasmLevel = 0;
    int gameID = 0;
};

ST_TrainParam variantMapToTrainParam(const QVariantMap &row);
QVariantMap TrainParamToVariantMap(const ST_TrainParam &param);
