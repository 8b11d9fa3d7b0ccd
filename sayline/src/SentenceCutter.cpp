#include "SentenceCutter.h"

#include <array>

namespace sayline {

namespace {

// GBK bytes of the full-width marks.
constexpr std::array<std::string_view, 4> kWideMarks = {"\xA3\xAC", "\xA1\xA2", "\xA3\xA1",
                                                        "\xA3\xBB"};

bool isWideMark(std::string_view pair) {
    for (const std::string_view mark : kWideMarks)
        if (pair == mark)
            return true;
    return false;
}

bool isNarrowMark(char c) {
    return c == '!' || c == '?' || c == ';';
}

bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

bool isTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

} // namespace

SentenceCutter::Sentence SentenceCutter::cut(std::string_view text, size_t start) {
    size_t at = start;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (isLeadByte(byte) && at + 1 < text.size() &&
            isTrailByte(static_cast<unsigned char>(text[at + 1]))) {
            // A two-byte character is tested and kept whole: a mark is only
            // ever a whole character, never the trail byte of one character
            // joined to the lead byte of the next.
            if (isWideMark(text.substr(at, 2)))
                return {text.substr(start, at - start), at + 2};
            at += 2;
            continue;
        }
        if (isNarrowMark(text[at]))
            return {text.substr(start, at - start), at + 1};
        ++at;
    }
    return {text.substr(start), text.size()};
}

} // namespace sayline
