#pragma once
#include <cstdint>

namespace carddriver {

// The call-progress detector: over each 256-sample (32 ms) period it judges
// whether a tone is present in the 300-700 Hz band, above a level threshold
// and carrying most of the period's power.
class ToneBandDetector {
public:
    static constexpr int kPeriod = 256;
    static constexpr double kMinLevelDbm0 = -40.0;

    // Takes one sample; returns -1 inside a period, else 0 or 1 for the period just ended.
    int feed(int16_t sample) {
        double x = sample;
        double y = b0_ * (x - x2_) - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        band_ += y * y;
        total_ += x * x;
        if (++count_ < kPeriod)
            return -1;
        return endPeriod();
    }

    void reset();

private:
    int endPeriod();
    static const double b0_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
    double band_ = 0, total_ = 0;
    int count_ = 0;
};

} // namespace carddriver
