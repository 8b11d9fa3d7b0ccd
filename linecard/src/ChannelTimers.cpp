#include "ChannelTimers.h"

#include "carddriver/ClockService.h"

namespace linecard {

uint32_t ChannelTimers::timeOfDay() {
    int64_t micros = carddriver::ClockService::nowMicros();
    int64_t millisOfDay = (micros / 1000) % 86400000;
    if (millisOfDay < 0)
        millisOfDay += 86400000;
    int64_t hours = millisOfDay / 3600000;
    int64_t minutes = millisOfDay / 60000 % 60;
    int64_t seconds = millisOfDay / 1000 % 60;
    int64_t millis = millisOfDay % 1000;
    return static_cast<uint32_t>(hours * 360000 + minutes * 6000 + seconds * 100 + millis / 10);
}

void ChannelTimers::start(ChannelState& channel, int timer) {
    channel.timers[static_cast<size_t>(timer)] = timeOfDay();
}

uint32_t ChannelTimers::elapsed(const ChannelState& channel, int timer) {
    int64_t difference =
        static_cast<int64_t>(timeOfDay()) - channel.timers[static_cast<size_t>(timer)];
    if (difference < 0)
        difference += kDay;
    return static_cast<uint32_t>(difference);
}

} // namespace linecard
