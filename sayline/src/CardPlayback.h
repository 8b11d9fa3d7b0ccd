#pragma once

#include <cstdint>

namespace sayline {

// The voice card library's memory playback as a slot's API side uses it:
// play a buffer of A-law samples on a channel, stop it, ask whether it has
// ended, and feed the card's playback buffers.
class CardPlayback {
public:
    virtual ~CardPlayback() = default;
    // The buffer stays the caller's and unchanged until the play has ended
    // or been stopped.
    virtual void startPlay(int channel, const uint8_t* samples, uint32_t length) = 0;
    virtual void stopPlay(int channel) = 0;
    virtual bool playEnded(int channel) = 0;
    virtual void pushPlay() = 0;
};

} // namespace sayline
