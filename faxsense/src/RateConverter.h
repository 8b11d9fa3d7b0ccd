#pragma once

#include <array>
#include <cstdint>

namespace faxsense {

// Converts 8000 Hz A-law audio to 7200 Hz linear samples with a 9-phase,
// 10-tap polyphase low-pass (up by 9, down by 10). A block of 80 input bytes
// gives exactly 72 outputs, so the phase pattern restarts with every block.
class RateConverter {
public:
    static constexpr int InputBlock = 80;
    static constexpr int OutputBlock = 72;
    static constexpr int Phases = 9;
    static constexpr int Taps = 10;

    void convert(const uint8_t* alaw, int16_t* out);
    void reset() { history_ = {}; }

    bool operator==(const RateConverter&) const = default;

    static const std::array<std::array<int16_t, Taps>, Phases>& coefficients();

private:
    // The last Taps - 1 linear input samples of the previous block.
    std::array<int16_t, Taps - 1> history_{};
};

} // namespace faxsense
