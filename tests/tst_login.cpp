#include "app/languagemanager.h"
#include "common/fessimboxes.h"
#include "common/testworkdir.h"
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "fes/fescontroldialog.h"
#include "platform/simulatedsystempower.h"
#include "platform/systempower.h"
#include "users/loginwidget.h"
#include "users/operatoraccount.h"
#include "users/shutdeondialog.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

const QString kAccountFile = QStringLiteral("DependFile/conf/IDconf.ini");
const QString kRememberFile = QStringLiteral("DependFile/conf/remberIDconf.ini");
const QByteArray kAnna = "[General]\nuserName=anna\npassword=secret\n";
const QByteArray kCutShort = "[General\nuserName=anna\n";

// Stands in for the operating system: a request is noted in the shared list of ways out.
class PowerDouble : public platform::SystemPower
{
public:
    explicit PowerDouble(QStringList *events) : m_events(events) {}
    std::string name() const override { return "power double"; }
    bool powerOff() override
    {
        *m_events << QStringLiteral("power off");
        return succeed();
    }

private:
    QStringList *m_events;
};

// A login whose quit and power-off are only noted in events, in the order they come.
std::unique_ptr<LoginWidget> makeLogin(QStringList *events)
{
    return std::make_unique<LoginWidget>(nullptr, std::make_unique<PowerDouble>(events),
                                         [events] { *events << QStringLiteral("quit"); });
}

template<typename T>
T *child(const QObject *parent, const char *name)
{
    return parent->findChild<T *>(QLatin1String(name));
}

QString text(const QObject *parent, const char *name)
{
    return child<QLineEdit>(parent, name)->text();
}

} // namespace

// The login screen, the operator account and its ini files in a fresh working folder per case;
// the ways out of the program with doubles for the quit and the power-off, and against the
// simulated FES adapter as a real process.
class TestLogin : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    QTemporaryDir m_boxesDir;
    std::unique_ptr<FesSimBoxes> m_boxes;

    // The setups under which the account cannot be written.
    void makeUnwritable(const QString &setup)
    {
        if (setup == QLatin1String("conf is a file"))
            QVERIFY(m_dir->write(QStringLiteral("DependFile/conf"), "not a folder"));
        else if (setup == QLatin1String("ini is a folder"))
            QVERIFY(QDir(m_dir->path()).mkpath(kAccountFile));
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        Q_INIT_RESOURCE(resources);
    }

    void init()
    {
        m_dir = std::make_unique<TestWorkDir>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup() { m_dir.reset(); }

    // The safety net under every test: nothing made with the product's defaults switches the
    // computer off.
    void theSuiteOnlySimulatesPowerOff()
    {
        QVERIFY(qEnvironmentVariableIsSet(platform::kSimulatePowerOffVariable));
        QVERIFY(dynamic_cast<platform::SimulatedSystemPower *>(platform::makeSystemPower().get()));
    }

    void loginChecksTheStoredAccount_data()
    {
        QTest::addColumn<QByteArray>("ini"); // null: no file
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("torqueAccepts");
        QTest::newRow("right") << kAnna << "anna" << "secret" << int(OperatorAccount::Accepted) << true;
        QTest::newRow("user right, password wrong") << kAnna << "anna" << "wrong" << int(OperatorAccount::WrongPassword) << false;
        QTest::newRow("both wrong") << kAnna << "bob" << "wrong" << int(OperatorAccount::WrongUserName) << false;
        QTest::newRow("user name in other case") << kAnna << "Anna" << "secret" << int(OperatorAccount::WrongUserName) << true;
        // Catches empty fields let in when no account file exists.
        QTest::newRow("missing file, empty fields") << QByteArray() << "" << "" << int(OperatorAccount::WrongUserName) << false;
        QTest::newRow("missing file, built-in account") << QByteArray() << "zenk" << "482915" << int(OperatorAccount::Accepted) << true;
        // Catches an account file without a user name letting empty fields in.
        QTest::newRow("no user name, empty fields") << QByteArray("[General]\npassword=\n") << "" << "" << int(OperatorAccount::WrongUserName) << false;
        // Catches a stray password beside a missing user name taking the built-in one's place.
        QTest::newRow("no user name, stray password") << QByteArray("[General]\npassword=abc\n") << "zenk" << "abc" << int(OperatorAccount::WrongPassword) << false;
        // Catches a file cut short yielding its user name with an empty password (the second
        // reader of a file is not told that it did not parse).
        QTest::newRow("file cut short") << kCutShort << "anna" << "" << int(OperatorAccount::WrongUserName) << false;
        QTest::newRow("not an ini file") << QByteArray("\x01\x02\xff\xfe=\n=\n", 10) << "zenk" << "482915" << int(OperatorAccount::Accepted) << true;
        QTest::newRow("stored empty password") << QByteArray("[General]\nuserName=anna\npassword=\n") << "anna" << "" << int(OperatorAccount::Accepted) << true;
    }

    // Only the first wrong field shows its tip, the dialog ends with 1 only for the account in
    // force, and the torque dialog checks against the same password.
    void loginChecksTheStoredAccount()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(int, expected);
        QFETCH(bool, torqueAccepts);
        if (!ini.isNull())
            QVERIFY(m_dir->write(kAccountFile, ini));
        QStringList events;
        auto login = makeLogin(&events);
        child<QLineEdit>(login.get(), "userName_LineEdit")->setText(user);
        child<QLineEdit>(login.get(), "password_LineEdit")->setText(password);
        QSignalSpy results(login.get(), &LoginWidget::signalResult);
        login->open();
        child<QPushButton>(login.get(), "confirm_Btn")->click();

        QCOMPARE(results.count(), expected == OperatorAccount::Accepted ? 1 : 0);
        QCOMPARE(login->isVisible(), expected != OperatorAccount::Accepted);
        QCOMPARE(login->result(), expected == OperatorAccount::Accepted ? 1 : 0);
        auto *userTip = child<QLabel>(login.get(), "userNameTips_Label");
        auto *passwordTip = child<QLabel>(login.get(), "passwordTips_Label");
        QCOMPARE(!userTip->isHidden(), expected == OperatorAccount::WrongUserName);
        QCOMPARE(!passwordTip->isHidden(), expected == OperatorAccount::WrongPassword);
        QCOMPARE(userTip->text(), QStringLiteral("用户名输入错误"));
        QCOMPARE(passwordTip->text(), QStringLiteral("密码输入错误"));
        QCOMPARE(OperatorAccount().checkPassword(password), torqueAccepts);
        QVERIFY(events.isEmpty());
    }

    // Typing hides the tips of its field and the forgotten-password hint.
    void typingHidesTheTips()
    {
        QStringList events;
        auto login = makeLogin(&events);
        auto *userTip = child<QLabel>(login.get(), "userNameTips_Label");
        auto *passwordTip = child<QLabel>(login.get(), "passwordTips_Label");
        auto *forgotTip = child<QLabel>(login.get(), "forgetPasswordTips_Label");
        QVERIFY(userTip->isHidden() && passwordTip->isHidden() && forgotTip->isHidden());
        child<QPushButton>(login.get(), "forgetPassword_Btn")->click();
        QCOMPARE(forgotTip->text(), QStringLiteral("请联系管理员获取初始密码"));
        QVERIFY(!forgotTip->isHidden());
        child<QLineEdit>(login.get(), "userName_LineEdit")->setText(QStringLiteral("x"));
        child<QPushButton>(login.get(), "confirm_Btn")->click();
        QVERIFY(!userTip->isHidden() && forgotTip->isHidden());
        child<QLineEdit>(login.get(), "password_LineEdit")->setText(QStringLiteral("y"));
        QVERIFY(!userTip->isHidden());
        child<QLineEdit>(login.get(), "userName_LineEdit")->setText(QStringLiteral("zenk"));
        QVERIFY(userTip->isHidden());
        child<QPushButton>(login.get(), "confirm_Btn")->click();
        QVERIFY(!passwordTip->isHidden());
        child<QLineEdit>(login.get(), "password_LineEdit")->setText(QStringLiteral("4"));
        QVERIFY(passwordTip->isHidden());
        QCOMPARE(child<QLineEdit>(login.get(), "password_LineEdit")->echoMode(), QLineEdit::Password);
    }

    // Catches Escape or a window close ending the login, which let the program past it.
    void onlyALoginOrAWayOutEndsIt()
    {
        QStringList events;
        auto login = makeLogin(&events);
        QSignalSpy finished(login.get(), &QDialog::finished);
        login->open();
        QTest::keyClick(login.get(), Qt::Key_Escape);
        QVERIFY(!login->close());
        QVERIFY(login->isVisible());
        QCOMPARE(finished.count(), 0);
    }

    void rememberedLogin_data()
    {
        QTest::addColumn<QByteArray>("before"); // null: nothing remembered yet
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("prefilled");
        QTest::addColumn<QString>("userAfter");
        QTest::addColumn<QString>("passwordAfter");
        const QByteArray old("[General]\nuserName=old\npassword=oldpw\n");
        QTest::newRow("nothing remembered, ticked") << QByteArray() << true << "secret" << "" << "anna" << "secret";
        QTest::newRow("ticked") << old << true << "secret" << "old" << "anna" << "secret";
        // Catches the remember file written although the choice was unticked.
        QTest::newRow("unticked keeps the old file") << old << false << "secret" << "old" << "old" << "oldpw";
        QTest::newRow("failed login keeps the old file") << old << true << "wrong" << "old" << "old" << "oldpw";
    }

    // The form starts with what the remember file holds, and only a successful login with the
    // choice ticked replaces it; the next start shows what the file then holds.
    void rememberedLogin()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, tick);
        QFETCH(QString, password);
        QFETCH(QString, prefilled);
        QFETCH(QString, userAfter);
        QFETCH(QString, passwordAfter);
        QVERIFY(m_dir->write(kAccountFile, kAnna));
        if (!before.isNull())
            QVERIFY(m_dir->write(kRememberFile, before));
        QStringList events;
        auto login = makeLogin(&events);
        QCOMPARE(text(login.get(), "userName_LineEdit"), prefilled);
        auto *remember = child<QRadioButton>(login.get(), "remember_RadioButton");
        QVERIFY(remember->isChecked());
        if (!tick)
            remember->click();
        QCOMPARE(remember->isChecked(), tick);
        child<QLineEdit>(login.get(), "userName_LineEdit")->setText(QStringLiteral("anna"));
        child<QLineEdit>(login.get(), "password_LineEdit")->setText(password);
        child<QPushButton>(login.get(), "confirm_Btn")->click();

        const OperatorAccount::Credentials stored = OperatorAccount().remembered();
        QCOMPARE(stored.userName, userAfter);
        QCOMPARE(stored.password, passwordAfter);
        auto next = makeLogin(&events);
        QCOMPARE(text(next.get(), "userName_LineEdit"), userAfter);
        QCOMPARE(text(next.get(), "password_LineEdit"), passwordAfter);
    }

    void passwordChange_data()
    {
        QTest::addColumn<QByteArray>("ini"); // null: no file
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("oldPassword");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("userAfter");
        QTest::addColumn<QString>("passwordAfter");
        const QString special = QStringLiteral(" a;b=c,d%é \"q\" ");
        QTest::newRow("wrong old, matching new") << kAnna << "" << "nope" << "n1" << "n1" << int(OperatorAccount::WrongOld)
                                                 << "原密码输入错误" << "anna" << "secret";
        QTest::newRow("new fields differ") << kAnna << "" << "secret" << "n1" << "n2" << int(OperatorAccount::Mismatch)
                                           << "两次输入的密码不同" << "anna" << "secret";
        QTest::newRow("changed") << kAnna << "" << "secret" << "n1" << "n1" << int(OperatorAccount::Changed)
                                 << "密码更新成功" << "anna" << "n1";
        QTest::newRow("empty new password") << kAnna << "" << "secret" << "" << "" << int(OperatorAccount::Changed)
                                            << "密码更新成功" << "anna" << "";
        // Catches a hand-written file format that mangles quotes, separators or spaces.
        QTest::newRow("every character kept") << kAnna << "" << "secret" << special << special
                                              << int(OperatorAccount::Changed) << "密码更新成功" << "anna" << special;
        // Catches a change under the built-in account that the next read loses again.
        QTest::newRow("built-in account changed") << QByteArray() << "" << "482915" << "n1" << "n1"
                                                  << int(OperatorAccount::Changed) << "密码更新成功" << "zenk" << "n1";
        // Catches the empty old password accepted when no file exists.
        QTest::newRow("no file, empty old") << QByteArray() << "" << "" << "n1" << "n1" << int(OperatorAccount::WrongOld)
                                            << "原密码输入错误" << "zenk" << "482915";
        // Catches a write into an unwritable folder reported as a success.
        QTest::newRow("conf folder is a file") << QByteArray() << "conf is a file" << "482915" << "n1" << "n1"
                                               << int(OperatorAccount::WriteFailed) << "密码保存失败，请检查配置文件夹"
                                               << "zenk" << "482915";
        QTest::newRow("ini file is a folder") << QByteArray() << "ini is a folder" << "482915" << "n1" << "n1"
                                              << int(OperatorAccount::WriteFailed) << "密码保存失败，请检查配置文件夹"
                                              << "zenk" << "482915";
    }

    // The change checks the old password, then the two new fields, and reports a failed write;
    // the account in force afterwards is what the next login and the torque dialog check.
    void passwordChange()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, setup);
        QFETCH(QString, oldPassword);
        QFETCH(QString, newPassword);
        QFETCH(QString, confirm);
        QFETCH(int, expected);
        QFETCH(QString, message);
        QFETCH(QString, userAfter);
        QFETCH(QString, passwordAfter);
        if (!ini.isNull())
            QVERIFY(m_dir->write(kAccountFile, ini));
        makeUnwritable(setup);
        OperatorAccount account;
        const OperatorAccount::ChangeResult result = account.changePassword(oldPassword, newPassword, confirm);
        QCOMPARE(int(result), expected);
        QCOMPARE(OperatorAccount::changeMessage(result), message);
        QCOMPARE(account.lastError().isEmpty(), result != OperatorAccount::WriteFailed);
        const OperatorAccount reread;
        QCOMPARE(reread.checkLogin(userAfter, passwordAfter), OperatorAccount::Accepted);
        QVERIFY(reread.checkPassword(passwordAfter));
    }

    void passwordReset_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("message");
        QTest::newRow("changed account") << kAnna << "" << true << "密码重置成功";
        QTest::newRow("file cut short") << kCutShort << "" << true << "密码重置成功";
        // Catches a reset into an unwritable folder reported as a success.
        QTest::newRow("conf folder is a file") << QByteArray() << "conf is a file" << false << "密码重置失败，请检查配置文件夹";
    }

    // The reset writes the built-in account into a file that then parses.
    void passwordReset()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, setup);
        QFETCH(bool, done);
        QFETCH(QString, message);
        if (!ini.isNull())
            QVERIFY(m_dir->write(kAccountFile, ini));
        makeUnwritable(setup);
        OperatorAccount account;
        QCOMPARE(account.reset(), done);
        QCOMPARE(OperatorAccount::resetMessage(done), message);
        QCOMPARE(OperatorAccount::messageTitle(), QStringLiteral("提示"));
        if (!done)
            return;
        const QSettings file(m_dir->filePath(kAccountFile), QSettings::IniFormat);
        QCOMPARE(file.status(), QSettings::NoError);
        QCOMPARE(file.value(QStringLiteral("userName")).toString(), QStringLiteral("zenk"));
        QCOMPARE(file.value(QStringLiteral("password")).toString(), QStringLiteral("482915"));
    }

    void hiddenExit_data()
    {
        QTest::addColumn<QList<int>>("bursts"); // taps, with a pause beyond the period between bursts
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("countAfter");
        QTest::newRow("ten taps") << QList<int>{10} << QStringList{"quit"} << 10;
        QTest::newRow("nine taps, a pause, one") << QList<int>{9, 1} << QStringList{} << 1;
        QTest::newRow("nine taps, a pause, ten") << QList<int>{9, 10} << QStringList{"quit"} << 10;
        // Catches taps after the tenth quitting a second time.
        QTest::newRow("twelve taps") << QList<int>{12} << QStringList{"quit"} << 10;
    }

    // Ten taps within one period end the program and close the login; a pause beyond the
    // period starts the count again.
    void hiddenExit()
    {
        QFETCH(QList<int>, bursts);
        QFETCH(QStringList, events);
        QFETCH(int, countAfter);
        QStringList seen;
        auto login = makeLogin(&seen);
        auto *tapTimer = child<QTimer>(login.get(), "tap_Timer");
        QCOMPARE(tapTimer->interval(), 5000);
        tapTimer->setInterval(150);
        login->open();
        auto *logo = child<QLabel>(login.get(), "company_Label");
        for (int burst = 0; burst < bursts.size(); ++burst) {
            if (burst > 0)
                QTRY_COMPARE(login->tapCount(), 0);
            for (int tap = 0; tap < bursts.at(burst); ++tap)
                QTest::mouseClick(logo, Qt::LeftButton);
        }
        QCOMPARE(login->tapCount(), countAfter);
        if (events.isEmpty()) {
            QVERIFY(!child<QTimer>(login.get(), "quit_Timer")->isActive());
        } else {
            QVERIFY(login->isVisible()); // the boxes' frame leaves first
            QTRY_VERIFY(!login->isVisible());
        }
        QCOMPARE(seen, events);
        QCOMPARE(login->result(), 0);
    }

    void shutdown_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("cancel") << "cancel" << QStringList{};
        QTest::newRow("escape") << "escape" << QStringList{};
        QTest::newRow("confirm") << "confirm" << QStringList{"quit", "power off"};
        // Catches the power-off lost when the ended event loop cuts its wait short.
        QTest::newRow("confirm, program ends in the wait") << "confirm, ends" << QStringList{"quit", "power off"};
    }

    // The question opens without blocking; confirmed, the program quits and the computer is
    // switched off after the wait, exactly once.
    void shutdown()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, events);
        QStringList seen;
        auto login = makeLogin(&seen);
        login->open();
        child<QTimer>(login.get(), "powerOff_Timer")->setInterval(50);
        child<QPushButton>(login.get(), "pushButton")->click();
        auto *question = login->findChild<ShutdeonDialog *>();
        QVERIFY(question && question->isVisible());
        QCOMPARE(child<QLabel>(question, "text_Label")->text(), QStringLiteral("是否关机?"));
        QTest::ignoreMessage(QtDebugMsg, answer.startsWith(QLatin1String("confirm")) ? "关机值：1" : "关机值：0");
        if (answer == QLatin1String("cancel"))
            child<QPushButton>(question, "cancel_Btn")->click();
        else if (answer == QLatin1String("escape"))
            QTest::keyClick(question, Qt::Key_Escape);
        else
            child<QPushButton>(question, "confirm_Btn")->click();
        QVERIFY(!question->isVisible());
        if (answer == QLatin1String("confirm, ends")) {
            QTRY_COMPARE(seen, QStringList{"quit"});
            login.reset();
        }
        QTRY_COMPARE(seen, events);
        login.reset();
        QCOMPARE(seen, events);
    }

    void languageOfTheLogin_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("logo");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("title");
        QTest::newRow("Chinese") << int(Chinese_E) << "border-image: url(:/DependFile/Source/login/company.png);" << "黑体" << "登录";
        QTest::newRow("English") << int(English_E) << "border-image: url(:/DependFile/Source/login/company_En.png);" << "Arial" << "Login";
    }

    // Showing picks the logo and font of the language; a language change translates the form
    // and leaves what is in the fields.
    void languageOfTheLogin()
    {
        QFETCH(int, language);
        QFETCH(QString, logo);
        QFETCH(QString, family);
        QFETCH(QString, title);
        for (const char *file : {"Rotaflex_EN.qm", "Rotaflex_CN.qm"})
            QVERIFY(QFile::copy(QStringLiteral(ROTAFLEX_RUN_DIR "/") + QLatin1String(file), QLatin1String(file)));
        QVERIFY(m_dir->write(kRememberFile, "[General]\nuserName=anna\npassword=secret\n"));
        QStringList events;
        auto login = makeLogin(&events);
        child<QLineEdit>(login.get(), "password_LineEdit")->setText(QStringLiteral("typed"));
        LanguageManager::getInstance()->setLanguage(E_LANGUAGE(language));
        login->show();
        QTRY_COMPARE(child<QLabel>(login.get(), "title_Label")->text(), title);
        QCOMPARE(child<QLabel>(login.get(), "company_Label")->styleSheet(), logo);
        const QFont font = child<QLabel>(login.get(), "productionName_Label")->font();
        QCOMPARE(font.family(), family);
        QCOMPARE(font.pointSize(), 18);
        // Catches a language change (the saved English one at start-up) wiping the remembered login.
        QCOMPARE(text(login.get(), "userName_LineEdit"), QStringLiteral("anna"));
        QCOMPARE(text(login.get(), "password_LineEdit"), QStringLiteral("typed"));
        LanguageManager::getInstance()->setLanguage(Chinese_E);
    }

    void waysOutSwitchTheBoxesOff_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("ten taps") << "ten taps";
        QTest::newRow("shutdown confirmed") << "shutdown confirmed";
    }

    // With boxes stimulating, both ways out switch them off, as the simulated adapter, a real
    // process, shows, before the program quits.
    void waysOutSwitchTheBoxesOff()
    {
        QFETCH(QString, way);
        FesControlDialog *fes = nullptr;
        if (!m_boxes) {
            QVERIFY(m_boxesDir.isValid());
            CDatabaseInterface *db = CDatabaseInterface::getInstance();
            QVERIFY(db->openDB(m_boxesDir.filePath(QStringLiteral("boxes.db")), QStringLiteral("QSQLITE")));
            QVERIFY(DatabaseSchema::createTables(db));
            m_boxes = std::make_unique<FesSimBoxes>(QStringLiteral(FES_SIM));
            m_boxes->connectBoxes();
            fes = FesControlDialog::getInstance();
        } else {
            fes = FesControlDialog::getInstance();
            for (uint8_t box : {1, 2}) {
                m_boxes->sim().type(QStringLiteral("on %1").arg(box));
                QTRY_VERIFY(m_boxes->sim().hasLine(QStringLiteral("  box %1 switched on").arg(box)));
                fes->slotConnectDevice(true, box);
                QTRY_VERIFY_WITH_TIMEOUT(fes->isDeviceConnected(box), 5000);
            }
        }
        for (uint8_t box : {1, 2})
            fes->switchOutput(box, 1, 1);
        QTRY_VERIFY_WITH_TIMEOUT(m_boxes->channelState(2, 1).contains(QStringLiteral("output on")), 5000);

        QStringList events;
        auto login = makeLogin(&events);
        login->open();
        if (way == QLatin1String("ten taps")) {
            for (int tap = 0; tap < LoginWidget::kTapsToExit; ++tap)
                QTest::mouseClick(child<QLabel>(login.get(), "company_Label"), Qt::LeftButton);
        } else {
            child<QPushButton>(login.get(), "pushButton")->click();
            child<QPushButton>(login->findChild<ShutdeonDialog *>(), "confirm_Btn")->click();
        }
        QVERIFY(events.isEmpty()); // the program waits for the frame to reach the boxes
        QTRY_VERIFY_WITH_TIMEOUT(m_boxes->allOutputsOff(), 5000);
        for (int box : {1, 2})
            QVERIFY(m_boxes->channelState(box, 0).contains(QStringLiteral("switched off")));
        QTRY_VERIFY(events.contains(QStringLiteral("quit")));
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
