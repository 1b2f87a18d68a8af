#include "patientshots.h"

#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "database/trainrecord.h"
#include "database/trainreport.h"
#include "users/deleteuserdialog.h"
#include "users/selectuserdialog.h"
#include "users/userdialog.h"
#include "users/usermanager.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

bool storePatients(CDatabaseInterface *db)
{
    const struct
    {
        const char *name;
        int sex;
        int bodyIndex;
        const char *phone;
        int birthYear;
    } patients[] = {{"张伟", 0, 2, "13912345678", 1957}, {"王芳", 1, 1, "13800001111", 1962},
                    {"李娜", 1, 0, "13600002222", 1975}, {"刘洋", 0, 1, "", 1949},
                    {"陈静", 1, 2, "13500003333", 1968}, {"杨磊", 0, 0, "18900004444", 1981},
                    {"赵敏", 1, 1, "", 1955},             {"黄强", 0, 2, "13700005555", 1960},
                    {"周杰", 0, 1, "15800006666", 1972}, {"吴婷", 1, 0, "", 1988},
                    {"Anna Berg", 1, 1, "15000007777", 1959}, {"孙浩", 0, 2, "13300008888", 1946},
                    {"马丽", 1, 1, "13200009999", 1965}};
    uint32_t id = 100000;
    for (const auto &p : patients) {
        ST_PatientMsg patient;
        patient.ID = id++;
        patient.name = QString::fromUtf8(p.name);
        patient.sex = p.sex;
        patient.bodyIndex = p.bodyIndex;
        patient.phone = QLatin1String(p.phone);
        patient.birthday = QDate(p.birthYear, 5, 12);
        patient.age = 2024 - p.birthYear;
        patient.markMsg = QStringLiteral("左侧偏瘫，第三周");
        if (!db->insertRowTable(QStringLiteral("PatientTable"), PatientToVariantMap(patient)))
            return false;
    }
    QDateTime start(QDate(2024, 3, 18), QTime(9, 30, 12));
    for (int i = 0; i < 11; ++i) {
        ST_TrainReport report;
        report.ID = 100000;
        report.bodyIndex = i % 4;
        report.trainMode = i % 8;
        report.trainTime = 600 + 97 * i;
        report.startTimeStr = start.toString(QLatin1String(kStartTimeFormat));
        if (!db->insertRowTable(QStringLiteral("TrainRecordTable"), TrainRecordToVariantMap(trainRecordFromReport(report))))
            return false;
        start = start.addDays(-2).addSecs(-3700);
    }
    return true;
}

// As a tap on the row: highlighted, and the page lists the patient's records.
void clickRow(QTableWidget *table, int row)
{
    table->selectRow(row);
    emit table->cellClicked(row, 0);
}

} // namespace

bool savePatientPages(const LanguageShots &inBothLanguages, const ShotSaver &save)
{
    QTemporaryDir data(QStringLiteral("/tmp/rotaflex-shots-XXXXXX"));
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!data.isValid() || !db->openDB(data.filePath(QStringLiteral("Rotaflex.db")), QStringLiteral("QSQLITE"))
        || !DatabaseSchema::createTables(db) || !storePatients(db))
        return false;

    const QSize screen(1920, 980);
    UserManager page;
    page.resize(screen);
    page.show();
    auto *table = page.findChild<QTableWidget *>(QStringLiteral("user_TableWidget"));
    auto *search = page.findChild<QLineEdit *>(QStringLiteral("searchUser_LineEdit"));
    ST_PatientMsg shown;
    shown.ID = 100000;
    shown.name = QStringLiteral("张伟");
    SelectUserDialog select(&page);
    select.setUser(shown);
    DeleteUserDialog remove(&page);
    UserDialog form(&page);
    return inBothLanguages([&](QLatin1String language) {
        const QString suffix = QLatin1Char('-') + language;
        search->clear();
        clickRow(table, 12); // the first patient, who has trained
        bool ok = save(&page, screen, QStringLiteral("patients") + suffix);
        search->setText(QStringLiteral("1000"));
        page.on_searchUser_Btn_clicked();
        ok &= save(&page, screen, QStringLiteral("patients-search") + suffix);
        form.setDialogType(0, 0);
        ok &= save(&form, screen, QStringLiteral("dialog-new-patient") + suffix);
        form.setDialogType(1, 100000);
        ok &= save(&form, screen, QStringLiteral("dialog-edit-patient") + suffix);
        ok &= save(&select, screen, QStringLiteral("dialog-select-patient") + suffix);
        ok &= save(&remove, screen, QStringLiteral("dialog-delete-patient") + suffix);
        return ok;
    });
}
