// The training record list and the report look-up on a database the size of a busy clinic's:
// 100,000 records with their reports for 1,000 patients, one of whom has 1,000 records. The
// database is a fresh SQLite file in /tmp, built once per run; prints medians of repeated runs.
//   build/bench/bench_records [RUNS] [--without-indexes]
// --without-indexes drops the indexes that new files get, as in a file made by an older program.
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "database/trainrecord.h"
#include "database/trainreport.h"
#include "reports/reportstore.h"
#include "reports/trainrecord.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRecords = 100000;
constexpr int kPatients = 1000;
constexpr int kBusyRecords = 1000;
constexpr int kBusyPatient = 100000;

QString startOf(int index)
{
    // One training every 37 minutes from 2015 on: every start is its own.
    return QDateTime(QDate(2015, 1, 1), QTime(8, 0)).addSecs(qint64(index) * 37 * 60).toString(QLatin1String(kStartTimeFormat));
}

// The busy patient's records are spread over the years like everyone else's.
int patientOf(int index)
{
    const int others = kPatients - 1;
    if (index % (kRecords / kBusyRecords) == 0)
        return kBusyPatient;
    return kBusyPatient + 1 + index % others;
}

bool buildDatabase(CDatabaseInterface *db)
{
    if (!DatabaseSchema::createTables(db) || !db->beginTransaction())
        return false;
    for (int i = 0; i < kRecords; ++i) {
        ST_TrainReport report;
        report.ID = patientOf(i);
        report.name = QStringLiteral("P%1").arg(report.ID);
        report.age = 60;
        report.bodyIndex = i % 4;
        report.trainMode = i % 11;
        report.trainTime = 600 + i % 1200;
        report.leftBalance = 45;
        report.rightBalance = 55;
        report.upLimpLength = 300.5f;
        report.downLimpLength = 420.25f;
        report.activeTime = 400;
        report.passiveTime = 200 + i % 1000;
        report.startTimeStr = startOf(i);
        if (!db->insertRowTable(QStringLiteral("TrainReportTable"), TrainReportToVariantMap(report))
            || !db->insertRowTable(QStringLiteral("TrainRecordTable"),
                                   TrainRecordToVariantMap(trainRecordFromReport(report)))) {
            db->rollbackTransaction();
            return false;
        }
    }
    return db->commitTransaction();
}

void printPlan(CDatabaseInterface *db, const char *what, const QString &sql, const QVariant &value)
{
    if (!db->execQuery(QStringLiteral("explain query plan ") + sql, {value}) || db->getValuesSize() < 1) {
        std::printf("plan of %s: %s\n", what, qPrintable(db->getLastError()));
        return;
    }
    for (const QVariantMap &row : db->getValues(0, 0))
        std::printf("plan of %s: %s\n", what, qPrintable(row.value(QStringLiteral("detail")).toString()));
}

struct Figures
{
    double median = 0;
    double least = 0;
    double most = 0;
};

Figures timeRuns(int runs, const std::function<void(int)> &run)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run(i);
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

} // namespace

int main(int argc, char *argv[])
{
    Q_INIT_RESOURCE(resources);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "default.debug=false"); // the list logs every page it shows
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool withoutIndexes = arguments.contains(QStringLiteral("--without-indexes"));
    int runs = 21;
    for (const QString &argument : arguments) {
        bool number = false;
        const int given = argument.toInt(&number);
        if (number && given > 0)
            runs = given;
    }

    QTemporaryDir folder(QStringLiteral("/tmp/bench_records-XXXXXX"));
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!folder.isValid() || !db->openDB(folder.filePath(QStringLiteral("Rotaflex.db")), QStringLiteral("QSQLITE"))) {
        std::fprintf(stderr, "cannot open a database in /tmp: %s\n", qPrintable(db->getLastError()));
        return 1;
    }
    QElapsedTimer build;
    build.start();
    if (!buildDatabase(db)) {
        std::fprintf(stderr, "building the database failed: %s\n", qPrintable(db->getLastError()));
        return 1;
    }
    if (withoutIndexes) {
        for (const char *index : {"TrainRecord_ID_startTime", "TrainRecord_startTimeStr", "TrainReport_startTimeStr"})
            db->execQuery(QStringLiteral("drop index %1").arg(QLatin1String(index)));
    }
    std::printf("database: %d records and reports of %d patients (patient %d: %d records), built in %.1f s\n",
                kRecords, kPatients, kBusyPatient, kBusyRecords, double(build.elapsed()) / 1000);
    printPlan(db, "the list", QStringLiteral("select * from TrainRecordTable  where ID = ? order by startTime DESC"),
              kBusyPatient);
    printPlan(db, "the report", QStringLiteral("select * from TrainReportTable where startTimeStr = ?"), startOf(0));

    TrainRecord list;
    list.resize(1240, 900);
    list.show();
    QCoreApplication::processEvents();
    QStringList starts;
    for (int i = 0; i < runs; ++i)
        starts << startOf(int(QRandomGenerator::global()->bounded(kRecords)));
    int found = 0;

    const struct
    {
        const char *what;
        std::function<void(int)> run;
    } cases[] = {
        {"list: 1000 records, page 1 filled", [&](int) { list.updateTableByID(kBusyPatient); }},
        {"list: the same, and painted", [&](int) { list.updateTableByID(kBusyPatient); list.repaint(); }},
        {"report: look-up by start time",
         [&](int i) { found += ReportStore::getReportDataByStartTime(starts.at(i)).ID != 0; }},
    };
    std::printf("\n%-38s %6s %10s %8s %8s\n", "case", "runs", "median ms", "min ms", "max ms");
    for (const auto &c : cases) {
        const Figures f = timeRuns(runs, c.run);
        std::printf("%-38s %6d %10.2f %8.2f %8.2f\n", c.what, runs, f.median, f.least, f.most);
    }
    if (found != runs) {
        std::fprintf(stderr, "only %d of %d stored reports were found\n", found, runs);
        return 1;
    }
    return 0;
}
