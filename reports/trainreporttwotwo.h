#pragma once

#include "reports/reportdialogbase.h"

#include <memory>

namespace Ui {
class TrainReportTwoTwo;
}

// The report of a passive or isokinetic vertical upper-limb training: neither balance chart
// nor resistance values; the age is given in years.
class TrainReportTwoTwo : public ReportDialogBase
{
    Q_OBJECT
public:
    explicit TrainReportTwoTwo(QWidget *parent = nullptr);
    ~TrainReportTwoTwo() override;

protected:
    void retranslateForm() override;
    QString ageText(int age) const override;

private:
    std::unique_ptr<Ui::TrainReportTwoTwo> m_ui;
};
