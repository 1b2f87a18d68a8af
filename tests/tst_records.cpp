#include "common/testworkdir.h"

#include "database/bledevice.h"
#include "database/databaseschema.h"
#include "database/mysqldatabase.h"
#include "database/patientmsg.h"
#include "database/trainparam.h"
#include "database/trainrecord.h"
#include "database/trainreport.h"

#include <QtTest>

#include <QRegularExpression>

#include <climits>
#include <limits>

namespace {

const QRegularExpression kUuidPattern(QStringLiteral("^[0-9a-f]{32}$"));

// Stores the row in a fresh file with the real table layout and returns the row as read back.
QVariantMap storeAndReadBack(const QString &table, const QVariantMap &row, QString *error)
{
    TestWorkDir dir;
    MySqlDataBase db;
    if (!db.openDB(dir.filePath(QStringLiteral("DependFile/DBFile/Rotaflex.db")), QStringLiteral("QSQLITE"))
        || !db.createTable(table, DatabaseSchema::columns(table)) || !db.insertRowTable(table, row)
        || !db.execQuery(QStringLiteral("select * from %1").arg(table))) {
        *error = db.getLastError();
        return {};
    }
    if (db.getValuesSize() != 1) {
        *error = QStringLiteral("expected exactly one stored row");
        return {};
    }
    return db.getValues(0, 1).value(0);
}

// Compares two row maps key by key, apart from the row identity; reals within float precision.
bool sameFields(const QVariantMap &actual, const QVariantMap &expected, QString *difference)
{
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        if (it.key() == QLatin1String("UUID"))
            continue;
        const QVariant value = actual.value(it.key());
        const bool same = it.value().userType() == QMetaType::Float
            ? qFuzzyCompare(value.toFloat(), it.value().toFloat())
            : value == it.value();
        if (!same) {
            *difference = QStringLiteral("%1: %2 instead of %3")
                              .arg(it.key(), value.toString(), it.value().toString());
            return false;
        }
    }
    return actual.keys() == expected.keys();
}

ST_TrainReport reportWith(int trainTime, int bodyIndex, int trainMode)
{
    ST_TrainReport report;
    report.ID = 100001;
    report.trainTime = trainTime;
    report.bodyIndex = bodyIndex;
    report.trainMode = trainMode;
    report.startTimeStr = QStringLiteral("2024-02-29 09:05:07");
    return report;
}

} // namespace

class tst_Records : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    // Row map to record
    void patientFromStoredRowReadsEveryField();
    void patientWithoutBirthdayHasNullBirthday();
    void ageThatIsNoNumberReadsZero_data();
    void ageThatIsNoNumberReadsZero();
    void emptyRowGivesEmptyRecords();
    void unknownAndMiscasedKeysAreIgnored();
    void onlyTheReportReadsItsUuidBack();

    // Record to row map
    void rowValuesHaveTheFieldTypes_data();
    void rowValuesHaveTheFieldTypes();
    void everyConversionMakesANewUuid_data();
    void everyConversionMakesANewUuid();

    // Through a real database file
    void patientSurvivesTheDatabase();
    void trainRecordSurvivesTheDatabase();
    void trainReportSurvivesTheDatabase();
    void trainParamSurvivesTheDatabase();
    void bleDeviceSurvivesTheDatabase();

    // Record of a saved training
    void recordCountsWholeMinutesAtLeastOne_data();
    void recordCountsWholeMinutesAtLeastOne();
    void recordScoreIsTruncatedTripleDistance_data();
    void recordScoreIsTruncatedTripleDistance();
    void recordNamesTheBodyPart_data();
    void recordNamesTheBodyPart();
    void recordNamesTheTrainMode_data();
    void recordNamesTheTrainMode();
    void recordTakesIdAndStartTimeFromReport();
};

void tst_Records::initTestCase()
{
    prepareTestEnvironment();
}

// ---- Row map to record --------------------------------------------------------------------

// Catches a field read from the wrong key or with the wrong conversion of stored values.
void tst_Records::patientFromStoredRowReadsEveryField()
{
    // Values as the SQLite driver hands them back: integers as qlonglong, the date as text.
    const QVariantMap row{{QStringLiteral("ID"), qlonglong(100007)},
                          {QStringLiteral("name"), QStringLiteral("李四")},
                          {QStringLiteral("phone"), QStringLiteral("01012345678")},
                          {QStringLiteral("sex"), qlonglong(1)},
                          {QStringLiteral("birthday"), QStringLiteral("1950-02-28")},
                          {QStringLiteral("bodyIndex"), qlonglong(2)},
                          {QStringLiteral("markMsg"), QStringLiteral("右侧")},
                          {QStringLiteral("age"), qlonglong(74)}};
    const ST_PatientMsg p = variantMapToPatient(row);
    QCOMPARE(p.ID, 100007u);
    QCOMPARE(p.name, QStringLiteral("李四"));
    QCOMPARE(p.phone, QStringLiteral("01012345678"));
    QCOMPARE(p.sex, 1);
    QCOMPARE(p.birthday, QDate(1950, 2, 28));
    QCOMPARE(p.bodyIndex, 2);
    QCOMPARE(p.markMsg, QStringLiteral("右侧"));
    QCOMPARE(p.age, 74);
}

// Catches a default birthday (such as today) invented for patients who never gave one.
void tst_Records::patientWithoutBirthdayHasNullBirthday()
{
    QVERIFY(variantMapToPatient({{QStringLiteral("ID"), 5}}).birthday.isNull());
    QVERIFY(variantMapToPatient({{QStringLiteral("birthday"), QVariant()}}).birthday.isNull());
}

void tst_Records::ageThatIsNoNumberReadsZero_data()
{
    QTest::addColumn<QVariant>("age");
    QTest::newRow("letters") << QVariant(QStringLiteral("abc"));
    QTest::newRow("number with unit") << QVariant(QStringLiteral("12 years"));
    QTest::newRow("empty text") << QVariant(QString(""));
    QTest::newRow("null") << QVariant();
}

// Catches a partial parse ("12 years" as 12) or garbage left in the patient's or report's age.
void tst_Records::ageThatIsNoNumberReadsZero()
{
    QFETCH(QVariant, age);
    QCOMPARE(variantMapToPatient({{QStringLiteral("age"), age}}).age, 0);
    QCOMPARE(variantMapToTrainReport({{QStringLiteral("age"), age}}).age, 0);
}

// Catches uninitialised fields in records built from rows that lack keys.
void tst_Records::emptyRowGivesEmptyRecords()
{
    const ST_PatientMsg p = variantMapToPatient({});
    QCOMPARE(p.ID, 0u);
    QVERIFY(p.name.isEmpty() && p.phone.isEmpty() && p.markMsg.isEmpty());
    QVERIFY(p.birthday.isNull());
    QCOMPARE(p.sex + p.bodyIndex + p.age, 0);

    const ST_TrainRecord r = variantMapToTrainRecord({{QStringLiteral("score"), 9}});
    QCOMPARE(r.score, 9);
    QVERIFY(r.startTime.isNull());
    QVERIFY(r.UUID.isEmpty() && r.startTimeStr.isEmpty() && r.bodyPart.isEmpty() && r.trainMode.isEmpty());
    QCOMPARE(r.ID + r.trainTime, 0);

    const ST_TrainReport t = variantMapToTrainReport({{QStringLiteral("name"), QStringLiteral("x")}});
    QCOMPARE(t.name, QStringLiteral("x"));
    QVERIFY(t.UUID.isEmpty() && t.phone.isEmpty() && t.markMsg.isEmpty() && t.startTimeStr.isEmpty());
    QCOMPARE(t.upLimpLength + t.downLimpLength + t.maxResistance + t.averangeResistance + t.minResistance, 0.0f);
    QCOMPARE(t.ID + t.trainTime + t.activeTime + t.passiveTime + t.spasmTimes + t.maxSpeed, 0);

    const ST_TrainParam m = variantMapToTrainParam({});
    QCOMPARE(m.ID + m.trainLimp + m.trainMode + m.trainTime + m.trainResistance + m.trainSpeed
                 + m.trainDirection + m.spasmProtect + m.spasmLevel + m.gameID,
             0);

    const ST_BLEDevice d = variantMapToBLEDevice({});
    QCOMPARE(d.deviceNo, 0);
    QVERIFY(d.deviceMac.isEmpty());
}

// Catches key lookups that ignore case or pick up columns of another table.
void tst_Records::unknownAndMiscasedKeysAreIgnored()
{
    const QVariantMap row{{QStringLiteral("id"), 7},
                          {QStringLiteral("Name"), QStringLiteral("wrong")},
                          {QStringLiteral("trainLimp"), 2},
                          {QStringLiteral("deviceMac"), QStringLiteral("AABBCCDDEEFF")},
                          {QStringLiteral("gameID"), 3}};
    const ST_PatientMsg p = variantMapToPatient(row);
    QCOMPARE(p.ID, 0u);
    QVERIFY(p.name.isEmpty());

    const ST_TrainParam m = variantMapToTrainParam(row);
    QCOMPARE(m.ID, 0);
    QCOMPARE(m.trainLimp, 2);
    QCOMPARE(m.gameID, 3);

    const ST_BLEDevice d = variantMapToBLEDevice(row);
    QCOMPARE(d.deviceNo, 0);
    QCOMPARE(d.deviceMac, QStringLiteral("AABBCCDDEEFF"));
}

// Catches a record list line that carries a row identity, or a report that loses its own.
void tst_Records::onlyTheReportReadsItsUuidBack()
{
    const QString uuid = newRowUuid();
    const QVariantMap row{{QStringLiteral("UUID"), uuid}, {QStringLiteral("ID"), 3}};
    QVERIFY(variantMapToTrainRecord(row).UUID.isEmpty());
    QCOMPARE(variantMapToTrainRecord(row).ID, 3);
    QCOMPARE(variantMapToTrainReport(row).UUID, uuid);
}

// ---- Record to row map --------------------------------------------------------------------

void tst_Records::rowValuesHaveTheFieldTypes_data()
{
    QTest::addColumn<QVariantMap>("row");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("type");
    const QVariantMap patient = PatientToVariantMap({});
    const QVariantMap record = TrainRecordToVariantMap({});
    const QVariantMap report = TrainReportToVariantMap({});
    QTest::newRow("patient ID unsigned") << patient << "ID" << int(QMetaType::UInt);
    QTest::newRow("patient sex int") << patient << "sex" << int(QMetaType::Int);
    QTest::newRow("patient birthday date") << patient << "birthday" << int(QMetaType::QDate);
    QTest::newRow("record ID int") << record << "ID" << int(QMetaType::Int);
    QTest::newRow("record startTime date-time") << record << "startTime" << int(QMetaType::QDateTime);
    QTest::newRow("report upLimpLength float") << report << "upLimpLength" << int(QMetaType::Float);
    QTest::newRow("report downLimpLength float") << report << "downLimpLength" << int(QMetaType::Float);
    QTest::newRow("report maxResistance float") << report << "maxResistance" << int(QMetaType::Float);
    QTest::newRow("report averangeResistance float") << report << "averangeResistance" << int(QMetaType::Float);
    QTest::newRow("report minResistance float") << report << "minResistance" << int(QMetaType::Float);
    QTest::newRow("report age int") << report << "age" << int(QMetaType::Int);
    QTest::newRow("param gameID int") << TrainParamToVariantMap({}) << "gameID" << int(QMetaType::Int);
    QTest::newRow("device mac text") << BLEDeviceToVariantMap({}) << "deviceMac" << int(QMetaType::QString);
}

// Catches values stored with a wider or different type than the record field
// (a signed patient number, reals as double with extra digits, dates as text).
void tst_Records::rowValuesHaveTheFieldTypes()
{
    QFETCH(QVariantMap, row);
    QFETCH(QString, key);
    QFETCH(int, type);
    QVERIFY(row.contains(key));
    QCOMPARE(row.value(key).userType(), type);
}

void tst_Records::everyConversionMakesANewUuid_data()
{
    QTest::addColumn<QVariantMap>("first");
    QTest::addColumn<QVariantMap>("second");
    ST_TrainRecord record;
    record.UUID = QStringLiteral("0123456789abcdef0123456789abcdef");
    ST_TrainReport report;
    report.UUID = record.UUID;
    QTest::newRow("record") << TrainRecordToVariantMap(record) << TrainRecordToVariantMap(record);
    QTest::newRow("report") << TrainReportToVariantMap(report) << TrainReportToVariantMap(report);
}

// Catches a UUID copied from the record (two inserts with one identity) or a braced format.
void tst_Records::everyConversionMakesANewUuid()
{
    QFETCH(QVariantMap, first);
    QFETCH(QVariantMap, second);
    const QString a = first.value(QStringLiteral("UUID")).toString();
    const QString b = second.value(QStringLiteral("UUID")).toString();
    QVERIFY2(kUuidPattern.match(a).hasMatch(), qPrintable(a));
    QVERIFY2(kUuidPattern.match(b).hasMatch(), qPrintable(b));
    QVERIFY(a != b);
    QVERIFY(a != QStringLiteral("0123456789abcdef0123456789abcdef"));
}

// ---- Through a real database file ---------------------------------------------------------

// Catches a patient number above the signed range turning negative, and lost leading zeros.
void tst_Records::patientSurvivesTheDatabase()
{
    ST_PatientMsg p;
    p.ID = 4000000000u;
    p.name = QStringLiteral("王'五");
    p.phone = QStringLiteral("01012345678");
    p.sex = 1;
    p.birthday = QDate(1948, 2, 29);
    p.bodyIndex = 2;
    p.markMsg = QStringLiteral("左侧偏瘫\n'术后'");
    p.age = 76;
    const QVariantMap row = PatientToVariantMap(p);
    QString error;
    const QVariantMap stored = storeAndReadBack(QStringLiteral("PatientTable"), row, &error);
    QVERIFY2(!stored.isEmpty(), qPrintable(error));
    QVERIFY2(sameFields(PatientToVariantMap(variantMapToPatient(stored)), row, &error), qPrintable(error));
}

// Catches a start time that does not come back as the same instant, and a lost row identity.
void tst_Records::trainRecordSurvivesTheDatabase()
{
    ST_TrainRecord r;
    r.ID = 100003;
    r.startTime = QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59));
    r.startTimeStr = r.startTime.toString(QLatin1String(kStartTimeFormat));
    r.trainTime = 25;
    r.score = 41;
    r.bodyPart = bodyPartText(3);
    r.trainMode = trainModeText(5);
    const QVariantMap row = TrainRecordToVariantMap(r);
    QString error;
    const QVariantMap stored = storeAndReadBack(QStringLiteral("TrainRecordTable"), row, &error);
    QVERIFY2(!stored.isEmpty(), qPrintable(error));
    QCOMPARE(stored.value(QStringLiteral("UUID")), row.value(QStringLiteral("UUID")));

    const ST_TrainRecord back = variantMapToTrainRecord(stored);
    QVERIFY(back.UUID.isEmpty());
    QVERIFY2(sameFields(TrainRecordToVariantMap(back), row, &error), qPrintable(error));
}

// Catches any of the 23 report fields lost, swapped or rounded on the way through the file.
void tst_Records::trainReportSurvivesTheDatabase()
{
    ST_TrainReport r;
    r.ID = 100004;
    r.name = QStringLiteral("赵六");
    r.sex = 1;
    r.phone = QStringLiteral("13800138000");
    r.age = 63;
    r.trainMode = 7;
    r.bodyIndex = 3;
    r.markMsg = QStringLiteral("it's fine");
    r.trainTime = 1234;
    r.leftBalance = 47;
    r.rightBalance = 53;
    r.upLimpLength = 10.5f;
    r.downLimpLength = 3.2f;
    r.activeTime = 600;
    r.passiveTime = 634;
    r.spasmTimes = 2;
    r.maxResistance = 12.7f;
    r.averangeResistance = 6.35f;
    r.minResistance = 0.1f;
    r.startTimeStr = QStringLiteral("2024-01-01 09:00:00");
    r.averageSpeed = 31;
    r.maxSpeed = 58;
    const QVariantMap row = TrainReportToVariantMap(r);
    QString error;
    const QVariantMap stored = storeAndReadBack(QStringLiteral("TrainReportTable"), row, &error);
    QVERIFY2(!stored.isEmpty(), qPrintable(error));

    const ST_TrainReport back = variantMapToTrainReport(stored);
    QCOMPARE(back.UUID, row.value(QStringLiteral("UUID")).toString());
    QVERIFY2(sameFields(TrainReportToVariantMap(back), row, &error), qPrintable(error));
}

// Catches prescription values stored under one another's columns.
void tst_Records::trainParamSurvivesTheDatabase()
{
    ST_TrainParam m;
    m.ID = 100005;
    m.trainLimp = 1;
    m.trainMode = 8;
    m.trainTime = 20;
    m.trainResistance = 3;
    m.trainSpeed = 45;
    m.trainDirection = 1;
    m.spasmProtect = 1;
    m.spasmLevel = 2;
    m.gameID = 4;
    const QVariantMap row = TrainParamToVariantMap(m);
    QString error;
    const QVariantMap stored = storeAndReadBack(QStringLiteral("TrainParamTable"), row, &error);
    QVERIFY2(!stored.isEmpty(), qPrintable(error));
    QVERIFY2(sameFields(TrainParamToVariantMap(variantMapToTrainParam(stored)), row, &error), qPrintable(error));
}

// Catches an all-digit address losing its leading zeros to a numeric column.
void tst_Records::bleDeviceSurvivesTheDatabase()
{
    ST_BLEDevice d;
    d.deviceNo = 3;
    d.deviceMac = QStringLiteral("001122334455");
    const QVariantMap row = BLEDeviceToVariantMap(d);
    QString error;
    const QVariantMap stored = storeAndReadBack(QStringLiteral("BLEDeviceMsg"), row, &error);
    QVERIFY2(!stored.isEmpty(), qPrintable(error));
    QVERIFY2(sameFields(BLEDeviceToVariantMap(variantMapToBLEDevice(stored)), row, &error), qPrintable(error));
}

// ---- Record of a saved training -----------------------------------------------------------

void tst_Records::recordCountsWholeMinutesAtLeastOne_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("minutes");
    QTest::newRow("0 s") << 0 << 1;
    QTest::newRow("59 s") << 59 << 1;
    QTest::newRow("60 s") << 60 << 1;
    QTest::newRow("119 s") << 119 << 1;
    QTest::newRow("120 s") << 120 << 2;
    QTest::newRow("3599 s") << 3599 << 59;
}

// Catches rounding instead of whole minutes, and a zero-minute record for a short training.
void tst_Records::recordCountsWholeMinutesAtLeastOne()
{
    QFETCH(int, seconds);
    QFETCH(int, minutes);
    QCOMPARE(trainRecordFromReport(reportWith(seconds, 0, 0)).trainTime, minutes);
}

void tst_Records::recordScoreIsTruncatedTripleDistance_data()
{
    QTest::addColumn<float>("up");
    QTest::addColumn<float>("down");
    QTest::addColumn<int>("score");
    QTest::newRow("no distance") << 0.0f << 0.0f << 0;
    QTest::newRow("upper only") << 2.0f << 0.0f << 6;
    QTest::newRow("lower only") << 0.0f << 1.5f << 4;
    QTest::newRow("13.7 m") << 10.5f << 3.2f << 41;
    // Catches a score that overflows into a negative number on a huge or endless distance.
    QTest::newRow("saturates") << 1.0e9f << 0.0f << INT_MAX;
    // Catches a negative score from a negative distance.
    QTest::newRow("negative") << -5.0f << 0.0f << 0;
    // Catches NaN turning into an arbitrary integer.
    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << 1.0f << 0;
}

// Catches rounding up, a missing limb in the sum, or a different factor.
void tst_Records::recordScoreIsTruncatedTripleDistance()
{
    QFETCH(float, up);
    QFETCH(float, down);
    QFETCH(int, score);
    ST_TrainReport report = reportWith(600, 0, 0);
    report.upLimpLength = up;
    report.downLimpLength = down;
    QCOMPARE(trainRecordFromReport(report).score, score);
}

void tst_Records::recordNamesTheBodyPart_data()
{
    QTest::addColumn<int>("bodyIndex");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << QStringLiteral("水平上肢");
    QTest::newRow("1") << 1 << QStringLiteral("下肢");
    QTest::newRow("2") << 2 << QStringLiteral("上下肢");
    QTest::newRow("3") << 3 << QStringLiteral("垂直上肢");
    QTest::newRow("4") << 4 << QString();
    QTest::newRow("-1") << -1 << QString();
}

// Catches a shifted table, an out-of-range read, or the mode number used for the limb.
void tst_Records::recordNamesTheBodyPart()
{
    QFETCH(int, bodyIndex);
    QFETCH(QString, text);
    const ST_TrainRecord record = trainRecordFromReport(reportWith(600, bodyIndex, 8));
    QCOMPARE(record.bodyPart, text);
    QCOMPARE(bodyPartText(bodyIndex), text);
}

void tst_Records::recordNamesTheTrainMode_data()
{
    QTest::addColumn<int>("trainMode");
    QTest::addColumn<QString>("text");
    const QStringList texts{QStringLiteral("被动"), QStringLiteral("主动"), QStringLiteral("助力"),
                            QStringLiteral("等速"), QStringLiteral("被动"), QStringLiteral("上肢带下肢"),
                            QStringLiteral("下肢带上肢"), QStringLiteral("主被动"), QStringLiteral("FES"),
                            QStringLiteral("主动"), QStringLiteral("主被动")};
    for (int mode = 0; mode < texts.size(); ++mode)
        QTest::newRow(qPrintable(QString::number(mode))) << mode << texts.at(mode);
    QTest::newRow("11") << 11 << QString();
    QTest::newRow("-1") << -1 << QString();
}

// Catches a shifted table, an out-of-range read, or the limb number used for the mode.
void tst_Records::recordNamesTheTrainMode()
{
    QFETCH(int, trainMode);
    QFETCH(QString, text);
    const ST_TrainRecord record = trainRecordFromReport(reportWith(600, 1, trainMode));
    QCOMPARE(record.trainMode, text);
    QCOMPARE(trainModeText(trainMode), text);
}

// Catches a start time parsed in another format, and a record not linked to its report.
void tst_Records::recordTakesIdAndStartTimeFromReport()
{
    ST_TrainReport report = reportWith(600, 1, 1);
    report.UUID = newRowUuid();
    const ST_TrainRecord record = trainRecordFromReport(report);
    QCOMPARE(record.ID, 100001);
    QCOMPARE(record.startTimeStr, QStringLiteral("2024-02-29 09:05:07"));
    QCOMPARE(record.startTime, QDateTime(QDate(2024, 2, 29), QTime(9, 5, 7)));
    QVERIFY(record.UUID.isEmpty());
}

QTEST_MAIN(tst_Records)
#include "tst_records.moc"
