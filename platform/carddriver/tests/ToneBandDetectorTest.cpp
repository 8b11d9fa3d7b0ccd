#include "carddriver/ToneBandDetector.h"

#include <gtest/gtest.h>

#include <cmath>

using carddriver::ToneBandDetector;

namespace {

// The verdicts of the periods of one second of a sine at `dbm0` (A-law scale).
std::vector<int> verdicts(double frequency, double dbm0) {
    double amplitude = 32767.0 * std::pow(10.0, (dbm0 - 3.14) / 20.0);
    ToneBandDetector detector;
    std::vector<int> out;
    for (int n = 0; n < 8000; ++n) {
        auto sample = static_cast<int16_t>(amplitude * std::sin(2 * M_PI * frequency * n / 8000));
        if (int verdict = detector.feed(sample); verdict >= 0)
            out.push_back(verdict);
    }
    return out;
}

struct BandCase {
    double frequency;
    double dbm0;
    int tone;
};

class ToneBand : public ::testing::TestWithParam<BandCase> {};

TEST_P(ToneBand, EveryPeriodAgrees) {
    auto periods = verdicts(GetParam().frequency, GetParam().dbm0);
    ASSERT_EQ(periods.size(), 31u); // 8000 / 256
    for (size_t i = 1; i < periods.size(); ++i)
        EXPECT_EQ(periods[i], GetParam().tone) << "period " << i;
}

INSTANTIATE_TEST_SUITE_P(Tones, ToneBand,
                         ::testing::Values(BandCase{450, -10, 1}, BandCase{450, -35, 1},
                                           BandCase{350, -10, 1}, BandCase{620, -10, 1},
                                           BandCase{450, -50, 0}, BandCase{1400, -10, 0},
                                           BandCase{2100, -10, 0}, BandCase{100, -10, 0}));

TEST(ToneBand, SilenceIsNoTone) {
    ToneBandDetector detector;
    for (int n = 0; n < 255; ++n)
        EXPECT_EQ(detector.feed(0), -1);
    EXPECT_EQ(detector.feed(0), 0);
}

} // namespace
