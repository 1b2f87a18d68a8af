#include "app/configmanager.h"
#include "app/languagemanager.h"
#include "comm/ccommunicateapi.h"
#include "common/feslinkpty.h"
#include "common/loopbacktrainer.h"
#include "common/modalcloser.h"
#include "common/testworkdir.h"
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "fes/fescontroldialog.h"
#include "fes/fesprotocol.h"
#include "fes/maiboxueyangdialog.h"
#include "shell/settingwidget.h"
#include "shell/torquedialog.h"
#include "training/icemodule.h"
#include "users/operatoraccount.h"

#include <QFile>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

// The settings page: tabs, the version query on every showing, the torque level behind the
// operator password, the language radios, the height buttons, the password tab and the FES and
// pulse-oximeter controls, on a loopback UDP trainer and a pseudo-terminal FES adapter.
class TestSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<LoopbackTrainer> m_trainer;
    std::unique_ptr<PtyPair> m_fesAdapter;
    std::unique_ptr<SettingWidget> m_page;

    template<typename T = QWidget>
    T *child(const char *name, QObject *parent = nullptr) const
    {
        T *found = (parent ? parent : m_page.get())->findChild<T *>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    TorqueDialog *torqueDialog() const { return m_page->findChild<TorqueDialog *>(); }

    QList<QByteArray> trainerPayloads(int waitMs = 200) { return m_trainer->payloads(waitMs); }

    // The trainer on loopback UDP, the FES adapter on the given port.
    void configurePortA(const QString &portA)
    {
        const QString xml =
            m_trainer->configXml(QStringLiteral("<serialPortA portName=\"%1\" baud=\"115200\"/>").arg(portA));
        QVERIFY(m_dir->write(QStringLiteral("DependFile/ConfigFile/config.xml"), xml.toUtf8()));
        QVERIFY(ConfigManager::getInstance()->readConfigFile());
    }

    static void writeLanguage(int language)
    {
        QSettings(LanguageManager::settingsFilePath(), QSettings::IniFormat).setValue(QStringLiteral("language"), language);
    }
    static int savedLanguage()
    {
        return QSettings(LanguageManager::settingsFilePath(), QSettings::IniFormat).value(QStringLiteral("language")).toInt();
    }
    static void deliverLanguageChange() { QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange); }

    // A page built the way the main window builds it, shown, with the trainer's line read empty.
    void newPage()
    {
        m_page.reset();
        m_page = std::make_unique<SettingWidget>();
        m_page->show();
        trainerPayloads(50);
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        Q_INIT_RESOURCE(resources);
        m_dir = std::make_unique<TestWorkDir>();
        QVERIFY(m_dir->isValid());
        for (const char *qm : {"Rotaflex_CN.qm", "Rotaflex_EN.qm"})
            QVERIFY(QFile::copy(QStringLiteral(ROTAFLEX_RUN_DIR "/") + QLatin1String(qm), m_dir->filePath(QLatin1String(qm))));
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/conf")).removeRecursively();

        m_trainer = std::make_unique<LoopbackTrainer>();
        QVERIFY(m_trainer->isBound());
        m_fesAdapter = std::make_unique<PtyPair>();
        QVERIFY(m_fesAdapter->isValid());
        configurePortA(m_fesAdapter->slavePath());
        QVERIFY(CDatabaseInterface::getInstance()->openDB(
            m_dir->filePath(QStringLiteral("DependFile/DBFile/settings.db")), QStringLiteral("QSQLITE")));
        QVERIFY(DatabaseSchema::createTables(CDatabaseInterface::getInstance()));
        QCOMPARE(CCommunicateAPI::getInstance()->communicateType(), int(CCommunicateAPI::Udp));

        // The machine's own serial ports are never probed: the adapter is the configured pty.
        FesLinkPty::createManager();
    }

    void init()
    {
        writeLanguage(Chinese_E);
        IceModule::getInstance()->setTorqueLevel(0);
        IceModule::getInstance()->setEmergencyState(0);
        QDir(m_dir->filePath(QStringLiteral("DependFile/conf"))).removeRecursively();
        newPage();
    }

    void cleanup()
    {
        m_page.reset();
        QApplication::closeAllWindows();
    }

    void cleanupTestCase()
    {
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/conf")).removeRecursively();
    }

    // Catches a group the page should not offer, or a tip shown before anything was typed.
    void constructionHidesTheUnofferedGroups()
    {
        for (const char *name : {"groupBox_3", "groupBox_13", "OpenFES_Btn", "groupBox_5",
                                 "originalPasswordTips_Label", "confirmPasswordTips_Label"})
            QVERIFY2(child(name)->isHidden(), name);
        QVERIFY(child<QRadioButton>("torque_Low")->isChecked());
        QVERIFY(!child<QLabel>("upVersion_Label")->text().isEmpty());
        QCOMPARE(child<QTimer>("check_Timer")->interval(), SettingWidget::kCheckIntervalMs);
        QVERIFY(child<QTimer>("check_Timer")->isActive());
    }

    void tabs_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("index");
        QTest::newRow("password") << "secretManage_Btn" << 1;
        QTest::newRow("product") << "productMsg_Btn" << 2;
        QTest::newRow("system") << "systemSetting_Btn" << 0;
    }

    // Catches a tab button that shows the wrong page, stays checked beside another, or a
    // password tip left over from an earlier visit.
    void tabs()
    {
        QFETCH(QString, button);
        QFETCH(int, index);
        child<QPushButton>(index == 2 ? "secretManage_Btn" : "productMsg_Btn")->click();
        child("originalPasswordTips_Label")->show();
        child("confirmPasswordTips_Label")->show();
        child<QPushButton>(qPrintable(button))->click();
        QCOMPARE(child<QStackedWidget>("stackedWidget")->currentIndex(), index);
        int checked = 0;
        for (const char *tab : {"systemSetting_Btn", "secretManage_Btn", "productMsg_Btn"})
            checked += child<QPushButton>(tab)->isChecked();
        QCOMPARE(checked, 1);
        QVERIFY(child<QPushButton>(qPrintable(button))->isChecked());
        if (index == 1) {
            QVERIFY(child("originalPasswordTips_Label")->isHidden());
            QVERIFY(child("confirmPasswordTips_Label")->isHidden());
        }
    }

    // Catches a query per paint or per restore instead of per showing, a missing one, and a
    // version text read at once instead of after the machine had time to answer.
    void oneVersionQueryPerShowing()
    {
        const QByteArray query = QByteArray::fromHex("08000000");
        auto *timer = child<QTimer>("version_Timer");
        QCOMPARE(timer->interval(), SettingWidget::kVersionDelayMs);
        QVERIFY(timer->isSingleShot());
        for (const QString &version : {QStringLiteral("V1.2"), QStringLiteral("V1.3")}) {
            m_page->hide();
            m_page->show();
            QCOMPARE(trainerPayloads(), QList<QByteArray>{query});
            IceModule::getInstance()->setLowerMachineVersion(version); // the answer arrives
            QVERIFY(child<QLabel>("lowVersion_Label")->text() != version);
            timer->setInterval(1);
            QTRY_COMPARE(child<QLabel>("lowVersion_Label")->text(), version);
            timer->setInterval(SettingWidget::kVersionDelayMs);
        }
        // A page switched to inside a stack counts as a showing too.
        QStackedWidget stack;
        auto *other = new QWidget;
        stack.addWidget(other);
        stack.show();
        trainerPayloads(50);
        m_page->setParent(&stack);
        stack.addWidget(m_page.get());
        stack.setCurrentWidget(m_page.get());
        stack.setCurrentWidget(other);
        stack.setCurrentWidget(m_page.get());
        QCOMPARE(trainerPayloads(), (QList<QByteArray>{query, query}));
        stack.removeWidget(m_page.get());
        m_page->setParent(nullptr);
    }

    void torqueLevelNeedsThePassword_data()
    {
        QTest::addColumn<QString>("storedPassword"); // empty: no account file, the built-in one
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("answer"); // confirm, cancel or escape
        QTest::addColumn<int>("level");
        // Catches a level taken without asking, or the built-in password refused.
        QTest::newRow("built-in password") << "" << "torque_Middle" << "482915" << "confirm" << 1;
        // Catches the torque password read from anywhere but the operator account.
        QTest::newRow("stored password") << "7351" << "torque_Hign" << "7351" << "confirm" << 2;
        // Catches the built-in password still accepted once another one is stored.
        QTest::newRow("built-in no longer valid") << "7351" << "torque_Hign" << "482915" << "cancel" << 0;
        // Catches a cancel that leaves the tapped radio checked or changes the hub.
        QTest::newRow("cancel") << "" << "torque_Hign" << "" << "cancel" << 0;
        // Catches Escape taken as a confirmation.
        QTest::newRow("escape") << "" << "torque_Middle" << "482915" << "escape" << 0;
    }

    void torqueLevelNeedsThePassword()
    {
        QFETCH(QString, storedPassword);
        QFETCH(QString, radio);
        QFETCH(QString, typed);
        QFETCH(QString, answer);
        QFETCH(int, level);
        if (!storedPassword.isEmpty())
            QCOMPARE(OperatorAccount().changePassword(QStringLiteral("482915"), storedPassword, storedPassword),
                     OperatorAccount::Changed);
        const QStringList radios{QStringLiteral("torque_Low"), QStringLiteral("torque_Middle"), QStringLiteral("torque_Hign")};
        TorqueDialog *dialog = torqueDialog();
        QVERIFY(dialog);

        child<QRadioButton>(qPrintable(radio))->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), dialog);
        QCOMPARE(m_page->torqueLevel(), 0); // nothing changes before the answer
        child<QLineEdit>("password_LineEdit", dialog)->setText(typed);
        if (answer == QLatin1String("confirm")) {
            child<QPushButton>("confirm_Btn", dialog)->click();
        } else if (answer == QLatin1String("cancel")) {
            // A wrong password first keeps the dialog open with its tip.
            child<QPushButton>("confirm_Btn", dialog)->click();
            QVERIFY(dialog->isVisible());
            QVERIFY(child("tips_Label", dialog)->isVisible());
            QCOMPARE(child<QLabel>("tips_Label", dialog)->text(), QStringLiteral("密码输入错误"));
            child<QPushButton>("cancel_Btn", dialog)->click();
        } else {
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), level ? 1 : 0);
        QCOMPARE(m_page->torqueLevel(), level);
        QCOMPARE(IceModule::getInstance()->getTorqueLevel(), level);
        for (int i = 0; i < radios.size(); ++i)
            QCOMPARE(child<QRadioButton>(qPrintable(radios.at(i)))->isChecked(), i == level);

        // The next opening asks afresh: no password left in the field, no tip.
        child<QRadioButton>("torque_Low")->click();
        QVERIFY(child<QLineEdit>("password_LineEdit", dialog)->text().isEmpty());
        QVERIFY(child("tips_Label", dialog)->isHidden());
        child<QPushButton>("cancel_Btn", dialog)->click();
        QCOMPARE(m_page->torqueLevel(), level);
    }

    void languageSavedAndRestored_data()
    {
        QTest::addColumn<int>("saved");
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("other");
        // Catches an English start that leaves the texts, the tab's look or the picture Chinese.
        QTest::newRow("English") << 1 << "EN_RadioButton" << "Product Information" << 13 << QSize(265, 60)
                                 << ":/DependFile/Source/channel/PLN_EN.png" << 0;
        // Catches a Chinese start that keeps an earlier English translation installed.
        QTest::newRow("Chinese") << 0 << "CH_RadioButton" << "产品信息" << 15 << QSize(230, 60)
                                 << ":/DependFile/Source/channel/PLN_CH.png" << 1;
    }

    // Catches a page that writes the user's ini file merely by showing the saved language.
    void showingTheLanguageWritesNothing()
    {
        LanguageManager::getInstance()->setLanguage(Chinese_E);
        QFile::remove(LanguageManager::settingsFilePath());
        QVERIFY(!QFile::exists(LanguageManager::settingsFilePath()));
        newPage();
        deliverLanguageChange();
        QVERIFY(child<QRadioButton>("CH_RadioButton")->isChecked());
        QVERIFY(!QFile::exists(LanguageManager::settingsFilePath()));
    }

    // The saved language comes up at the next start; the other radio switches and saves it.
    void languageSavedAndRestored()
    {
        QFETCH(int, saved);
        QFETCH(QString, radio);
        QFETCH(QString, caption);
        QFETCH(int, pointSize);
        QFETCH(QSize, size);
        QFETCH(QString, picture);
        QFETCH(int, other);
        LanguageManager::getInstance()->setLanguage(E_LANGUAGE(other));
        writeLanguage(saved);
        newPage(); // the next start
        deliverLanguageChange();
        QVERIFY(child<QRadioButton>(qPrintable(radio))->isChecked());
        QCOMPARE(LanguageManager::getInstance()->getLanguage(), saved);
        auto *product = child<QPushButton>("productMsg_Btn");
        QCOMPARE(product->text(), caption);
        QCOMPARE(product->font().pointSize(), pointSize);
        QVERIFY(product->font().bold());
        QTRY_COMPARE(product->size(), size);
        QCOMPARE(child<QLabel>("label_9")->pixmap(Qt::ReturnByValue).toImage(), QPixmap(picture).toImage());

        // Switching back saves the other language, and the page's texts follow at once.
        child<QRadioButton>(other ? "EN_RadioButton" : "CH_RadioButton")->click();
        deliverLanguageChange();
        QCOMPARE(savedLanguage(), other);
        QVERIFY(product->text() != caption);
        QTRY_VERIFY(product->size() != size);
    }

    // Catches the live retranslation resetting what the page had set itself.
    void languageChangeKeepsThePageState()
    {
        IceModule::getInstance()->setLowerMachineVersion(QStringLiteral("V9.1"));
        child<QTimer>("version_Timer")->setInterval(1);
        QTRY_COMPARE(child<QLabel>("lowVersion_Label")->text(), QStringLiteral("V9.1"));
        m_page->slotOximeterStateChanged(true);
        child<QRadioButton>("EN_RadioButton")->click();
        deliverLanguageChange();
        QCOMPARE(child<QPushButton>("systemSetting_Btn")->text(), QStringLiteral("System Settings"));
        QCOMPARE(child<QLabel>("lowVersion_Label")->text(), QStringLiteral("V9.1"));
        QCOMPARE(child<QLabel>("bioelectricityState_Label")->text(), QStringLiteral("Connected"));
        QCOMPARE(child<QRadioButton>("EN_RadioButton")->text(), QStringLiteral("English"));
        QCOMPARE(child<QRadioButton>("CH_RadioButton")->text(), QStringLiteral("中文"));
        child<QRadioButton>("CH_RadioButton")->click();
        deliverLanguageChange();
        QCOMPARE(child<QPushButton>("systemSetting_Btn")->text(), QStringLiteral("系统设置"));
    }

    void heightButtons_data() { addHeightButtonRows(QStringLiteral("Up_Btn"), QStringLiteral("down_Btn")); }

    void heightButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, emergency);
        QFETCH(QByteArray, payload);
        IceModule::getInstance()->setEmergencyState(emergency);
        child<QPushButton>(qPrintable(button))->click();
        QCOMPARE(trainerPayloads(), payload.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{payload});
    }

    void passwordTab_data()
    {
        QTest::addColumn<QString>("oldPassword");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("confirmPassword");
        QTest::addColumn<bool>("confFolderIsAFile");
        QTest::addColumn<QString>("tip");    // the tip label shown, if any
        QTest::addColumn<QString>("box");    // "title|text" of the box shown, if any
        QTest::addColumn<QString>("stored"); // the password in force afterwards
        // Catches a change that is not stored, or fields left filled after it.
        QTest::newRow("changed") << "482915" << "5150" << "5150" << false << "" << "提示|密码更新成功" << "5150";
        // Catches a wrong old password that still changes it, or a box instead of the tip.
        QTest::newRow("wrong old") << "111111" << "5150" << "5150" << false << "originalPasswordTips_Label" << ""
                                   << "482915";
        QTest::newRow("mismatch") << "482915" << "5150" << "5151" << false << "confirmPasswordTips_Label" << ""
                                  << "482915";
        // Catches a failed write reported as a success.
        QTest::newRow("unwritable") << "482915" << "5150" << "5150" << true << ""
                                    << "提示|密码保存失败，请检查配置文件夹" << "482915";
    }

    void passwordTab()
    {
        QFETCH(QString, oldPassword);
        QFETCH(QString, newPassword);
        QFETCH(QString, confirmPassword);
        QFETCH(bool, confFolderIsAFile);
        QFETCH(QString, tip);
        QFETCH(QString, box);
        QFETCH(QString, stored);
        if (confFolderIsAFile)
            QVERIFY(m_dir->write(QStringLiteral("DependFile/conf"), "not a folder"));
        child<QPushButton>("secretManage_Btn")->click();
        const char *fields[] = {"originalPassword_LineEdit", "newPassword_LineEdit", "confirmPassword_LineEdit"};
        const QStringList typed{oldPassword, newPassword, confirmPassword};
        for (int i = 0; i < 3; ++i)
            child<QLineEdit>(fields[i])->setText(typed.at(i));
        {
            ModalCloser closer;
            child<QPushButton>("savePassword_Btn")->click();
            QTest::qWait(60);
            QCOMPARE(closer.seen(), box.isEmpty() ? QStringList() : QStringList{box});
        }
        for (const char *label : {"originalPasswordTips_Label", "confirmPasswordTips_Label"})
            QCOMPARE(child(label)->isVisible(), tip == QLatin1String(label));
        const bool cleared = box.endsWith(QStringLiteral("密码更新成功"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(child<QLineEdit>(fields[i])->text(), cleared ? QString() : typed.at(i));
        if (confFolderIsAFile)
            QFile::remove(m_dir->filePath(QStringLiteral("DependFile/conf")));
        QCOMPARE(OperatorAccount().storedPassword(), stored);

        // The cancel button empties the three fields.
        for (int i = 0; i < 3; ++i)
            child<QLineEdit>(fields[i])->setText(QStringLiteral("x"));
        child<QPushButton>("cancelPassword_Btn")->click();
        for (int i = 0; i < 3; ++i)
            QVERIFY(child<QLineEdit>(fields[i])->text().isEmpty());
    }

    // Catches a reset that asks a question, reports a failed write as done, or leaves the old password.
    void passwordReset()
    {
        QCOMPARE(OperatorAccount().changePassword(QStringLiteral("482915"), QStringLiteral("99"), QStringLiteral("99")),
                 OperatorAccount::Changed);
        ModalCloser closer;
        child<QPushButton>("resetPassword_Btn")->click();
        QTest::qWait(60);
        QCOMPARE(closer.seen(), QStringList{QStringLiteral("提示|密码重置成功")});
        QCOMPARE(OperatorAccount().storedPassword(), QStringLiteral("482915"));
        QCOMPARE(OperatorAccount().storedUserName(), QStringLiteral("zenk"));
    }

    // Catches FES shown as enabled when the link did not start, and the configuration button
    // usable without a link; the adapter sees the search of a started link.
    void fesButtons()
    {
        auto *open = child<QPushButton>("OpenFES_Btn");
        auto *config = child<QPushButton>("FESConfig_Btn");
        m_page->slotCheckTimerSlot();
        QVERIFY(!config->isEnabled());
        QCOMPARE(config->styleSheet(), QStringLiteral("background: #E1E1E1;border-radius: 8px;color:white;"));

        configurePortA(m_dir->filePath(QStringLiteral("no-such-tty"))); // the manager warns, nothing is enabled
        {
            ModalCloser closer;
            open->click();
            QCOMPARE(closer.seen(), QStringList{QStringLiteral("警告|FES无可用串口")});
        }
        QCOMPARE(open->text(), QStringLiteral("启用"));

        configurePortA(m_fesAdapter->slavePath());
        open->click();
        QCOMPARE(open->text(), QStringLiteral("已启用"));
        const QByteArray sent = m_fesAdapter->readAtLeast(1, 2000);
        QVERIFY2(sent.size() > 2 && uint8_t(sent.at(2)) == FesProtocol::kCmdSearch, sent.toHex().constData());
        m_page->slotCheckTimerSlot();
        QVERIFY(config->isEnabled());
        QCOMPARE(config->styleSheet(), QStringLiteral("background: #0D9DDB;border-radius: 8px;color:white;"));
        FesControlDialog::getInstance()->hide();
        config->click();
        QVERIFY(FesControlDialog::getInstance()->isVisible());
        FesControlDialog::getInstance()->hide();

        open->click();
        QCOMPARE(open->text(), QStringLiteral("启用"));
        FesLinkPty::managerPort()->close();
    }

    // Catches the oximeter button usable or "connected" shown without a connected oximeter.
    void pulseOximeter()
    {
        auto *search = child<QPushButton>("bioelectricity_Btn");
        auto *state = child<QLabel>("bioelectricityState_Label");
        m_page->slotCheckTimerSlot();
        QVERIFY(!search->isEnabled());
        QCOMPARE(state->text(), QStringLiteral("未连接"));
        m_page->slotOximeterStateChanged(true);
        m_page->slotCheckTimerSlot();
        QVERIFY(search->isEnabled());
        QCOMPARE(state->text(), QStringLiteral("已连接"));
        search->click();
        QVERIFY(m_page->oximeterDialog()->isVisible());
        QCOMPARE(m_page->oximeterDialog()->parent(), m_page.get());
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
