#pragma once
#include <cstdint>

namespace linecard {

// The A-law curve coder pair (A = 87.6, c = 1 + ln A) of the voice files and streams.
class CurveCoder {
public:
    static uint8_t encode(int16_t sample);
    static int16_t decode(uint8_t code);
};

} // namespace linecard
