#pragma once

// What the initial draw reports while it runs; the progress window implements
// it, and without one the draw simply runs silently.
class DrawProgress {
public:
    virtual ~DrawProgress() = default;
    // The draw starts: show the window.
    virtual void begin() = 0;
    // Number of experts the draw will go through.
    virtual void setMaximum(int maximum) = 0;
    // One expert done; the window repaints with the event loop running.
    virtual void step() = 0;
    // The draw is over, successfully or not: close the window.
    virtual void end() = 0;
};
