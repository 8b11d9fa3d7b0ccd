#include "PinyinInitials.h"

#include "GbkCodec.h"

#include <array>

namespace {

struct LetterRange {
    char letter;
    int first;
    int last;
};

constexpr std::array<LetterRange, 23> kRanges{{
    {'A', 1601, 1636}, {'B', 1637, 1832}, {'C', 1833, 2077}, {'D', 2078, 2273}, {'E', 2274, 2301},
    {'F', 2302, 2432}, {'G', 2433, 2593}, {'H', 2594, 2786}, {'J', 2787, 3105}, {'K', 3106, 3211},
    {'L', 3212, 3471}, {'M', 3472, 3634}, {'N', 3635, 3722}, {'O', 3723, 3729}, {'P', 3730, 3857},
    {'Q', 3858, 4026}, {'R', 4027, 4085}, {'S', 4086, 4389}, {'T', 4390, 4557}, {'W', 4558, 4683},
    {'X', 4684, 4924}, {'Y', 4925, 5248}, {'Z', 5249, 5589},
}};

char letterFor(int areaPosition) {
    for (const LetterRange& r : kRanges)
        if (areaPosition >= r.first && areaPosition <= r.last)
            return r.letter;
    return 0;
}

bool isGbkLead(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
bool isGbkTrail(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

} // namespace

QString PinyinInitials(const QString& text) {
    const QByteArray in = GbkCodec::fromUnicode(text);
    QByteArray out;
    for (qsizetype i = 0; i < in.size();) {
        const auto b = static_cast<unsigned char>(in[i]);
        const auto next = i + 1 < in.size() ? static_cast<unsigned char>(in[i + 1]) : 0;
        if (b >= 0xA0 && next >= 0xA0) {
            if (const char c = letterFor((b - 0xA0) * 100 + (next - 0xA0)))
                out.append(c);
            i += 2;
        } else if (isGbkLead(b) && isGbkTrail(next)) {
            // A whole GBK character outside GB2312's area: kept, not split.
            out.append(in.mid(i, 2));
            i += 2;
        } else {
            out.append(static_cast<char>(b));
            ++i;
        }
    }
    return GbkCodec::toUnicode(out);
}
