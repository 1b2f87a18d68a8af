#include "shellsetup.h"

#include "app/configmanager.h"
#include "feslinkpty.h"
#include "game/gamecontrol.h"
#include "testdatabase.h"

#include <QDebug>

bool prepareMainWindow(std::unique_ptr<TestWorkDir> &dir)
{
    if (!openFreshDatabase(dir))
        return false;
    if (!dir->write(QStringLiteral("DependFile/ConfigFile/config.xml"),
                    "<config><communicateType type=\"1\"/><udpServerAddress IP=\"127.0.0.1\" port=\"9\"/>"
                    "<udpClientAddress IP=\"127.0.0.1\" port=\"0\"/></config>")
        || !ConfigManager::getInstance()->readConfigFile()) {
        qWarning() << "the test's configuration could not be written and read";
        return false;
    }
    FesLinkPty::createManager();
    return true;
}

bool catalogueDemoGame(const TestWorkDir &dir)
{
    QString games;
    for (int id = 1; id <= 4; ++id)
        games += QStringLiteral("<Game ID=\"%1\" path=\"%2/\" gameName=\"rotaflex-demo-game\"/>")
                     .arg(id)
                     .arg(QStringLiteral(ROTAFLEX_RUN_DIR).toHtmlEscaped());
    if (!dir.write(QStringLiteral("DependFile/ConfigFile/gameListConfig.xml"),
                   (QStringLiteral("<GameList>") + games + QStringLiteral("</GameList>")).toUtf8())) {
        qWarning() << "the test's game catalogue could not be written";
        return false;
    }
    GameControl::getInstance()->readGameList();
    return true;
}
