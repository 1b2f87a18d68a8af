#include "game/gamelinkmessage.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>
#include <QString>
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <vector>

namespace GameLinkMessage {

namespace {

const QString kMsgID = QStringLiteral("MsgID");

// The float as the shortest decimal that reads back to it: 1.1f goes out as 1.1, not as
// 1.100000023841858.
double jsonReal(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text - 1, value);
    *result.ptr = '\0';
    return std::strtod(text, nullptr);
}

double force(int32_t share, int gameID)
{
    // × 0.7 as 7 / 10, so that the decimal comes out exact.
    const double value = double(share) * 7 / 10.0;
    return capsForces(gameID) ? std::min(value, kForceCap) : value;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads the string whose opening quote is just before `at`; returns the index after its closing
// quote (or the end of an unterminated one). Escapes are decoded so that keys compare the way
// the parser compares them.
int readString(const QByteArray &text, int at, QString *value)
{
    const int end = text.size();
    int runStart = at;
    const auto flushRun = [&](int runEnd) {
        value->append(QString::fromUtf8(text.constData() + runStart, runEnd - runStart));
    };
    while (at < end) {
        const char c = text.at(at);
        if (c == '"') {
            flushRun(at);
            return at + 1;
        }
        if (c != '\\') {
            ++at;
            continue;
        }
        flushRun(at);
        if (at + 1 >= end)
            return end;
        const char escaped = text.at(at + 1);
        at += 2;
        switch (escaped) {
        case 'b': value->append(QLatin1Char('\b')); break;
        case 'f': value->append(QLatin1Char('\f')); break;
        case 'n': value->append(QLatin1Char('\n')); break;
        case 'r': value->append(QLatin1Char('\r')); break;
        case 't': value->append(QLatin1Char('\t')); break;
        case 'u': {
            int code = 0;
            int digits = 0;
            for (; digits < 4 && at < end && hexDigit(text.at(at)) >= 0; ++digits, ++at)
                code = code * 16 + hexDigit(text.at(at));
            value->append(QChar(ushort(code)));
            break;
        }
        default: value->append(QLatin1Char(escaped)); break; // \" \\ \/ and what the parser refuses
        }
        runStart = at;
    }
    flushRun(end);
    return end;
}

} // namespace

bool capsForces(int gameID)
{
    return gameID == 1 || gameID == 2;
}

QByteArray liveData(const ST_GameLiveData &record, int gameID)
{
    QJsonObject object;
    object.insert(kMsgID, kLiveDataMsgID);
    object.insert(QStringLiteral("userName"), record.userName);
    object.insert(QStringLiteral("ID"), record.ID);
    object.insert(QStringLiteral("speed"), jsonReal(record.speed));
    object.insert(QStringLiteral("forceLeft"), force(record.left, gameID));
    object.insert(QStringLiteral("forceRight"), force(record.right, gameID));
    object.insert(QStringLiteral("steps"), kSteps);
    object.insert(QStringLiteral("calories"), kCalories);
    object.insert(QStringLiteral("angle"), record.angle);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray gameState(int state)
{
    QJsonObject object;
    object.insert(kMsgID, kGameStateMsgID);
    object.insert(QStringLiteral("GameState"), state);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

bool hasRepeatedKey(const QByteArray &text)
{
    // Only strings and the structural characters matter: the parser stops at the first thing
    // that is not JSON, and up to there it splits the text exactly like this.
    struct Container
    {
        bool object = false;
        bool expectKey = false;
        QSet<QString> keys;
    };
    std::vector<Container> open;
    const int end = text.size();
    int at = 0;
    while (at < end) {
        const char c = text.at(at);
        if (c == '"') {
            QString value;
            at = readString(text, at + 1, &value);
            if (!open.empty() && open.back().object && open.back().expectKey) {
                Container &object = open.back();
                if (object.keys.contains(value))
                    return true;
                object.keys.insert(value);
                object.expectKey = false;
            }
            continue;
        }
        switch (c) {
        case '{':
            open.push_back({true, true, {}});
            break;
        case '[':
            open.push_back({false, false, {}});
            break;
        case '}':
        case ']':
            if (open.empty())
                return false; // the parser stops here
            open.pop_back();
            break;
        case ',':
            if (!open.empty() && open.back().object)
                open.back().expectKey = true;
            break;
        default:
            break;
        }
        ++at;
    }
    return false;
}

Incoming read(const QByteArray &datagram)
{
    Incoming incoming;
    if (datagram.size() > kMaxDatagramSize) {
        incoming.status = Incoming::Status::TooLarge;
        return incoming;
    }
    if (hasRepeatedKey(datagram)) {
        incoming.status = Incoming::Status::RepeatedKey;
        return incoming;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(datagram, &error);
    if (error.error != QJsonParseError::NoError) {
        incoming.status = Incoming::Status::JsonError;
        incoming.jsonError = int(error.error);
        return incoming;
    }
    const QJsonValue msgID = document.object().value(kMsgID);
    // A number instead of a string is not a game's message: it counts as 0.
    if (msgID.isString()) {
        bool ok = false;
        const int number = msgID.toString().toInt(&ok, 10);
        incoming.msgID = ok ? number : 0;
    }
    return incoming;
}

} // namespace GameLinkMessage
