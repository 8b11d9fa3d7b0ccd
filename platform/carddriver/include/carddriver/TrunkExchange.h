#pragma once
#include <cstdint>

namespace carddriver {

// What sits behind the trunk lines: it hears what the card plays and
// answers, sample by sample, with what the card receives.
class TrunkExchange {
public:
    virtual ~TrunkExchange() = default;
    // One sample period on `channel`; `offHook` is the card's hook state.
    virtual uint8_t carry(uint16_t channel, bool offHook, uint8_t sent) = 0;
    // Ringing current towards the card (an incoming call).
    virtual bool ringing(uint16_t channel) const = 0;
    // The line's polarity, reversed while a call is answered.
    virtual bool polarityReversed(uint16_t channel) const = 0;
};

} // namespace carddriver
