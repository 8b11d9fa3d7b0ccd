#pragma once
#include <cstdint>

namespace carddriver {

// G.711 A-law, the card's sample format on the line.
class AlawSample {
public:
    static int16_t decode(uint8_t code);
    static uint8_t encode(int16_t sample);
};

} // namespace carddriver
