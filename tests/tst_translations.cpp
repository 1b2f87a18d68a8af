#include "app/languagemanager.h"
#include "common/testworkdir.h"
#include "fes/bleitem.h"
#include "fes/channeldialog.h"
#include "fes/channelonlydialog.h"
#include "fes/maiboxueyangdialog.h"
#include "platform/nullvolumebackend.h"
#include "platform/simulatedsystempower.h"
#include "reports/deletereportdialog.h"
#include "reports/trainreport.h"
#include "shell/settingwidget.h"
#include "shell/sounddialog.h"
#include "shell/torquedialog.h"
#include "training/advanceddialog.h"
#include "training/armorleg.h"
#include "training/emergencystopdialog.h"
#include "training/machinestartdialog.h"
#include "training/prescriptiondialog.h"
#include "training/quitbyspeeddialog.h"
#include "training/quitgamedialog.h"
#include "training/spasmtipsdialog.h"
#include "training/trainingparamsetting.h"
#include "users/loginwidget.h"
#include "users/shutdeondialog.h"

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QRegularExpression kChinese(QStringLiteral("[\\x{3000}-\\x{303F}\\x{4E00}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));

struct Message
{
    bool finished = false;
    QString translation;
};
// context + '|' + source + '|' + comment -> the message
using Catalogue = QMap<QString, Message>;

Catalogue readTs(const QString &path)
{
    Catalogue catalogue;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return catalogue;
    QXmlStreamReader xml(&file);
    QString context, source, comment;
    Message message;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement()) {
            if (xml.isEndElement() && xml.name() == QLatin1String("message"))
                catalogue.insert(context + QLatin1Char('|') + source + QLatin1Char('|') + comment, message);
            continue;
        }
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            source.clear();
            comment.clear();
            message = Message();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("comment")) {
            comment = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QStringRef type = xml.attributes().value(QLatin1String("type"));
            message.finished = type.isEmpty();
            message.translation = xml.readElementText();
        }
    }
    return catalogue;
}

// The texts a person reads on the widget and its children, each prefixed with where it is.
QStringList shownTexts(const QWidget *root)
{
    QStringList texts;
    QList<const QWidget *> widgets{root};
    for (const QWidget *child : root->findChildren<QWidget *>())
        widgets << child;
    for (const QWidget *w : widgets) {
        const QString where = w->objectName() + QLatin1String(": ");
        if (w->isWindow())
            texts << where + w->windowTitle();
        if (!w->toolTip().isEmpty())
            texts << where + w->toolTip();
        if (const auto *label = qobject_cast<const QLabel *>(w))
            texts << where + label->text();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(w))
            texts << where + button->text();
        else if (const auto *group = qobject_cast<const QGroupBox *>(w))
            texts << where + group->title();
        else if (const auto *edit = qobject_cast<const QLineEdit *>(w))
            texts << where + edit->placeholderText();
    }
    return texts;
}

QStringList chineseTexts(const QWidget *root)
{
    QStringList found;
    for (const QString &text : shownTexts(root)) {
        // A language's own name is written in that language.
        if (text.contains(kChinese) && !text.endsWith(QStringLiteral(": 中文")))
            found << text;
    }
    return found;
}

using WidgetFactory = std::function<QWidget *()>;

template<typename T>
WidgetFactory make()
{
    return [] { return new T; };
}

void deliverLanguageChange()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

} // namespace

Q_DECLARE_METATYPE(WidgetFactory)

// The English translation is complete for every text of the code and the forms, and a language
// switch retranslates the pages and dialogs that are open.
class TestTranslations : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    Catalogue m_scanned;
    Catalogue m_english;

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        Q_INIT_RESOURCE(resources);
        m_dir = std::make_unique<TestWorkDir>();
        for (const char *qm : {"Rotaflex_CN.qm", "Rotaflex_EN.qm"})
            QVERIFY(QFile::copy(QStringLiteral(ROTAFLEX_RUN_DIR "/") + QLatin1String(qm), m_dir->filePath(QLatin1String(qm))));
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/conf")).removeRecursively();

        // The texts of the code and forms today, gathered the way the .ts files are refreshed.
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString scanned = scratch.filePath(QStringLiteral("scan.ts"));
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(ROTAFLEX_SOURCE_DIR));
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        QStringList arguments{QStringLiteral("-no-obsolete"), QStringLiteral("-locations"), QStringLiteral("none")};
        arguments << QStringLiteral(ROTAFLEX_TRANSLATED_DIRS).split(QLatin1Char(' ')) << QStringLiteral("-ts") << scanned;
        lupdate.start(QStringLiteral(LUPDATE), arguments);
        QVERIFY(lupdate.waitForFinished(120000));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());
        m_scanned = readTs(scanned);
        QVERIFY(m_scanned.size() > 300);
        m_english = readTs(QStringLiteral(ROTAFLEX_SOURCE_DIR "/translations/Rotaflex_EN.ts"));
    }

    void cleanupTestCase()
    {
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/conf")).removeRecursively();
    }

    void englishIsComplete_data()
    {
        QTest::addColumn<int>("fault");
        // Catches a text added to the code or a form whose English was never refreshed.
        QTest::newRow("source text missing") << 0;
        // Catches a translation lupdate left for someone to finish.
        QTest::newRow("translation unfinished") << 1;
        // Catches an English file that would show nothing for a text.
        QTest::newRow("translation empty") << 2;
        // Catches a Chinese text copied into the English file.
        QTest::newRow("translation still Chinese") << 3;
    }

    void englishIsComplete()
    {
        QFETCH(int, fault);
        QStringList offenders;
        for (auto it = m_scanned.cbegin(); it != m_scanned.cend(); ++it) {
            const auto english = m_english.constFind(it.key());
            const bool known = english != m_english.cend();
            bool bad = false;
            switch (fault) {
            case 0:
                bad = !known;
                break;
            case 1:
                bad = known && !english->finished;
                break;
            case 2:
                bad = known && english->translation.isEmpty();
                break;
            default:
                bad = known && english->translation.contains(kChinese);
            }
            if (bad)
                offenders << it.key();
        }
        QVERIFY2(offenders.isEmpty(), qPrintable(offenders.join(QLatin1Char('\n'))));
    }

    void switchingRetranslatesOpenWidgets_data()
    {
        QTest::addColumn<WidgetFactory>("factory");
        QTest::newRow("shell: settings page") << make<SettingWidget>();
        QTest::newRow("shell: torque dialog") << make<TorqueDialog>();
        QTest::newRow("shell: volume dialog") << WidgetFactory([]() -> QWidget * {
            return new SoundDialog(std::make_unique<platform::NullVolumeBackend>());
        });
        QTest::newRow("users: login") << WidgetFactory([]() -> QWidget * {
            return new LoginWidget(nullptr, std::make_unique<platform::SimulatedSystemPower>(), [] {});
        });
        QTest::newRow("users: shutdown question") << make<ShutdeonDialog>();
        QTest::newRow("fes: channel dialog") << make<ChannelDialog>();
        QTest::newRow("fes: channel dialog without muscles") << make<ChannelOnlyDialog>();
        QTest::newRow("fes: pulse oximeter") << make<MaiBoXueyangDialog>();
        QTest::newRow("fes: box row") << make<BLEItem>();
        QTest::newRow("training: spasm") << make<SpasmTipsDialog>();
        QTest::newRow("training: emergency") << make<EmergencyStopDialog>();
        QTest::newRow("training: over-speed") << make<QuitBySpeedDialog>();
        QTest::newRow("training: mounting") << make<MachineStartDialog>();
        QTest::newRow("training: quit game") << make<QuitGameDialog>();
        QTest::newRow("training: prescription") << make<PrescriptionDialog>();
        QTest::newRow("training: parameter page") << make<TrainingParamSetting>();
        QTest::newRow("training: advanced dialog") << make<AdvancedDialog>();
        QTest::newRow("training: mode page") << make<ArmOrLeg>();
        QTest::newRow("reports: report") << make<TrainReport>();
        QTest::newRow("reports: delete question") << make<DeleteReportDialog>();
    }

    // Catches a page or dialog without a language-change handler, and texts set in code that
    // the handler forgets: nothing Chinese is left after switching to English, and the
    // Chinese comes back after switching back.
    void switchingRetranslatesOpenWidgets()
    {
        QFETCH(WidgetFactory, factory);
        LanguageManager *language = LanguageManager::getInstance();
        language->setLanguage(Chinese_E);
        deliverLanguageChange();
        std::unique_ptr<QWidget> widget(factory());
        widget->show();
        QVERIFY(!chineseTexts(widget.get()).isEmpty());

        language->setLanguage(English_E);
        deliverLanguageChange();
        const QStringList left = chineseTexts(widget.get());
        language->setLanguage(Chinese_E);
        deliverLanguageChange();
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
        QVERIFY(!chineseTexts(widget.get()).isEmpty());
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
