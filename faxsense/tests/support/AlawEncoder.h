#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace faxsense::testing {

// 16-bit linear audio to A-law with spandsp's G.711 coder, so that the audio
// under test does not pass through any code of ours before the detector.
class AlawEncoder {
public:
    static std::vector<uint8_t> encode(std::span<const int16_t> linear);
    static uint8_t encode(int16_t sample);
    static int16_t decode(uint8_t code);
};

} // namespace faxsense::testing
