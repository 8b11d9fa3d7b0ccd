#include "CurveCoder.h"
#include "LinecardFixture.h"

namespace {

// An 8192-byte card buffer: h = 4096, B = 8192.
class LiveRecordingTest : public LinecardFixture {
protected:
    void SetUp() override {
        LinecardFixture::SetUp();
        installCard();
        writeEgretIni();
    }
    static std::vector<uint8_t> pattern(size_t bytes) {
        std::vector<uint8_t> out(bytes);
        for (size_t i = 0; i < bytes; ++i)
            out[i] = static_cast<uint8_t>((i * 29 + i / 700) & 0xFF);
        return out;
    }
};

TEST_F(LiveRecordingTest, RefreshSizeRules) {
    EXPECT_EQ(VR_SetRefreshSize(512), -1) << "before EnableCard";
    loadAndEnable(8, 8192);
    EXPECT_EQ(VR_SetRefreshSize(1000), -2);
    EXPECT_EQ(VR_SetRefreshSize(0), -2);
    EXPECT_EQ(VR_SetRefreshSize(4608), -3);
    EXPECT_EQ(VR_SetRefreshSize(1536), -4);
    EXPECT_EQ(VR_SetRefreshSize(1024), 0);
}

TEST_F(LiveRecordingTest, ChunksFollowTheLineInOrderAcrossTheBufferEnd) {
    loadAndEnable(8, 8192);
    ASSERT_EQ(VR_SetRefreshSize(1024), 0);
    auto line = pattern(40000);
    card_->injectAudio(2, line);
    ASSERT_EQ(VR_StartRecord(2), 1);
    std::vector<uint8_t> taken;
    std::vector<uint8_t> chunk(1024);
    for (int step = 0; step < 40; ++step) {
        clock_->advanceMillis(100);
        // Keep taking until nothing is ready, as a polling caller does.
        for (int got; (got = VR_GetRecordData(2, chunk.data())) > 0;)
            taken.insert(taken.end(), chunk.begin(), chunk.begin() + got);
    }
    ASSERT_GE(taken.size(), 28000u);
    EXPECT_EQ(taken.size() % 1024, 0u);
    EXPECT_EQ(taken, std::vector<uint8_t>(line.begin(), line.begin() + taken.size()));
    VR_StopRecord(2);
    EXPECT_EQ(CheckRecordEnd(2), 1);
}

TEST_F(LiveRecordingTest, WaveDataIsTheCurveDecodedChunk) {
    loadAndEnable(8, 8192);
    ASSERT_EQ(VR_SetRefreshSize(512), 0);
    auto line = pattern(2000);
    card_->injectAudio(0, line);
    VR_StartRecord(0);
    std::vector<int16_t> samples(512);
    EXPECT_EQ(VR_GetRecordWaveData(0, samples.data(), 512), 0) << "nothing recorded yet";
    clock_->advanceMillis(100);
    EXPECT_EQ(VR_GetRecordWaveData(0, samples.data(), 511), LC_BAD_ARGUMENT);
    ASSERT_EQ(VR_GetRecordWaveData(0, samples.data(), 512), 1024);
    for (size_t i = 0; i < 512; ++i)
        ASSERT_EQ(samples[i], linecard::CurveCoder::decode(line[i])) << i;
}

} // namespace
