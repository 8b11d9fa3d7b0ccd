#pragma once
#include "LibraryState.h"

namespace linecard {

// Voice play from memory and from a fed stream over the card's two-half
// channel buffers, and the pump that refills the halves.
class Playback {
public:
    static constexpr uint32_t kStreamRingBytes = 245760;
    static constexpr uint8_t kSilence = 0x55;
    static constexpr uint32_t kSpeechValue = kSpeechMarker;

    explicit Playback(LibraryState& state) : state_(state) {}

    int startPlay(uint16_t ch, const uint8_t* address, uint32_t length, bool speech);
    int stopPlay(uint16_t ch);
    int checkPlayEnd(uint16_t ch);
    int startPlayMem(uint16_t ch);
    int sendToBuff(uint16_t ch, const uint8_t* data, uint32_t length);
    void pump();
    // Empties a channel's stream ring (state 0, silence).
    void resetStream(uint16_t ch);

private:
    bool moveToCard(uint16_t ch, const uint8_t* bytes, uint32_t length, uint32_t offset);
    void pumpMemory(uint16_t ch, ChannelState& channel);
    void pumpStream(uint16_t ch, ChannelState& channel);
    // Which half is due: 0 first, 1 second, -1 none.
    int dueHalf(const ChannelState& channel, uint16_t remainder) const;

    LibraryState& state_;
};

} // namespace linecard
