#include "common/testdatabase.h"

#include "app/languagemanager.h"
#include "database/cdatabaseinterface.h"
#include "database/trainrecord.h"
#include "database/trainreport.h"
#include "users/currentuserdata.h"
#include "users/selectuserdialog.h"
#include "users/patientstore.h"
#include "app/confirmdialog.h"
#include "users/userdialog.h"
#include "users/usermanager.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

constexpr uint32_t kFirst = 100000;
const QString kPatientTable = QStringLiteral("PatientTable");

ST_PatientMsg patient(uint32_t id, const QString &name, int sex = 0)
{
    ST_PatientMsg p;
    p.ID = id;
    p.name = name;
    p.sex = sex;
    p.phone = QStringLiteral("13800000000");
    p.birthday = QDate(1960, 5, 12);
    p.bodyIndex = 1;
    p.markMsg = QStringLiteral("左侧偏瘫");
    p.age = 64;
    return p;
}

bool store(const ST_PatientMsg &p)
{
    return CDatabaseInterface::getInstance()->insertRowTable(kPatientTable, PatientToVariantMap(p));
}

// Patients numbered from 100000 on, named by the list.
bool storeNamed(const QStringList &names)
{
    for (int i = 0; i < names.size(); ++i) {
        if (!store(patient(kFirst + uint32_t(i), names.at(i))))
            return false;
    }
    return true;
}

bool storeNumbered(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("患者%1").arg(QChar(u'A' + i));
    return storeNamed(names);
}

bool exec(const QString &sql, const QVariantList &values = {})
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (db->execQuery(sql, values))
        return true;
    qWarning().noquote() << sql << db->getLastError();
    return false;
}

QVariantMap storedRow(uint32_t id)
{
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!db->execQuery(QStringLiteral("select * from PatientTable where ID = ?"), {id}) || db->getValuesSize() < 1)
        return {};
    return db->getValues(0, 1).value(0);
}

bool storeTraining(uint32_t id)
{
    ST_TrainReport report;
    report.ID = int(id);
    report.trainTime = 600;
    report.startTimeStr = QStringLiteral("2024-01-02 08:00:00");
    return CDatabaseInterface::getInstance()->insertRowTable(
        QStringLiteral("TrainRecordTable"), TrainRecordToVariantMap(trainRecordFromReport(report)));
}

// Answers every modal window while it lives: a patient question by its confirm or cancel button,
// a message box by its OK button. Each one is noted as "title|text" (the question's text is the
// patient it names).
class Answers : public QObject
{
public:
    explicit Answers(bool confirm = true)
    {
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, confirm] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *question = qobject_cast<ConfirmDialog *>(modal)) {
                const auto *label = question->findChild<QLabel *>(QStringLiteral("user_Label"));
                seen << QLatin1String(question->metaObject()->className()) + QLatin1Char('|')
                        + (label ? label->text() : QString());
                question->findChild<QPushButton *>(QLatin1String(confirm ? "confirm_Btn" : "cancel_Btn"))->click();
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                seen << box->windowTitle() + QLatin1Char('|') + box->text();
                box->accept();
            }
        });
        timer->start(10);
    }
    QStringList seen;
};

} // namespace

// The patient page and its dialogs on a real SQLite file.
class tst_Patients : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_dir;
    std::unique_ptr<UserManager> m_page;

    QTableWidget *table() const { return m_page->findChild<QTableWidget *>(QStringLiteral("user_TableWidget")); }
    UserDialog *form() const { return m_page->findChild<UserDialog *>(); }
    template<typename T = QLineEdit>
    T *field(const char *name) const { return form()->findChild<T *>(QLatin1String(name)); }
    QLineEdit *searchField() const { return m_page->findChild<QLineEdit *>(QStringLiteral("searchUser_LineEdit")); }
    void click(const char *button) const { m_page->findChild<QPushButton *>(QLatin1String(button))->click(); }
    void save() const { field<QPushButton>("save_Btn")->click(); }
    void clickRow(int row) const
    {
        table()->scrollTo(table()->model()->index(row, 0));
        const QRect cell = table()->visualRect(table()->model()->index(row, 0));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // The numbers listed, top to bottom.
    QList<uint> shownNumbers() const
    {
        QList<uint> numbers;
        for (int row = 0; row < table()->rowCount() && table()->item(row, 2); ++row)
            numbers << table()->item(row, 2)->text().toUInt();
        return numbers;
    }
    // A fresh database holding the patients, listed.
    bool list(const QStringList &names)
    {
        if (!openFreshDatabase(m_dir) || !storeNamed(names))
            return false;
        m_page->updateUserTableWidget();
        return true;
    }
    bool dropPatientTable() const { return exec(QStringLiteral("drop table PatientTable")); }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        prepareTestEnvironment();
    }

    void init()
    {
        QVERIFY(openFreshDatabase(m_dir));
        m_page = std::make_unique<UserManager>();
        // The tests set the current patient themselves.
        m_page->findChild<QTimer *>(QStringLiteral("defaultUser_Timer"))->stop();
        m_page->resize(1920, 980);
        m_page->show();
    }

    void cleanup() { m_page.reset(); }

    // The page makes the default patient current 500 ms after it is built, not at once.
    void defaultPatientAfterHalfASecond()
    {
        CurrentUserData::getInstance()->setCurrentUserMsg(patient(kFirst + 7, QStringLiteral("A")));
        UserManager page;
        const auto *timer = page.findChild<QTimer *>(QStringLiteral("defaultUser_Timer"));
        QVERIFY(timer && timer->isActive() && timer->isSingleShot());
        QCOMPARE(timer->interval(), 500);
        QCOMPARE(CurrentUserData::getInstance()->getCurrentPatientMsg().ID, kFirst + 7);
        QTRY_COMPARE(CurrentUserData::getInstance()->getCurrentPatientMsg().ID, kFirst);
        QCOMPARE(CurrentUserData::getInstance()->getCurrentPatientMsg().name, QStringLiteral("zenk"));
    }

    void listAndRowClicks_data()
    {
        QTest::addColumn<int>("patients");
        QTest::addColumn<bool>("tableMissing");
        QTest::addColumn<int>("clickedRow");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("selected"); // the number the click selects; 0 for none
        QTest::newRow("25 patients, first row") << 25 << false << 0 << 20 << 100024;
        QTest::newRow("25 patients, row 20") << 25 << false << 19 << 20 << 100005;
        // Catches a click below the listed rows reading a cell that holds nothing.
        QTest::newRow("25 patients, row 21") << 25 << false << 20 << 20 << 0;
        QTest::newRow("5 patients, empty row 6") << 5 << false << 5 << 5 << 0;
        QTest::newRow("no patients") << 0 << false << 0 << 0 << 0;
        QTest::newRow("patient table missing") << 0 << true << 0 << 0 << 0;
    }

    // The 20 highest numbers are listed; a click on a listed row selects that patient and the
    // record list follows it; a click anywhere else changes nothing.
    void listAndRowClicks()
    {
        QFETCH(int, patients);
        QFETCH(bool, tableMissing);
        QFETCH(int, clickedRow);
        QFETCH(int, shown);
        QFETCH(int, selected);
        QVERIFY(storeNumbered(patients));
        QVERIFY(storeTraining(kFirst + 24));
        if (tableMissing) {
            QVERIFY(dropPatientTable());
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("no such table: PatientTable")));
        }
        m_page->updateUserTableWidget();
        const QList<uint> numbers = shownNumbers();
        QCOMPARE(numbers.size(), shown);
        for (int row = 0; row < shown; ++row)
            QCOMPARE(numbers.at(row), kFirst + uint(patients - 1 - row));

        QSignalSpy spy(m_page.get(), &UserManager::signalCheckUserChanged);
        if (clickedRow < table()->rowCount())
            clickRow(clickedRow);
        else
            emit table()->cellClicked(clickedRow, 0);
        QCOMPARE(spy.count(), selected ? 1 : 0);
        if (!selected)
            return;
        QCOMPARE(spy.first().first().toInt(), selected);
        auto *records = m_page->findChild<QTableWidget *>(QStringLiteral("trainRecord_TableWidget"));
        QCOMPARE(records->item(0, 1) != nullptr, selected == int(kFirst) + 24);
    }

    void searchAndClear_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<uint>>("found"); // numbers minus 100000, highest first
        const QStringList numbered{"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸", "子", "丑"};
        QTest::newRow("number part, at most 8") << numbered << "10" << QList<uint>{11, 10, 9, 8, 7, 6, 5, 4};
        QTest::newRow("name") << numbered << "丙" << QList<uint>{2};
        QTest::newRow("empty text") << numbered << "" << QList<uint>{11, 10, 9, 8, 7, 6, 5, 4};
        QTest::newRow("nothing found") << numbered << "无此人" << QList<uint>{};
        const QStringList odd{"50%off", "500", "a_b", "axb", "O'Brien", "😀smile", "x\\y", "Robert'); drop table PatientTable;--"};
        // These catch "%", "_" and "\" taken as patterns, and text that ends up in the statement.
        QTest::newRow("percent means itself") << odd << "50%" << QList<uint>{0};
        QTest::newRow("underscore means itself") << odd << "_" << QList<uint>{2};
        QTest::newRow("backslash means itself") << odd << "\\" << QList<uint>{6};
        QTest::newRow("quote") << odd << "'" << QList<uint>{7, 4};
        QTest::newRow("emoji") << odd << "😀" << QList<uint>{5};
        QTest::newRow("always true") << odd << "' or '1'='1" << QList<uint>{};
        QTest::newRow("statement") << odd << "x'; delete from PatientTable; --" << QList<uint>{};
        QTest::newRow("stored statement") << odd << "drop table" << QList<uint>{7};
    }

    // The search lists at most 8 patients whose name or number holds the text; emptying the
    // field lists the patients again.
    void searchAndClear()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, text);
        QFETCH(QList<uint>, found);
        QVERIFY(list(names));
        searchField()->setText(text);
        click("searchUser_Btn");
        QList<uint> numbers;
        for (uint number : shownNumbers())
            numbers << number - kFirst;
        QCOMPARE(numbers, found);
        QCOMPARE(storedRowCount(kPatientTable), names.size());

        if (text.isEmpty())
            return; // the field did not change
        searchField()->clear();
        QCOMPARE(shownNumbers().size(), names.size());
    }

    void newPatientNumber_data()
    {
        QTest::addColumn<QList<uint>>("stored");
        QTest::addColumn<bool>("tableMissing");
        QTest::addColumn<uint>("next");
        QTest::newRow("empty table: the default patient's number is not handed out") << QList<uint>{} << false << 100001u;
        QTest::newRow("after the highest") << QList<uint>{100000, 100005} << false << 100006u;
        QTest::newRow("unsorted") << QList<uint>{100007, 100002} << false << 100008u;
        QTest::newRow("patient table missing") << QList<uint>{} << true << 100001u;
    }

    // The new form opens without a loop of its own, emptied, with the next free number.
    void newPatientNumber()
    {
        QFETCH(QList<uint>, stored);
        QFETCH(bool, tableMissing);
        QFETCH(uint, next);
        for (uint id : stored)
            QVERIFY(store(patient(id, QStringLiteral("A"))));
        m_page->updateUserTableWidget();
        clickRow(0);
        if (!stored.isEmpty())
            click("EditUser_Btn"); // leaves a patient in the form
        form()->hide();
        if (tableMissing)
            QVERIFY(dropPatientTable());
        click("newUser_Btn");
        QVERIFY(form()->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(field<QLabel>("title_Label")->text(), QStringLiteral("新建用户"));
        const QStringList shown{field("ID_LineEdit")->text(), field("name_LineEdit")->text(),
                                field("phone_LineEdit")->text(), field<QTextEdit>("textEdit")->toPlainText(),
                                QString::number(field<QComboBox>("sex_ComboBox")->currentIndex()),
                                QString::number(field<QComboBox>("bodyIndex_ComboBox")->currentIndex()),
                                field<QDateEdit>("dateEdit")->date().toString(Qt::ISODate)};
        QCOMPARE(shown, (QStringList{QString::number(next), "", "", "", "0", "0", "1990-01-01"}));
    }

    void typedInputFollowsTheRules_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("inputMethod"); // a commit of the on-screen keyboard, else key by key
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("held");
        QTest::newRow("letters and digits") << "name_LineEdit" << false << "Li2" << "Li2";
        QTest::newRow("committed Chinese") << "name_LineEdit" << true << "张三Li2" << "张三Li2";
        QTest::newRow("quote and blank stay out") << "name_LineEdit" << false << "O'Brien Jr" << "OBrienJr";
        QTest::newRow("percent stays out") << "name_LineEdit" << false << "50%" << "50";
        QTest::newRow("committed emoji stays out") << "name_LineEdit" << true << "A😀B" << "";
        QTest::newRow("committed quote stays out") << "name_LineEdit" << true << "O'B" << "";
        QTest::newRow("phone digits only") << "phone_LineEdit" << false << "138abc0013" << "1380013";
        QTest::newRow("phone sign and blank") << "phone_LineEdit" << false << "+86 138" << "86138";
        QTest::newRow("phone at most 11") << "phone_LineEdit" << false << "123456789012345" << "12345678901";
        QTest::newRow("committed letters") << "phone_LineEdit" << true << "abc" << "";
    }

    void typedInputFollowsTheRules()
    {
        QFETCH(QString, control);
        QFETCH(bool, inputMethod);
        QFETCH(QString, typed);
        QFETCH(QString, held);
        click("newUser_Btn");
        QLineEdit *edit = field(control.toLatin1().constData());
        if (inputMethod) {
            QInputMethodEvent commit;
            commit.setCommitString(typed);
            QApplication::sendEvent(edit, &commit);
        } else {
            QTest::keyClicks(edit, typed);
        }
        QCOMPARE(edit->text(), held);
    }

    void saveTheForm_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("tableMissing");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("stored");
        QTest::newRow("new") << false << "张三" << false << "提示|添加成功" << true;
        QTest::newRow("edit") << true << "李四" << false << "提示|更新成功" << true;
        QTest::newRow("blank name") << false << "   " << false << "提示|用户名不能为空" << false;
        QTest::newRow("ideographic blanks") << true << "\u3000 \u3000" << false << "提示|用户名不能为空" << false;
        QTest::newRow("empty name") << false << "" << false << "提示|用户名不能为空" << false;
        // Catches the form closed with what was typed after a failed save.
        QTest::newRow("patient table missing") << false << "张三" << true << "提示|Not find PatientTable table" << false;
    }

    // A save stores the patient, refills the list and closes with a notice; a refused or
    // failed one says why and keeps the form open.
    void saveTheForm()
    {
        QFETCH(bool, edit);
        QFETCH(QString, name);
        QFETCH(bool, tableMissing);
        QFETCH(QString, box);
        QFETCH(bool, stored);
        QVERIFY(list({QStringLiteral("王五")}));
        if (edit) {
            clickRow(0);
            click("EditUser_Btn");
            QCOMPARE(field<QLabel>("title_Label")->text(), QStringLiteral("编辑用户"));
            QCOMPARE(field("name_LineEdit")->text(), QStringLiteral("王五"));
        } else {
            click("newUser_Btn");
        }
        if (tableMissing)
            QVERIFY(dropPatientTable());
        field("name_LineEdit")->setText(name);
        QSignalSpy refill(form(), &UserDialog::signalUpdateUserTable);
        {
            Answers answers;
            save();
            QCOMPARE(answers.seen, QStringList{box});
        }
        QCOMPARE(form()->isVisible(), !stored);
        QCOMPARE(field("name_LineEdit")->text(), name);
        QCOMPARE(refill.count(), stored ? 1 : 0);
        const uint32_t id = edit ? kFirst : kFirst + 1;
        QCOMPARE(storedRow(id).value(QStringLiteral("name")).toString(), stored ? name : edit ? QStringLiteral("王五") : QString());
        if (stored)
            QCOMPARE(table()->item(0, 0)->text(), name);
    }

    void freeTextRoundTrips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("remark");
        QTest::newRow("quotes") << "张三" << "He said \"it's fine\"; 'quoted' `back`";
        QTest::newRow("percent and underscore") << "张三" << "100% _done_ %1 %2";
        QTest::newRow("emoji") << "张三" << "😀👍🏽 好转";
        QTest::newRow("statement") << "张三" << "'); drop table PatientTable; --";
        QTest::newRow("lines") << "张三" << "line 1\nline 2\n\n\tindented\n";
        // Catches the remark box turning non-breaking spaces into blanks.
        QTest::newRow("non-breaking space") << "张三" << "5\u00A0mg\u2028next";
        QTest::newRow("10,000 characters") << QString(10000, QLatin1Char('N')) << QString(10000, QChar(u'备'));
    }

    // Names and remarks are stored exactly as entered, and an edit that changes nothing stores
    // them again unchanged.
    void freeTextRoundTrips()
    {
        QFETCH(QString, name);
        QFETCH(QString, remark);
        click("newUser_Btn");
        field("name_LineEdit")->setText(name);
        field<QTextEdit>("textEdit")->setPlainText(remark);
        Answers answers;
        save();
        clickRow(0);
        click("EditUser_Btn");
        QCOMPARE(field<QTextEdit>("textEdit")->toPlainText().size(), remark.size());
        save();
        QCOMPARE(answers.seen, (QStringList{"提示|添加成功", "提示|更新成功"}));
        const QVariantMap row = storedRow(PatientStore::kFirstNumber);
        QCOMPARE(row.value(QStringLiteral("name")).toString(), name);
        QCOMPARE(row.value(QStringLiteral("markMsg")).toString(), remark);
        QCOMPARE(table()->item(0, 0)->text(), name);
        QCOMPARE(storedRowCount(kPatientTable), 1);
    }

    void editKeepsWhatTheFormCannotShow_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("renamed");
        // Each catches a stored value the form cannot show, overwritten by an unchanged save.
        QTest::newRow("no birthday") << "birthday" << QVariant() << false;
        QTest::newRow("no birthday, renamed") << "birthday" << QVariant() << true;
        QTest::newRow("birthday in the future") << "birthday" << QVariant(QStringLiteral("2999-01-01")) << false;
        QTest::newRow("unknown sex") << "sex" << QVariant(5) << true;
        QTest::newRow("unknown body part") << "bodyIndex" << QVariant(9) << false;
        QTest::newRow("phone longer than the field") << "phone" << QVariant(QStringLiteral("0086138000000001")) << true;
        QTest::newRow("carriage returns") << "markMsg" << QVariant(QStringLiteral("a\r\nb\rc")) << true;
    }

    void editKeepsWhatTheFormCannotShow()
    {
        QFETCH(QString, column);
        QFETCH(QVariant, stored);
        QFETCH(bool, renamed);
        QVERIFY(list({QStringLiteral("王五")}));
        QVERIFY(exec(QStringLiteral("update PatientTable set %1 = ?, age = 64").arg(column), {stored}));
        clickRow(0);
        click("EditUser_Btn");
        if (renamed)
            field("name_LineEdit")->setText(QStringLiteral("王六"));
        Answers answers;
        save();
        QCOMPARE(answers.seen, QStringList{"提示|更新成功"});
        const QVariantMap row = storedRow(kFirst);
        QCOMPARE(row.value(column).toString(), stored.toString());
        QCOMPARE(row.value(column).isNull(), stored.isNull());
        QCOMPARE(row.value(QStringLiteral("name")).toString(), renamed ? QStringLiteral("王六") : QStringLiteral("王五"));
        if (stored.isNull())
            QCOMPARE(row.value(QStringLiteral("age")).toInt(), 64);
    }

    void askAboutThePatient_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("tableMissing");
        QTest::addColumn<int>("clickedRow"); // -1: none
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("seen");
        QTest::addColumn<uint>("current");
        QTest::addColumn<int>("patientsLeft");
        const QStringList notFound{"提示|未查到该用户信息"};
        QTest::newRow("select without a clicked row") << "王五" << false << -1 << "selectUser_Btn" << true << notFound << 7u << 2;
        QTest::newRow("edit without a clicked row") << "王五" << false << -1 << "EditUser_Btn" << true << notFound << 7u << 2;
        QTest::newRow("delete without a clicked row") << "王五" << false << -1 << "deleteUser_Btn" << true << notFound << 7u << 2;
        QTest::newRow("select") << "王五" << false << 1 << "selectUser_Btn" << true << QStringList{"SelectUserDialog|王五  男  100000"} << 0u << 2;
        QTest::newRow("select cancelled") << "王五" << false << 1 << "selectUser_Btn" << false << QStringList{"SelectUserDialog|王五  男  100000"} << 7u << 2;
        // Catches a placeholder inside a stored name filled with the number.
        QTest::newRow("select a name holding %1") << "a%1b%2" << false << 1 << "selectUser_Btn" << true << QStringList{"SelectUserDialog|a%1b%2  男  100000"} << 0u << 2;
        QTest::newRow("delete") << "王五" << false << 1 << "deleteUser_Btn" << true << QStringList{"DeleteUserDialog|"} << 7u << 1;
        QTest::newRow("delete cancelled") << "王五" << false << 1 << "deleteUser_Btn" << false << QStringList{"DeleteUserDialog|"} << 7u << 2;
        QTest::newRow("select, table gone") << "王五" << true << 1 << "selectUser_Btn" << true << notFound << 7u << -1;
        QTest::newRow("delete, table gone") << "王五" << true << 1 << "deleteUser_Btn" << true << notFound << 7u << -1;
    }

    // Select, edit and delete act on the clicked patient as stored now, after asking.
    void askAboutThePatient()
    {
        QFETCH(QString, name);
        QFETCH(bool, tableMissing);
        QFETCH(int, clickedRow);
        QFETCH(QString, button);
        QFETCH(bool, confirm);
        QFETCH(QStringList, seen);
        QFETCH(uint, current);
        QFETCH(int, patientsLeft);
        QVERIFY(list({name, QStringLiteral("赵六")}));
        CurrentUserData::getInstance()->setCurrentUserMsg(patient(kFirst + 7, QStringLiteral("A")));
        if (clickedRow >= 0)
            clickRow(clickedRow);
        if (tableMissing)
            QVERIFY(dropPatientTable());
        Answers answers(confirm);
        click(button.toLatin1().constData());
        QCOMPARE(answers.seen, seen);
        QCOMPARE(CurrentUserData::getInstance()->getCurrentPatientMsg().ID, kFirst + current);
        QCOMPARE(storedRowCount(kPatientTable), patientsLeft);
        QVERIFY(!form()->isVisible());
        if (patientsLeft >= 0)
            QCOMPARE(shownNumbers().size(), patientsLeft);
    }

    // A very long stored name is cut short in the select question instead of widening it.
    void longNameFitsTheQuestion()
    {
        SelectUserDialog dialog;
        dialog.setUser(patient(kFirst, QString(10000, QLatin1Char('N'))));
        const QString shown = dialog.findChild<QLabel *>(QStringLiteral("user_Label"))->text();
        QVERIFY2(shown.size() < 100, qPrintable(shown));
        QVERIFY(shown.endsWith(QStringLiteral("…  男  100000")));
    }

    // Deleting the current patient leaves it current, with its trainings stored and listed.
    void deleteTheCurrentPatient()
    {
        QVERIFY(list({QStringLiteral("王五"), QStringLiteral("赵六")}));
        QVERIFY(storeTraining(kFirst));
        clickRow(1);
        Answers answers;
        click("selectUser_Btn");
        click("deleteUser_Btn");
        QCOMPARE(answers.seen.size(), 2);
        const ST_PatientMsg current = CurrentUserData::getInstance()->getCurrentPatientMsg();
        QCOMPARE(current.ID, kFirst);
        QCOMPARE(current.name, QStringLiteral("王五"));
        QCOMPARE(shownNumbers(), QList<uint>{kFirst + 1});
        QCOMPARE(storedRowCount(QStringLiteral("TrainRecordTable")), 1);
        auto *records = m_page->findChild<QTableWidget *>(QStringLiteral("trainRecord_TableWidget"));
        QVERIFY(records->item(0, 1));
        QCOMPARE(records->item(0, 1)->text(), QStringLiteral("2024-01-02 08:00:00"));
        // The deleted patient stays selected until another row is clicked.
        click("EditUser_Btn");
        QCOMPARE(answers.seen.last(), QStringLiteral("提示|未查到该用户信息"));
    }

    // Sex texts, the select question and the form follow the interface language.
    void textsFollowTheLanguage()
    {
        for (const char *file : {"Rotaflex_EN.qm", "Rotaflex_CN.qm"})
            QVERIFY(QFile::copy(QStringLiteral(ROTAFLEX_RUN_DIR "/") + QLatin1String(file), m_dir->filePath(QLatin1String(file))));
        QVERIFY(store(patient(kFirst, QStringLiteral("A"), 0)) && store(patient(kFirst + 1, QStringLiteral("B"), 1))
                && store(patient(kFirst + 2, QStringLiteral("C"), 2)));
        m_page->updateUserTableWidget();
        const auto sexTexts = [this] {
            return QStringList{table()->item(0, 1)->text(), table()->item(1, 1)->text(), table()->item(2, 1)->text()};
        };
        QCOMPARE(sexTexts(), (QStringList{"", "女", "男"}));
        clickRow(1);
        click("EditUser_Btn");
        LanguageManager::getInstance()->setLanguage(English_E);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        const QStringList english = sexTexts();
        const QString title = field<QLabel>("title_Label")->text();
        const QString placeholder = searchField()->placeholderText();
        Answers answers(false);
        click("selectUser_Btn");
        LanguageManager::getInstance()->setLanguage(Chinese_E);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(english, (QStringList{"", "Female", "Male"}));
        QCOMPARE(title, QStringLiteral("Edit patient"));
        QCOMPARE(placeholder, QStringLiteral("Name or ID"));
        QCOMPARE(answers.seen, QStringList{"SelectUserDialog|B  Female  100001"});
        QCOMPARE(sexTexts(), (QStringList{"", "女", "男"}));
        QCOMPARE(field<QLabel>("title_Label")->text(), QStringLiteral("编辑用户"));
    }
};

QTEST_MAIN(tst_Patients)
#include "tst_patients.moc"
