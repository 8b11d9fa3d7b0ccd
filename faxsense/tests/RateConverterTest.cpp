#include "RateConverter.h"
#include "AlawEncoder.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <numbers>
#include <numeric>
#include <vector>

namespace faxsense {
namespace {

TEST(RateConverterTest, EveryPhaseHasUnityGainAtDc) {
    for (const auto& phase : RateConverter::coefficients()) {
        EXPECT_EQ(std::accumulate(phase.begin(), phase.end(), 0), 32768);
    }
}

struct ToneCase {
    double frequency;
    double minGain;
    double maxGain;
};

void PrintTo(const ToneCase& c, std::ostream* os) {
    *os << c.frequency << " Hz";
}

class RateConverterToneTest : public ::testing::TestWithParam<ToneCase> {};

// A tone through A-law and the converter: its level at the same frequency in
// the 7200 Hz output tells the pass band and the image rejection apart.
TEST_P(RateConverterToneTest, KeepsTheToneAtItsFrequencyAndLevel) {
    const ToneCase tone = GetParam();
    constexpr int kBlocks = 50;
    constexpr double kAmplitude = 8000.0;
    std::vector<int16_t> linear(kBlocks * RateConverter::InputBlock);
    for (std::size_t n = 0; n < linear.size(); ++n) {
        linear[n] = static_cast<int16_t>(
            std::lround(kAmplitude * std::sin(2 * std::numbers::pi * tone.frequency * n / 8000.0)));
    }
    const std::vector<uint8_t> alaw = testing::AlawEncoder::encode(linear);

    RateConverter converter;
    std::vector<int16_t> out(kBlocks * RateConverter::OutputBlock);
    for (int b = 0; b < kBlocks; ++b) {
        converter.convert(&alaw[b * RateConverter::InputBlock],
                          &out[b * RateConverter::OutputBlock]);
    }
    // Correlate past the filter's settling time.
    double re = 0;
    double im = 0;
    const std::size_t from = 2 * RateConverter::OutputBlock;
    for (std::size_t n = from; n < out.size(); ++n) {
        const double phase = 2 * std::numbers::pi * tone.frequency * n / 7200.0;
        re += out[n] * std::cos(phase);
        im += out[n] * std::sin(phase);
    }
    const double gain = 2 * std::hypot(re, im) / (out.size() - from) / kAmplitude;
    EXPECT_GE(gain, tone.minGain);
    EXPECT_LE(gain, tone.maxGain);
}

INSTANTIATE_TEST_SUITE_P(PassBand, RateConverterToneTest,
                         ::testing::Values(ToneCase{300, 0.98, 1.02}, ToneCase{1650, 0.98, 1.02},
                                           ToneCase{1850, 0.98, 1.02}, ToneCase{2100, 0.95, 1.02}));

} // namespace
} // namespace faxsense
