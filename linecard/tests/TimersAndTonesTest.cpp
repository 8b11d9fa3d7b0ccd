#include "CurveCoder.h"
#include "LinecardFixture.h"
#include "SegmentAlawCoder.h"
#include "ToneGenerator.h"

#include <cmath>

namespace {

class Timers : public LinecardFixture {};

// 2023-11-14 00:00:00 UTC, a midnight.
constexpr int64_t kMidnightMicros = 1699920000LL * 1000000;

TEST_F(Timers, CountInCentisecondsAndWrapAtMidnight) {
    clock_->setMicros(kMidnightMicros - 10'000); // 23:59:59.99
    EXPECT_EQ(StartTimer(3, 4), 4);
    clock_->setMicros(kMidnightMicros + 500'000); // 00:00:00.50
    EXPECT_EQ(ElapseTime(3, 4), 51);
}

TEST_F(Timers, SixtySecondTimeoutRunsOnTheVirtualClock) {
    StartTimer(0, 4);
    clock_->advanceMillis(60'000);
    EXPECT_EQ(ElapseTime(0, 4), 6000);
}

TEST_F(Timers, SlotAndChannelOutsideTheTables) {
    EXPECT_EQ(StartTimer(0, 10), LC_BAD_ARGUMENT);
    EXPECT_EQ(StartTimer(256, 0), LC_BAD_ARGUMENT);
    EXPECT_EQ(ElapseTime(-1, 0), LC_BAD_ARGUMENT);
}

struct ToneCase {
    const char* name;
    int tone, freq1, freq2;
    double level1, level2;
    int on, off, rate;
    int result;
};

class ToneParameters : public ::testing::TestWithParam<ToneCase> {};

TEST_P(ToneParameters, ChecksInOrder) {
    const ToneCase& c = GetParam();
    EXPECT_EQ(
        SetGenerateSigParam(c.tone, c.freq1, c.freq2, c.level1, c.level2, c.on, c.off, c.rate),
        c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, ToneParameters,
    ::testing::Values(ToneCase{"Tone6", 6, 450, 0, -8, 0, 350, 350, 8000, -1},
                      ToneCase{"Tone0", 0, 450, 0, -8, 0, 350, 350, 8000, -1},
                      ToneCase{"NoFrequency", 2, 0, 0, -8, 0, 350, 350, 8000, -2},
                      ToneCase{"TooQuiet", 2, 450, 0, -40, -41, 350, 350, 8000, -3},
                      ToneCase{"NegativeOn", 2, 450, 0, -8, 0, -1, 350, 8000, -4},
                      ToneCase{"NoPeriod", 2, 450, 0, -8, 0, 0, 0, 8000, -4},
                      ToneCase{"Rate3999", 2, 450, 0, -8, 0, 350, 350, 3999, -5},
                      ToneCase{"Rate16001", 2, 450, 0, -8, 0, 350, 350, 16001, -5},
                      ToneCase{"Valid", 2, 450, 0, -8, 0, 350, 350, 8000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToneBuffer, CadencedToneHoldsWholePeriods) {
    ASSERT_EQ(SetGenerateSigParam(2, 450, 0, -8, 0, 350, 350, 8000), 0);
    std::vector<uint8_t> bytes(60000);
    ASSERT_EQ(ReadGenerateSigBuf(2, bytes.data(), 60000), 56000);
    // Each 5600-byte period: 2800 tone bytes, then 2800 of A-law silence.
    for (int period = 0; period < 10; ++period) {
        EXPECT_EQ(bytes[static_cast<size_t>(period * 5600 + 2800)], 0x55);
        EXPECT_EQ(bytes[static_cast<size_t>(period * 5600 + 5599)], 0x55);
        EXPECT_NE(bytes[static_cast<size_t>(period * 5600 + 10)], 0x55);
    }
    ASSERT_EQ(SetGenerateSigParam(1, 450, 0, -8, 0, 0, 0, 8000), 0);
    EXPECT_EQ(ReadGenerateSigBuf(1, nullptr, 0), 60000);
}

TEST(ToneBuffer, RefusedParametersLeaveTheToneUnchanged) {
    ASSERT_EQ(SetGenerateSigParam(3, 450, 0, -8, 0, 700, 700, 8000), 0);
    EXPECT_EQ(SetGenerateSigParam(3, 450, 0, -8, 0, 700, 700, 3999), -5);
    EXPECT_EQ(ReadGenerateSigBuf(3, nullptr, 0), 56000);
}

TEST(ToneBuffer, LevelIsCappedAtHalfScale) {
    std::vector<uint8_t> loud, capped;
    linecard::ToneGenerator::build({1, 1000, 0, 0.0, -50, 0, 0, 8000}, 0, loud);
    linecard::ToneGenerator::build({1, 1000, 0, -6.0206, -50, 0, 0, 8000}, 0, capped);
    EXPECT_EQ(loud, capped);
}

TEST(SegmentCoder, SegmentsAndSign) {
    using linecard::SegmentAlawCoder;
    EXPECT_EQ(SegmentAlawCoder::encode(0), 0x55);
    EXPECT_EQ(SegmentAlawCoder::encode(511), (511 >> 4) ^ 0x55);
    EXPECT_EQ(SegmentAlawCoder::encode(512), (2 * 16 + 0) ^ 0x55);
    EXPECT_EQ(SegmentAlawCoder::encode(32767), (7 * 16 + 15) ^ 0x55);
    EXPECT_EQ(SegmentAlawCoder::encode(-32768), (0x80 + 7 * 16 + 15) ^ 0x55);
    EXPECT_EQ(SegmentAlawCoder::encode(-100), (0x80 + (100 >> 4)) ^ 0x55);
}

TEST(CurveCoder, RoundTripStaysWithinItsStep) {
    using linecard::CurveCoder;
    for (int sample : {0, 50, 300, 1000, 5000, 20000, 32767, -50, -1000, -32767}) {
        int back = CurveCoder::decode(CurveCoder::encode(static_cast<int16_t>(sample)));
        if (sample != 0) {
            EXPECT_EQ(back < 0, sample < 0) << sample;
        }
        EXPECT_LE(std::abs(back - sample), std::max(40, std::abs(sample) / 10)) << sample;
    }
    EXPECT_EQ(CurveCoder::encode(0), 0x55);
}

} // namespace
