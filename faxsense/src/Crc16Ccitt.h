#pragma once

#include <array>
#include <cstdint>

namespace faxsense {

namespace detail {
constexpr std::array<uint16_t, 256> buildCrc16CcittTable() {
    std::array<uint16_t, 256> table{};
    for (int index = 0; index < 256; ++index) {
        uint16_t crc = static_cast<uint16_t>(index << 8);
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
        }
        table[index] = crc;
    }
    return table;
}
inline constexpr std::array<uint16_t, 256> kCrc16CcittTable = buildCrc16CcittTable();
} // namespace detail

// CRC-16 of the ITU-T (CCITT) polynomial x^16 + x^12 + x^5 + 1, most
// significant bit first. Run over a frame and its FCS from 0xFFFF, a sound
// frame leaves the residue 0x1D0F.
class Crc16Ccitt {
public:
    static constexpr uint16_t Initial = 0xFFFF;
    static constexpr uint16_t GoodResidue = 0x1D0F;

    static constexpr uint16_t update(uint16_t crc, uint8_t msbFirstByte) {
        return static_cast<uint16_t>((crc << 8) ^
                                     detail::kCrc16CcittTable[((crc >> 8) ^ msbFirstByte) & 0xFF]);
    }
};

} // namespace faxsense
