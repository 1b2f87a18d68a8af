#include "hostmessage.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <cmath>
#include <limits>

namespace HostMessage {

namespace {

std::optional<double> number(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return std::nullopt;
    return value.toDouble();
}

// A whole number that fits an int; 3.0 counts, 3.5 does not.
std::optional<int> integer(const QJsonObject &object, const QString &key)
{
    const std::optional<double> value = number(object, key);
    if (!value || *value != std::trunc(*value) || *value < double(std::numeric_limits<int>::min())
        || *value > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(*value);
}

Message ignored(const QString &reason)
{
    Message message;
    message.ignoredBecause = reason;
    return message;
}

QByteArray report(int msgID)
{
    QJsonObject object;
    object.insert(QStringLiteral("MsgID"), QString::number(msgID));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

Message read(const QByteArray &datagram)
{
    if (datagram.size() > kMaxDatagramSize)
        return ignored(QStringLiteral("too large (%1 bytes)").arg(datagram.size()));
    // Qt's parser leaks on objects that repeat a key: such datagrams never reach it.
    if (GameLinkMessage::hasRepeatedKey(datagram))
        return ignored(QStringLiteral("repeated key"));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(datagram, &error);
    if (error.error != QJsonParseError::NoError)
        return ignored(QStringLiteral("not JSON (%1)").arg(error.errorString()));
    if (!document.isObject())
        return ignored(QStringLiteral("not a JSON object"));
    const QJsonObject object = document.object();
    const std::optional<int> msgID = integer(object, QStringLiteral("MsgID"));
    if (!msgID)
        return ignored(QStringLiteral("no numeric MsgID"));

    Message message;
    if (*msgID == kLiveDataMsgID) {
        message.kind = Message::Kind::LiveData;
        LiveData &data = message.liveData;
        const QJsonValue userName = object.value(QStringLiteral("userName"));
        if (userName.isString())
            data.userName = userName.toString();
        data.ID = integer(object, QStringLiteral("ID"));
        data.speed = number(object, QStringLiteral("speed"));
        data.forceLeft = number(object, QStringLiteral("forceLeft"));
        data.forceRight = number(object, QStringLiteral("forceRight"));
        // The trainer's angle counter may run past a turn; the crank only needs the turn's part.
        if (const std::optional<double> angle = number(object, QStringLiteral("angle"))) {
            const double degrees = std::fmod(std::floor(*angle), 360.0);
            data.angle = int(degrees < 0 ? degrees + 360.0 : degrees);
        }
        return message;
    }
    if (*msgID == kGameStateMsgID) {
        const std::optional<int> state = integer(object, QStringLiteral("GameState"));
        if (!state || (*state != kStateClose && *state != kStateStart && *state != kStatePause))
            return ignored(QStringLiteral("unknown GameState"));
        message.kind = Message::Kind::GameState;
        message.gameState = *state;
        return message;
    }
    return ignored(QStringLiteral("unknown MsgID %1").arg(*msgID));
}

QByteArray running()
{
    return report(GameLinkMessage::kGameRunningMsgID);
}

QByteArray ended()
{
    return report(GameLinkMessage::kGameEndedMsgID);
}

} // namespace HostMessage
