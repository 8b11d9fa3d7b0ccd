#pragma once
#include "carddriver/CardClock.h"

#include <memory>

namespace carddriver {

// The process-wide clock: the real one unless a test installs another.
class ClockService {
public:
    static int64_t nowMicros();
    static void waitMillis(int64_t millis);
    static std::shared_ptr<CardClock> current();
    // Installs `clock` (null restores the real clock).
    static void install(std::shared_ptr<CardClock> clock);
};

} // namespace carddriver
