#include "common/testdatabase.h"

#include "app/languagemanager.h"
#include "database/cdatabaseinterface.h"
#include "database/trainrecord.h"
#include "database/trainreport.h"
#include "reports/deletereportdialog.h"
#include "reports/recordpaging.h"
#include "reports/recordtexts.h"
#include "reports/reportdialogbase.h"
#include "reports/trainrecord.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

constexpr int kPatient = 100001;
constexpr int kOtherPatient = 100002;

const QString kRecordTable = QStringLiteral("TrainRecordTable");
const QString kReportTable = QStringLiteral("TrainReportTable");

// One finished training: its report and the record the report dialog would store with it.
struct Training
{
    ST_TrainReport report;
    ST_TrainRecord record;
};

Training training(int patient, const QString &start, int bodyIndex = 1, int trainMode = 0)
{
    Training t;
    t.report.ID = patient;
    t.report.name = QStringLiteral("A1");
    t.report.age = 40;
    t.report.bodyIndex = bodyIndex;
    t.report.trainMode = trainMode;
    t.report.trainTime = 600;
    t.report.startTimeStr = start;
    t.record = trainRecordFromReport(t.report);
    return t;
}

bool store(const Training &t, bool withReport = true)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    return db->insertRowTable(kRecordTable, TrainRecordToVariantMap(t.record))
        && (!withReport || db->insertRowTable(kReportTable, TrainReportToVariantMap(t.report)));
}

// Records of the patient, one a day from 2024-01-01 at 08:00 on, each with its report.
bool storeDays(int patient, int days)
{
    for (int day = 1; day <= days; ++day) {
        const QDateTime start(QDate(2024, 1, 1).addDays(day - 1), QTime(8, 0));
        if (!store(training(patient, start.toString(QLatin1String(kStartTimeFormat)))))
            return false;
    }
    return true;
}

// Answers the delete dialog, which runs modally, from a timer; notes whether it came.
class DeleteAnswer : public QObject
{
public:
    explicit DeleteAnswer(bool confirm)
    {
        QTimer::singleShot(0, this, [this, confirm] {
            auto *dialog = qobject_cast<DeleteReportDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            asked = dialog->isVisible();
            dialog->findChild<QPushButton *>(QLatin1String(confirm ? "confirm_Btn" : "cancel_Btn"))->click();
        });
    }
    bool asked = false;
};

} // namespace

// The training record list with its delete dialog, on a real SQLite file.
class tst_RecordList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<TrainRecord> m_list;

    QTableWidget *table() const { return m_list->findChild<QTableWidget *>(QStringLiteral("trainRecord_TableWidget")); }
    QString indicator() const
    {
        return m_list->findChild<QLabel *>(QStringLiteral("trainRecordIndexPage_Label"))->text();
    }
    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = table()->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }
    QCheckBox *tick(int row) const { return qobject_cast<QCheckBox *>(table()->cellWidget(row, 0)); }
    void click(const char *button) const { m_list->findChild<QAbstractButton *>(QLatin1String(button))->click(); }
    void clickCell(int row, int column) const
    {
        const QRect cellRect = table()->visualRect(table()->model()->index(row, column));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, cellRect.center());
    }
    void goTo(const QString &page) const
    {
        m_list->findChild<QLineEdit *>(QStringLiteral("trainRecordDestPage_LineEdit"))->setText(page);
        click("trainRecordGo_btn");
    }
    int shownRows() const
    {
        int rows = 0;
        while (rows < table()->rowCount() && tick(rows))
            ++rows;
        return rows;
    }
    // A fresh database with records of the patient on that many days, listed.
    bool listDays(int days)
    {
        if (!openFreshDatabase(m_dir) || !storeDays(kPatient, days))
            return false;
        m_list->updateTableByID(kPatient);
        return true;
    }
    ReportDialogBase *shownReport() const { return qobject_cast<ReportDialogBase *>(QApplication::activeModalWidget()); }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        prepareTestEnvironment();
        QVERIFY(openFreshDatabase(m_dir));
        m_list = std::make_unique<TrainRecord>();
        m_list->resize(1240, 900);
        m_list->show();
    }

    void cleanup()
    {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (qobject_cast<ReportDialogBase *>(window))
                window->hide();
        }
    }

    void cleanupTestCase() { m_list.reset(); }

    // ---- paging and texts without the widget ----

    void pagingFromCount_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("lastPageRows");
        QTest::newRow("none") << 0 << 1 << 0;
        QTest::newRow("one") << 1 << 1 << 1;
        QTest::newRow("one full page") << 8 << 1 << 8;
        QTest::newRow("nine") << 9 << 2 << 1;
        QTest::newRow("seventeen") << 17 << 3 << 1;
        QTest::newRow("the most a list holds") << 1000 << 125 << 8;
        // Catches pages counted from the stored records while only 1000 are loaded: page 126
        // would show nothing.
        QTest::newRow("more than a list holds") << 1003 << 125 << 8;
    }

    void pagingFromCount()
    {
        QFETCH(int, records);
        QFETCH(int, pages);
        QFETCH(int, lastPageRows);
        QCOMPARE(int(RecordPaging::pageCount(records)), pages);
        QCOMPARE(RecordPaging::rowsOnPage(records, pages), lastPageRows);
        QCOMPARE(RecordPaging::rowsOnPage(records, pages + 1), 0);
        QCOMPARE(RecordPaging::rowsOnPage(records, 0), 0);
    }

    void storedTextsInTheInterfaceLanguage_data()
    {
        QTest::addColumn<bool>("mode");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("shown");
        QTest::newRow("passive in English") << true << "被动" << true << "Passive";
        QTest::newRow("FES in English") << true << "FES" << true << "FES";
        QTest::newRow("FES in Chinese") << true << "FES" << false << "FES";
        QTest::newRow("old spelling in English") << true << "Passive&Active" << true << "Passive& Active";
        QTest::newRow("old spelling in Chinese") << true << "Passive&Active" << false << "主被动";
        QTest::newRow("Chinese stays Chinese") << true << "主动" << false << "主动";
        // These catch records saved in English that the Chinese interface showed in English.
        QTest::newRow("English save of active/passive") << true << "Passive& Active" << false << "主被动";
        QTest::newRow("English save of a drive mode") << true << "Upper Limb Drives Lower" << false << "上肢带下肢";
        QTest::newRow("lower limb in English") << false << "下肢" << true << "Lower Limb";
        QTest::newRow("vertical in Chinese") << false << "Vertical Limb" << false << "垂直上肢";
        QTest::newRow("unknown text as stored") << false << "上肢" << true << "上肢";
    }

    void storedTextsInTheInterfaceLanguage()
    {
        QFETCH(bool, mode);
        QFETCH(QString, stored);
        QFETCH(bool, english);
        QFETCH(QString, shown);
        QCOMPARE(mode ? RecordTexts::modeText(stored, english) : RecordTexts::bodyText(stored, english), shown);
    }

    // ---- the widget ----

    // 17 records give 3 pages, newest first; page 3 holds one row and no icons below it.
    void seventeenRecordsPageThrough()
    {
        QVERIFY(openFreshDatabase(m_dir));
        QVERIFY(storeDays(kPatient, 17));
        QVERIFY(storeDays(kOtherPatient, 3));
        m_list->slotCheckUserChanged(kPatient);
        QCOMPARE(indicator(), QStringLiteral("1/3"));
        QCOMPARE(shownRows(), 8);
        QCOMPARE(cell(0, 1), QStringLiteral("2024-01-17 08:00:00"));
        QCOMPARE(cell(0, 2), QStringLiteral("10"));
        QCOMPARE(cell(0, 3), QStringLiteral("被动"));
        QCOMPARE(cell(0, 4), QStringLiteral("下肢"));
        QVERIFY(!table()->item(0, 5)->icon().isNull() && !table()->item(0, 6)->icon().isNull());

        click("trainRecordFrontPage_btn"); // nothing before page 1
        QCOMPARE(indicator(), QStringLiteral("1/3"));
        for (const char *expected : {"2/3", "3/3", "3/3"}) {
            click("trainRecordBackPage_btn");
            QCOMPARE(indicator(), QLatin1String(expected));
        }
        QCOMPARE(shownRows(), 1);
        QCOMPARE(cell(0, 1), QStringLiteral("2024-01-01 08:00:00"));
        for (int row = 1; row < 8; ++row) {
            QVERIFY(table()->item(row, 5) && table()->item(row, 5)->icon().isNull());
            QVERIFY(table()->item(row, 6) && table()->item(row, 6)->icon().isNull());
            QVERIFY(!table()->item(row, 1));
        }
        // A click below the last record opens nothing.
        clickCell(3, 5);
        clickCell(3, 6);
        QVERIFY(!QApplication::activeModalWidget());
        click("trainRecordFrontPage_btn");
        QCOMPARE(indicator(), QStringLiteral("2/3"));
        QCOMPARE(cell(0, 1), QStringLiteral("2024-01-09 08:00:00"));

        // Showing the list again reloads it from page 1.
        QVERIFY(store(training(kPatient, QStringLiteral("2024-02-01 08:00:00"))));
        m_list->hide();
        m_list->show();
        QCOMPARE(indicator(), QStringLiteral("1/3"));
        QCOMPARE(cell(0, 1), QStringLiteral("2024-02-01 08:00:00"));
    }

    void goToPage_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("indicator");
        QTest::addColumn<QString>("first");
        QTest::newRow("page 3") << "3" << "3/3" << "2024-01-01 08:00:00";
        QTest::newRow("page 2") << "2" << "2/3" << "2024-01-09 08:00:00";
        // Each of these must leave page 1 shown.
        QTest::newRow("page 0") << "0" << "1/3" << "2024-01-17 08:00:00";
        QTest::newRow("beyond the count") << "4" << "1/3" << "2024-01-17 08:00:00";
        QTest::newRow("empty field") << "" << "1/3" << "2024-01-17 08:00:00";
        QTest::newRow("too long a number") << "99999999999" << "1/3" << "2024-01-17 08:00:00";
    }

    void goToPage()
    {
        QFETCH(QString, typed);
        QFETCH(QString, indicator);
        QFETCH(QString, first);
        QVERIFY(listDays(17));
        goTo(typed);
        QCOMPARE(this->indicator(), indicator);
        QCOMPARE(cell(0, 1), first);
    }

    void deleteFromTheList_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("action"); // "icon" on row 0, "tick" rows 0 and 2, "all"
        QTest::addColumn<int>("elsewhere");  // newest records deleted behind the list's back
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("indicator");
        QTest::addColumn<int>("recordsLeft");
        QTest::addColumn<int>("reportsLeft");
        // Each row catches a wrong page after the delete, or a record or report kept or lost.
        QTest::newRow("single row of page 3") << 17 << "3" << "icon" << 0 << true << "2/2" << 16 << 16;
        QTest::newRow("cancelled") << 17 << "3" << "icon" << 0 << false << "3/3" << 17 << 17;
        QTest::newRow("a row of page 1") << 17 << "1" << "icon" << 0 << true << "1/2" << 16 << 16;
        QTest::newRow("ticked rows keep their reports") << 17 << "1" << "tick" << 0 << true << "1/2" << 15 << 17;
        QTest::newRow("ticked rows, cancelled") << 17 << "1" << "tick" << 0 << false << "1/3" << 17 << 17;
        QTest::newRow("all of page 3") << 17 << "3" << "all" << 0 << true << "2/2" << 16 << 17;
        // Catches a page beyond the count left showing rows that are no longer loaded.
        QTest::newRow("page gone meanwhile") << 17 << "3" << "icon" << 8 << true << "1/1" << 8 << 16;
        QTest::newRow("the last record") << 1 << "1" << "icon" << 0 << true << "1/1" << 0 << 0;
    }

    void deleteFromTheList()
    {
        QFETCH(int, records);
        QFETCH(QString, page);
        QFETCH(QString, action);
        QFETCH(int, elsewhere);
        QFETCH(bool, confirm);
        QFETCH(QString, indicator);
        QFETCH(int, recordsLeft);
        QFETCH(int, reportsLeft);
        QVERIFY(listDays(records));
        goTo(page);
        const QString first = cell(0, 1);
        CDatabaseInterface *db = CDatabaseInterface::getInstance();
        QVERIFY(db->execQuery(QStringLiteral("delete from TrainRecordTable where UUID in (select UUID from "
                                             "TrainRecordTable order by startTime desc limit ?)"), {elsewhere}));

        DeleteAnswer answer(confirm);
        if (action == QLatin1String("icon")) {
            clickCell(0, 6);
        } else {
            if (action == QLatin1String("tick")) {
                tick(0)->setChecked(true);
                tick(2)->setChecked(true);
            } else {
                click("allSelect_CheckBox");
                for (int row = 0; row < shownRows(); ++row)
                    QVERIFY(tick(row)->isChecked());
            }
            click("delete_Btn");
        }
        QVERIFY(answer.asked);
        QCOMPARE(this->indicator(), indicator);
        QCOMPARE(storedRowCount(kRecordTable), recordsLeft);
        QCOMPARE(storedRowCount(kReportTable), reportsLeft);
        QCOMPARE(shownRows(), qMin(8, recordsLeft - 8 * (indicator.section(QLatin1Char('/'), 0, 0).toInt() - 1)));
        QCOMPARE(cell(0, 1) == first, !confirm);
        QVERIFY(!m_list->findChild<QCheckBox *>(QStringLiteral("allSelect_CheckBox"))->isChecked());
    }

    void viewOpensTheReportOfTheRow_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("bodyIndex");
        QTest::addColumn<int>("trainMode");
        QTest::addColumn<bool>("withReport");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("name");
        QTest::newRow("vertical assisted") << "2024-01-02 08:00:00" << 3 << 2 << true << "TrainReportThreeTwo" << "A1";
        QTest::newRow("both limbs isokinetic") << "2024-01-02 08:00:00" << 2 << 3 << true << "TrainReport" << "A1";
        QTest::newRow("lower limb passive") << "2024-01-02 08:00:00" << 1 << 0 << true << "TrainReportTwoThree" << "A1";
        // These catch a crash, or another training's report, on bad keys and missing rows.
        QTest::newRow("no report row") << "2024-01-02 08:00:00" << 3 << 2 << false << "TrainReportTwoThree" << "";
        QTest::newRow("malformed start") << "06/05/2023 7h" << 3 << 3 << true << "TrainReportTwoTwo" << "A1";
        QTest::newRow("empty start") << "" << 3 << 3 << true << "TrainReportTwoTwo" << "A1";
        QTest::newRow("no start at all") << QString() << 3 << 3 << true << "TrainReportTwoThree" << "";
    }

    // The report opens for viewing without a nested loop: the click has returned and it is up.
    void viewOpensTheReportOfTheRow()
    {
        QFETCH(QString, start);
        QFETCH(int, bodyIndex);
        QFETCH(int, trainMode);
        QFETCH(bool, withReport);
        QFETCH(QString, dialog);
        QFETCH(QString, name);
        QVERIFY(openFreshDatabase(m_dir));
        QVERIFY(store(training(kPatient, QStringLiteral("2024-01-01 08:00:00"), 1, 7)));
        QVERIFY(store(training(kPatient, start, bodyIndex, trainMode), withReport));
        m_list->updateTableByID(kPatient);
        QCOMPARE(shownRows(), 2);
        const int row = cell(0, 1) == start ? 0 : 1;
        clickCell(row, 1); // the date opens nothing
        QVERIFY(!QApplication::activeModalWidget());
        clickCell(row, 5);
        ReportDialogBase *shown = shownReport();
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(QString::fromLatin1(shown->metaObject()->className()), dialog);
        QCOMPARE(shown->findChild<QLabel *>(QStringLiteral("name_Label"))->text(), name);
        QVERIFY(!shown->findChild<QPushButton *>(QStringLiteral("save_Btn"))->isVisibleTo(shown));
    }

    void oddStartTimesListAndDelete_data()
    {
        QTest::addColumn<QString>("start");
        QTest::newRow("empty") << "";
        // Catches a record saved without a start (stored as NULL) that no delete could reach.
        QTest::newRow("null") << QString();
        QTest::newRow("malformed") << "06/05/2023 7h";
        QTest::newRow("impossible date") << "2024-13-45 99:99:99";
        QTest::newRow("quote in the key") << "2024-01-01' or '1'='1";
    }

    void oddStartTimesListAndDelete()
    {
        QFETCH(QString, start);
        QVERIFY(openFreshDatabase(m_dir));
        QVERIFY(store(training(kPatient, QStringLiteral("2024-01-01 08:00:00"))));
        QVERIFY(store(training(kPatient, start)));
        m_list->updateTableByID(kPatient);
        QCOMPARE(shownRows(), 2);
        const int row = cell(0, 1) == start ? 0 : 1;
        QCOMPARE(cell(row, 1), start);
        DeleteAnswer answer(true);
        clickCell(row, 6);
        QVERIFY(answer.asked);
        QCOMPARE(shownRows(), 1);
        QCOMPARE(cell(0, 1), QStringLiteral("2024-01-01 08:00:00"));
        QCOMPARE(storedRowCount(kRecordTable), 1);
    }

    // The stored texts follow the interface language, also while a page is shown.
    void textsFollowTheInterfaceLanguage()
    {
        QVERIFY(openFreshDatabase(m_dir));
        for (const char *file : {"Rotaflex_EN.qm", "Rotaflex_CN.qm"})
            QVERIFY(QFile::copy(QStringLiteral(ROTAFLEX_RUN_DIR "/") + QLatin1String(file), m_dir->filePath(QLatin1String(file))));
        Training passive = training(kPatient, QStringLiteral("2024-01-02 08:00:00"), 1, 0);
        Training fes = training(kPatient, QStringLiteral("2024-01-01 08:00:00"), 2, 8);
        Training savedInEnglish = training(kPatient, QStringLiteral("2024-01-03 08:00:00"), 3, 7);
        savedInEnglish.record.trainMode = QStringLiteral("Passive& Active");
        savedInEnglish.record.bodyPart = QStringLiteral("Vertical Limb");
        QVERIFY(store(passive) && store(fes) && store(savedInEnglish));
        m_list->updateTableByID(kPatient);
        const auto texts = [this] {
            QStringList shown;
            for (int row = 0; row < 3; ++row)
                shown << cell(row, 3) + QLatin1Char('|') + cell(row, 4);
            return shown;
        };
        QCOMPARE(texts(), (QStringList{"主被动|垂直上肢", "被动|下肢", "FES|上下肢"}));

        LanguageManager::getInstance()->setLanguage(English_E);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        const QStringList english = texts();
        const QString heading = m_list->findChild<QLabel *>(QStringLiteral("dateHead_Label"))->text();
        LanguageManager::getInstance()->setLanguage(Chinese_E);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(english, (QStringList{"Passive& Active|Vertical Limb", "Passive|Lower Limb", "FES|Upper and Lower"}));
        QCOMPARE(heading, QStringLiteral("Date"));
        QCOMPARE(texts(), (QStringList{"主被动|垂直上肢", "被动|下肢", "FES|上下肢"}));
    }

    void failingDatabase_data()
    {
        QTest::addColumn<QString>("breakSql");
        QTest::addColumn<QString>("action"); // "icon" on row 0, "tick" rows 0 and 1, "load"
        QTest::addColumn<QString>("log");
        QTest::addColumn<int>("recordsLeft");
        QTest::addColumn<int>("reportsLeft");
        QTest::addColumn<int>("rowsShown");
        const QString trigger = QStringLiteral(
            "create trigger refuse before delete on %1 begin select raise(abort, 'disk trouble'); end");
        // Catches a record deleted while its report stays (or the reverse).
        QTest::newRow("report delete refused") << trigger.arg(kReportTable) << "icon" << "删除报告失败" << 3 << 3 << 3;
        // Catches some ticked records deleted and others not.
        QTest::newRow("record delete refused") << QStringLiteral(
            "create trigger refuse before delete on TrainRecordTable when old.startTimeStr like '%-02 %' "
            "begin select raise(abort, 'disk trouble'); end")
                                               << "tick" << "delete user failed" << 3 << 3 << 3;
        // Catches the rows of the patient listed before staying under the new one.
        QTest::newRow("list table gone") << QStringLiteral("drop table TrainRecordTable") << "load"
                                         << "TrainRecord::updateTableByID" << -1 << 3 << 0;
    }

    void failingDatabase()
    {
        QFETCH(QString, breakSql);
        QFETCH(QString, action);
        QFETCH(QString, log);
        QFETCH(int, recordsLeft);
        QFETCH(int, reportsLeft);
        QFETCH(int, rowsShown);
        QVERIFY(listDays(3));
        CDatabaseInterface *db = CDatabaseInterface::getInstance();
        QVERIFY2(db->execQuery(breakSql), qPrintable(db->getLastError()));

        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(log)));
        if (action == QLatin1String("load")) {
            m_list->updateTableByID(kOtherPatient);
        } else {
            DeleteAnswer answer(true);
            if (action == QLatin1String("tick")) {
                tick(0)->setChecked(true);
                tick(1)->setChecked(true);
                click("delete_Btn");
            } else {
                clickCell(0, 6);
            }
            QVERIFY(answer.asked);
        }
        QCOMPARE(storedRowCount(kRecordTable), recordsLeft);
        QCOMPARE(storedRowCount(kReportTable), reportsLeft);
        QCOMPARE(shownRows(), rowsShown);
        QCOMPARE(indicator(), QStringLiteral("1/1"));
    }
};

QTEST_MAIN(tst_RecordList)
#include "tst_recordlist.moc"
