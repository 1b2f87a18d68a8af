#pragma once

#include <QString>
#include <cstdint>

// One entry of the game catalogue.
struct ST_GameMsg
{
    int ID = 0;
    QString path;     // folder of the executable; gameName is appended without a separator
    QString iconPath;
    QString gameName;
    QString className;
    QString windownName;
};

// The live values the training page hands to the game link, one record per live-data frame.
struct ST_GameLiveData
{
    int32_t msgID = 0;   // set to 1 by the link when it is sent
    int32_t ID = 0;
    QString userName;
    float speed = 0.0f;
    int32_t left = 0;    // balance shares; the link sends them × 0.7 as forceLeft/forceRight
    int32_t right = 0;
    int32_t angle = 0;
};
