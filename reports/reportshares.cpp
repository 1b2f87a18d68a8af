#include "reports/reportshares.h"

#include <QDebug>
#include <QtMath>

#include <cmath>

namespace {
constexpr int kLowerLimb = 1;
} // namespace

bool ReportShares::oneSided(int trainMode, ST_PieShare *share)
{
    // Passive modes (passive, isokinetic, passive with FES) have no active part, active modes
    // no passive part, whatever was measured.
    if (trainMode == 1 || trainMode == 9)
        *share = pie(1, 0);
    else if (trainMode == 0 || trainMode == 3 || trainMode == 4)
        *share = pie(0, 1);
    else
        return false;
    return true;
}

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
    ST_PieShare share;
    if (oneSided(report.trainMode, &share))
        return share;
    if (report.activeTime == 0 && report.passiveTime == 0)
        return pie(1, 1);
    return pie(report.activeTime, report.passiveTime);
}

ST_PieShare ReportShares::distance(const ST_TrainReport &report)
{
    qDebug() << "主动和被动距离" << report.upLimpLength << report.downLimpLength;
    ST_PieShare share;
    if (oneSided(report.trainMode, &share))
        return share;
    if (report.upLimpLength == 0 && report.downLimpLength == 0) {
        qDebug() << "Yes";
        return pie(0, 1);
    }
    // Active turns cover more ground per second than passive ones.
    return pie(std::trunc(report.activeTime * 1.4), report.passiveTime);
}
