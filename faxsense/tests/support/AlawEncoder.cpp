#include "AlawEncoder.h"

#include <spandsp.h>

namespace faxsense::testing {

std::vector<uint8_t> AlawEncoder::encode(std::span<const int16_t> linear) {
    std::vector<uint8_t> out;
    out.reserve(linear.size());
    for (const int16_t sample : linear) {
        out.push_back(linear_to_alaw(sample));
    }
    return out;
}

uint8_t AlawEncoder::encode(int16_t sample) {
    return linear_to_alaw(sample);
}

int16_t AlawEncoder::decode(uint8_t code) {
    return alaw_to_linear(code);
}

} // namespace faxsense::testing
