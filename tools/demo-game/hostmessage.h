#pragma once

#include "game/gamelinkmessage.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The game's side of the game link's JSON datagrams, built and read without sockets. The message
// numbers and states are the host's own.
namespace HostMessage {

using GameLinkMessage::kGameStateMsgID;
using GameLinkMessage::kLiveDataMsgID;
using GameLinkMessage::kStateClose;
using GameLinkMessage::kStatePause;
using GameLinkMessage::kStateStart;

// The host's messages are about 150 bytes; a long user name still fits many times over.
constexpr int kMaxDatagramSize = 4096;

// One live-data message; a field that is missing or of the wrong type stays empty, so that the
// scene keeps its last value for it.
struct LiveData
{
    std::optional<QString> userName;
    std::optional<int> ID;
    std::optional<double> speed;
    std::optional<double> forceLeft;
    std::optional<double> forceRight;
    std::optional<int> angle; // degrees, brought into 0 to 359
};

struct Message
{
    enum class Kind { LiveData, GameState, Ignored };
    Kind kind = Kind::Ignored;
    LiveData liveData;
    int gameState = 0;
    QString ignoredBecause; // for Ignored: why, for the verbose log
};

// Reads one datagram from the host.
Message read(const QByteArray &datagram);

// What the game sends the host: {"MsgID":"3"} once its window is up, {"MsgID":"4"} when it ends.
QByteArray running();
QByteArray ended();

} // namespace HostMessage
