#pragma once

#include "database/trainreport.h"

#include <QString>

// The two slices of one report pie chart: their values and their "NN%" labels.
struct ST_PieShare
{
    qreal values[2] = {0, 0};
    QString labels[2];
};

// What the three report charts show for a training, without any widget.
class ReportShares
{
public:
    // Left and right balance: the machine reports them mirrored for every limb but the legs.
    static ST_PieShare balance(const ST_TrainReport &report);
    // Active and passive time.
    static ST_PieShare time(const ST_TrainReport &report);
    // Active and passive distance, estimated from the times.
    static ST_PieShare distance(const ST_TrainReport &report);

    // The two slices with their labels: each share rounded by itself, "0%" when both are 0.
    static ST_PieShare pie(qreal first, qreal second);

private:
    static bool oneSided(int trainMode, ST_PieShare *share);
};
