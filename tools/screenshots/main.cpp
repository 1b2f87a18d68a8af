// Renders every page and dialog that exists to a PNG file, with the application's style sheet,
// so that their look can be reviewed without the trainer. Run it in build/run:
//   QT_QPA_PLATFORM=offscreen ./rotaflex-screenshots /tmp/shots
#include "app/languagemanager.h"
#include "app/startup.h"
#include "app/unattended.h"
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "database/trainrecord.h"
#include "fes/channeldialog.h"
#include "fes/channelonlydialog.h"
#include "fes/fescontroldialog.h"
#include "fes/fessetting.h"
#include "fes/festotalparamdialog.h"
#include "fes/maiboxueyangdialog.h"
#include "fes/musclebutton.h"
#include "fes/serialportsource.h"
#include "platform/volumebackend.h"
#include "shell/sounddialog.h"
#include "reports/reportdialogbase.h"
#include "reports/deletereportdialog.h"
#include "reports/reportdialogset.h"
#include "reports/trainrecord.h"
#include "training/emergencystopdialog.h"
#include "training/horizontaltoverticaldialog.h"
#include "training/machinestartdialog.h"
#include "training/paramtipsdialog.h"
#include "training/prescriptiondialog.h"
#include "training/protectgamestart.h"
#include "training/quitbyspeeddialog.h"
#include "training/quitgamedialog.h"
#include "training/spasmtipsdialog.h"
#include "training/verticaltohorizondialog.h"
#include "trainingpageshots.h"
#include "mainwindowshots.h"
#include "shell/cmainwindow.h"
#include "patientshots.h"
#include "modeshots.h"
#include "paramshots.h"
#include "game/gamecontrol.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMediaPlayer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTranslator>

#include <functional>
#include <memory>

namespace {

// The pictures need no adapter: the machine's serial ports are left alone.
class NoSerialPorts : public SerialPortSource
{
public:
    QStringList portNames() const override { return {}; }
};

bool save(QWidget *widget, const QSize &size, const QString &folder, const QString &name)
{
    widget->resize(size);
    widget->show();
    QCoreApplication::processEvents();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    const bool ok = widget->grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "failed ") << path << '\n';
    widget->hide();
    return ok;
}

// Takes the pictures in Chinese, then in English ("zh" and "en" name the files). The language is
// shown for this run only: the user's saved language stays as it is.
bool inBothLanguages(const std::function<bool(QLatin1String language)> &shoot)
{
    LanguageManager *manager = LanguageManager::getInstance();
    const auto saved = E_LANGUAGE(manager->getLanguage());
    manager->showLanguage(Chinese_E);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    bool ok = shoot(QLatin1String("zh"));
    manager->showLanguage(English_E);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    const bool translated = QFile::exists(QStringLiteral("Rotaflex_EN.qm")); // loaded from the working folder
    if (!translated)
        QTextStream(stdout) << "failed to load Rotaflex_EN.qm\n";
    ok &= shoot(QLatin1String("en"));
    manager->showLanguage(saved);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    return ok && translated;
}

// The pictures leave the machine's volume alone: a sound system in memory, at half volume.
class MemoryVolume : public platform::VolumeBackend
{
public:
    std::string name() const override { return "memory"; }
    bool readLevel(double &level) override
    {
        level = m_level;
        return succeed();
    }
    bool setLevel(double level) override
    {
        m_level = level;
        return succeed();
    }
    bool setMute(bool) override { return succeed(); }

private:
    double m_level = 0.5;
};

// The volume dialog in Chinese and in English; the translation is installed here only.
bool saveVolumeDialogs(const QSize &screen, const QString &folder)
{
    SoundDialog dialog(std::make_unique<MemoryVolume>());
    bool ok = save(&dialog, screen, folder, QStringLiteral("dialog-volume-zh"));
    QTranslator english;
    if (!english.load(QStringLiteral("Rotaflex_EN.qm"), QCoreApplication::applicationDirPath())) {
        QTextStream(stdout) << "failed to load Rotaflex_EN.qm\n";
        return false;
    }
    QCoreApplication::installTranslator(&english);
    QCoreApplication::processEvents(); // the language change is posted to every window
    ok &= save(&dialog, screen, folder, QStringLiteral("dialog-volume-en"));
    QCoreApplication::removeTranslator(&english);
    QCoreApplication::processEvents();
    return ok;
}

// The four report dialogs, each with a training of its own layout, in Chinese and in English.
bool saveReportDialogs(const QString &folder)
{
    ST_TrainReport base;
    base.ID = 100001;
    base.name = QStringLiteral("张伟");
    base.sex = 0;
    base.phone = QStringLiteral("13912345678");
    base.age = 67;
    base.markMsg = QStringLiteral("左侧偏瘫，第三周");
    base.trainTime = 1205;
    base.leftBalance = 42;
    base.rightBalance = 58;
    base.upLimpLength = 612.4f;
    base.downLimpLength = 845.7f;
    base.activeTime = 730;
    base.passiveTime = 475;
    base.spasmTimes = 1;
    base.maxResistance = 6;
    base.averangeResistance = 3.5f;
    base.startTimeStr = QStringLiteral("2024-03-18 09:30:12");
    base.averageSpeed = 32;
    base.maxSpeed = 48;
    const struct
    {
        ReportLayout::E_REPORTLAYOUT layout;
        int bodyIndex;
        int trainMode;
        const char *name;
    } shots[] = {{ReportLayout::TrainReport_E, 2, 7, "report-train"},
                 {ReportLayout::TrainReportThreeTwo_E, 3, 2, "report-three-two"},
                 {ReportLayout::TrainReportTwoThree_E, 1, 0, "report-two-three"},
                 {ReportLayout::TrainReportTwoTwo_E, 3, 3, "report-two-two"}};

    ReportDialogSet dialogs;
    return inBothLanguages([&](QLatin1String language) {
        bool ok = true;
        for (const auto &shot : shots) {
            ST_TrainReport report = base;
            report.bodyIndex = shot.bodyIndex;
            report.trainMode = shot.trainMode;
            ReportDialogBase *dialog = dialogs.dialog(shot.layout);
            dialog->setReportData(report, shot.layout != ReportLayout::TrainReportTwoTwo_E);
            ok &= save(dialog, QSize(1920, 1080), folder, QStringLiteral("%1-%2").arg(QLatin1String(shot.name), language));
        }
        return ok;
    });
}

// The record list in a given language, whatever language the user saved.
class RecordListShot : public TrainRecord
{
public:
    int language = 0;

protected:
    int interfaceLanguage() const override { return language; }
};

// The record list with two pages of records and its delete dialog, in Chinese and in English.
// The records live in a database of their own in /tmp: the user's database is never opened.
bool saveRecordList(const QString &folder)
{
    QTemporaryDir data(QStringLiteral("/tmp/rotaflex-shots-XXXXXX"));
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!data.isValid() || !db->openDB(data.filePath(QStringLiteral("Rotaflex.db")), QStringLiteral("QSQLITE"))
        || !DatabaseSchema::createTables(db))
        return false;
    const struct
    {
        int bodyIndex;
        int trainMode;
        int seconds;
    } trainings[] = {{1, 0, 1205}, {2, 7, 1830}, {0, 1, 600},  {3, 2, 905}, {1, 8, 1200},
                     {2, 3, 1500}, {1, 4, 900},  {3, 10, 1210}, {0, 5, 720}, {2, 6, 1320},
                     {1, 7, 1800}, {3, 0, 610}, {1, 1, 1250}};
    QDateTime start(QDate(2024, 3, 18), QTime(9, 30, 12));
    for (const auto &t : trainings) {
        ST_TrainReport report;
        report.ID = 100001;
        report.name = QStringLiteral("张伟");
        report.bodyIndex = t.bodyIndex;
        report.trainMode = t.trainMode;
        report.trainTime = t.seconds;
        report.startTimeStr = start.toString(QLatin1String(kStartTimeFormat));
        if (!db->insertRowTable(QStringLiteral("TrainRecordTable"), TrainRecordToVariantMap(trainRecordFromReport(report))))
            return false;
        start = start.addDays(-2).addSecs(-3700);
    }

    RecordListShot list;
    list.slotCheckUserChanged(100001);
    QWidget host; // the dialog dims the window that asks
    host.resize(1920, 1080);
    DeleteReportDialog dialog(&host);
    return inBothLanguages([&](QLatin1String suffix) {
        list.language = suffix == QLatin1String("en") ? 1 : 0;
        const QSize size(1240, 900);
        bool ok = save(&list, size, folder, QStringLiteral("record-list-%1").arg(suffix));
        list.resize(size);
        list.show(); // shown first: showing goes back to page 1
        list.findChild<QPushButton *>(QStringLiteral("trainRecordBackPage_btn"))->click();
        ok &= save(&list, size, folder, QStringLiteral("record-list-page2-%1").arg(suffix));
        ok &= save(&dialog, QSize(1920, 1080), folder, QStringLiteral("dialog-delete-report-%1").arg(suffix));
        return ok;
    });
}

// Every training prompt over a full-screen page, in Chinese and in English; no alarm is left ringing.
bool saveTrainingPrompts(const QString &folder)
{
    QWidget page; // the prompts dim the window that opens them
    page.resize(1920, 1080);
    SpasmTipsDialog spasm(&page);
    EmergencyStopDialog emergency(&page);
    QuitBySpeedDialog overSpeed(&page);
    ParamTipsDialog speedQuestion(&page);
    QuitGameDialog quitGame(&page);
    HorizontalToVerticalDialog toVertical(&page);
    VerticalToHorizonDialog toHorizontal(&page);
    MachineStartDialog mounting(&page);
    PrescriptionDialog prescription(&page);
    ProtectGameStart loading(&page);
    const struct
    {
        QDialog *dialog;
        const char *name;
    } shots[] = {{&spasm, "prompt-spasm"},           {&emergency, "prompt-emergency"},
                 {&overSpeed, "prompt-over-speed"},  {&speedQuestion, "prompt-speed-question"},
                 {&quitGame, "prompt-quit-game"},    {&toVertical, "prompt-horizontal-to-vertical"},
                 {&toHorizontal, "prompt-vertical-to-horizontal"}, {&mounting, "prompt-mounting"},
                 {&prescription, "prompt-no-prescription"},       {&loading, "prompt-loading"}};

    return inBothLanguages([&](QLatin1String suffix) {
        // The mode page asks this question in the interface's language.
        speedQuestion.setMessage(suffix == QLatin1String("en")
                                     ? QStringLiteral("The set speed is above 30 r/min. Train at this speed?")
                                     : QStringLiteral("设定速度已超30r/min，确认使用该速度训练吗？"));
        spasm.showCount(3);
        spasm.stopSound();
        bool ok = true;
        for (const auto &shot : shots)
            ok &= save(shot.dialog, QSize(1920, 1080), folder, QStringLiteral("%1-%2").arg(QLatin1String(shot.name), suffix));
        return ok;
    });
}

} // namespace

int main(int argc, char *argv[])
{
    Q_INIT_RESOURCE(resources);
    qputenv("ROTAFLEX_UNATTENDED", "1"); // a missing serial port must not stop the run
    QApplication app(argc, argv);
    if (argc < 2) {
        QTextStream(stderr) << "usage: rotaflex-screenshots OUTPUT_FOLDER\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const Unattended unattended; // answers every box for the whole run
    Startup::applyStyleSheet();

    FesControlDialog::createInstance(std::make_unique<NoSerialPorts>());
    bool ok = true;
    const QSize screen(1920, 980);
    FesSetting pure;
    pure.slotDeviceStateChanged({1, 1, 0, 0});
    ok &= save(&pure, screen, folder, QStringLiteral("fes-page-pure"));
    FesSetting cycling;
    cycling.setFesType(FesSetting::FesCycling_E);
    ok &= save(&cycling, screen, folder, QStringLiteral("fes-page-cycling"));
    // A cycling channel whose muscle has no usable recipe window says so on its tile.
    cycling.slotDeviceStateChanged({1, 1, 0, 0});
    cycling.resize(screen);
    cycling.show(); // shown first: showing resets the tiles that were never set up
    if (auto *tile = cycling.findChild<MuscleButton *>(QStringLiteral("channelA2_Widget"))) {
        ST_ChannelParam record;
        record.muscleName = QObject::tr("股四头肌");
        record.muscleId = 30;
        record.frequency = 40;
        record.pulseWidth = 250;
        record.maxCurrent = 25;
        tile->setData(record);
        tile->setMode(FesSetting::FesCycling_E);
        tile->setSelected(true);
        tile->setNotice(QObject::tr("无配方"));
    }
    ok &= save(&cycling, screen, folder, QStringLiteral("fes-page-cycling-no-recipe"));

    FesTotalParamDialog value;
    value.setTitleAndUnit(QObject::tr("治疗时间"), QStringLiteral("min"));
    value.setRange(1, 120);
    value.setValue(20);
    ok &= save(&value, screen, folder, QStringLiteral("dialog-value"));

    ChannelOnlyDialog only;
    only.setTitle(3);
    only.setFrequentRange(10, 100);
    only.setFrequentValue(50);
    only.setPlusRange(50, 500);
    only.setPlusValue(200);
    ok &= save(&only, screen, folder, QStringLiteral("dialog-channel-only"));

    ChannelDialog channel;
    channel.setTitle(6);
    channel.setFrequentRange(10, 100);
    channel.setFrequentValue(40);
    channel.setPlusRange(50, 300);
    channel.setPlusValue(250);
    channel.setMaxCurrentValue(25);
    channel.selectMuscle(15);
    ok &= save(&channel, screen, folder, QStringLiteral("dialog-channel-cycling"));

    ok &= save(FesControlDialog::getInstance(), screen, folder, QStringLiteral("dialog-fes-manager"));
    MaiBoXueyangDialog oximeter;
    ok &= save(&oximeter, QSize(640, 720), folder, QStringLiteral("dialog-oximeter"));
    ok &= saveVolumeDialogs(screen, folder);
    ok &= saveReportDialogs(folder);
    ok &= saveRecordList(folder);
    ok &= saveTrainingPrompts(folder);
    const ShotSaver saveInFolder = [&folder](QWidget *widget, const QSize &size, const QString &name) {
        return save(widget, size, folder, name);
    };
    ok &= savePatientPages(inBothLanguages, saveInFolder);
    ok &= saveParameterPages(inBothLanguages, saveInFolder);
    GameControl::getInstance()->player()->setMuted(true); // pictures only: the spoken prompts stay silent
    ok &= saveModePages(inBothLanguages, saveInFolder);
    ok &= inBothLanguages([&folder](QLatin1String language) { return saveTrainingPage(folder, language); });
    CMainWindow window;
    ok &= inBothLanguages([&](QLatin1String language) {
        return saveMainWindowPages(window, folder, language) && saveLogin(folder, language);
    });
    return ok ? 0 : 1;
}
