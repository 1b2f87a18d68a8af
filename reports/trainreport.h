#pragma once

#include "reports/reportdialogbase.h"

#include <memory>

namespace Ui {
class TrainReport;
}

// The report with the balance chart and the resistance values: every training that the
// other three layouts do not show.
class TrainReport : public ReportDialogBase
{
    Q_OBJECT
public:
    explicit TrainReport(QWidget *parent = nullptr);
    ~TrainReport() override;

    // The stored report with that start, or an empty one; used by the record list.
    static ST_TrainReport getReportDataByStartTime(const QString &startTimeStr);
    static bool deleteReportByStartTime(const QString &startTimeStr);

protected:
    void retranslateForm() override;

private:
    std::unique_ptr<Ui::TrainReport> m_ui;
};
