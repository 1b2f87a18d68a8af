#pragma once

#include <QString>

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
