#include "ChannelDetector.h"

#include "BitReversal.h"
#include "DebugLog.h"
#include "HdlcDeframer.h"
#include "T30FrameScanner.h"

#include <array>

namespace faxsense {

bool ChannelDetector::feed(std::span<const uint8_t> alaw) {
    for (std::size_t at = 0; at + BlockBytes <= alaw.size(); at += BlockBytes) {
        if (processBlock(alaw.data() + at)) {
            return true;
        }
    }
    return false;
}

bool ChannelDetector::processBlock(const uint8_t* alaw) {
    if (step_ == Step::Initial) {
        *this = ChannelDetector{};
        step_ = Step::Armed;
    }
    if (step_ == Step::Armed) {
        countdown_ = ArmedCountdown;
        flags_ = 0;
        step_ = Step::Running;
    }

    std::array<int16_t, RateConverter::OutputBlock> samples;
    converter_.convert(alaw, samples.data());
    if (receiver_.processBlock(samples.data())) {
        flags_ |= BurstEnded;
    }
    if (countdown_ <= 0) {
        countdown_ = UnsetCountdown;
    }
    if (--countdown_ == 0) {
        DebugLog::write("--- F03 Timeout ___");
        flags_ |= TimedOut;
    }

    // A burst that ends in the block of the time-out is still decoded.
    bool detected = false;
    if (flags_ & BurstEnded) {
        detected = decodeBurst();
    }
    if (flags_ & (BurstEnded | TimedOut)) {
        step_ = Step::Armed;
        flags_ = 0;
    }
    return detected;
}

bool ChannelDetector::decodeBurst() const {
    std::array<uint8_t, V21Receiver::ByteRingSize> bytes;
    const int count = receiver_.collectedBytes(bytes);
    // The bytes were packed in arrival order from bit 0 up; the deframer reads
    // each from its top bit down.
    for (int i = 0; i < count; ++i) {
        bytes[i] = BitReversal::reverse(bytes[i]);
    }
    HdlcDeframer deframer;
    deframer.deframe(std::span<const uint8_t>(bytes.data(), static_cast<std::size_t>(count)));
    return T30FrameScanner::detects(deframer);
}

} // namespace faxsense
