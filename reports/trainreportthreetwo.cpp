#include "reports/trainreportthreetwo.h"

#include "ui_trainreportthreetwo.h"

TrainReportThreeTwo::TrainReportThreeTwo(QWidget *parent)
    : ReportDialogBase(parent), m_ui(std::make_unique<Ui::TrainReportThreeTwo>())
{
    m_ui->setupUi(this);
    setupForm();
}

TrainReportThreeTwo::~TrainReportThreeTwo() = default;

void TrainReportThreeTwo::retranslateForm()
{
    m_ui->retranslateUi(this);
}
