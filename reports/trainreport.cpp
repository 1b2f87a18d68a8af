#include "reports/trainreport.h"

#include "reports/reportstore.h"
#include "ui_trainreport.h"

TrainReport::TrainReport(QWidget *parent)
    : ReportDialogBase(parent), m_ui(std::make_unique<Ui::TrainReport>())
{
    m_ui->setupUi(this);
    setupForm();
}

TrainReport::~TrainReport() = default;

ST_TrainReport TrainReport::getReportDataByStartTime(const QString &startTimeStr)
{
    return ReportStore::getReportDataByStartTime(startTimeStr);
}

bool TrainReport::deleteReportByStartTime(const QString &startTimeStr)
{
    return ReportStore::deleteReportByStartTime(startTimeStr);
}

void TrainReport::retranslateForm()
{
    m_ui->retranslateUi(this);
}
