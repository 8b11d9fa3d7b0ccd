#include "carddriver/AlawSample.h"

#include <array>
#include <cstddef>

namespace carddriver {
namespace {

int16_t decodeOne(uint8_t code) {
    int v = code ^ 0x55;
    int segment = (v >> 4) & 7;
    int mantissa = v & 15;
    int magnitude = segment == 0 ? (mantissa << 4) + 8 : ((mantissa << 4) + 0x108) << (segment - 1);
    return static_cast<int16_t>((v & 0x80) ? magnitude : -magnitude);
}

const std::array<int16_t, 256>& decodeTable() {
    static const std::array<int16_t, 256> table = [] {
        std::array<int16_t, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[static_cast<size_t>(i)] = decodeOne(static_cast<uint8_t>(i));
        return t;
    }();
    return table;
}

} // namespace

int16_t AlawSample::decode(uint8_t code) {
    return decodeTable()[code];
}

uint8_t AlawSample::encode(int16_t sample) {
    int value = sample;
    int sign = value >= 0 ? 0x80 : 0;
    int magnitude = value >= 0 ? value : -value - 1;
    if (magnitude > 32767)
        magnitude = 32767;
    int code;
    if (magnitude < 256) {
        code = magnitude >> 4;
    } else {
        int segment = 1;
        for (int m = magnitude >> 8; m > 1; m >>= 1)
            ++segment;
        code = (segment << 4) | ((magnitude >> (segment + 3)) & 15);
    }
    return static_cast<uint8_t>((code | sign) ^ 0x55);
}

} // namespace carddriver
