#include "reports/trainreporttwotwo.h"

#include "ui_trainreporttwotwo.h"

TrainReportTwoTwo::TrainReportTwoTwo(QWidget *parent)
    : ReportDialogBase(parent), m_ui(std::make_unique<Ui::TrainReportTwoTwo>())
{
    m_ui->setupUi(this);
    setupForm();
}

TrainReportTwoTwo::~TrainReportTwoTwo() = default;

void TrainReportTwoTwo::retranslateForm()
{
    m_ui->retranslateUi(this);
}

QString TrainReportTwoTwo::ageText(int age) const
{
    return tr("%1岁").arg(age);
}
