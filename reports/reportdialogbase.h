#pragma once

#include "app/dimmeddialog.h"
#include "database/trainreport.h"

#include <QImage>

namespace QtCharts {
class QChart;
}
class QLabel;
class QWidget;
struct ST_PieShare;

// What the four report dialogs share: filling the form from a report, the pie charts, saving
// and export. Each dialog brings its own form; a form without the balance chart or the
// resistance values simply lacks those widgets.
class ReportDialogBase : public DimmedDialog
{
    Q_OBJECT
public:
    ~ReportDialogBase() override;

    // Fills the form and shows it without waiting (open()): the caller may be a receive path.
    // Save and do-not-save are offered for a new report only.
    void setReportData(const ST_TrainReport &report, bool isNew);
    ST_TrainReport reportData() const;

    // The report area as it goes into the PDF, at twice the screen's resolution.
    QImage reportImage() const;

public slots:
    void on_close_Btn_clicked();
    void on_noSave_Btn_clicked();
    void on_save_Btn_clicked();
    void on_import_Btn_clicked();

protected:
    explicit ReportDialogBase(QWidget *parent);
    // Called by the dialog once its form is set up.
    void setupForm();
    virtual void retranslateForm() = 0;
    virtual QString ageText(int age) const;

    void changeEvent(QEvent *event) override;

private:
    void fillTexts();
    void drawCharts();
    void drawChart(int index, const ST_PieShare &share, const char *firstColour,
                   const char *secondColour);
    void setText(const char *labelName, const QString &text);
    void showButtons(bool save, bool import);

    ST_TrainReport m_report;
    bool m_isNew = false; // a finished training that is not stored yet
    QtCharts::QChart *m_charts[3] = {nullptr, nullptr, nullptr};
    QWidget *m_area = nullptr;
    bool m_formReady = false;
};
