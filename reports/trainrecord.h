#pragma once

#include "database/trainrecord.h"

#include <QIcon>
#include <QList>
#include <QVariantMap>
#include <QWidget>

#include <memory>

namespace Ui {
class TrainRecord;
}
class DeleteReportDialog;
class QCheckBox;
class ReportDialogSet;

// The training records of one patient, newest first, eight to a page: opens a record's report,
// deletes one record with its report, or deletes the ticked records of the page.
class TrainRecord : public QWidget
{
    Q_OBJECT
public:
    explicit TrainRecord(QWidget *parent = nullptr);
    ~TrainRecord() override;

    // Loads the patient's records and shows page 1.
    void updateTableByID(int ID);

public slots:
    void slotCheckUserChanged(int ID);
    void on_allSelect_CheckBox_clicked(bool checked);
    void on_delete_Btn_clicked();
    void on_trainRecordFrontPage_btn_clicked();
    void on_trainRecordBackPage_btn_clicked();
    void on_trainRecordGo_btn_clicked();
    void slotCellWidgetClicked(int row, int cloumn);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    // The interface language (0 Chinese, any other English) that the stored texts are shown in.
    virtual int interfaceLanguage() const;

private:
    void setupTable();
    void fitTable();
    // Fills the table with the current page.
    void showPage();
    void showTexts();
    void setPageData(int records);
    void setIndicator();
    void clearList();
    void reloadAfterDelete(bool pageEmptied);
    bool confirmDelete();
    ST_TrainRecord recordAt(int row) const;
    QCheckBox *checkBoxAt(int row) const;

    std::unique_ptr<Ui::TrainRecord> m_ui;
    std::unique_ptr<ReportDialogSet> m_reports;
    DeleteReportDialog *m_deleteDialog = nullptr;
    QIcon m_viewIcon;
    QIcon m_deleteIcon;
    QList<QVariantMap> m_records;
    quint16 m_currentPage = 1;
    quint16 m_pageCount = 1;
    int m_shownRows = 0;
    int m_listedId = 100000;
};
