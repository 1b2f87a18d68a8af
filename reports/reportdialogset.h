#pragma once

#include "database/trainreport.h"
#include "reports/reportlayout.h"

#include <memory>

class ReportDialogBase;

// The four report dialogs of one owner (the session page, the record list), each made once
// without a parent and reused; a report is shown in the one its limb and mode choose.
class ReportDialogSet
{
public:
    ReportDialogSet();
    ~ReportDialogSet();
    ReportDialogSet(const ReportDialogSet &) = delete;
    ReportDialogSet &operator=(const ReportDialogSet &) = delete;

    ReportDialogBase *dialog(ReportLayout::E_REPORTLAYOUT layout) const;
    ReportDialogBase *dialogFor(const ST_TrainReport &report) const;

    // Fills the chosen dialog and shows it without waiting for it; returns that dialog.
    ReportDialogBase *showReport(const ST_TrainReport &report, bool isNew) const;

private:
    std::unique_ptr<ReportDialogBase> m_dialogs[4];
};
