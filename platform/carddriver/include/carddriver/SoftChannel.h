#pragma once
#include "carddriver/CardPass.h"
#include "carddriver/ChannelQueue.h"
#include "carddriver/DtmfDetector.h"
#include "carddriver/ToneBandDetector.h"

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace carddriver {

// One line of the software card: its buffer, its two passes, its hook and
// the detectors listening to what it receives.
struct SoftChannel {
    uint16_t type = 1;
    std::vector<uint8_t> buffer;
    CardPass play;
    CardPass record;
    ChannelQueue queue; // used instead of the passes in the queue mode
    // Trunk: seized. User line: the last hook request was 1 (ringing).
    bool hookRequest1 = false;
    bool seized = false;
    bool handsetOffHook = false; // user line: the telephone is picked up
    std::deque<uint8_t> digits;
    bool detecting = false;
    uint64_t detectionStartPeriod = 0;
    std::deque<uint8_t> injectedAudio; // what a test makes the line carry
    DtmfDetector dtmf;
    ToneBandDetector toneBand;
    bool toneNow = false; // the detector's verdict for the last period
    // The single-frequency detector: a Goertzel filter at detector group 1's
    // frequency, and its records (byte 0 level outside, byte 4 level inside
    // the frequency), one per period.
    float goertzel1 = 0, goertzel2 = 0, periodEnergy = 0;
    std::vector<std::array<uint8_t, 6>> frequencyRecords = std::vector<std::array<uint8_t, 6>>(512);
};

} // namespace carddriver
