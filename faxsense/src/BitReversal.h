#pragma once

#include <array>
#include <cstdint>

namespace faxsense {

namespace detail {
constexpr std::array<uint8_t, 256> buildBitReversalTable() {
    std::array<uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        int reversed = 0;
        for (int bit = 0; bit < 8; ++bit) {
            reversed |= ((value >> bit) & 1) << (7 - bit);
        }
        table[value] = static_cast<uint8_t>(reversed);
    }
    return table;
}
inline constexpr std::array<uint8_t, 256> kBitReversalTable = buildBitReversalTable();
} // namespace detail

// Byte bit-order reversal: the line sends each octet least significant bit
// first, the CRC register takes it most significant bit first.
class BitReversal {
public:
    static constexpr uint8_t reverse(uint8_t value) { return detail::kBitReversalTable[value]; }
};

} // namespace faxsense
