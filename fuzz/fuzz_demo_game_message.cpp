// The demo game's reading of the host's datagrams, on raw bytes or on text strung from JSON
// tokens: it never crashes, never lets a repeated key reach Qt's parser (LeakSanitizer), and what
// it hands the scene is in range.
// Input: mode byte, then the datagram or its tokens.
#include "tools/demo-game/hostmessage.h"

#include <QByteArray>
#include <cmath>
#include <cstdlib>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

const char *const kTokens[] = {
    "{", "}", "[", "]", ",", ":", " ", "\"MsgID\"", "\"GameState\"", "\"angle\"", "\"speed\"", "\"forceLeft\"",
    "\"userName\"", "\"ID\"", "1", "2", "0", "-1", "0.5", "1e400", "-2147483649", "379", "\"1\"", "\"\\u0041\"",
    "null", "true", "\"", "\\",
};
constexpr size_t kTokenCount = sizeof kTokens / sizeof kTokens[0];

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    QByteArray datagram;
    if (data[0] % 2 == 0) {
        datagram = QByteArray(reinterpret_cast<const char *>(data + 1), int(size - 1));
    } else {
        for (size_t i = 1; i < size; ++i)
            datagram += kTokens[data[i] % kTokenCount];
    }
    const HostMessage::Message message = HostMessage::read(datagram);
    using Kind = HostMessage::Message::Kind;
    if (datagram.size() > HostMessage::kMaxDatagramSize)
        check(message.kind == Kind::Ignored);
    switch (message.kind) {
    case Kind::Ignored:
        check(!message.ignoredBecause.isEmpty());
        break;
    case Kind::GameState:
        check(message.gameState >= 0 && message.gameState <= 2);
        break;
    case Kind::LiveData: {
        const HostMessage::LiveData &live = message.liveData;
        check(!live.angle || (*live.angle >= 0 && *live.angle < 360));
        for (const std::optional<double> &value : {live.speed, live.forceLeft, live.forceRight})
            check(!value || std::isfinite(*value));
        break;
    }
    }
    return 0;
}
