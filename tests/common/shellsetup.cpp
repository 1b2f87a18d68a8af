#include "shellsetup.h"

#include "app/configmanager.h"
#include "feslinkpty.h"
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
