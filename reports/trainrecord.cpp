#include "reports/trainrecord.h"

#include "app/languagemanager.h"
#include "reports/centeredicondelegate.h"
#include "reports/deletereportdialog.h"
#include "reports/recordpaging.h"
#include "reports/recordstore.h"
#include "reports/recordtexts.h"
#include "reports/reportdialogset.h"
#include "reports/reportstore.h"
#include "ui_trainrecord.h"

#include <QCheckBox>
#include <QDebug>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpressionValidator>

#include <iterator>

namespace {
constexpr int kRowHeight = 80;
constexpr int kColumnCount = 7;
constexpr int kViewColumn = 5;
constexpr int kDeleteColumn = 6;
// The seventh column keeps the header's default width.
constexpr int kColumnWidths[] = {60, 300, 150, 150, 250, 150};

QTableWidgetItem *centredItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}
} // namespace

TrainRecord::TrainRecord(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::TrainRecord>()),
      m_reports(std::make_unique<ReportDialogSet>()),
      m_viewIcon(QStringLiteral(":/DependFile/Source/User/import.png")),
      m_deleteIcon(QStringLiteral(":/DependFile/Source/User/delete.png"))
{
    m_ui->setupUi(this);
    m_deleteDialog = new DeleteReportDialog(this);
    setupTable();
    m_ui->trainRecordDestPage_LineEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[0-9]*$")), this));
    connect(m_ui->trainRecord_TableWidget, &QTableWidget::cellClicked, this,
            &TrainRecord::slotCellWidgetClicked);
}

TrainRecord::~TrainRecord() = default;

void TrainRecord::setupTable()
{
    QTableWidget *table = m_ui->trainRecord_TableWidget;
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setColumnCount(kColumnCount);
    table->setRowCount(RecordPaging::kRowsPerPage);
    for (int row = 0; row < RecordPaging::kRowsPerPage; ++row)
        table->setRowHeight(row, kRowHeight);
    for (int column = 0; column < int(std::size(kColumnWidths)); ++column)
        table->setColumnWidth(column, kColumnWidths[column]);
    table->setAlternatingRowColors(true);
    table->setShowGrid(false);
    table->setFont(QFont(QStringLiteral("黑体"), 15));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setIconSize(QSize(40, 40));
    auto *iconDelegate = new CenteredIconDelegate(table);
    table->setItemDelegateForColumn(kViewColumn, iconDelegate);
    table->setItemDelegateForColumn(kDeleteColumn, iconDelegate);
}

// The table shows its eight rows exactly, and the headings above it line up with its columns;
// the frame's width is known once the style sheet has been applied.
void TrainRecord::fitTable()
{
    QTableWidget *table = m_ui->trainRecord_TableWidget;
    table->ensurePolished();
    const int frame = table->frameWidth();
    const QList<QLabel *> headings{m_ui->selectHead_Label, m_ui->dateHead_Label,
                                   m_ui->durationHead_Label, m_ui->modeHead_Label,
                                   m_ui->partHead_Label, m_ui->viewHead_Label,
                                   m_ui->deleteHead_Label};
    int width = 0;
    for (int column = 0; column < kColumnCount; ++column) {
        headings.at(column)->setFixedSize(table->columnWidth(column), 56);
        width += table->columnWidth(column);
    }
    m_ui->heading_Frame->setFixedWidth(width + 2 * frame);
    m_ui->heading_Frame->layout()->setContentsMargins(frame, 0, frame, 0);
    table->setFixedSize(width + 2 * frame, RecordPaging::kRowsPerPage * kRowHeight + 2 * frame);
}

int TrainRecord::interfaceLanguage() const
{
    return LanguageManager::getInstance()->getLanguage();
}

void TrainRecord::slotCheckUserChanged(int ID)
{
    updateTableByID(ID);
}

void TrainRecord::updateTableByID(int ID)
{
    m_currentPage = 1;
    m_listedId = ID;
    int count = 0;
    // A failed load shows nothing rather than the rows of the patient listed before.
    if (!RecordStore::load(ID, &count, &m_records)) {
        clearList();
        return;
    }
    if (count < 1) {
        qDebug() << "TrainRecord::updateTableByID未查询到符合要求的数据";
        clearList();
        return;
    }
    setPageData(m_records.size());
    showPage();
}

void TrainRecord::clearList()
{
    m_records.clear();
    m_shownRows = 0;
    m_ui->trainRecord_TableWidget->clearContents();
    m_ui->allSelect_CheckBox->setChecked(false);
    m_currentPage = 1;
    setPageData(0);
}

// Pages are counted from the records loaded: a page beyond them would show nothing.
void TrainRecord::setPageData(int records)
{
    m_pageCount = RecordPaging::pageCount(records);
    setIndicator();
    m_ui->trainRecordDestPage_LineEdit->setText(QStringLiteral("1"));
}

void TrainRecord::setIndicator()
{
    m_ui->trainRecordIndexPage_Label->setText(
        QStringLiteral("%1/%2").arg(m_currentPage).arg(m_pageCount));
}

void TrainRecord::showPage()
{
    QTableWidget *table = m_ui->trainRecord_TableWidget;
    m_ui->allSelect_CheckBox->setChecked(false);
    table->clearContents();
    m_shownRows = RecordPaging::rowsOnPage(m_records.size(), m_currentPage);
    const int first = RecordPaging::firstRecord(m_currentPage);
    for (int row = 0; row < m_shownRows; ++row) {
        const ST_TrainRecord record = variantMapToTrainRecord(m_records.at(first + row));
        table->setItem(row, 0, new QTableWidgetItem);
        auto *tick = new QCheckBox;
        tick->setFixedWidth(40);
        tick->setLayoutDirection(Qt::RightToLeft);
        tick->setFocusPolicy(Qt::NoFocus);
        table->setCellWidget(row, 0, tick);
        table->setItem(row, 1, centredItem(record.startTimeStr));
        table->setItem(row, 2, centredItem(QString::number(record.trainTime)));
        table->setItem(row, 3, centredItem(QString()));
        table->setItem(row, 4, centredItem(QString()));
        table->setItem(row, kViewColumn, new QTableWidgetItem(m_viewIcon, QString()));
        table->setItem(row, kDeleteColumn, new QTableWidgetItem(m_deleteIcon, QString()));
    }
    for (int row = m_shownRows; row < RecordPaging::kRowsPerPage; ++row) {
        table->setItem(row, kViewColumn, new QTableWidgetItem);
        table->setItem(row, kDeleteColumn, new QTableWidgetItem);
    }
    showTexts();
    qDebug() << "index" << m_pageCount;
}

// The mode and body texts of the shown rows in the interface's language.
void TrainRecord::showTexts()
{
    const bool english = interfaceLanguage() != Chinese_E;
    for (int row = 0; row < m_shownRows; ++row) {
        const ST_TrainRecord record = recordAt(row);
        m_ui->trainRecord_TableWidget->item(row, 3)->setText(RecordTexts::modeText(record.trainMode, english));
        m_ui->trainRecord_TableWidget->item(row, 4)->setText(RecordTexts::bodyText(record.bodyPart, english));
    }
}

ST_TrainRecord TrainRecord::recordAt(int row) const
{
    return variantMapToTrainRecord(m_records.value(RecordPaging::firstRecord(m_currentPage) + row));
}

QCheckBox *TrainRecord::checkBoxAt(int row) const
{
    return qobject_cast<QCheckBox *>(m_ui->trainRecord_TableWidget->cellWidget(row, 0));
}

void TrainRecord::on_allSelect_CheckBox_clicked(bool checked)
{
    for (int row = 0; row < m_shownRows; ++row) {
        if (QCheckBox *tick = checkBoxAt(row))
            tick->setChecked(checked);
    }
}

void TrainRecord::on_delete_Btn_clicked()
{
    if (!confirmDelete())
        return;
    QStringList ticked;
    for (int row = 0; row < m_shownRows; ++row) {
        const QCheckBox *tick = checkBoxAt(row);
        if (tick && tick->isChecked())
            ticked << recordAt(row).startTimeStr;
    }
    if (!ticked.isEmpty() && !RecordStore::deleteRecords(ticked))
        return;
    reloadAfterDelete(ticked.size() == m_shownRows);
}

void TrainRecord::on_trainRecordFrontPage_btn_clicked()
{
    if (m_currentPage <= 1)
        return;
    --m_currentPage;
    showPage();
    setIndicator();
}

void TrainRecord::on_trainRecordBackPage_btn_clicked()
{
    if (m_currentPage >= m_pageCount)
        return;
    ++m_currentPage;
    showPage();
    setIndicator();
}

void TrainRecord::on_trainRecordGo_btn_clicked()
{
    bool ok = false;
    const uint destination = m_ui->trainRecordDestPage_LineEdit->text().toUInt(&ok);
    if (!ok || destination < 1 || destination > m_pageCount)
        return;
    int count = 0;
    if (!RecordStore::load(m_listedId, &count))
        return;
    qDebug() << "该用户总记录数据：" << count;
    if (count < 1)
        return;
    m_currentPage = quint16(destination);
    setIndicator();
    showPage();
}

void TrainRecord::slotCellWidgetClicked(int row, int cloumn)
{
    if (row < 0 || row >= m_shownRows)
        return;
    // An empty start may have been stored as NULL; its report is looked up as the empty text.
    QString startTimeStr = recordAt(row).startTimeStr;
    if (startTimeStr.isNull())
        startTimeStr = QStringLiteral("");
    if (cloumn == kViewColumn) {
        m_reports->showReport(ReportStore::getReportDataByStartTime(startTimeStr), false);
    } else if (cloumn == kDeleteColumn) {
        if (!confirmDelete())
            return;
        const bool onlyRow = m_shownRows == 1;
        // Nothing was deleted when this fails (logged): the list stays as it is.
        if (RecordStore::deleteRecordWithReport(startTimeStr))
            reloadAfterDelete(onlyRow);
    }
}

void TrainRecord::reloadAfterDelete(bool pageEmptied)
{
    if (pageEmptied && m_currentPage > 1)
        --m_currentPage;
    int count = 0;
    if (!RecordStore::load(m_listedId, &count, &m_records)) {
        clearList();
        return;
    }
    if (count < 1) {
        clearList();
        qDebug() << "所有数据都已删除";
        return;
    }
    // Records deleted elsewhere may have taken the current page away.
    m_currentPage = qMin(m_currentPage, RecordPaging::pageCount(m_records.size()));
    setPageData(m_records.size());
    showPage();
}

bool TrainRecord::confirmDelete()
{
    // Opened by a tap on the list, never from live data: it may wait in its own loop.
    m_deleteDialog->exec();
    return m_deleteDialog->isConfirmed();
}

void TrainRecord::showEvent(QShowEvent *event)
{
    fitTable();
    updateTableByID(m_listedId);
    QWidget::showEvent(event);
}

void TrainRecord::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        showTexts();
    }
    QWidget::changeEvent(event);
}
