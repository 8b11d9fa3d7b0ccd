#pragma once

#include <cstddef>
#include <cstdint>

namespace faxform {

inline constexpr char kBfxSignature[] = "BIT  FAX0";
inline constexpr std::size_t kBfxSignatureSize = 9;
inline constexpr std::uint64_t kBfxPageCountOffset = 9;
inline constexpr std::uint64_t kBfxResolutionOffset = 1577;
inline constexpr std::uint8_t kBfxFineResolution = '@';
inline constexpr std::size_t kBfxHeaderSize = 2048;
// The page table must end before the resolution flag.
inline constexpr unsigned kBfxMaxPages = 97;

// Page i (from 0) has its data length and offset here.
inline constexpr std::uint64_t bfxPageLengthOffset(unsigned page) {
    return 16 + 16 * page + 4;
}
inline constexpr std::uint64_t bfxPageDataOffset(unsigned page) {
    return 16 + 16 * page + 8;
}

inline void putLittle32(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline void putLittle16(std::uint8_t* out, std::uint16_t value) {
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
}

inline std::uint32_t getLittle32(const std::uint8_t* in) {
    return std::uint32_t{in[0]} | (std::uint32_t{in[1]} << 8) | (std::uint32_t{in[2]} << 16) |
           (std::uint32_t{in[3]} << 24);
}

} // namespace faxform
