#pragma once
#include <cstdint>

namespace carddriver {

// Wall-clock time in microseconds since the Unix epoch (UTC). The card's
// buffers and the library's channel timers both read it, so that a test that
// moves a virtual clock moves the card's audio and the timers together.
class CardClock {
public:
    virtual ~CardClock() = default;
    virtual int64_t nowMicros() const = 0;
    // Lets `micros` pass: a real clock sleeps, a virtual one moves itself on.
    virtual void wait(int64_t micros) = 0;
};

} // namespace carddriver
