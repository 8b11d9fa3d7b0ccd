#pragma once
#include <cstdint>

namespace linecard {

// The tone generator's A-law coder: segment layout, sign bit set for negative samples.
class SegmentAlawCoder {
public:
    static uint8_t encode(int16_t sample) {
        int value = sample;
        int magnitude = value < 0 ? -value : value;
        if (magnitude > 32767)
            magnitude = 32767;
        int code;
        if (magnitude < 512) {
            code = magnitude >> 4;
        } else {
            int segment = 7;
            while (segment > 2 && !(magnitude & (1 << (segment + 7))))
                --segment;
            code = segment * 16 + ((magnitude >> (segment + 3)) & 15);
        }
        if (value < 0)
            code += 0x80;
        return static_cast<uint8_t>(code ^ 0x55);
    }
};

} // namespace linecard
