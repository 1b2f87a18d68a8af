#include "app/startup.h"

#include "app/configmanager.h"
#include "app/linkwarningpresenter.h"
#include "app/logfile.h"
#include "app/unattended.h"
#include "database/cdatabaseinterface.h"
#include "database/databaseschema.h"
#include "game/gamecontrol.h"
#include "platform/inputmethodselector.h"
#include "platform/instancemarker.h"
#include "platform/quitonsignal.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMessageBox>

bool Startup::openDatabase()
{
    const QString path = QString::fromLatin1(kDatabaseFile);
    const bool fresh = DatabaseSchema::isNewDatabaseFile(path);
    CDatabaseInterface *db = CDatabaseInterface::getInstance();
    if (!db->openDB(path, QString::fromLatin1(kDatabaseDriver))) {
        qDebug().noquote() << QStringLiteral("Rotaflex.db open failed!");
        qDebug().noquote() << db->getLastError();
        return false;
    }
    if (fresh)
        DatabaseSchema::createTables(db);
    return true;
}

bool Startup::applyStyleSheet()
{
    QFile qssFile(QString::fromLatin1(kStyleSheetFile));
    if (!qssFile.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(nullptr, QStringLiteral("warning"), QStringLiteral("totalqss Open failed"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        return false;
    }
    QByteArray bytes = qssFile.readAll();
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    qApp->setStyleSheet(QString::fromLatin1(bytes));
    qssFile.close();
    return true;
}

int Startup::run(int argc, char *argv[])
{
    InputMethodSelector::select();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rotaflex"));
    LogFile::install(QString::fromLatin1(kLogFolder));
    Unattended::install(&app);
    QuitOnSignal::install(&app);

    openDatabase();

    if (!ConfigManager::getInstance()->readConfigFile()) {
        qDebug().noquote() << QStringLiteral("配置文件读取失败");
        LogFile::uninstall();
        return -1;
    }

    GameControl::getInstance()->readGameList();

    applyStyleSheet();

    platform::InstanceMarker marker(kInstanceKey, QDir::tempPath().toStdString());
    const platform::InstanceMarker::Result claim = marker.acquire();
    if (claim == platform::InstanceMarker::Result::HeldByLiveCopy) {
        QMessageBox::warning(nullptr, QStringLiteral("Warning"), QObject::tr("不可重复开启进程"),
                             QMessageBox::Ok);
        LogFile::uninstall();
        return 0;
    }
    if (claim == platform::InstanceMarker::Result::Failed)
        qWarning().noquote() << QStringLiteral("instance marker:")
                             << QString::fromStdString(marker.lastError());

    LinkWarningPresenter::install(&app);

    const int result = app.exec();
    marker.release();
    LogFile::uninstall();
    return result;
}
