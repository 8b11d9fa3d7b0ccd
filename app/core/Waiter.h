#pragma once

// Pauses with the event loop running (draw pacing, channel resets); tests
// replace it so they run at full speed.
class Waiter {
public:
    virtual ~Waiter() = default;
    virtual void wait(int milliseconds) = 0;
};
