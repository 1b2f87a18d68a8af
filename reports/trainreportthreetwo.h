#pragma once

#include "reports/reportdialogbase.h"

#include <memory>

namespace Ui {
class TrainReportThreeTwo;
}

// The report of a vertical upper-limb training against resistance: resistance values, no
// balance chart.
class TrainReportThreeTwo : public ReportDialogBase
{
    Q_OBJECT
public:
    explicit TrainReportThreeTwo(QWidget *parent = nullptr);
    ~TrainReportThreeTwo() override;

protected:
    void retranslateForm() override;

private:
    std::unique_ptr<Ui::TrainReportThreeTwo> m_ui;
};
