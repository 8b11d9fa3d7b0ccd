#pragma once
#include "LibraryState.h"

namespace linecard {

// EnableCard and DisableCard: buffers, channel modes and gains, line feed, tones.
class CardEnabler {
public:
    static constexpr uint32_t kMaxBufferBytes = 61440;

    explicit CardEnabler(LibraryState& state) : state_(state) {}
    int enable(int32_t channels, int32_t bufferBytes);
    int disable();
    // The card buffer for a requested size: at most 61440, else rounded up to 4096.
    static uint32_t roundBuffer(int64_t bytes);
    // floor(2048 * 10^(step/20)) for -20..+20.
    static uint32_t gainFactor(int step);
    int setGain(uint16_t ch, bool play, int step);
    int setPackRate(int rate);

private:
    LibraryState& state_;
};

} // namespace linecard
