#include "carddriver/DtmfDetector.h"
#include "carddriver/AlawSample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The reference library's headers need their own order.
// clang-format off
#include <spandsp/telephony.h>
#include <spandsp/bit_operations.h>
#include <spandsp/logging.h>
#include <spandsp/super_tone_rx.h>
#include <spandsp/awgn.h>
#include <spandsp/dtmf.h>
// clang-format on

using carddriver::AlawSample;
using carddriver::DtmfDetector;

namespace {

// Keys by digit code, so that detected codes read back as text.
std::string keyOf(int code) {
    static const char* const keys = "?1234567890*#ABCD";
    return std::string(1, code >= 1 && code <= 16 ? keys[code] : '?');
}

// What the detector reports for `samples`, after the line's A-law coding.
std::string detect(const std::vector<int16_t>& samples) {
    DtmfDetector detector;
    std::string keys;
    for (int16_t sample : samples)
        if (int code = detector.feed(AlawSample::decode(AlawSample::encode(sample))))
            keys += keyOf(code);
    return keys;
}

struct Tones {
    std::string digits;
    int levelDbm0 = -10;
    int twistDb = 0;
    int onMs = 50;
    int offMs = 55;
    float noiseDbm0 = -99;
};

// Digits from the reference generator, with optional white noise on top.
std::vector<int16_t> reference(const Tones& t) {
    dtmf_tx_state_t* tx = dtmf_tx_init(nullptr);
    dtmf_tx_set_level(tx, t.levelDbm0, t.twistDb);
    dtmf_tx_set_timing(tx, t.onMs, t.offMs);
    dtmf_tx_put(tx, t.digits.c_str(), -1);
    std::vector<int16_t> out(800, 0); // 100 ms of quiet first
    int16_t block[160];
    for (int n; (n = dtmf_tx(tx, block, 160)) > 0;)
        out.insert(out.end(), block, block + n);
    out.insert(out.end(), 800, 0);
    dtmf_tx_free(tx);
    if (t.noiseDbm0 > -90) {
        awgn_state_t* noise = awgn_init_dbm0(nullptr, 1234567, t.noiseDbm0);
        for (int16_t& sample : out)
            sample = static_cast<int16_t>(
                std::clamp(static_cast<int>(sample) + awgn(noise), -32768, 32767));
        awgn_free(noise);
    }
    return out;
}

TEST(DtmfDetector, EveryKeyOfTheReferenceGenerator) {
    EXPECT_EQ(detect(reference({"123A456B789C*0#D"})), "123A456B789C*0#D");
}

struct ToneCase {
    const char* name;
    Tones tones;
    const char* expected;
};

class DtmfConditions : public ::testing::TestWithParam<ToneCase> {};

TEST_P(DtmfConditions, DetectsWhatAReceiverShould) {
    EXPECT_EQ(detect(reference(GetParam().tones)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DtmfConditions,
    ::testing::Values(ToneCase{"TwistHighGroupLouder", {"159#", -12, 6}, "159#"},
                      ToneCase{"TwistLowGroupLouder", {"159#", -10, -6}, "159#"},
                      ToneCase{"TwistTooLarge", {"159#", -10, -12}, ""},
                      ToneCase{"Quiet", {"2580", -30}, "2580"},
                      ToneCase{"TooQuiet", {"2580", -42}, ""},
                      ToneCase{"NoiseAt20dBBelow", {"147*369#", -10, 0, 50, 55, -30}, "147*369#"},
                      ToneCase{"NoiseAt12dBBelow", {"147*369#", -10, 0, 50, 55, -22}, "147*369#"},
                      ToneCase{"FortyMsTones", {"0123456789", -10, 0, 40, 40}, "0123456789"},
                      ToneCase{"TwentyMsTonesAreTooShort", {"0123", -10, 0, 20, 60}, ""},
                      ToneCase{"RepeatedKeyNeedsTheGap", {"1111", -10, 0, 70, 70}, "1111"}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<int16_t> sine(double frequency, double amplitude, int samples) {
    std::vector<int16_t> out(static_cast<size_t>(samples));
    for (int n = 0; n < samples; ++n)
        out[static_cast<size_t>(n)] =
            static_cast<int16_t>(amplitude * std::sin(2 * M_PI * frequency * n / 8000));
    return out;
}

TEST(DtmfDetector, OneToneOrNoiseIsNoKey) {
    EXPECT_EQ(detect(sine(1000, 10000, 8000)), "");
    EXPECT_EQ(detect(sine(450, 10000, 8000)), "");
    EXPECT_EQ(detect(sine(697, 10000, 8000)), "");
    awgn_state_t* noise = awgn_init_dbm0(nullptr, 99, -10);
    std::vector<int16_t> hiss(16000);
    for (int16_t& sample : hiss)
        sample = awgn(noise);
    awgn_free(noise);
    EXPECT_EQ(detect(hiss), "");
}

TEST(DtmfDetector, KeysMadeBySox) {
    std::string file = ::testing::TempDir() + "/sox-keys.al";
    std::string command = "sox -n -r 8000 -c 1 -e a-law -t al " + file +
                          " synth 0.08 sine 852 sine 1477 channels 1 pad 0.05 0.1"
                          " : synth 0.08 sine 941 sine 1477 channels 1 pad 0 0.1 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << "sox is in the test dependencies";
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> alaw((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(alaw.size(), 2000u);
    DtmfDetector detector;
    std::string keys;
    for (uint8_t code : alaw)
        if (int digit = detector.feed(AlawSample::decode(code)))
            keys += keyOf(digit);
    EXPECT_EQ(keys, "9#");
    std::remove(file.c_str());
}

} // namespace
