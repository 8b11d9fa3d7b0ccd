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

} // namespace

void renderChanges(const int* changes, int count, std::uint8_t* line) {
    std::memset(line, 0, kLineBytes);
    for (int i = 0; i < count; i += 2) {
        fillBlack(line, changes[i], i + 1 < count ? changes[i + 1] : kLineWidth);
    }
}

int nextChange(const std::uint8_t* line, int from, bool black) {
    const std::uint8_t same = black ? 0xFF : 0x00;
    int position = from;
    while (position < kLineWidth) {
        const int byteIndex = position >> 3;
        auto differing =
            static_cast<std::uint8_t>((line[byteIndex] ^ same) & (0xFFu >> (position & 7)));
        if (differing != 0) {
            return (byteIndex << 3) + __builtin_clz(differing) - 24;
        }
        position = (byteIndex + 1) << 3;
        while (position < kLineWidth && line[position >> 3] == same) {
            position += 8;
        }
    }
    return kLineWidth;
}

} // namespace faxform
