// The two exports as the trunk card library calls them.
#include "V21SignalSource.h"
#include "faxsense/Faxsense.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using faxsense::testing::SignalOptions;
using faxsense::testing::V21SignalSource;

const std::vector<uint8_t>& disBurst() {
    static const std::vector<uint8_t> audio =
        V21SignalSource::alaw({V21SignalSource::csi(), V21SignalSource::dis()}, SignalOptions{});
    return audio;
}

class FaxsenseExportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("FAXSENSE_DEBUG_LOG");
        ASSERT_EQ(lc_faxinit(), 0);
    }
    void TearDown() override { unsetenv("FAXSENSE_DEBUG_LOG"); }
};

class ChannelRangeTest : public FaxsenseExportsTest,
                         public ::testing::WithParamInterface<int32_t> {};

TEST_P(ChannelRangeTest, ChannelsOutsideTheTableAreRefused) {
    const std::vector<uint8_t> block(FAXSENSE_BLOCK_BYTES, 0xD5);
    EXPECT_EQ(lc_faxdetect(GetParam(), block.data(), static_cast<int32_t>(block.size())),
              FAXSENSE_ERR_CHANNEL);
}

INSTANTIATE_TEST_SUITE_P(Exports, ChannelRangeTest,
                         ::testing::Values(-1, FAXSENSE_CHANNEL_COUNT, INT32_MIN, INT32_MAX));

TEST_F(FaxsenseExportsTest, EmptyAndMissingAudio) {
    EXPECT_EQ(lc_faxdetect(0, nullptr, 0), FAXSENSE_NOTHING);
    EXPECT_EQ(lc_faxdetect(0, nullptr, -80), FAXSENSE_NOTHING);
    EXPECT_EQ(lc_faxdetect(0, nullptr, 80), FAXSENSE_ERR_NO_DATA);
    const std::vector<uint8_t> shortBlock(FAXSENSE_BLOCK_BYTES - 1, 0x55);
    EXPECT_EQ(lc_faxdetect(0, shortBlock.data(), static_cast<int32_t>(shortBlock.size())),
              FAXSENSE_NOTHING);
}

TEST_F(FaxsenseExportsTest, DetectsOnTheFirstAndLastChannel) {
    const auto& audio = disBurst();
    for (const int32_t channel : {0, FAXSENSE_CHANNEL_COUNT - 1}) {
        EXPECT_EQ(lc_faxdetect(channel, audio.data(), static_cast<int32_t>(audio.size())),
                  FAXSENSE_DETECTED)
            << channel;
    }
}

TEST_F(FaxsenseExportsTest, ChannelsKeepTheirOwnState) {
    const auto& dis = disBurst();
    const auto csi = V21SignalSource::alaw({V21SignalSource::csi()}, SignalOptions{});
    // Block by block, interleaved the way a card's channels arrive.
    int detectedOn7 = 0;
    int detectedOn8 = 0;
    for (std::size_t at = 0; at + FAXSENSE_BLOCK_BYTES <= std::max(dis.size(), csi.size());
         at += FAXSENSE_BLOCK_BYTES) {
        if (at + FAXSENSE_BLOCK_BYTES <= dis.size()) {
            detectedOn7 += lc_faxdetect(7, dis.data() + at, FAXSENSE_BLOCK_BYTES);
        }
        if (at + FAXSENSE_BLOCK_BYTES <= csi.size()) {
            detectedOn8 += lc_faxdetect(8, csi.data() + at, FAXSENSE_BLOCK_BYTES);
        }
    }
    EXPECT_EQ(detectedOn7, 1);
    EXPECT_EQ(detectedOn8, 0);
}

TEST_F(FaxsenseExportsTest, InitialisingAgainForgetsABurstInProgress) {
    const auto& audio = disBurst();
    const int32_t half =
        static_cast<int32_t>(audio.size() / 2 / FAXSENSE_BLOCK_BYTES * FAXSENSE_BLOCK_BYTES);
    ASSERT_EQ(lc_faxdetect(3, audio.data(), half), FAXSENSE_NOTHING);
    ASSERT_EQ(lc_faxinit(), 0);
    EXPECT_EQ(lc_faxdetect(3, audio.data() + half, static_cast<int32_t>(audio.size()) - half),
              FAXSENSE_NOTHING);
}

TEST_F(FaxsenseExportsTest, DebugLogIsOffByDefault) {
    const auto& audio = disBurst();
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(lc_faxdetect(0, audio.data(), static_cast<int32_t>(audio.size())), FAXSENSE_DETECTED);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(FaxsenseExportsTest, DebugLogWritesTheDiagnosticLinesWhereItIsTold) {
    const std::string path = ::testing::TempDir() + "faxsense-debug.log";
    std::remove(path.c_str());
    setenv("FAXSENSE_DEBUG_LOG", path.c_str(), 1);
    ASSERT_EQ(lc_faxinit(), 0);

    const auto& audio = disBurst();
    EXPECT_EQ(lc_faxdetect(0, audio.data(), static_cast<int32_t>(audio.size())), FAXSENSE_DETECTED);
    const std::vector<uint8_t> silence(FAXSENSE_BLOCK_BYTES, 0xD5);
    for (int block = 0; block < 5000; ++block) {
        lc_faxdetect(1, silence.data(), FAXSENSE_BLOCK_BYTES);
    }
    unsetenv("FAXSENSE_DEBUG_LOG");
    ASSERT_EQ(lc_faxinit(), 0); // closes the file

    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "F03 carrier detected!");
    EXPECT_TRUE(lines[1].starts_with("F03 Gain: ")) << lines[1];
    EXPECT_EQ(lines[2], "--- F03 Timeout ___");
    std::remove(path.c_str());
}

} // namespace
