#pragma once

#include "database/trainparam.h"
#include "database/trainreport.h"

#include <QString>

#include <cstdint>

// Stored training reports: look-up and delete by start time, and the save of a finished
// training, which keeps the patient's prescription, the report and the record together.
class ReportStore
{
public:
    // The report with that start, or an empty one (patient number 0) when none is stored.
    static ST_TrainReport getReportDataByStartTime(const QString &startTimeStr);
    static bool deleteReportByStartTime(const QString &startTimeStr);

    // Replaces the patient's prescription and stores the report and its record in one
    // transaction: all three are stored, or, logged with the database error, none.
    static bool saveTraining(uint32_t patientId, const ST_TrainParam &param,
                             const ST_TrainReport &report);
};
