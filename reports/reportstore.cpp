#include "reports/reportstore.h"

#include "database/cdatabaseinterface.h"
#include "database/trainrecord.h"

#include <QDebug>

#include <functional>

namespace {
const QString kReportTable = QStringLiteral("TrainReportTable");
} // namespace

ST_TrainReport ReportStore::getReportDataByStartTime(const QString &startTimeStr)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!db->execQuery(QStringLiteral("select * from TrainReportTable where startTimeStr = ?"),
                       {startTimeStr})) {
        qDebug() << "TrainReport::getReportDataByStartTime" << db->getLastError();
        return {};
    }
    if (db->getValuesSize() < 1) {
        qDebug() << "TrainReport::getReportDataByStartTime:未查到符合要求数据";
        return {};
    }
    return variantMapToTrainReport(db->getValues(0, 1).value(0));
}

bool ReportStore::deleteReportByStartTime(const QString &startTimeStr)
{
    return CDatabaseInterface::getInstance()->deleteRowTable(kReportTable,
                                                             QStringLiteral("startTimeStr"),
                                                             startTimeStr);
}

bool ReportStore::saveTraining(uint32_t patientId, const ST_TrainParam &param,
                               const ST_TrainReport &report)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    const QString paramTable = QStringLiteral("TrainParamTable");
    // The prescription is the patient's whose rows it replaces, whatever number it came with:
    // otherwise the patient would keep a second row.
    ST_TrainParam prescription = param;
    prescription.ID = int(patientId);
    // Each step with the line that names it in the log when it fails.
    const struct
    {
        const char *failure;
        std::function<bool()> run;
    } steps[] = {
        {"训练报告存储失败", [db] { return db->beginTransaction(); }},
        // Deleting no row is no failure: the patient's first training has no prescription yet.
        {"插入处方信息失败！",
         [&] {
             return db->deleteRowTable(paramTable, QStringLiteral("ID"), QString::number(patientId))
                 && db->insertRowTable(paramTable, TrainParamToVariantMap(prescription));
         }},
        {"训练报告存储失败",
         [&] { return db->insertRowTable(kReportTable, TrainReportToVariantMap(report)); }},
        {"TrainRecord::on_createData_Btn_clicked",
         [&] {
             return db->insertRowTable(QStringLiteral("TrainRecordTable"),
                                       TrainRecordToVariantMap(trainRecordFromReport(report)));
         }},
        {"训练报告存储失败", [db] { return db->commitTransaction(); }},
    };
    for (const auto &step : steps) {
        if (!step.run()) {
            qWarning().noquote() << QString::fromUtf8(step.failure) << db->getLastError();
            if (&step != &steps[0])
                db->rollbackTransaction();
            return false;
        }
    }
    return true;
}
