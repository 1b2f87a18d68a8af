#include "users/usermanager.h"

#include "users/currentuserdata.h"
#include "users/deleteuserdialog.h"
#include "users/patientrules.h"
#include "users/patientstore.h"
#include "users/selectuserdialog.h"
#include "users/userdialog.h"

#include "ui_usermanager.h"

#include <QCompleter>
#include <QEvent>
#include <QHeaderView>
#include <QMessageBox>
#include <QScrollBar>
#include <QStringListModel>
#include <QTimer>

#include <iterator>

namespace {
constexpr int kRowHeight = 68;
constexpr int kColumnWidths[] = {140, 90, 240};
// Whole rows show, and the table ends about level with the record list beside it.
constexpr int kVisibleRows = 11;
constexpr int kDefaultUserDelayMs = 500;
constexpr int kCompleterRows = 7;

QTableWidgetItem *centredItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}
} // namespace

UserManager::UserManager(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::UserManager>())
{
    m_ui->setupUi(this);
    m_userDialog = new UserDialog(this);
    m_selectDialog = new SelectUserDialog(this);
    m_deleteDialog = new DeleteUserDialog(this);
    connect(m_userDialog, &UserDialog::signalUpdateUserTable, this, &UserManager::slotUpdateUserTable);
    connect(this, &UserManager::signalCheckUserChanged, m_ui->trainRecord_Widget,
            &TrainRecord::slotCheckUserChanged);

    setupTable();
    updateUserTableWidget();

    m_defaultUserTimer = new QTimer(this);
    m_defaultUserTimer->setObjectName(QStringLiteral("defaultUser_Timer"));
    m_defaultUserTimer->setSingleShot(true);
    connect(m_defaultUserTimer, &QTimer::timeout, this, &UserManager::setDefaultUser);
    m_defaultUserTimer->start(kDefaultUserDelayMs);

    setupSearch();
}

UserManager::~UserManager() = default;

void UserManager::setupTable()
{
    QTableWidget *table = m_ui->user_TableWidget;
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setAlternatingRowColors(true);
    table->setColumnCount(int(std::size(kColumnWidths)));
    table->setRowCount(PatientStore::kListRows);
    for (int row = 0; row < PatientStore::kListRows; ++row)
        table->setRowHeight(row, kRowHeight);
    for (int column = 0; column < int(std::size(kColumnWidths)); ++column)
        table->setColumnWidth(column, kColumnWidths[column]);
    table->setShowGrid(false);
    table->setFont(QFont(QStringLiteral("黑体"), 15));
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setFocusPolicy(Qt::NoFocus);
    table->setStyleSheet(QStringLiteral("QTableWidget::item{outline:none;}"));
    setHeaderLabels();
    connect(table, &QTableWidget::cellClicked, this, &UserManager::slotCellClicked);
}

void UserManager::setHeaderLabels()
{
    m_ui->user_TableWidget->setHorizontalHeaderLabels({tr("姓名"), tr("性别"), QStringLiteral("ID")});
}

// The headings above the table line up with its columns; the scroll bar's width is known once
// the style sheet has been applied.
void UserManager::fitTable()
{
    QTableWidget *table = m_ui->user_TableWidget;
    table->ensurePolished();
    const int frame = table->frameWidth();
    const QList<QLabel *> headings{m_ui->nameHead_Label, m_ui->sexHead_Label, m_ui->IDHead_Label};
    int width = 0;
    for (int column = 0; column < headings.size(); ++column) {
        headings.at(column)->setFixedSize(table->columnWidth(column), 56);
        width += table->columnWidth(column);
    }
    width += table->verticalScrollBar()->sizeHint().width() + 2 * frame;
    m_ui->heading_Frame->setFixedWidth(width);
    m_ui->heading_Frame->layout()->setContentsMargins(frame, 0, frame, 0);
    table->setFixedSize(width, kVisibleRows * kRowHeight + 2 * frame);
}

void UserManager::setupSearch()
{
    m_completionModel = new QStringListModel(this);
    m_completer = new QCompleter(m_completionModel, this);
    m_completer->setFilterMode(Qt::MatchStartsWith);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_completer->setMaxVisibleItems(kCompleterRows);
    m_completionModel->setStringList(m_completionWords);
    m_ui->searchUser_LineEdit->setCompleter(m_completer);
    connect(m_ui->searchUser_LineEdit, &QLineEdit::editingFinished, this, &UserManager::editComplete);
    connect(m_ui->searchUser_LineEdit, &QLineEdit::textChanged, this, &UserManager::slotSearchTextChanged);
}

void UserManager::updateUserTableWidget()
{
    QList<ST_PatientMsg> patients;
    PatientStore::list(&patients);
    showPatients(patients);
}

void UserManager::showPatients(const QList<ST_PatientMsg> &patients)
{
    QTableWidget *table = m_ui->user_TableWidget;
    table->clearContents();
    m_shown = patients.mid(0, PatientStore::kListRows);
    m_shownRows = m_shown.size();
    m_completionWords.clear();
    for (int row = 0; row < m_shownRows; ++row) {
        const ST_PatientMsg &patient = m_shown.at(row);
        m_completionWords << patient.name << QString::number(patient.ID);
        table->setItem(row, 0, centredItem(patient.name));
        table->setItem(row, 1, centredItem(QString()));
        table->setItem(row, 2, centredItem(QString::number(patient.ID)));
    }
    m_completionWords.removeDuplicates();
    if (m_completionModel)
        m_completionModel->setStringList(m_completionWords);
    showSexTexts();
    showSelection();
}

void UserManager::showSexTexts()
{
    for (int row = 0; row < m_shownRows; ++row)
        m_ui->user_TableWidget->item(row, 1)->setText(PatientRules::sexText(m_shown.at(row).sex));
}

// The highlighted row is the selected patient's, when that patient is listed.
void UserManager::showSelection()
{
    QTableWidget *table = m_ui->user_TableWidget;
    for (int row = 0; row < m_shownRows; ++row) {
        if (int(m_shown.at(row).ID) == m_selectedId) {
            table->selectRow(row);
            return;
        }
    }
    table->clearSelection();
}

void UserManager::slotCellClicked(int row, int column)
{
    Q_UNUSED(column)
    if (row < 0 || row >= m_shownRows) {
        showSelection();
        return;
    }
    m_selectedId = int(m_shown.at(row).ID);
    emit signalCheckUserChanged(m_selectedId);
}

void UserManager::on_searchUser_Btn_clicked()
{
    QList<ST_PatientMsg> patients;
    PatientStore::search(m_ui->searchUser_LineEdit->text(), &patients);
    showPatients(patients);
}

void UserManager::slotSearchTextChanged(const QString &text)
{
    if (text.isEmpty())
        updateUserTableWidget();
}

void UserManager::editComplete() {}

void UserManager::on_newUser_Btn_clicked()
{
    m_userDialog->setDialogType(0, 0);
}

bool UserManager::lookUpSelected(ST_PatientMsg *patient)
{
    if (PatientStore::find(m_selectedId, patient))
        return true;
    QMessageBox::warning(this, tr("提示"), tr("未查到该用户信息"));
    return false;
}

void UserManager::on_EditUser_Btn_clicked()
{
    ST_PatientMsg patient;
    if (lookUpSelected(&patient))
        m_userDialog->setDialogType(1, m_selectedId);
}

void UserManager::on_selectUser_Btn_clicked()
{
    ST_PatientMsg patient;
    if (!lookUpSelected(&patient))
        return;
    m_selectDialog->setUser(patient);
    // Opened by a tap, never from live data: it may wait in a loop of its own.
    m_selectDialog->exec();
    if (m_selectDialog->isConfirmed())
        CurrentUserData::getInstance()->setCurrentUserMsg(patient);
}

void UserManager::on_deleteUser_Btn_clicked()
{
    ST_PatientMsg patient;
    if (!lookUpSelected(&patient))
        return;
    m_deleteDialog->exec();
    if (!m_deleteDialog->isConfirmed())
        return;
    // The current patient stays current, and the patient's trainings stay stored.
    PatientStore::remove(m_selectedId);
    updateUserTableWidget();
}

void UserManager::setDefaultUser()
{
    CurrentUserData::getInstance()->setCurrentUserMsg(CurrentUserData::defaultPatient());
}

void UserManager::slotUpdateUserTable()
{
    updateUserTableWidget();
}

void UserManager::showEvent(QShowEvent *event)
{
    fitTable();
    QWidget::showEvent(event);
}

void UserManager::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        setHeaderLabels();
        showSexTexts();
    }
    QWidget::changeEvent(event);
}
