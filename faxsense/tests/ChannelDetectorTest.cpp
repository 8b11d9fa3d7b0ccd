// The detector steps of one channel: arming, time-out, burst after burst,
// partial blocks, and the gain set at frame sync.
#include "ChannelDetector.h"
#include "DebugLog.h"
#include "V21SignalSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace faxsense {
namespace {

using testing::SignalOptions;
using testing::V21SignalSource;

// A-law code of a zero sample (0xD5 after the even-bit inversion).
constexpr uint8_t kAlawSilence = 0xD5;

class ChannelDetectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        DebugLog::setSink(
            [](const char* line, void* self) {
                static_cast<ChannelDetectorTest*>(self)->log_.emplace_back(line);
            },
            this);
    }
    void TearDown() override { DebugLog::setSink(nullptr, nullptr); }

    void feedSilence(int blocks) {
        const std::vector<uint8_t> block(ChannelDetector::BlockBytes, kAlawSilence);
        for (int i = 0; i < blocks; ++i) {
            ASSERT_FALSE(detector_.processBlock(block.data()));
        }
    }

    long logged(const std::string& prefix) const {
        return std::count_if(log_.begin(), log_.end(),
                             [&](const std::string& line) { return line.starts_with(prefix); });
    }

    std::vector<int> loggedGains() const {
        std::vector<int> gains;
        for (const std::string& line : log_) {
            if (line.starts_with("F03 Gain: ")) {
                gains.push_back(std::stoi(line.substr(10)));
            }
        }
        return gains;
    }

    ChannelDetector detector_;
    std::vector<std::string> log_;
};

TEST_F(ChannelDetectorTest, FiftySecondsOfSilenceTimeOutOnceAndReArm) {
    feedSilence(ChannelDetector::ArmedCountdown - 1);
    EXPECT_EQ(logged("--- F03 Timeout ___"), 0);
    EXPECT_EQ(detector_.step(), ChannelDetector::Step::Running);

    feedSilence(1);
    EXPECT_EQ(logged("--- F03 Timeout ___"), 1);
    EXPECT_EQ(detector_.step(), ChannelDetector::Step::Armed);

    // The next block starts a fresh 50 s.
    feedSilence(1);
    EXPECT_EQ(detector_.step(), ChannelDetector::Step::Running);
    EXPECT_EQ(detector_.countdown(), ChannelDetector::ArmedCountdown - 1);
    EXPECT_EQ(logged("F03 carrier detected!"), 0);
}

TEST_F(ChannelDetectorTest, ReArmedChannelStillDetects) {
    feedSilence(ChannelDetector::ArmedCountdown);
    ASSERT_EQ(logged("--- F03 Timeout ___"), 1);
    EXPECT_TRUE(detector_.feed(V21SignalSource::alaw({V21SignalSource::dis()}, SignalOptions{})));
}

// A burst whose end falls in the block that also times out is decoded, not lost.
TEST_F(ChannelDetectorTest, BurstEndingInTheTimeOutBlockIsStillDecoded) {
    const auto burst = V21SignalSource::alaw({V21SignalSource::dis()}, SignalOptions{});
    int endBlock = 0;
    {
        ChannelDetector probe;
        for (std::size_t at = 0; at + ChannelDetector::BlockBytes <= burst.size();
             at += ChannelDetector::BlockBytes) {
            ++endBlock;
            if (probe.processBlock(burst.data() + at)) {
                break;
            }
        }
    }
    ASSERT_LT(endBlock, static_cast<int>(burst.size() / ChannelDetector::BlockBytes));

    feedSilence(ChannelDetector::ArmedCountdown - endBlock);
    EXPECT_TRUE(detector_.feed(burst));
    EXPECT_EQ(logged("--- F03 Timeout ___"), 1);
}

TEST_F(ChannelDetectorTest, ShortCallsChangeNothing) {
    feedSilence(3);
    const ChannelDetector before = detector_;
    const std::vector<uint8_t> bytes(ChannelDetector::BlockBytes - 1, 0x2A);
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, bytes.size()}) {
        EXPECT_FALSE(detector_.feed(std::span<const uint8_t>(bytes.data(), size)));
        EXPECT_TRUE(detector_ == before) << size << " bytes changed the channel";
    }
}

TEST_F(ChannelDetectorTest, TrailingPartialBlockIsDropped) {
    ChannelDetector oneBlock;
    const std::vector<uint8_t> audio(2 * ChannelDetector::BlockBytes - 1, 0x9C);
    oneBlock.feed(std::span<const uint8_t>(audio.data(), ChannelDetector::BlockBytes));
    detector_.feed(audio);
    EXPECT_TRUE(detector_ == oneBlock);
}

TEST_F(ChannelDetectorTest, EveryBurstIsJudgedOnItsOwnFrames) {
    const SignalOptions options;
    const auto dis =
        V21SignalSource::alaw({V21SignalSource::csi(), V21SignalSource::dis()}, options);
    const auto csiOnly = V21SignalSource::alaw({V21SignalSource::csi()}, options);

    EXPECT_FALSE(detector_.feed(csiOnly));
    EXPECT_TRUE(detector_.feed(dis));
    // What the DIS burst left behind must not detect again with the next burst.
    EXPECT_FALSE(detector_.feed(csiOnly));
    EXPECT_EQ(logged("F03 carrier detected!"), 3);
}

TEST_F(ChannelDetectorTest, GainIsSetAtSyncToTheSameLevelBurstAfterBurst) {
    SignalOptions options;
    options.levelDbm0 = -30.0f;
    const auto burst = V21SignalSource::alaw({V21SignalSource::dis()}, options);
    ASSERT_TRUE(detector_.feed(burst));
    const int32_t firstGain = detector_.receiver().gain();
    ASSERT_TRUE(detector_.feed(burst));
    ASSERT_TRUE(detector_.feed(burst));

    const std::vector<int> gains = loggedGains();
    ASSERT_EQ(gains.size(), 3u);
    EXPECT_EQ(gains[0], firstGain);
    // -30 dBm0 is 15 dB under the level the gain aims at: about 5.6 times.
    EXPECT_GT(firstGain, 3 * V21Receiver::InitialGain);
    for (const int gain : gains) {
        EXPECT_NEAR(gain, firstGain, firstGain / 10);
    }
}

TEST_F(ChannelDetectorTest, BurstLongerThanTheByteRingStillDetectsItsLastFrame) {
    SignalOptions options;
    options.preambleFlags = 400; // over ten seconds of flags
    const auto burst =
        V21SignalSource::alaw({V21SignalSource::csi(), V21SignalSource::dis()}, options);
    EXPECT_TRUE(detector_.feed(burst));
}

TEST_F(ChannelDetectorTest, DetectionStopsTheCallAtTheDetectingBlock) {
    const auto burst = V21SignalSource::alaw({V21SignalSource::dis()}, SignalOptions{});
    // Twice the same burst in one call: the second is not looked at.
    std::vector<uint8_t> twice = burst;
    twice.insert(twice.end(), burst.begin(), burst.end());
    EXPECT_TRUE(detector_.feed(twice));
    EXPECT_EQ(logged("F03 carrier detected!"), 1);
}

} // namespace
} // namespace faxsense
