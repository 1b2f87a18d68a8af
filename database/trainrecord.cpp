#include "database/trainrecord.h"

#include "database/rowfield.h"
#include "database/trainreport.h"

#include <QCoreApplication>

#include <climits>

namespace {
constexpr const char *kContext = "TrainRecord";

const char *const kModeTexts[] = {
    QT_TRANSLATE_NOOP("TrainRecord", "被动"),
    QT_TRANSLATE_NOOP("TrainRecord", "主动"),
    QT_TRANSLATE_NOOP("TrainRecord", "助力"),
    QT_TRANSLATE_NOOP("TrainRecord", "等速"),
    QT_TRANSLATE_NOOP("TrainRecord", "被动"),
    QT_TRANSLATE_NOOP("TrainRecord", "上肢带下肢"),
    QT_TRANSLATE_NOOP("TrainRecord", "下肢带上肢"),
    QT_TRANSLATE_NOOP("TrainRecord", "主被动"),
    QT_TRANSLATE_NOOP("TrainRecord", "FES"),
    QT_TRANSLATE_NOOP("TrainRecord", "主动"),
    QT_TRANSLATE_NOOP("TrainRecord", "主被动"),
};

const char *const kBodyTexts[] = {
    QT_TRANSLATE_NOOP("TrainRecord", "水平上肢"),
    QT_TRANSLATE_NOOP("TrainRecord", "下肢"),
    QT_TRANSLATE_NOOP("TrainRecord", "上下肢"),
    QT_TRANSLATE_NOOP("TrainRecord", "垂直上肢"),
};

template<size_t N>
QString textAt(const char *const (&texts)[N], int index)
{
    if (index < 0 || index >= static_cast<int>(N))
        return QString();
    return QCoreApplication::translate(kContext, texts[index]);
}
} // namespace

QString trainModeText(int trainMode)
{
    return textAt(kModeTexts, trainMode);
}

QString bodyPartText(int bodyIndex)
{
    return textAt(kBodyTexts, bodyIndex);
}

ST_TrainRecord variantMapToTrainRecord(const QVariantMap &row)
{
    using RowField::take;
    ST_TrainRecord r;
    // The identity stays with the row; list lines are found by startTimeStr.
    take(row, "ID", r.ID);
    take(row, "startTime", r.startTime);
    take(row, "startTimeStr", r.startTimeStr);
    take(row, "trainTime", r.trainTime);
    take(row, "score", r.score);
    take(row, "bodyPart", r.bodyPart);
    take(row, "trainMode", r.trainMode);
    return r;
}

QVariantMap TrainRecordToVariantMap(const ST_TrainRecord &r)
{
    QVariantMap row;
    row.insert(QStringLiteral("UUID"), newRowUuid());
    row.insert(QStringLiteral("ID"), r.ID);
    row.insert(QStringLiteral("startTime"), r.startTime);
    row.insert(QStringLiteral("startTimeStr"), r.startTimeStr);
    row.insert(QStringLiteral("trainTime"), r.trainTime);
    row.insert(QStringLiteral("score"), r.score);
    row.insert(QStringLiteral("bodyPart"), r.bodyPart);
    row.insert(QStringLiteral("trainMode"), r.trainMode);
    return row;
}

ST_TrainRecord trainRecordFromReport(const ST_TrainReport &report)
{
    ST_TrainRecord record;
    record.ID = report.ID;
    record.trainTime = report.trainTime < 60 ? 1 : report.trainTime / 60;
    // float, as the machine's distances are stored; truncated toward zero, and held within the
    // column's range: a broken distance must not turn into a negative or wrapped score.
    const float score = (report.upLimpLength + report.downLimpLength) * 3.0f;
    if (!(score > 0.0f))
        record.score = 0;
    else if (score >= static_cast<float>(INT_MAX))
        record.score = INT_MAX;
    else
        record.score = static_cast<int>(score);
    record.bodyPart = bodyPartText(report.bodyIndex);
    record.startTime = QDateTime::fromString(report.startTimeStr, QLatin1String(kStartTimeFormat));
    record.startTimeStr = report.startTimeStr;
    record.trainMode = trainModeText(report.trainMode);
    return record;
}
