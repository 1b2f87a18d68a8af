#include "reports/trainreporttwothree.h"

#include "ui_trainreporttwothree.h"

TrainReportTwoThree::TrainReportTwoThree(QWidget *parent)
    : ReportDialogBase(parent), m_ui(std::make_unique<Ui::TrainReportTwoThree>())
{
    m_ui->setupUi(this);
    setupForm();
}

TrainReportTwoThree::~TrainReportTwoThree() = default;

void TrainReportTwoThree::retranslateForm()
{
    m_ui->retranslateUi(this);
}
