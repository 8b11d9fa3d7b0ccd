#pragma once

#include <array>
#include <cstdint>

namespace faxsense {

// G.711 A-law expansion to 16-bit linear (the 13-bit code scaled by 8).
class AlawDecoder {
public:
    static int16_t decode(uint8_t code) { return table()[code]; }
    static const std::array<int16_t, 256>& table();
};

} // namespace faxsense
