#pragma once
#include "carddriver/CardClock.h"

#include <atomic>

namespace carddriver {

// A clock that only moves when told to, so that minutes of line time run in
// microseconds and every run sees the same times.
class VirtualClock : public CardClock {
public:
    explicit VirtualClock(int64_t startMicros = 1'700'000'000'000'000LL) : now_(startMicros) {}
    int64_t nowMicros() const override { return now_.load(); }
    void wait(int64_t micros) override { advanceMicros(micros > 0 ? micros : 0); }
    void advanceMicros(int64_t micros) { now_ += micros; }
    void advanceMillis(int64_t millis) { now_ += millis * 1000; }
    void setMicros(int64_t micros) { now_ = micros; }

private:
    std::atomic<int64_t> now_;
};

} // namespace carddriver
