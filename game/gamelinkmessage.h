#pragma once

#include "game/gamemsg.h"

#include <QByteArray>

// The JSON datagrams between the training page and a game, built and checked without sockets.
namespace GameLinkMessage {

constexpr int kLiveDataMsgID = 1;
constexpr int kGameStateMsgID = 2;
constexpr int kGameRunningMsgID = 3;
constexpr int kGameEndedMsgID = 4;

constexpr int kStateClose = 0;
constexpr int kStateStart = 1;
constexpr int kStatePause = 2;

constexpr double kForceFactor = 0.7;
constexpr double kForceCap = 60.0; // for the games that cannot show more
constexpr int kSteps = 30;
constexpr int kCalories = 5;

// A game sends {"MsgID":"3"} or {"MsgID":"4"}; anything much larger is not from a game.
constexpr int kMaxDatagramSize = 1024;

// Whether the game with this catalogue ID takes forces above kForceCap.
bool capsForces(int gameID);

// Compact JSON of the live-data message (MsgID 1) for the game currently chosen.
QByteArray liveData(const ST_GameLiveData &record, int gameID);
// Compact JSON of the game state message (MsgID 2).
QByteArray gameState(int state);

// True when some object of the text repeats a key. Qt's parser leaks memory on such input, so
// it is looked for by a scanner that needs no parse; malformed text is scanned as far as it goes.
bool hasRepeatedKey(const QByteArray &text);

struct Incoming
{
    enum class Status {
        Message,     // parsed: msgID holds its MsgID (0 when absent or not a string)
        TooLarge,    // dropped unparsed
        RepeatedKey, // dropped unparsed
        JsonError    // the parser refused it: jsonError holds its error code
    };
    Status status = Status::Message;
    int msgID = 0;
    int jsonError = 0;
};

// Checks, then parses, one datagram from the game.
Incoming read(const QByteArray &datagram);

} // namespace GameLinkMessage
