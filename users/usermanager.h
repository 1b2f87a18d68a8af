#pragma once

#include "database/patientmsg.h"

#include <QList>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace Ui {
class UserManager;
}
class DeleteUserDialog;
class QCompleter;
class QStringListModel;
class QTimer;
class SelectUserDialog;
class UserDialog;

// The patient page: the list of patients with its search, the buttons that create, edit, select
// and delete a patient, and the training records of the patient clicked last.
class UserManager : public QWidget
{
    Q_OBJECT
public:
    explicit UserManager(QWidget *parent = nullptr);
    ~UserManager() override;

    // Lists the patients with the highest numbers.
    void updateUserTableWidget();

signals:
    void signalCheckUserChanged(int ID);

public slots:
    void on_newUser_Btn_clicked();
    void on_selectUser_Btn_clicked();
    void on_EditUser_Btn_clicked();
    void on_deleteUser_Btn_clicked();
    void on_searchUser_Btn_clicked();
    void editComplete();
    void setDefaultUser();
    void slotUpdateUserTable();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setupTable();
    void fitTable();
    void setupSearch();
    void setHeaderLabels();
    void showPatients(const QList<ST_PatientMsg> &patients);
    void showSexTexts();
    void showSelection();
    void slotCellClicked(int row, int column);
    void slotSearchTextChanged(const QString &text);
    // The selected patient as stored now; false, with the user told, when there is none.
    bool lookUpSelected(ST_PatientMsg *patient);

    std::unique_ptr<Ui::UserManager> m_ui;
    UserDialog *m_userDialog = nullptr;
    SelectUserDialog *m_selectDialog = nullptr;
    DeleteUserDialog *m_deleteDialog = nullptr;
    QCompleter *m_completer = nullptr;
    QStringListModel *m_completionModel = nullptr;
    QStringList m_completionWords;
    QTimer *m_defaultUserTimer = nullptr;
    QList<ST_PatientMsg> m_shown;
    int m_shownRows = 0;
    int m_selectedId = 0;
};
