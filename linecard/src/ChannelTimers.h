#pragma once
#include "LibraryState.h"

namespace linecard {

// The per-channel software timers: UTC time of day in 10 ms units.
class ChannelTimers {
public:
    static constexpr uint32_t kDay = 8640000;
    static uint32_t timeOfDay();
    static void start(ChannelState& channel, int timer);
    static uint32_t elapsed(const ChannelState& channel, int timer);
};

} // namespace linecard
