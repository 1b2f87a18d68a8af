#include "reports/reportshares.h"

#include <QDebug>
#include <QtMath>

#include <cmath>

namespace {
constexpr int kLowerLimb = 1;

// Passive modes (passive, isokinetic, passive with FES) have no active share; active ones no
// passive share.
bool allActive(int mode)
{
    return mode == 1 || mode == 9;
}

bool allPassive(int mode)
{
    return mode == 0 || mode == 3 || mode == 4;
}
} // namespace

ST_PieShare ReportShares::pie(qreal first, qreal second)
{
    // A pie has no negative slices; a broken value counts as none.
    ST_PieShare share;
    share.values[0] = qMax<qreal>(0, first);
    share.values[1] = qMax<qreal>(0, second);
    const qreal total = share.values[0] + share.values[1];
    for (int i = 0; i < 2; ++i) {
        const qreal fraction = total > 0 ? share.values[i] / total : 0;
        share.labels[i] = QString::number(qRound(fraction * 100)) + QLatin1Char('%');
    }
    return share;
}

ST_PieShare ReportShares::balance(const ST_TrainReport &report)
{
    if (report.bodyIndex == kLowerLimb)
        return pie(report.leftBalance, report.rightBalance);
    return pie(report.rightBalance, report.leftBalance);
}

ST_PieShare ReportShares::time(const ST_TrainReport &report)
{
    qDebug() << "主动和被动TIme" << report.activeTime << report.passiveTime;
    if (allActive(report.trainMode))
        return pie(1, 0);
    if (allPassive(report.trainMode))
        return pie(0, 1);
    if (report.activeTime == 0 && report.passiveTime == 0)
        return pie(1, 1);
    return pie(report.activeTime, report.passiveTime);
}

ST_PieShare ReportShares::distance(const ST_TrainReport &report)
{
    qDebug() << "主动和被动距离" << report.upLimpLength << report.downLimpLength;
    if (allActive(report.trainMode))
        return pie(1, 0);
    if (allPassive(report.trainMode))
        return pie(0, 1);
    if (report.upLimpLength == 0 && report.downLimpLength == 0) {
        qDebug() << "Yes";
        return pie(0, 1);
    }
    // Active turns cover more ground per second than passive ones.
    return pie(std::trunc(report.activeTime * 1.4), report.passiveTime);
}
