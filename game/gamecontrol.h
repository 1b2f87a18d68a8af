#pragma once

#include "database/trainparam.h"
#include "game/gamemsg.h"

#include <QList>
#include <QMap>
#include <QWidget>

class QMediaPlayer;

// Holds the game catalogue, the chosen game, the session's prescription and the prompt player.
class GameControl : public QWidget
{
    Q_OBJECT
public:
    static constexpr const char *kGameListPath = "./DependFile/ConfigFile/gameListConfig.xml";
    static constexpr int kPromptVolume = 90;

    static GameControl *getInstance();

    void readGameList();
    QMap<int, ST_GameMsg> getGameMap() const;
    QList<ST_GameMsg> getGameList() const;

    void setCurrentGameID(int ID);
    int getCurrentGameID() const;
    ST_GameMsg getGameMsg(int ID) const;
    ST_GameMsg getCurrentGameMsg() const;

    void setTrainParam(const ST_TrainParam &param);
    ST_TrainParam getTrainParam() const;

    void playSound(const QString &filePath);
    QMediaPlayer *player() const;

signals:
    void signalSendDestPosition(float angle);

private:
    GameControl();

    QMap<int, ST_GameMsg> m_gameMap;
    QList<ST_GameMsg> m_gameList;
    int m_currentGameID = 0;
    ST_TrainParam m_trainParam;
    QMediaPlayer *m_player = nullptr;
};
