#pragma once

#include "reports/reportdialogbase.h"

#include <memory>

namespace Ui {
class TrainReportTwoThree;
}

// The report of a passive or isokinetic horizontal upper-limb, lower-limb or combined training:
// balance chart, no resistance values.
class TrainReportTwoThree : public ReportDialogBase
{
    Q_OBJECT
public:
    explicit TrainReportTwoThree(QWidget *parent = nullptr);
    ~TrainReportTwoThree() override;

protected:
    void retranslateForm() override;

private:
    std::unique_ptr<Ui::TrainReportTwoThree> m_ui;
};
