#include "RateConverter.h"

#include "AlawDecoder.h"

#include <algorithm>

namespace faxsense {

namespace {

// Hamming-windowed sinc of 90 taps at 72 kHz with its cut-off at 3300 Hz:
// flat to 0.01 dB over 300..2000 Hz, images of the V.21 band at least 55 dB
// down. Phase p holds taps p, p + 9, ..., p + 81, each phase scaled to sum
// to exactly 32768 so that no phase adds a DC ripple.
constexpr std::array<std::array<int16_t, RateConverter::Taps>, RateConverter::Phases> kPhases = {{
    {42, -322, 1397, -3516, 6501, 26961, 3516, -2739, 1273, -345},
    {-7, -253, 1401, -4111, 9771, 26187, 926, -1878, 1064, -332},
    {-60, -131, 1253, -4420, 13172, 24645, -1187, -1015, 805, -294},
    {-118, 45, 932, -4349, 16533, 22434, -2773, -226, 530, -240},
    {-179, 270, 434, -3819, 19678, 19678, -3819, 434, 270, -179},
    {-240, 530, -226, -2773, 22434, 16533, -4349, 932, 45, -118},
    {-294, 805, -1015, -1187, 24645, 13172, -4420, 1253, -131, -60},
    {-332, 1064, -1878, 926, 26187, 9771, -4111, 1401, -253, -7},
    {-345, 1273, -2739, 3516, 26961, 6501, -3516, 1397, -322, 42},
}};

// The same taps ordered tap by tap, each row padded to 16 lanes of 32 bits.
constexpr int kLanes = 16;
constexpr std::array<std::array<int32_t, kLanes>, RateConverter::Taps> transpose() {
    std::array<std::array<int32_t, kLanes>, RateConverter::Taps> rows{};
    for (int k = 0; k < RateConverter::Taps; ++k) {
        for (int j = 0; j < RateConverter::Phases; ++j) {
            rows[k][j] = kPhases[j][k];
        }
    }
    return rows;
}
constexpr auto kByTap = transpose();

} // namespace

const std::array<std::array<int16_t, RateConverter::Taps>, RateConverter::Phases>&
RateConverter::coefficients() {
    return kPhases;
}

void RateConverter::convert(const uint8_t* alaw, int16_t* out) {
    constexpr int kHistory = Taps - 1;
    std::array<int32_t, kHistory + InputBlock + kLanes> linear{};
    std::copy(history_.begin(), history_.end(), linear.begin());
    const auto& table = AlawDecoder::table();
    for (int i = 0; i < InputBlock; ++i) {
        linear[kHistory + i] = table[alaw[i]];
    }
    // Every 10 inputs give 9 outputs, output j of a group taking phase j over
    // the inputs that end at input j of the group: for a fixed tap the nine
    // outputs read nine neighbouring inputs, which vectorises.
    for (int group = 0; group < InputBlock / 10; ++group) {
        std::array<int32_t, kLanes> sums{};
        const int32_t* first = &linear[kHistory + group * 10];
        for (int k = 0; k < Taps; ++k) {
            const int32_t* inputs = first - k;
            const int32_t* taps = kByTap[k].data();
            for (int j = 0; j < kLanes; ++j) {
                sums[j] += taps[j] * inputs[j];
            }
        }
        for (int j = 0; j < Phases; ++j) {
            out[group * Phases + j] =
                static_cast<int16_t>(std::clamp((sums[j] + 16384) >> 15, -32768, 32767));
        }
    }
    for (int i = 0; i < kHistory; ++i) {
        history_[i] = static_cast<int16_t>(linear[InputBlock + i]);
    }
}

} // namespace faxsense
