#include "common/testdatabase.h"

#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "game/gamecontrol.h"
#include "reports/reportdialogset.h"
#include "reports/reportexport.h"
#include "reports/reportshares.h"
#include "reports/reportstore.h"
#include "reports/trainreport.h"
#include "users/currentuserdata.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <QtCharts/QChartView>
#include <QtCharts/QPieSeries>
#include <QtTest>

#include <memory>

using namespace QtCharts;

namespace {

constexpr uint32_t kPatient = 100001;

ST_TrainReport sampleReport()
{
    ST_TrainReport r;
    r.ID = int(kPatient);
    r.name = QStringLiteral("A1");
    r.sex = 1;
    r.phone = QStringLiteral("13800000000");
    r.age = 40;
    r.trainMode = 7;
    r.bodyIndex = 2;
    r.markMsg = QStringLiteral("右侧偏瘫");
    r.trainTime = 125;
    r.leftBalance = 30;
    r.rightBalance = 70;
    r.upLimpLength = 10.4f;
    r.downLimpLength = 3.2f;
    r.activeTime = 100;
    r.passiveTime = 60;
    r.spasmTimes = 2;
    r.maxResistance = 3.5f;
    r.averangeResistance = 2.25f;
    r.startTimeStr = QStringLiteral("2023-05-06 07:08:09");
    r.averageSpeed = 28;
    r.maxSpeed = 41;
    return r;
}

ST_TrainParam sampleParam(int speed)
{
    ST_TrainParam p;
    p.ID = int(kPatient);
    p.trainLimp = 2;
    p.trainMode = 7;
    p.trainTime = 20;
    p.trainSpeed = speed;
    return p;
}

QString labelText(QWidget *dialog, const char *name)
{
    auto *label = dialog->findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

bool buttonShown(QWidget *dialog, const char *name)
{
    auto *button = dialog->findChild<QPushButton *>(QLatin1String(name));
    return button && !button->isHidden();
}

// Answers the prompts a report dialog raises while it lives: boxes are recorded ("title|text")
// and accepted, the save-file dialog gets the given path (or is cancelled when it is empty).
// The report dialog itself, modal too, is left alone.
class PromptAnswerer : public QObject
{
public:
    explicit PromptAnswerer(const QString &path = QString()) : m_path(path)
    {
        connect(&m_timer, &QTimer::timeout, this, &PromptAnswerer::tick);
        m_timer.start(10);
    }
    QStringList seen;
    QString proposed;

private:
    void tick()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            seen << box->windowTitle() + QLatin1Char('|') + box->text();
            box->accept();
        } else if (auto *files = qobject_cast<QFileDialog *>(modal)) {
            proposed = files->selectedFiles().value(0);
            auto *typed = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (m_path.isEmpty() || !typed) {
                files->reject();
            } else {
                typed->setText(m_path);
                static_cast<QDialog *>(files)->accept(); // the file dialog checks the typed path
            }
        }
    }

    QTimer m_timer;
    QString m_path;
};

// A device that takes no byte, like a full disk.
class RefusingDevice : public QIODevice
{
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};

QString runTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

// The report dialogs, their charts, saving through a real SQLite file, and the PDF export.
class tst_Reports : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<ReportDialogSet> m_set;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        prepareTestEnvironment();
        m_set = std::make_unique<ReportDialogSet>();
        ST_PatientMsg patient;
        patient.ID = kPatient;
        CurrentUserData::getInstance()->setCurrentUserMsg(patient);
    }

    void cleanup()
    {
        for (int i = 0; i < 4; ++i)
            m_set->dialog(ReportLayout::E_REPORTLAYOUT(i))->hide();
    }

    void cleanupTestCase() { m_set.reset(); }

    // ---- layout choice and form ----

    void layoutFollowsLimbAndMode_data()
    {
        QTest::addColumn<int>("bodyIndex");
        QTest::addColumn<int>("trainMode");
        QTest::addColumn<QString>("dialog");
        // Each row catches one wrong branch of the choice.
        QTest::newRow("horizontal passive") << 0 << 0 << "TrainReportTwoThree";
        QTest::newRow("lower limb isokinetic") << 1 << 3 << "TrainReportTwoThree";
        QTest::newRow("lower limb passive with FES") << 1 << 4 << "TrainReportTwoThree";
        QTest::newRow("both limbs passive") << 2 << 0 << "TrainReportTwoThree";
        QTest::newRow("both limbs isokinetic") << 2 << 3 << "TrainReport";
        QTest::newRow("vertical passive") << 3 << 0 << "TrainReportTwoTwo";
        QTest::newRow("vertical isokinetic") << 3 << 3 << "TrainReportTwoTwo";
        QTest::newRow("vertical assisted") << 3 << 2 << "TrainReportThreeTwo";
        QTest::newRow("vertical active/passive 10") << 3 << 10 << "TrainReportThreeTwo";
        QTest::newRow("vertical active 9") << 3 << 9 << "TrainReport";
        QTest::newRow("horizontal active") << 0 << 1 << "TrainReport";
        QTest::newRow("unknown limb") << 7 << 0 << "TrainReport";
    }

    void layoutFollowsLimbAndMode()
    {
        QFETCH(int, bodyIndex);
        QFETCH(int, trainMode);
        QFETCH(QString, dialog);
        ST_TrainReport report = sampleReport();
        report.bodyIndex = bodyIndex;
        report.trainMode = trainMode;
        ReportDialogBase *shown = m_set->showReport(report, false);
        QCOMPARE(QString::fromLatin1(shown->metaObject()->className()), dialog);
        // Shown without a nested event loop: the call has returned and the dialog is up, modal.
        QVERIFY(shown->isVisible() && shown->isModal());
        QVERIFY(!buttonShown(shown, "save_Btn") && !buttonShown(shown, "noSave_Btn"));
        QVERIFY(buttonShown(shown, "import_Btn"));
    }

    void formShowsTheTraining_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("resistance");
        QTest::addColumn<bool>("balance");
        QTest::newRow("TrainReport") << int(ReportLayout::TrainReport_E) << true << true;
        QTest::newRow("ThreeTwo") << int(ReportLayout::TrainReportThreeTwo_E) << true << false;
        QTest::newRow("TwoThree") << int(ReportLayout::TrainReportTwoThree_E) << false << true;
        QTest::newRow("TwoTwo") << int(ReportLayout::TrainReportTwoTwo_E) << false << false;
    }

    // Catches a value in the wrong label, padded times, unrounded distances and a variant that
    // shows what its layout leaves out.
    void formShowsTheTraining()
    {
        QFETCH(int, layout);
        QFETCH(bool, resistance);
        QFETCH(bool, balance);
        ReportDialogBase *dialog = m_set->dialog(ReportLayout::E_REPORTLAYOUT(layout));
        dialog->setReportData(sampleReport(), true);
        QVERIFY(buttonShown(dialog, "save_Btn") && buttonShown(dialog, "noSave_Btn"));
        QCOMPARE(labelText(dialog, "name_Label"), QStringLiteral("A1"));
        QCOMPARE(labelText(dialog, "sex_Label"), QStringLiteral("女"));
        QCOMPARE(labelText(dialog, "phone_Label"), QStringLiteral("13800000000"));
        QCOMPARE(labelText(dialog, "reportDate_Label"), QStringLiteral("2023-05-06"));
        QCOMPARE(labelText(dialog, "msg_Label"), QStringLiteral("右侧偏瘫"));
        QCOMPARE(labelText(dialog, "trainMode_Label"), QStringLiteral("主被动"));
        QCOMPARE(labelText(dialog, "trainPart_Label"), QStringLiteral("上下肢"));
        QCOMPARE(labelText(dialog, "trainPartIcon_Label"), QStringLiteral("上下肢"));
        QCOMPARE(labelText(dialog, "trainTime_Label"), QStringLiteral("2:5"));
        QCOMPARE(labelText(dialog, "trainLength_Label"), QStringLiteral("14"));
        QCOMPARE(labelText(dialog, "spasmTimes_Label"), QStringLiteral("2"));
        QCOMPARE(labelText(dialog, "averageSpeed_Label"), QStringLiteral("28"));
        QCOMPARE(labelText(dialog, "maxSpeed_Label"), QStringLiteral("41"));
        QCOMPARE(labelText(dialog, "maxResistance_Label") == QStringLiteral("3.5"), resistance);
        QCOMPARE(labelText(dialog, "avgResistance_Label") == QStringLiteral("2.25"), resistance);
        QCOMPARE(dialog->findChild<QChartView *>(QStringLiteral("graphicsView_1")) != nullptr, balance);

        // The charts as drawn: two slices each with the share labels inside, the form's hidden
        // percentage labels holding the same texts.
        const struct
        {
            int chart;
            const char *labels[2];
            const char *colours[2];
        } charts[] = {{1, {"70%", "30%"}, {"#55adf9", "#b4e2fe"}},
                      {2, {"63%", "38%"}, {"#92aff6", "#938bf6"}},
                      {3, {"70%", "30%"}, {"#aac204", "#d2e07e"}}};
        for (const auto &expected : charts) {
            auto *view = dialog->findChild<QChartView *>(QStringLiteral("graphicsView_%1").arg(expected.chart));
            if (!view)
                continue;
            QCOMPARE(view->chart()->series().size(), 1);
            auto *pie = qobject_cast<QPieSeries *>(view->chart()->series().first());
            QVERIFY(pie && pie->count() == 2);
            QCOMPARE(pie->pieSize(), 1.0);
            QVERIFY(!view->chart()->legend()->isVisible());
            for (int i = 0; i < 2; ++i) {
                QPieSlice *slice = pie->slices().at(i);
                QCOMPARE(slice->label(), QLatin1String(expected.labels[i]));
                QCOMPARE(slice->color().name(), QLatin1String(expected.colours[i]));
                QVERIFY(slice->isLabelVisible());
                QCOMPARE(slice->labelPosition(), QPieSlice::LabelInsideNormal);
                const QString percentage = QStringLiteral("slice%1_%2Percentage_Label").arg(expected.chart).arg(i + 1);
                auto *label = dialog->findChild<QLabel *>(percentage);
                QVERIFY2(label && label->isHidden(), qPrintable(percentage));
                QCOMPARE(label->text(), QLatin1String(expected.labels[i]));
            }
        }
    }

    void ageShowsOnlyFromOneToNinety_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("age");
        QTest::addColumn<QString>("shown");
        QTest::newRow("40") << int(ReportLayout::TrainReport_E) << 40 << "40";
        QTest::newRow("1 and 90 are ages") << int(ReportLayout::TrainReportTwoThree_E) << 1 << "1";
        QTest::newRow("90") << int(ReportLayout::TrainReportThreeTwo_E) << 90 << "90";
        QTest::newRow("in years") << int(ReportLayout::TrainReportTwoTwo_E) << 65 << "65岁";
        // These catch the previous patient's age left on the label.
        QTest::newRow("0") << int(ReportLayout::TrainReport_E) << 0 << "";
        QTest::newRow("95") << int(ReportLayout::TrainReport_E) << 95 << "";
        QTest::newRow("95 in years") << int(ReportLayout::TrainReportTwoTwo_E) << 95 << "";
    }

    void ageShowsOnlyFromOneToNinety()
    {
        QFETCH(int, layout);
        QFETCH(int, age);
        QFETCH(QString, shown);
        ReportDialogBase *dialog = m_set->dialog(ReportLayout::E_REPORTLAYOUT(layout));
        dialog->setReportData(sampleReport(), false); // another patient's age 40 first
        ST_TrainReport report = sampleReport();
        report.age = age;
        dialog->setReportData(report, false);
        QCOMPARE(labelText(dialog, "age_Label"), shown);
    }

    void modeAndBodyTexts_data()
    {
        QTest::addColumn<int>("trainMode");
        QTest::addColumn<int>("bodyIndex");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("date");
        QTest::newRow("FES, lower limb") << 8 << 1 << "FES" << "下肢" << "2023-05-06";
        // Mode 9 reads "active" in the record list but nothing on the report.
        QTest::newRow("mode 9 shows nothing") << 9 << 3 << "" << "垂直上肢" << "2023-05-06";
        QTest::newRow("unknown numbers") << 11 << 4 << "" << "" << "2023-05-06";
    }

    void modeAndBodyTexts()
    {
        QFETCH(int, trainMode);
        QFETCH(int, bodyIndex);
        QFETCH(QString, mode);
        QFETCH(QString, body);
        ST_TrainReport report = sampleReport();
        report.trainMode = trainMode;
        report.bodyIndex = bodyIndex;
        ReportDialogBase *dialog = m_set->showReport(report, false);
        QCOMPARE(labelText(dialog, "trainMode_Label"), mode);
        QCOMPARE(labelText(dialog, "trainPart_Label"), body);
    }

    // Catches values left in the other language: the translated texts are set again on a
    // language change, not only the form's fixed ones.
    void languageChangeRetranslatesTheValues()
    {
        ST_TrainReport report = sampleReport();
        report.bodyIndex = 3;
        report.trainMode = 0;
        ReportDialogBase *dialog = m_set->showReport(report, false);
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(ROTAFLEX_RUN_DIR "/Rotaflex_EN.qm")));
        QCoreApplication::installTranslator(&english);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        const QString mode = labelText(dialog, "trainMode_Label");
        const QString age = labelText(dialog, "age_Label");
        const QString sex = labelText(dialog, "sex_Label");
        QCoreApplication::removeTranslator(&english);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(mode, QStringLiteral("Passive"));
        QCOMPARE(age, QStringLiteral("40 years"));
        QCOMPARE(sex, QStringLiteral("Female"));
        QCOMPARE(labelText(dialog, "trainMode_Label"), QStringLiteral("被动"));
    }

    // ---- chart shares ----

    void chartShares_data()
    {
        QTest::addColumn<int>("chart"); // 0 balance, 1 time, 2 distance
        QTest::addColumn<int>("bodyIndex");
        QTest::addColumn<int>("trainMode");
        QTest::addColumn<QList<int>>("values"); // left, right, active, passive
        QTest::addColumn<float>("distance");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<qreal>("firstValue");
        // The machine mirrors left and right for every limb but the legs.
        QTest::newRow("upper limb balance swapped") << 0 << 0 << 7 << QList<int>{30, 70, 0, 0} << 1.f
                                                    << QStringList{"70%", "30%"} << 70.0;
        QTest::newRow("lower limb balance as is") << 0 << 1 << 7 << QList<int>{30, 70, 0, 0} << 1.f
                                                  << QStringList{"30%", "70%"} << 30.0;
        // Each share rounded by itself: 62.5 and 37.5 give 63 and 38.
        QTest::newRow("time shares") << 1 << 2 << 7 << QList<int>{0, 0, 100, 60} << 1.f
                                     << QStringList{"63%", "38%"} << 100.0;
        QTest::newRow("no time at all") << 1 << 2 << 7 << QList<int>{0, 0, 0, 0} << 1.f
                                        << QStringList{"50%", "50%"} << 1.0;
        QTest::newRow("active mode is all active") << 1 << 1 << 1 << QList<int>{0, 0, 5, 60} << 1.f
                                                   << QStringList{"100%", "0%"} << 1.0;
        QTest::newRow("isokinetic is all passive") << 2 << 1 << 3 << QList<int>{0, 0, 100, 60} << 1.f
                                                   << QStringList{"0%", "100%"} << 0.0;
        // The active distance is the active time times 1.4: 140 against 60.
        QTest::newRow("distance shares") << 2 << 2 << 7 << QList<int>{0, 0, 100, 60} << 1.f
                                         << QStringList{"70%", "30%"} << 140.0;
        QTest::newRow("no distance") << 2 << 2 << 7 << QList<int>{0, 0, 100, 60} << 0.f
                                     << QStringList{"0%", "100%"} << 0.0;
        // A broken negative value must not bend the pie.
        QTest::newRow("negative balance counts as none") << 0 << 1 << 7 << QList<int>{-20, 120, 0, 0} << 1.f
                                                         << QStringList{"0%", "100%"} << 0.0;
        QTest::newRow("no balance at all") << 0 << 1 << 7 << QList<int>{0, 0, 0, 0} << 1.f
                                           << QStringList{"0%", "0%"} << 0.0;
    }

    void chartShares()
    {
        QFETCH(int, chart);
        QFETCH(int, bodyIndex);
        QFETCH(int, trainMode);
        QFETCH(QList<int>, values);
        QFETCH(float, distance);
        QFETCH(QStringList, labels);
        QFETCH(qreal, firstValue);
        ST_TrainReport report;
        report.bodyIndex = bodyIndex;
        report.trainMode = trainMode;
        report.leftBalance = values[0];
        report.rightBalance = values[1];
        report.activeTime = values[2];
        report.passiveTime = values[3];
        report.upLimpLength = distance;
        const ST_PieShare share = chart == 0 ? ReportShares::balance(report)
            : chart == 1                     ? ReportShares::time(report)
                                             : ReportShares::distance(report);
        QCOMPARE((QStringList{share.labels[0], share.labels[1]}), labels);
        QCOMPARE(share.values[0], firstValue);
    }

    // ---- saving ----

    // Catches a second prescription row for the patient, or a report or record lost or doubled.
    void twoSavedTrainingsKeepOnePrescription()
    {
        QVERIFY(openFreshDatabase(m_dir));
        ReportDialogBase *dialog = m_set->dialog(ReportLayout::TrainReport_E);
        for (int speed : {30, 45}) {
            ST_TrainParam param = sampleParam(speed);
            param.ID = 0; // a prescription that does not name the patient still replaces theirs
            GameControl::getInstance()->setTrainParam(param);
            ST_TrainReport report = sampleReport();
            report.startTimeStr = QStringLiteral("2023-05-06 07:%1:00").arg(speed);
            dialog->setReportData(report, true);
            PromptAnswerer answerer;
            dialog->on_save_Btn_clicked();
            QCOMPARE(answerer.seen, QStringList{QStringLiteral("保存|报告保存成功")});
            QVERIFY(!dialog->isVisible());
        }
        QCOMPARE(storedRowCount(QStringLiteral("TrainParamTable")), 1);
        QCOMPARE(storedRowCount(QStringLiteral("TrainReportTable")), 2);
        QCOMPARE(storedRowCount(QStringLiteral("TrainRecordTable")), 2);
        CDatabaseInterface *db = CDatabaseInterface::getInstance();
        QVERIFY(db->execQuery(QStringLiteral("select * from TrainParamTable")) && db->getValuesSize() == 1);
        const QVariantMap stored = db->getValues(0, 1).value(0);
        QCOMPARE(stored.value(QStringLiteral("trainSpeed")).toInt(), 45);
        QCOMPARE(stored.value(QStringLiteral("ID")).toUInt(), kPatient);
    }

    void failedSaveStoresNothing_data()
    {
        QTest::addColumn<QString>("breakSql");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("mendSql");
        const QString trigger = QStringLiteral(
            "create trigger refuse before insert on %1 begin select raise(abort, 'disk trouble'); end");
        const QString dropTrigger = QStringLiteral("drop trigger refuse");
        // Each row catches a step that stays stored when a later one (or itself) fails.
        QTest::newRow("prescription refused") << trigger.arg(QLatin1String("TrainParamTable"))
                                              << "插入处方信息失败！" << dropTrigger;
        QTest::newRow("report refused") << trigger.arg(QLatin1String("TrainReportTable"))
                                        << "训练报告存储失败" << dropTrigger;
        QTest::newRow("record refused") << trigger.arg(QLatin1String("TrainRecordTable"))
                                        << "TrainRecord::on_createData_Btn_clicked" << dropTrigger;
        QTest::newRow("record table gone") << "drop table TrainRecordTable"
                                           << "TrainRecord::on_createData_Btn_clicked" << QString();
    }

    // A save that fails at any step stores none of the three, keeps the old prescription and
    // leaves the dialog open; the retry stores exactly one of each.
    void failedSaveStoresNothing()
    {
        QFETCH(QString, breakSql);
        QFETCH(QString, log);
        QFETCH(QString, mendSql);
        QVERIFY(openFreshDatabase(m_dir));
        CDatabaseInterface *db = CDatabaseInterface::getInstance();
        QVERIFY(db->insertRowTable(QStringLiteral("TrainParamTable"), TrainParamToVariantMap(sampleParam(10))));
        QVERIFY2(db->execQuery(breakSql), qPrintable(db->getLastError()));
        GameControl::getInstance()->setTrainParam(sampleParam(50));
        ReportDialogBase *dialog = m_set->dialog(ReportLayout::TrainReport_E);
        dialog->setReportData(sampleReport(), true);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(log)));
        {
            PromptAnswerer answerer;
            dialog->on_save_Btn_clicked();
            QVERIFY(answerer.seen.isEmpty());
        }
        QVERIFY(dialog->isVisible());
        QCOMPARE(storedRowCount(QStringLiteral("TrainReportTable")), 0);
        QVERIFY(storedRowCount(QStringLiteral("TrainRecordTable")) <= 0);
        QVERIFY(db->execQuery(QStringLiteral("select * from TrainParamTable")) && db->getValuesSize() == 1);
        QCOMPARE(db->getValues(0, 1).value(0).value(QStringLiteral("trainSpeed")).toInt(), 10);

        if (mendSql.isEmpty())
            QVERIFY(DatabaseSchema::createTables(db));
        else
            QVERIFY(db->execQuery(mendSql));
        PromptAnswerer answerer;
        dialog->on_save_Btn_clicked();
        QCOMPARE(answerer.seen, QStringList{QStringLiteral("保存|报告保存成功")});
        QCOMPARE(storedRowCount(QStringLiteral("TrainParamTable")), 1);
        QCOMPARE(storedRowCount(QStringLiteral("TrainReportTable")), 1);
        QCOMPARE(storedRowCount(QStringLiteral("TrainRecordTable")), 1);
    }

    // Catches a crash or a stray row on keys that are empty, malformed or unknown, and a
    // delete that misses its report.
    void lookUpAndDeleteByStartTime()
    {
        QVERIFY(openFreshDatabase(m_dir));
        ST_TrainReport broken = sampleReport();
        broken.startTimeStr = QStringLiteral("06/05/2023 7h");
        for (const ST_TrainReport &report : {sampleReport(), broken})
            QVERIFY(ReportStore::saveTraining(kPatient, sampleParam(30), report));

        const ST_TrainReport found = TrainReport::getReportDataByStartTime(QStringLiteral("2023-05-06 07:08:09"));
        QCOMPARE(found.ID, int(kPatient));
        QCOMPARE(found.markMsg, QStringLiteral("右侧偏瘫"));
        QCOMPARE(found.trainTime, 125);
        QCOMPARE(TrainReport::getReportDataByStartTime(broken.startTimeStr).name, QStringLiteral("A1"));
        for (const QString &key : {QString(), QStringLiteral("x' or '1'='1"), QStringLiteral("2023-05-06 07:08:10")}) {
            QCOMPARE(TrainReport::getReportDataByStartTime(key).ID, 0);
            // A record without its report opens an empty report.
            QVERIFY(m_set->showReport(TrainReport::getReportDataByStartTime(key), false)->isVisible());
        }

        QVERIFY(TrainReport::deleteReportByStartTime(QStringLiteral("2023-05-06 07:08:09")));
        QCOMPARE(TrainReport::getReportDataByStartTime(QStringLiteral("2023-05-06 07:08:09")).ID, 0);
        QCOMPARE(storedRowCount(QStringLiteral("TrainReportTable")), 1);
        QCOMPARE(storedRowCount(QStringLiteral("TrainRecordTable")), 2); // records are the list's to delete
    }

    // ---- export ----

    void exportFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("parsed start") << "A1" << "2023-05-06 07:08:09" << "A1-100001-20230506070809";
        // A start that does not parse still names the file by its digits, and no "-" dangles.
        QTest::newRow("malformed start") << "A1" << "06/05/2023 7h" << "A1-100001-060520237";
        QTest::newRow("empty start") << "A1" << "" << "A1-100001";
        // A name with separators must not send the file into another folder.
        QTest::newRow("separators in the name") << "A/1:*" << "2023-05-06 07:08:09"
                                                << "A_1__-100001-20230506070809";
    }

    void exportFileName()
    {
        QFETCH(QString, name);
        QFETCH(QString, start);
        QFETCH(QString, proposed);
        ST_TrainReport report = sampleReport();
        report.name = name;
        report.startTimeStr = start;
        QCOMPARE(ReportExport::defaultFileName(report), proposed);
    }

    void imageFillsThePageWidth_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QRectF>("target");
        const QRect page(0, 0, 9921, 14031);
        QTest::newRow("report image") << QSize(2672, 1560) << QRectF(10, 10, 9901, 9901 * 1560.0 / 2672);
        // Wider than the page: an integer quotient would be 0 and the page blank.
        QTest::newRow("wider than the page") << QSize(20000, 5000) << QRectF(10, 10, 9901, 9901 / 4.0);
        QTest::newRow("taller than the page") << QSize(1000, 28022) << QRectF(10, 10, 500, 14011);
        QTest::newRow("no image") << QSize() << QRectF(10, 10, 0, 0);
    }

    void imageFillsThePageWidth()
    {
        QFETCH(QSize, image);
        QFETCH(QRectF, target);
        const QRectF placed = ReportExport::imageTarget(image, QRect(0, 0, 9921, 14031));
        QCOMPARE(placed.topLeft(), target.topLeft());
        QVERIFY2(qAbs(placed.width() - target.width()) < 0.01 && qAbs(placed.height() - target.height()) < 0.01,
                 qPrintable(QStringLiteral("%1 x %2").arg(placed.width()).arg(placed.height())));
    }

    // Catches "exported" said of a file that never got its bytes.
    void refusedBytesFailTheExport()
    {
        RefusingDevice device;
        QVERIFY(device.open(QIODevice::WriteOnly));
        QImage image(100, 60, QImage::Format_RGB32);
        image.fill(Qt::black);
        QVERIFY(!ReportExport::writePdf(&device, image));
    }

    void exportWritesOneA4PageWithTheReport_data()
    {
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("closes");
        // Catches a finished training that could no longer be saved once it was exported.
        QTest::newRow("new report stays to be saved") << true << "report.pdf" << false;
        // Catches a file without its ".pdf" when the user types none.
        QTest::newRow("viewed report closes") << false << "report" << true;
    }

    // The whole road: proposed name, one A4 page, the report drawn on it (not blank, dark text).
    void exportWritesOneA4PageWithTheReport()
    {
        QFETCH(bool, isNew);
        QFETCH(QString, typed);
        QFETCH(bool, closes);
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        QVERIFY2(!pdftoppm.isEmpty() && !pdfinfo.isEmpty(), "poppler-utils is not installed");
        TestWorkDir dir;
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        ReportDialogBase *dialog = m_set->showReport(sampleReport(), isNew);
        QTest::qWait(20); // laid out and painted once, as a user would see it
        PromptAnswerer answerer(dir.filePath(typed));
        dialog->on_import_Btn_clicked();
        QCOMPARE(QFileInfo(answerer.proposed).fileName(), QStringLiteral("A1-100001-20230506070809"));
        QCOMPARE(answerer.seen, QStringList{QStringLiteral("提示|报告导出成功")});
        QCOMPARE(dialog->isVisible(), !closes);
        QCOMPARE(buttonShown(dialog, "save_Btn"), isNew);
        QVERIFY(buttonShown(dialog, "import_Btn"));
        dialog->hide();

        const QString info = runTool(pdfinfo, {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));
        const QString png = dir.filePath(QStringLiteral("page"));
        runTool(pdftoppm, {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                           QStringLiteral("-singlefile"), path, png});
        const QImage page(png + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        int inked = 0;
        int dark = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const int gray = qGray(page.pixel(x, y));
                inked += gray < 245;
                // The report fills the top of the page, its text in dark ink.
                dark += gray < 100 && y < page.height() / 2;
            }
        }
        const int pixels = page.width() * page.height();
        QVERIFY2(inked > pixels / 20, qPrintable(QString::number(inked)));
        QVERIFY2(dark > 200, qPrintable(QString::number(dark)));
    }

    void exportThatCannotOpenTheFile_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("cancelled") << QString();
        QTest::newRow("missing folder") << "missing/report.pdf";
    }

    // Catches a silent failure (the box tells it, the dialog stays), and a training that could
    // no longer be saved after a failed export (the buttons come back).
    void exportThatCannotOpenTheFile()
    {
        QFETCH(QString, relativePath);
        TestWorkDir dir;
        ReportDialogBase *dialog = m_set->showReport(sampleReport(), true);
        PromptAnswerer answerer(relativePath.isEmpty() ? QString() : dir.filePath(relativePath));
        dialog->on_import_Btn_clicked();
        QCOMPARE(answerer.seen, QStringList{QStringLiteral("导出文件|文件打开失败")});
        QVERIFY(dialog->isVisible());
        for (const char *name : {"import_Btn", "save_Btn", "noSave_Btn"})
            QVERIFY(buttonShown(dialog, name));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    }
};

QTEST_MAIN(tst_Reports)
#include "tst_reports.moc"
