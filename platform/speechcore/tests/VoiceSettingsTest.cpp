#include "VoiceSettings.h"

#include <espeak-ng/speak_lib.h>
#include <gtest/gtest.h>

namespace speechcore {
namespace {

// espeak-ng clamps rates outside its range, which would make different
// speeds sound the same; every caller value must land inside, in order.
TEST(VoiceSettingsTest, SpeedCoversEspeakRateRangeInOrder) {
    VoiceSettings v;
    v.speed = 0;
    EXPECT_EQ(v.espeakRate(), espeakRATE_MINIMUM);
    v.speed = 100;
    EXPECT_EQ(v.espeakRate(), espeakRATE_MAXIMUM);
    int previous = 0;
    for (int speed = 0; speed <= 100; ++speed) {
        v.speed = speed;
        EXPECT_GT(v.espeakRate(), previous) << speed;
        previous = v.espeakRate();
    }
}

TEST(VoiceSettingsTest, VolumeFiftyIsEspeakNormalLevel) {
    VoiceSettings v;
    v.volume = 0;
    EXPECT_EQ(v.espeakVolume(), 0);
    v.volume = 50;
    EXPECT_EQ(v.espeakVolume(), 100);
    v.volume = 100;
    EXPECT_EQ(v.espeakVolume(), 200);
}

struct ValueCase {
    int32_t value;
    bool valid;
};

class VoiceValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(VoiceValueTest, AcceptsOnlyZeroToHundred) {
    EXPECT_EQ(VoiceSettings::isValidValue(GetParam().value), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Bounds, VoiceValueTest,
                         ::testing::Values(ValueCase{-1, false}, ValueCase{0, true},
                                           ValueCase{100, true}, ValueCase{101, false},
                                           ValueCase{INT32_MIN, false}));

} // namespace
} // namespace speechcore
