#pragma once
#include <cstdint>

namespace carddriver {

// Goertzel DTMF receiver over 102-sample blocks (12.75 ms at 8000 Hz). A key
// is reported once when two blocks in a row agree on it, and the next key
// only after two blocks without it, so a 40 ms tone is enough and a held
// key is not repeated.
class DtmfDetector {
public:
    static constexpr int kBlock = 102;

    // Takes one sample; returns the digit code (1-16, "0" = 10, "*" = 11,
    // "#" = 12, "A"-"D" = 13-16) when a key has just been recognised, else 0.
    int feed(int16_t sample) {
        float x = static_cast<float>(sample);
        for (int i = 0; i < 8; ++i) {
            float s = x + coefficient_[i] * s1_[i] - s2_[i];
            s2_[i] = s1_[i];
            s1_[i] = s;
        }
        energy_ += x * x;
        if (++count_ < kBlock)
            return 0;
        return endBlock();
    }

    void reset();

    // Acceptance thresholds: the weaker tone's level in dBm0 and the largest
    // level difference between the two tones in either direction, in dB.
    static constexpr double kMinLevelDbm0 = -36.0;
    static constexpr double kMaxTwistDb = 8.0;

private:
    int endBlock();
    static const float coefficient_[8];
    float s1_[8]{};
    float s2_[8]{};
    float energy_ = 0;
    int count_ = 0;
    int lastHit_ = 0;
    int reported_ = 0;
};

} // namespace carddriver
