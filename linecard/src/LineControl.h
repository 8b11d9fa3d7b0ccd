#pragma once
#include "LibraryState.h"

namespace linecard {

// Hook and feed, ring cadence, hang-up and flash detection, generated tones
// and the periodic pump of cadences and tone loops.
class LineControl {
public:
    explicit LineControl(LibraryState& state) : state_(state) {}

    int validChannelCount() const;
    int channelType(uint16_t ch) const;
    int channelTypeNew(uint16_t ch) const;
    int hook(uint16_t ch, uint16_t value);
    int lineSense(uint16_t ch);
    int feedPower(uint16_t ch);
    int feedRealRing(uint16_t ch);
    int offHookDetect(uint16_t ch);
    int hangUpDetect(uint16_t ch);
    int checkRingEnd(uint16_t ch);
    int checkPolarity(uint16_t ch);
    int startPlaySignal(uint16_t ch, int tone);
    int sendDigits(uint16_t ch, const char* digits);
    int checkSendEnd(uint16_t ch);
    void feedSigFunc();

private:
    LibraryState& state_;
};

} // namespace linecard
