#pragma once

#include "RateConverter.h"
#include "V21Receiver.h"

#include <cstdint>
#include <span>

namespace faxsense {

// The detector of one voice channel: turns its audio into V.21 bursts, decodes
// each burst when it ends and reports a fax machine's T.30 command.
class ChannelDetector {
public:
    static constexpr int BlockBytes = RateConverter::InputBlock;
    static constexpr int ArmedCountdown = 5000; // blocks: 50 s
    static constexpr int UnsetCountdown = 2000;

    enum class Step : uint8_t { Initial, Armed, Running };
    enum Flag : uint8_t { BurstEnded = 2, TimedOut = 8 };

    // Whole blocks of `alaw` are processed in order until one detects; a
    // trailing partial block is ignored. Returns true on a detection.
    bool feed(std::span<const uint8_t> alaw);
    bool processBlock(const uint8_t* alaw);

    Step step() const { return step_; }
    int countdown() const { return countdown_; }
    const V21Receiver& receiver() const { return receiver_; }

    bool operator==(const ChannelDetector&) const = default;

private:
    bool decodeBurst() const;

    Step step_ = Step::Initial;
    uint8_t flags_ = 0;
    int countdown_ = 0;
    RateConverter converter_;
    V21Receiver receiver_;
};

} // namespace faxsense
