#pragma once
#include "LibraryState.h"

namespace linecard {

// Live recording: the caller takes a channel's recorded samples itself, in
// fixed chunks, from a looped record over the card buffer.
class LiveRecording {
public:
    explicit LiveRecording(LibraryState& state) : state_(state) {}

    int setRefreshSize(int32_t size);
    int start(uint16_t ch);
    int stop(uint16_t ch);
    // Bytes delivered into `destination` (one chunk or nothing).
    int take(uint16_t ch, uint8_t* destination);
    int setEcrMode(uint16_t ch, int mode, uint32_t p1, uint32_t p2);

private:
    bool recordModeCard() const {
        return state_.config.cardType == 31 || state_.config.cardType == 50;
    }
    LibraryState& state_;
};

} // namespace linecard
