#pragma once
#include <cstddef>
#include <cstdint>

namespace linecard {

// IMA ADPCM in the WAV block layout: 256-byte mono blocks of 505 samples, a
// 4-byte header (first sample, step index) and 252 bytes of 4-bit codes,
// low nibble first.
class ImaAdpcmCoder {
public:
    static constexpr size_t kBlockBytes = 256;
    static constexpr size_t kBlockSamples = 505;

    static void encodeBlock(const int16_t* samples, uint8_t* block);
    static void decodeBlock(const uint8_t* block, int16_t* samples);
};

} // namespace linecard
