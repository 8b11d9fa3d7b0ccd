#pragma once
#include <cstdint>

namespace carddriver {

// One direction (play or record) of a channel's pass over its card buffer:
// a single pass of some length, or a looped pass that wraps to offset 0 until
// a loop stop position ends it.
class CardPass {
public:
    static constexpr uint16_t kRunning = 1;
    static constexpr uint16_t kEnded = 5;

    void startSingle(uint32_t length);
    void startLooped(uint32_t length);
    void stop();
    // The pass ends the next time its position reaches length - `unusedBytes`
    // (0 meaning the end of the pass).
    void setLoopStop(uint32_t unusedBytes);

    bool active() const { return active_; }
    uint16_t state() const { return active_ ? kRunning : kEnded; }
    uint32_t remainder() const { return active_ ? length_ - position_ : 0; }
    uint32_t position() const { return position_; }

    // Takes one sample: the buffer offset it uses, or -1 when the pass is not running.
    int step();

private:
    bool active_ = false;
    bool looped_ = false;
    uint32_t length_ = 0;
    uint32_t position_ = 0;
    bool stopArmed_ = false;
    uint32_t stopAt_ = 0;
};

} // namespace carddriver
