#include "AlawDecoder.h"

namespace faxsense {

namespace {

constexpr int16_t expand(uint8_t code) {
    // Even bits are inverted on the line so that idle channels do not sit at zero.
    const int inverted = code ^ 0x55;
    const int mantissa = (inverted & 0x0F) << 4;
    const int segment = (inverted & 0x70) >> 4;
    int magnitude = mantissa + 8;
    if (segment > 0) {
        magnitude = (mantissa + 0x108) << (segment - 1);
    }
    return static_cast<int16_t>((inverted & 0x80) ? magnitude : -magnitude);
}

constexpr std::array<int16_t, 256> buildTable() {
    std::array<int16_t, 256> t{};
    for (int code = 0; code < 256; ++code) {
        t[code] = expand(static_cast<uint8_t>(code));
    }
    return t;
}

constexpr std::array<int16_t, 256> kTable = buildTable();

} // namespace

const std::array<int16_t, 256>& AlawDecoder::table() {
    return kTable;
}

} // namespace faxsense
