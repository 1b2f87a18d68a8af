#include "game/gamecontrol.h"

#include <QDebug>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

GameControl *GameControl::getInstance()
{
    static GameControl *instance = new GameControl;
    return instance;
}

GameControl::GameControl() : m_player(new QMediaPlayer(this)) {}

void GameControl::readGameList()
{
    QFile file(QString::fromLatin1(kGameListPath));
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << QStringLiteral("read gameListConfig failed");
        return;
    }
    QDomDocument document;
    if (!document.setContent(&file)) {
        qDebug().noquote() << QStringLiteral("gameList error");
        return;
    }
    file.close();

    QList<ST_GameMsg> list;
    QMap<int, ST_GameMsg> map;
    for (QDomNode node = document.documentElement().firstChild(); !node.isNull();
         node = node.nextSibling()) {
        if (!node.isElement())
            continue;
        const QDomElement element = node.toElement();
        ST_GameMsg game;
        bool ok = false;
        game.ID = element.attribute(QStringLiteral("ID")).toInt(&ok, 10);
        if (!ok)
            game.ID = 0;
        game.gameName = element.attribute(QStringLiteral("gameName"));
        game.path = element.attribute(QStringLiteral("path"));
        game.iconPath = element.attribute(QStringLiteral("iconPath"));
        game.className = element.attribute(QStringLiteral("className"));
        game.windownName = element.attribute(QStringLiteral("windownName"));
        list.append(game);
        map.insert(game.ID, game);
    }
    m_gameList = list;
    m_gameMap = map;
}

QMap<int, ST_GameMsg> GameControl::getGameMap() const
{
    return m_gameMap;
}

QList<ST_GameMsg> GameControl::getGameList() const
{
    return m_gameList;
}

void GameControl::setCurrentGameID(int ID)
{
    m_currentGameID = ID;
}

int GameControl::getCurrentGameID() const
{
    return m_currentGameID;
}

ST_GameMsg GameControl::getGameMsg(int ID) const
{
    return m_gameMap.value(ID, ST_GameMsg());
}

ST_GameMsg GameControl::getCurrentGameMsg() const
{
    return getGameMsg(m_currentGameID);
}

void GameControl::setTrainParam(const ST_TrainParam &param)
{
    m_trainParam = param;
}

ST_TrainParam GameControl::getTrainParam() const
{
    return m_trainParam;
}

void GameControl::playSound(const QString &filePath)
{
    // The media back end resolves a relative "./DependFile/..." path against nothing: it must be
    // made absolute here, or every prompt stays silent.
    m_player->setMedia(QUrl::fromLocalFile(QFileInfo(filePath).absoluteFilePath()));
    m_player->setVolume(kPromptVolume);
    m_player->play();
}

QMediaPlayer *GameControl::player() const
{
    return m_player;
}
