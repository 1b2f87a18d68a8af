#include "reports/recordtexts.h"

namespace {

// One text in both languages; "alias" is another English spelling stored by older saves.
struct TextPair
{
    const char *chinese;
    const char *english;
    const char *alias;
};

// The English texts are those a save in English stores, so a record saved in one language reads
// in the other; the two drive modes and the spaced "Passive& Active" would otherwise stay as saved.
const TextPair kModes[] = {
    {"主动", "Active", nullptr},
    {"被动", "Passive", nullptr},
    {"主被动", "Passive& Active", "Passive&Active"},
    {"等速", "Isokinetic", nullptr},
    {"助力", "Assisted", nullptr},
    {"上肢带下肢", "Upper Limb Drives Lower", nullptr},
    {"下肢带上肢", "Lower Limb Drives Upper", nullptr},
};

const TextPair kBodies[] = {
    {"水平上肢", "Horizontal Limb", nullptr},
    {"下肢", "Lower Limb", nullptr},
    {"上下肢", "Upper and Lower", nullptr},
    {"垂直上肢", "Vertical Limb", nullptr},
};

template<size_t N>
QString translated(const TextPair (&pairs)[N], const QString &stored, bool english)
{
    for (const TextPair &pair : pairs) {
        const bool chinese = stored == QString::fromUtf8(pair.chinese);
        const bool inEnglish = stored == QLatin1String(pair.english)
            || (pair.alias && stored == QLatin1String(pair.alias));
        if (chinese || inEnglish)
            return english ? QString::fromLatin1(pair.english) : QString::fromUtf8(pair.chinese);
    }
    return stored;
}

} // namespace

QString RecordTexts::modeText(const QString &stored, bool english)
{
    return translated(kModes, stored, english);
}

QString RecordTexts::bodyText(const QString &stored, bool english)
{
    return translated(kBodies, stored, english);
}
