#include "reports/reportdialogset.h"

#include "reports/trainreport.h"
#include "reports/trainreportthreetwo.h"
#include "reports/trainreporttwothree.h"
#include "reports/trainreporttwotwo.h"

ReportDialogSet::ReportDialogSet()
{
    m_dialogs[ReportLayout::TrainReport_E] = std::make_unique<TrainReport>();
    m_dialogs[ReportLayout::TrainReportThreeTwo_E] = std::make_unique<TrainReportThreeTwo>();
    m_dialogs[ReportLayout::TrainReportTwoThree_E] = std::make_unique<TrainReportTwoThree>();
    m_dialogs[ReportLayout::TrainReportTwoTwo_E] = std::make_unique<TrainReportTwoTwo>();
}

ReportDialogSet::~ReportDialogSet() = default;

ReportDialogBase *ReportDialogSet::dialog(ReportLayout::E_REPORTLAYOUT layout) const
{
    return m_dialogs[layout].get();
}

ReportDialogBase *ReportDialogSet::dialogFor(const ST_TrainReport &report) const
{
    return dialog(ReportLayout::choose(report.bodyIndex, report.trainMode));
}

ReportDialogBase *ReportDialogSet::showReport(const ST_TrainReport &report, bool isNew) const
{
    ReportDialogBase *shown = dialogFor(report);
    shown->setReportData(report, isNew);
    return shown;
}
