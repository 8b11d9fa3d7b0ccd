#include "CurveCoder.h"

#include <array>
#include <cmath>

namespace linecard {
namespace {

constexpr double kA = 87.6;
const double kC = 1.0 + std::log(kA);

uint8_t encodeOne(int sample) {
    double x = std::abs(sample) / 32767.0;
    if (x > 1.0)
        x = 1.0;
    double y = x > 1.0 / kA ? (1.0 + std::log(kA * x)) / kC : kA * x / kC;
    int code = static_cast<int>(std::floor(127.0 * y));
    if (sample < 0)
        code += 128;
    return static_cast<uint8_t>(code ^ 0x55);
}

int16_t decodeOne(uint8_t code) {
    int v = code ^ 0x55;
    double y = (v & 127) / 127.0;
    double x = y <= 1.0 / kC ? kC * y / kA : std::exp(kC * y - 1.0) / kA;
    int sample = static_cast<int>(std::floor(32767.0 * x));
    return static_cast<int16_t>((v & 0x80) ? -sample : sample);
}

const std::array<uint8_t, 65536>& encodeTable() {
    static const std::array<uint8_t, 65536> table = [] {
        std::array<uint8_t, 65536> t{};
        for (int s = -32768; s <= 32767; ++s)
            t[static_cast<size_t>(s + 32768)] = encodeOne(s);
        return t;
    }();
    return table;
}

const std::array<int16_t, 256>& decodeTable() {
    static const std::array<int16_t, 256> table = [] {
        std::array<int16_t, 256> t{};
        for (int c = 0; c < 256; ++c)
            t[static_cast<size_t>(c)] = decodeOne(static_cast<uint8_t>(c));
        return t;
    }();
    return table;
}

} // namespace

uint8_t CurveCoder::encode(int16_t sample) {
    return encodeTable()[static_cast<size_t>(sample + 32768)];
}

int16_t CurveCoder::decode(uint8_t code) {
    return decodeTable()[code];
}

} // namespace linecard
