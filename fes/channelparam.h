#pragma once

#include <QMetaType>
#include <QString>

// One stimulation channel as the FES page and its dialogs hand it around.
struct ST_ChannelParam
{
    QString muscleName;
    int muscleId = 0; // 0 none, 1..15 left side, 16..30 right side
    int switchFlag = 0;
    int frequency = 0;  // Hz
    int pulseWidth = 0; // µs
    int minCurrent = 0; // mA
    int maxCurrent = 0; // mA
};

Q_DECLARE_METATYPE(ST_ChannelParam)
