// The detector against fax signalling made by spandsp's V.21 modem, HDLC
// transmitter and T.30 engine: code written elsewhere, to the same ITU-T texts.
#include "AlawEncoder.h"
#include "ChannelDetector.h"
#include "V21SignalSource.h"

#include <gtest/gtest.h>

#include <ostream>
#include <spandsp.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace faxsense {
namespace {

using testing::SignalOptions;
using testing::T30Frame;
using testing::V21SignalSource;

struct SignallingCase {
    std::string name;
    std::vector<T30Frame> frames;
    bool detected;
};

T30Frame withBadFcs(T30Frame frame) {
    frame.corruptFcs = true;
    return frame;
}

std::vector<SignallingCase> signallingCases() {
    return {
        {"FinalDis", {V21SignalSource::dis()}, true},
        {"CsiThenFinalDis", {V21SignalSource::csi(), V21SignalSource::dis()}, true},
        {"FinalDisWithBadFcs", {withBadFcs(V21SignalSource::dis())}, false},
        {"CsiAlone", {V21SignalSource::csi()}, false},
        {"NonFinalDisAlone", {V21SignalSource::dis(false)}, false},
        {"Dcs", {V21SignalSource::dcs()}, true},
        {"Dcn", {V21SignalSource::dcn()}, true},
        {"Crp", {V21SignalSource::crp()}, true},
        // A final frame that is no fax command ends the scan undetected.
        {"FinalCsiBeforeDis",
         {T30Frame{{0xFF, 0x13, 0x40, '1', '2'}, false}, V21SignalSource::dis()},
         false},
        // Only the first sound final frame decides; a damaged one is passed over.
        {"BadDisThenGoodDcn", {withBadFcs(V21SignalSource::dis()), V21SignalSource::dcn()}, true},
        {"WrongAddress", {T30Frame{{0xFE, 0x13, 0x80, 0x00, 0xEE}, false}}, false},
    };
}

void PrintTo(const SignallingCase& c, std::ostream* os) {
    *os << c.name;
}

struct Level {
    std::string name;
    float signalDbm0;
    std::optional<float> noiseDbm0;
};

const Level kLevels[] = {
    {"Loud", -3.0f, std::nullopt},    {"Normal", -15.0f, std::nullopt},
    {"Faint", -40.0f, std::nullopt},  {"NormalInNoise", -15.0f, -35.0f},
    {"FaintInNoise", -33.0f, -50.0f}, {"TenDbSignalToNoise", -20.0f, -30.0f},
};

void PrintTo(const Level& l, std::ostream* os) {
    *os << l.name;
}

class SignallingTest : public ::testing::TestWithParam<std::tuple<SignallingCase, Level>> {};

TEST_P(SignallingTest, DetectsExactlyTheFinalFaxCommands) {
    const auto& [signalling, level] = GetParam();
    SignalOptions options;
    options.levelDbm0 = level.signalDbm0;
    options.noiseDbm0 = level.noiseDbm0;
    const std::vector<uint8_t> audio = V21SignalSource::alaw(signalling.frames, options);

    ChannelDetector detector;
    EXPECT_EQ(detector.feed(audio), signalling.detected);
}

INSTANTIATE_TEST_SUITE_P(SpandspV21, SignallingTest,
                         ::testing::Combine(::testing::ValuesIn(signallingCases()),
                                            ::testing::ValuesIn(kLevels)),
                         [](const auto& info) {
                             return std::get<0>(info.param).name + "_" +
                                    std::get<1>(info.param).name;
                         });

// The answering side of a real T.30 session: CED, then the V.21 preamble,
// CSI and the final DIS. The detector must report the DIS, and only once the
// DIS has been sent whole.
TEST(T30SessionTest, DetectsTheDisOfAnAnsweringFaxMachine) {
    fax_state_t* fax = fax_init(nullptr, 0);
    ASSERT_NE(fax, nullptr);
    t30_state_t* t30 = fax_get_t30_state(fax);
    t30_set_tx_ident(t30, "+86 10 5555 0145");
    t30_set_rx_file(t30, "/dev/null", -1);

    ChannelDetector detector;
    std::array<int16_t, ChannelDetector::BlockBytes> transmitted{};
    std::array<int16_t, ChannelDetector::BlockBytes> silence{};
    int detectedAtBlock = -1;
    int firstSignalBlock = -1;
    for (int block = 0; block < 1500 && detectedAtBlock < 0; ++block) {
        const int made = fax_tx(fax, transmitted.data(), static_cast<int>(transmitted.size()));
        std::fill(transmitted.begin() + made, transmitted.end(), int16_t{0});
        fax_rx(fax, silence.data(), static_cast<int>(silence.size()));
        if (firstSignalBlock < 0 &&
            std::any_of(transmitted.begin(), transmitted.end(), [](int16_t s) { return s != 0; })) {
            firstSignalBlock = block;
        }
        const std::vector<uint8_t> alaw = testing::AlawEncoder::encode(transmitted);
        if (detector.feed(alaw)) {
            detectedAtBlock = block;
        }
    }
    fax_free(fax);

    ASSERT_GE(firstSignalBlock, 0);
    ASSERT_GE(detectedAtBlock, 0) << "no DIS detected within 15 s";
    // CED lasts at least 2.6 s and the flag preamble 1 s before any frame.
    EXPECT_GT(detectedAtBlock - firstSignalBlock, 360);
}

} // namespace
} // namespace faxsense
