// The check of the game link on arbitrary datagrams: raw, strung from JSON tokens, or valid JSON
// grown from a few keys so that repeated keys are common. LeakSanitizer fails the run if one
// reaches Qt's parser, which leaks on them; what is parsed must agree with the parser.
// Input: mode byte, then the datagram, its tokens or the choices that grow it.
#include "game/gamelinkmessage.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

const char *const kTokens[] = {
    "{", "}", "[", "]", ",", ":", " ", "\"MsgID\"", "\"\\u004dsgID\"", "\"Msg\\u0049D\"", "\"k\"",
    "\"\\u006b\"", "\"3\"", "\"4\"", "3", "4", "null", "true", "[]", "{}", "\"", "\\", "\\\"", "\\u",
    "\"\xc3\xa9\"", "\"\\u00e9\"", "\"\xff\"", "-1.5e3", "\"a\\\"b\"",
};
constexpr size_t kTokenCount = sizeof kTokens / sizeof kTokens[0];

// Valid JSON from a stream of choices; keys are picked from a few spellings of two names.
class Grower
{
public:
    Grower(const uint8_t *data, size_t size) : m_at(data), m_end(data + size) {}

    QByteArray object(int depth)
    {
        QByteArray text = "{";
        const int members = next() % 4;
        for (int i = 0; i < members; ++i) {
            if (i > 0)
                text += ',';
            static const char *const keys[] = {"\"MsgID\"", "\"Msg\\u0049D\"", "\"k\"", "\"\\u006b\""};
            text += keys[next() % 4];
            text += ':';
            text += value(depth + 1);
        }
        return text + '}';
    }

private:
    uint8_t next() { return m_at < m_end ? *m_at++ : 0; }

    QByteArray value(int depth)
    {
        switch (next() % 7) {
        case 0: return "\"3\"";
        case 1: return "\"4\"";
        case 2: return "3";
        case 3: return "[]";
        case 4: return depth < 6 ? "[" + object(depth) + "]" : "null";
        case 5: return depth < 6 ? object(depth) : "{}";
        default: return "{}";
        }
    }

    const uint8_t *m_at;
    const uint8_t *m_end;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    QByteArray datagram;
    switch (data[0] % 3) {
    case 0:
        datagram = QByteArray(reinterpret_cast<const char *>(data + 1), int(size - 1));
        break;
    case 1:
        for (size_t i = 1; i < size; ++i)
            datagram += kTokens[data[i] % kTokenCount];
        break;
    default:
        datagram = Grower(data + 1, size - 1).object(0);
        break;
    }
    const GameLinkMessage::Incoming incoming = GameLinkMessage::read(datagram);
    using Status = GameLinkMessage::Incoming::Status;
    check((incoming.status == Status::TooLarge) == (datagram.size() > GameLinkMessage::kMaxDatagramSize));
    if (incoming.status != Status::Message) {
        check(incoming.msgID == 0);
        return 0;
    }
    // Only a string MsgID of an object counts.
    const QJsonValue msgID = QJsonDocument::fromJson(datagram).object().value(QStringLiteral("MsgID"));
    check(incoming.msgID == (msgID.isString() ? msgID.toString().toInt() : 0));
    return 0;
}
