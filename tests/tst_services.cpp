#include "app/languagemanager.h"
#include "app/logfile.h"
#include "app/startup.h"
#include "app/unattended.h"
#include "common/testworkdir.h"
#include "fes/recipexmlcontrol.h"
#include "game/gamecontrol.h"
#include "platform/inputmethodselector.h"
#include "platform/instancemarker.h"
#include "users/currentuserdata.h"

#include <QCoreApplication>
#include <QDir>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <string>

// The process-wide services of the application frame: game catalogue, current patient,
// language, log file, input method and the single-instance marker.
class TestServices : public QObject
{
    Q_OBJECT

private:
    static void writeGameList(TestWorkDir &dir, const QByteArray &xml)
    {
        dir.write(QStringLiteral("DependFile/ConfigFile/gameListConfig.xml"), xml);
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        // The language is kept beside the executable; start every run without it.
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/conf")).removeRecursively();
    }

    void cleanupTestCase()
    {
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/conf")).removeRecursively();
    }

    // ---- game catalogue ----

    void shippedCatalogueListsTheFourDemoGames()
    {
        TestWorkDir dir;
        QVERIFY(dir.copyFromRepo(QStringLiteral("ConfigFile/gameListConfig.xml")));
        GameControl::getInstance()->readGameList();
        const QList<ST_GameMsg> list = GameControl::getInstance()->getGameList();
        QCOMPARE(list.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(list.at(i).ID, i + 1);
            // Catches an entry that starts the demo game under a name whose window the host never finds.
            QCOMPARE(list.at(i).path + list.at(i).gameName, QStringLiteral("./DependFile/Game/") + list.at(i).windownName);
            // every icon the catalogue names must exist
            QVERIFY2(QFile::exists(QStringLiteral(ROTAFLEX_SOURCE_DIR) + QLatin1Char('/') + list.at(i).iconPath),
                     qPrintable(list.at(i).iconPath));
        }
        QCOMPARE(GameControl::getInstance()->getGameMsg(1).windownName, QStringLiteral("GM01_Alpha"));
    }

    // Duplicates, missing and bad IDs, other tag names and non-element children.
    void catalogueEntriesFollowTheirAttributes()
    {
        TestWorkDir dir;
        writeGameList(dir, R"(<?xml version="1.0" encoding="UTF-8"?>
<AnyRoot>
  <!-- a comment is no game -->
  <Game ID="7" gameName="a.exe" path="D:/games/" iconPath="i.png" className="C" windownName="W"/>
  text is no game either
  <Other ID="7" gameName="b.exe"/>
  <Game gameName="noid.exe"/>
  <Game ID="x3" gameName="bad.exe"/>
  <Game ID="9" GAMENAME="ignored.exe"><Nested ID="10"/></Game>
</AnyRoot>)");
        GameControl *games = GameControl::getInstance();
        games->readGameList();
        const QList<ST_GameMsg> list = games->getGameList();
        QCOMPARE(list.size(), 5);
        QCOMPARE(list.at(0).gameName, QStringLiteral("a.exe"));
        QCOMPARE(list.at(1).gameName, QStringLiteral("b.exe")); // both duplicates stay in the list
        QCOMPARE(list.at(2).ID, 0);
        QCOMPARE(list.at(3).ID, 0);
        QCOMPARE(list.at(4).gameName, QString()); // attribute names are case-sensitive

        const ST_GameMsg seven = games->getGameMsg(7); // the later duplicate wins in the map
        QCOMPARE(seven.gameName, QStringLiteral("b.exe"));
        QCOMPARE(seven.path, QString());
        QCOMPARE(games->getGameMsg(0).gameName, QStringLiteral("bad.exe"));
        QVERIFY(!games->getGameMap().contains(10)); // only the root's children count

        const ST_GameMsg none = games->getGameMsg(42);
        QCOMPARE(none.ID, 0);
        QVERIFY(none.gameName.isEmpty() && none.path.isEmpty() && none.windownName.isEmpty());

        games->setCurrentGameID(9);
        QCOMPARE(games->getCurrentGameMsg().ID, 9);
        games->setCurrentGameID(42);
        QCOMPARE(games->getCurrentGameMsg().ID, 0);
    }

    // A missing or broken catalogue keeps the one read before.
    void badCatalogueKeepsThePreviousOne()
    {
        TestWorkDir dir;
        writeGameList(dir, "<L><G ID=\"1\" gameName=\"one\"/></L>");
        GameControl *games = GameControl::getInstance();
        games->readGameList();
        QCOMPARE(games->getGameList().size(), 1);

        writeGameList(dir, "<L><G ID=\"2\" gameName=\"two\"/>");
        QTest::ignoreMessage(QtDebugMsg, "gameList error");
        games->readGameList();
        writeGameList(dir, QByteArray());
        QTest::ignoreMessage(QtDebugMsg, "gameList error");
        games->readGameList();
        QFile::remove(dir.filePath(QStringLiteral("DependFile/ConfigFile/gameListConfig.xml")));
        QTest::ignoreMessage(QtDebugMsg, "read gameListConfig failed");
        games->readGameList();

        QCOMPARE(games->getGameList().size(), 1);
        QCOMPARE(games->getGameMsg(1).gameName, QStringLiteral("one"));
        QCOMPARE(games->getGameMsg(2).ID, 0);
    }

    void prescriptionRecordIsKept()
    {
        ST_TrainParam param;
        param.ID = 100001;
        param.trainMode = 7;
        param.gameID = 3;
        GameControl::getInstance()->setTrainParam(param);
        QCOMPARE(GameControl::getInstance()->getTrainParam().trainMode, 7);
        QCOMPARE(GameControl::getInstance()->getTrainParam().gameID, 3);
    }

    // One player for every prompt, always at volume 90; a missing file must not hurt.
    void promptsShareOnePlayerAtVolume90()
    {
        TestWorkDir dir;
        GameControl *games = GameControl::getInstance();
        QMediaPlayer *player = games->player();
        player->setVolume(10);
        const QString missing = dir.filePath(QStringLiteral("DependFile/Music/none.mp3"));
        games->playSound(missing);
        QCOMPARE(games->player(), player);
        QCOMPARE(player->volume(), GameControl::kPromptVolume);
        QCOMPARE(player->media().request().url(), QUrl::fromLocalFile(missing));
        QTRY_VERIFY_WITH_TIMEOUT(player->mediaStatus() == QMediaPlayer::InvalidMedia
                                     || player->error() != QMediaPlayer::NoError,
                                 5000);
        games->playSound(missing); // again after the error
        QCOMPARE(player->volume(), 90);
        player->stop();

        // A relative path as the pages pass it: a silent prompt means a lost warning.
        QByteArray wav("RIFF\x24\x1f\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x80\x3e\0\0\x02\0\x10\0data\0\x1f\0\0", 44);
        wav.append(QByteArray(0x1f00, '\0'));
        QVERIFY(dir.write(QStringLiteral("DependFile/Music/tone.wav"), wav));
        games->playSound(QStringLiteral("./DependFile/Music/tone.wav"));
        QCOMPARE(player->media().request().url(), QUrl::fromLocalFile(dir.filePath(QStringLiteral("DependFile/Music/tone.wav"))));
        QTRY_VERIFY_WITH_TIMEOUT(player->mediaStatus() == QMediaPlayer::EndOfMedia
                                     || player->error() != QMediaPlayer::NoError,
                                 5000);
        QCOMPARE(player->error(), QMediaPlayer::NoError);
    }

    // ---- stimulation recipes ----

    // The shipped recipes: fifteen muscles each, angles on the crank circle, same order both ways.
    void shippedRecipesHoldFifteenMuscles()
    {
        TestWorkDir dir;
        QVERIFY(dir.copyFromRepo(QStringLiteral("ConfigFile/FESRecipeList.xml")));
        QVERIFY(dir.copyFromRepo(QStringLiteral("ConfigFile/FESRecipeListReverse.xml")));
        const RecipeXmlControl recipes;
        const QList<ST_RecipeParam> forward = recipes.getRecipeList();
        const QList<ST_RecipeParam> reverse = recipes.getRecipeReverseList();
        QCOMPARE(forward.size(), 15);
        QCOMPARE(reverse.size(), 15);
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(forward.at(i).ID, i + 1);
            QCOMPARE(reverse.at(i).name, forward.at(i).name);
            QVERIFY(!forward.at(i).name.isEmpty());
            for (const ST_RecipeParam &r : {forward.at(i), reverse.at(i)}) {
                QVERIFY(r.startAngle >= 0 && r.startAngle < 360);
                QVERIFY(r.stopAngle >= 0 && r.stopAngle < 360);
                QVERIFY(r.startAngle != r.stopAngle);
            }
        }
    }

    // Only element children count, in file order; missing attributes read as 0 or empty.
    void recipeEntriesComeInFileOrder()
    {
        TestWorkDir dir;
        const QByteArray xml = "<R><!-- comment --><M ID=\"3\" name=\"a\" startAngle=\"10\" stopAngle=\"20\"/>"
                               "text<X name=\"b\"/><M ID=\"1\" startAngle=\"x\"><M ID=\"9\"/></M></R>";
        dir.write(QStringLiteral("DependFile/ConfigFile/FESRecipeList.xml"), xml);
        dir.write(QStringLiteral("DependFile/ConfigFile/FESRecipeListReverse.xml"), xml);
        const RecipeXmlControl recipes;
        const QList<ST_RecipeParam> list = recipes.getRecipeList();
        QCOMPARE(list.size(), 3);
        QCOMPARE(list.at(0).ID, 3);
        QCOMPARE(list.at(0).stopAngle, 20);
        QCOMPARE(list.at(1).ID, 0);
        QCOMPARE(list.at(1).name, QStringLiteral("b"));
        QCOMPARE(list.at(2).startAngle, 0);
        QCOMPARE(recipes.getRecipeReverseList().size(), 3);
    }

    void badRecipeFilesLeaveEmptyLists()
    {
        TestWorkDir dir;
        {
            QTest::ignoreMessage(QtDebugMsg, "read FESRecipeList failed");
            const RecipeXmlControl recipes; // neither file
            QVERIFY(recipes.getRecipeList().isEmpty() && recipes.getRecipeReverseList().isEmpty());
        }
        dir.write(QStringLiteral("DependFile/ConfigFile/FESRecipeList.xml"), "<R><M ID=\"1\"/>");
        {
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^gameList error ")));
            const RecipeXmlControl recipes; // cut off: the reverse file is not read either
            QVERIFY(recipes.getRecipeList().isEmpty() && recipes.getRecipeReverseList().isEmpty());
        }
        dir.write(QStringLiteral("DependFile/ConfigFile/FESRecipeList.xml"), "<R><M ID=\"1\"/></R>");
        {
            QTest::ignoreMessage(QtDebugMsg, "read FESRecipeListReverse failed");
            const RecipeXmlControl recipes;
            QCOMPARE(recipes.getRecipeList().size(), 1);
            QVERIFY(recipes.getRecipeReverseList().isEmpty());
        }
        dir.write(QStringLiteral("DependFile/ConfigFile/FESRecipeListReverse.xml"), QByteArray());
        {
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^gameList2 error ")));
            const RecipeXmlControl recipes;
            QCOMPARE(recipes.getRecipeList().size(), 1);
            QVERIFY(recipes.getRecipeReverseList().isEmpty());
        }
    }

    // ---- current patient ----

    void currentPatientIsEmptyUntilSetAndSignalsEverySet()
    {
        CurrentUserData *user = CurrentUserData::getInstance();
        QCOMPARE(user->getCurrentPatientMsg().ID, 0u);
        QVERIFY(user->getCurrentPatientMsg().name.isEmpty());
        QVERIFY(user->getCurrentPatientMsg().birthday.isNull());

        QSignalSpy spy(user, &CurrentUserData::signalUserChanged);
        const ST_PatientMsg patient = CurrentUserData::defaultPatient();
        user->setCurrentUserMsg(patient);
        user->setCurrentUserMsg(patient);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(user->getCurrentPatientMsg().ID, 100000u);
        QCOMPARE(user->getCurrentPatientMsg().name, QStringLiteral("zenk"));
        QCOMPARE(user->getCurrentPatientMsg().age, 0);
    }

    // ---- language ----

    // No saved language: Chinese, and the conf folder beside the executable appears.
    void languageStartsChineseAndIsSaved()
    {
        const QString conf = QCoreApplication::applicationDirPath() + QStringLiteral("/conf");
        QVERIFY(!QDir(conf).exists());
        LanguageManager *language = LanguageManager::getInstance();
        QCOMPARE(language->getLanguage(), int(Chinese_E));
        QVERIFY(QDir(conf).exists());

        TestWorkDir dir;
        QVERIFY(QFile::copy(QStringLiteral(ROTAFLEX_RUN_DIR "/Rotaflex_EN.qm"), dir.filePath(QStringLiteral("Rotaflex_EN.qm"))));
        QVERIFY(QFile::copy(QStringLiteral(ROTAFLEX_RUN_DIR "/Rotaflex_CN.qm"), dir.filePath(QStringLiteral("Rotaflex_CN.qm"))));

        language->setLanguage(English_E);
        QCOMPARE(language->getLanguage(), int(English_E));
        QCOMPARE(QSettings(LanguageManager::settingsFilePath(), QSettings::IniFormat).value(QStringLiteral("language")).toUInt(), 1u);
        QCOMPARE(QCoreApplication::translate("TrainRecord", "被动"), QStringLiteral("Passive"));

        language->setLanguage(Chinese_E);
        QCOMPARE(QCoreApplication::translate("TrainRecord", "被动"), QStringLiteral("被动"));
        QCOMPARE(language->readLanguage(), int(Chinese_E));

        // What the next start reads.
        language->setLanguage(English_E);
        QCOMPARE(language->readLanguage(), int(English_E));
    }

    // An unknown language loads nothing but is saved and read back.
    void unknownLanguageIsSavedWithoutTranslation()
    {
        TestWorkDir dir;
        LanguageManager *language = LanguageManager::getInstance();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^translation not loaded: ")));
        language->setLanguage(Chinese_E); // no .qm here: the index still changes
        QCOMPARE(language->getLanguage(), 0);
        // Catches a failed load that empties the installed translation: the texts stay English.
        QCOMPARE(QCoreApplication::translate("TrainRecord", "被动"), QStringLiteral("Passive"));
        language->setLanguage(static_cast<E_LANGUAGE>(2));
        QCOMPARE(language->getLanguage(), 2);
        QCOMPARE(language->readLanguage(), 2);
    }

    // ---- log file ----

    void logLinesAreTimeStampedAndRotated()
    {
        TestWorkDir dir;
        const QString folder = dir.filePath(QStringLiteral("DependFile/log"));
        // keep the two hundred lines out of the test output
        const QtMessageHandler testHandler = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        LogFile::install(folder, 2048, 3);
        for (int i = 0; i < 200; ++i)
            qDebug().noquote() << QStringLiteral("line %1 电流").arg(i, 4, 10, QLatin1Char('0'));
        LogFile::uninstall();
        qInstallMessageHandler(testHandler);

        QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 3); // capped
        for (const QString &name : files)
            QVERIFY(QFileInfo(folder + QLatin1Char('/') + name).size() <= 2048);

        QFile current(LogFile::fileName(folder, 0));
        QVERIFY(current.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(current.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty());
        QVERIFY(QRegularExpression(QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[D\] line 0199 电流$)"))
                    .match(lines.last()).hasMatch());
        // the oldest file holds older lines than the newest
        QFile oldest(LogFile::fileName(folder, 2));
        QVERIFY(oldest.open(QIODevice::ReadOnly));
        QVERIFY(oldest.readAll().contains("line 01"));
    }

    void logMessagesStillReachThePreviousHandler()
    {
        TestWorkDir dir;
        const QString folder = dir.filePath(QStringLiteral("log"));
        // Lines from before the log is known to be this copy's wait in memory, then come first.
        LogFile::hold();
        // QTest's own handler sits behind ours: an expected message must still arrive there.
        QTest::ignoreMessage(QtWarningMsg, "held back");
        qWarning("held back");
        QVERIFY(!QFileInfo::exists(folder));
        LogFile::install(folder);
        QTest::ignoreMessage(QtWarningMsg, "seen by both");
        qWarning("seen by both");
        QFile file(LogFile::fileName(folder, 0));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(QRegularExpression(QStringLiteral("\\[W\\] held back\n.*\\[W\\] seen by both\n$"))
                    .match(QString::fromUtf8(file.readAll())).hasMatch());
        file.close();

        // Catches lines lost into a deleted folder: the next line makes it again.
        QVERIFY(QDir(folder).removeRecursively());
        QTest::ignoreMessage(QtWarningMsg, "after the folder went");
        qWarning("after the folder went");
        LogFile::uninstall();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("[W] after the folder went"));
    }

    // ---- style sheet ----

    // The file is Latin-1 text up to its first zero byte.
    void styleSheetStopsAtTheFirstZeroByte()
    {
        TestWorkDir dir;
        dir.write(QStringLiteral("DependFile/QSS/app.txt"), QByteArray("QLabel{font-family:\"Caf\xe9\";}\0QWidget{color:red;}", 47));
        QVERIFY(Startup::applyStyleSheet());
        QCOMPARE(qApp->styleSheet(), QStringLiteral("QLabel{font-family:\"Caf\u00e9\";}"));
        qApp->setStyleSheet(QString());
    }

    // The shipped style sheet is plain ASCII and parses without complaint.
    void shippedStyleSheetIsAscii()
    {
        QFile file(QStringLiteral(ROTAFLEX_SOURCE_DIR "/DependFile/QSS/app.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.size() > 1000);
        for (char c : bytes)
            QVERIFY(uint8_t(c) < 0x80 && c != '\0');
    }

    // ---- platform ----

    void inputMethodChoice_data()
    {
        QTest::addColumn<QByteArray>("current");
        QTest::addColumn<bool>("windows");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("windows keyboard") << QByteArray() << true << false << QByteArray("tgtsml");
        QTest::newRow("windows overrides") << QByteArray("ibus") << true << true << QByteArray("tgtsml");
        QTest::newRow("user choice kept") << QByteArray("ibus") << false << true << QByteArray();
        QTest::newRow("virtual keyboard") << QByteArray() << false << true << QByteArray("qtvirtualkeyboard");
        QTest::newRow("nothing installed") << QByteArray() << false << false << QByteArray();
    }

    void inputMethodChoice()
    {
        QFETCH(QByteArray, current);
        QFETCH(bool, windows);
        QFETCH(bool, installed);
        QFETCH(QByteArray, expected);
        QCOMPARE(InputMethodSelector::choose(current, windows, installed), expected);
    }

    // A held marker refuses a second holder until it is released; release is idempotent.
    void instanceMarkerIsExclusiveAndReleasable()
    {
        // Keys of this process only, should no private network namespace hide the names.
        const std::string key = "unit_test-" + std::to_string(QCoreApplication::applicationPid());
        platform::InstanceMarker first(key);
        QCOMPARE(first.acquire(), platform::InstanceMarker::Result::Acquired);
        QCOMPARE(first.acquire(), platform::InstanceMarker::Result::Acquired);
        {
            platform::InstanceMarker second(key);
            QCOMPARE(second.acquire(), platform::InstanceMarker::Result::HeldByLiveCopy);
        }
        platform::InstanceMarker other(key + "-other");
        QCOMPARE(other.acquire(), platform::InstanceMarker::Result::Acquired);
        first.release();
        first.release();
        platform::InstanceMarker third(key);
        QCOMPARE(third.acquire(), platform::InstanceMarker::Result::Acquired);
    }

    // Catches an unattended answer that outlives start-up: a prompt of the running program (a
    // spasm, an emergency stop) must wait for a person.
    void unattendedAnswersOnlyWhileItLives()
    {
        qputenv("ROTAFLEX_UNATTENDED", "1");
        {
            const Unattended unattended;
            QMessageBox box(QMessageBox::Warning, QStringLiteral("start-up"), QStringLiteral("answered"));
            QTest::ignoreMessage(QtDebugMsg, "unattended: closing \"start-up\"");
            box.exec();
        }
        QMessageBox prompt(QMessageBox::Warning, QStringLiteral("prompt"), QStringLiteral("waits"));
        prompt.open();
        QTest::qWait(600); // three answer intervals
        QVERIFY(prompt.isVisible());
        prompt.close();
        qunsetenv("ROTAFLEX_UNATTENDED");
    }
};

QTEST_MAIN(TestServices)
#include "tst_services.moc"
