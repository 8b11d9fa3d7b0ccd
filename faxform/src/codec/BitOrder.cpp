#include "BitOrder.h"

#include <array>

namespace faxform {
namespace {

constexpr std::array<std::uint8_t, 256> makeReversalTable() {
    std::array<std::uint8_t, 256> table{};
    for (unsigned value = 0; value < 256; ++value) {
        unsigned reversed = 0;
        for (unsigned bit = 0; bit < 8; ++bit) {
            if (value & (1u << bit)) {
                reversed |= 0x80u >> bit;
            }
        }
        table[value] = static_cast<std::uint8_t>(reversed);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kReversed = makeReversalTable();

} // namespace

std::uint8_t reversedByte(std::uint8_t value) {
    return kReversed[value];
}

void reverseBitOrder(std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = kReversed[data[i]];
    }
}

} // namespace faxform
