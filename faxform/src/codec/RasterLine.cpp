#include "RasterLine.h"

#include "FaxPage.h"

#include <cstring>

namespace faxform {
namespace {

void fillBlack(std::uint8_t* line, int begin, int end) {
    if (begin >= end) {
        return;
    }
    const int firstByte = begin >> 3;
    const int lastByte = (end - 1) >> 3;
    const auto leftMask = static_cast<std::uint8_t>(0xFFu >> (begin & 7));
    const auto rightMask = static_cast<std::uint8_t>(0xFFu << (7 - ((end - 1) & 7)));
    if (firstByte == lastByte) {
        line[firstByte] |= leftMask & rightMask;
        return;
    }
    line[firstByte] |= leftMask;
    std::memset(line + firstByte + 1, 0xFF, static_cast<std::size_t>(lastByte - firstByte - 1));
    line[lastByte] |= rightMask;
}

// Eight bytes of the line as one word, leftmost pixel most significant.
std::uint64_t loadWord(const std::uint8_t* line, int word) {
    std::uint64_t value;
    std::memcpy(&value, line + word * 8, sizeof value);
    return __builtin_bswap64(value);
}

} // namespace

void renderChanges(const int* changes, int count, std::uint8_t* line) {
    std::memset(line, 0, kLineBytes);
    for (int i = 0; i < count; i += 2) {
        fillBlack(line, changes[i], i + 1 < count ? changes[i + 1] : kLineWidth);
    }
}

int nextChange(const std::uint8_t* line, int from, bool black) {
    // 64 pixels at a time; kLineWidth is a multiple of 64.
    static_assert(kLineWidth % 64 == 0);
    if (from >= kLineWidth) {
        return kLineWidth;
    }
    const std::uint64_t same = black ? ~std::uint64_t{0} : 0;
    int word = from >> 6;
    std::uint64_t differing = (loadWord(line, word) ^ same) & (~std::uint64_t{0} >> (from & 63));
    while (differing == 0) {
        if (++word == kLineWidth / 64) {
            return kLineWidth;
        }
        differing = loadWord(line, word) ^ same;
    }
    return (word << 6) + __builtin_clzll(differing);
}

} // namespace faxform
