#include "LibraryState.h"
#include "LinecardFixture.h"

#include <numeric>

using carddriver::SoftCardConfig;
using linecard::LibraryState;
namespace fn = linecard::fn;

namespace {

// An 8192-byte card buffer: h = 4096, B = 8192.
class PlaybackTest : public LinecardFixture {
protected:
    static constexpr uint32_t kHalf = 4096;
    static constexpr uint32_t kBuffer = 8192;

    void SetUp() override {
        LinecardFixture::SetUp();
        installCard();
        writeEgretIni();
        loadAndEnable(8, kBuffer);
        card_->setPlayedAudioCapture(true);
    }
    static std::vector<uint8_t> pattern(size_t bytes) {
        std::vector<uint8_t> out(bytes);
        for (size_t i = 0; i < bytes; ++i)
            out[i] = static_cast<uint8_t>((i * 7 + i / 251) & 0xFF);
        return out;
    }
    std::vector<linecard::DriverRequest> requestsOf(uint32_t function) const {
        std::vector<linecard::DriverRequest> list;
        for (const auto& r : card_->requests())
            if (linecard::requestFunction(r.Code) == function)
                list.push_back(r);
        return list;
    }
    uint32_t workMode(int ch) const { return LibraryState::instance().channels[ch].workMode; }
    void playToTheEnd(int ch) {
        for (int i = 0; i < 2000 && CheckPlayEnd(ch) == 0; ++i)
            runFor(100, 100);
    }
};

TEST_F(PlaybackTest, BlockOfExactlyTheBufferIsASinglePass) {
    auto bytes = pattern(kBuffer);
    card_->clearRequests();
    ASSERT_NE(StartPlay(1, bytes.data(), 0, kBuffer), 0);
    EXPECT_EQ(workMode(1), 0u);
    ASSERT_EQ(requestsOf(fn::Play).size(), 1u);
    EXPECT_EQ(requestsOf(fn::Play)[0].Param1, kBuffer);
    EXPECT_TRUE(requestsOf(fn::LoopPlay).empty());
    playToTheEnd(1);
    EXPECT_EQ(card_->playedAudio(1), bytes);
}

TEST_F(PlaybackTest, OneByteMoreLoopsAndTheFirstRefillEndsIt) {
    auto bytes = pattern(kBuffer + 1);
    card_->clearRequests();
    ASSERT_NE(StartPlay(1, bytes.data(), 0, kBuffer + 1), 0);
    EXPECT_EQ(workMode(1), 3u);
    ASSERT_EQ(requestsOf(fn::LoopPlay).size(), 1u);
    EXPECT_EQ(requestsOf(fn::LoopPlay)[0].Param1, kBuffer);
    // Into the second half: the first half is due and gets the last byte.
    clock_->advanceMillis(600);
    PUSH_PLAY();
    auto moves = requestsOf(fn::MoveData);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[1].Param1, 1u);
    EXPECT_EQ(moves[1].Param2, 0u);
    auto stops = requestsOf(fn::LoopStop);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].Param1, 2 * kHalf - 1);
    EXPECT_EQ(workMode(1), 0u);
    playToTheEnd(1);
    EXPECT_EQ(card_->playedAudio(1), bytes);
}

struct LongPlayCase {
    size_t bytes;
    uint32_t offset;
};

class LongMemoryPlay : public PlaybackTest, public ::testing::WithParamInterface<LongPlayCase> {};

TEST_P(LongMemoryPlay, TheLineCarriesExactlyTheBlock) {
    auto bytes = pattern(GetParam().bytes + GetParam().offset);
    uint32_t length = static_cast<uint32_t>(GetParam().bytes);
    ASSERT_NE(StartPlay(2, bytes.data(), GetParam().offset, length), 0);
    playToTheEnd(2);
    std::vector<uint8_t> expected(bytes.begin() + GetParam().offset, bytes.end());
    EXPECT_EQ(card_->playedAudio(2), expected);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongMemoryPlay,
                         ::testing::Values(LongPlayCase{3 * 8192, 0},
                                           LongPlayCase{3 * 8192 + 100, 7},
                                           LongPlayCase{8192 + 4096, 0},
                                           LongPlayCase{8192 + 4095, 1}, LongPlayCase{100000, 0}));

TEST_F(PlaybackTest, StopPlayEndsALongPlayAtOnce) {
    auto bytes = pattern(50000);
    StartPlay(0, bytes.data(), 0, 50000);
    runFor(1000);
    StopPlay(0);
    EXPECT_EQ(CheckPlayEnd(0), 1);
    EXPECT_EQ(workMode(0), 0u);
}

TEST_F(PlaybackTest, SendToBuffBeforeStartPlayMemIsRefused) {
    uint8_t data[16] = {};
    EXPECT_EQ(SendToBuff(0, data, sizeof data), -1);
}

TEST_F(PlaybackTest, StreamStartsOnTheCallThatFillsTheBuffer) {
    ASSERT_EQ(StartPlayMem(4), 0);
    std::vector<uint8_t> linear(kBuffer - 1, 200);
    card_->clearRequests();
    EXPECT_EQ(SendToBuff(4, linear.data(), static_cast<uint32_t>(linear.size())), 1);
    EXPECT_TRUE(requestsOf(fn::LoopPlay).empty());
    EXPECT_EQ(CheckPlayEnd(4), 1);
    uint8_t one = 200;
    EXPECT_EQ(SendToBuff(4, &one, 1), 1);
    ASSERT_EQ(requestsOf(fn::LoopPlay).size(), 1u);
    EXPECT_EQ(workMode(4), 6u);
    EXPECT_EQ(CheckPlayEnd(4), 0);
}

TEST_F(PlaybackTest, StreamPlaysWhatIsFedThenSilenceUntilStopped) {
    ASSERT_EQ(StartPlayMem(5), 0);
    std::vector<uint8_t> linear(3 * kBuffer);
    for (size_t i = 0; i < linear.size(); ++i)
        linear[i] = static_cast<uint8_t>(128 + 100 * ((i / 8) % 2 ? 1 : -1));
    SendToBuff(5, linear.data(), static_cast<uint32_t>(linear.size()));
    runFor(6000, 100);
    EXPECT_EQ(CheckPlayEnd(5), 0) << "a stream never ends by itself";
    auto played = card_->playedAudio(5);
    ASSERT_GE(played.size(), linear.size());
    // The fed samples, coded with the curve coder, come out first and in order.
    uint8_t even = played[0];
    uint8_t odd = played[8];
    EXPECT_NE(even, odd);
    for (size_t i = 0; i < linear.size(); ++i)
        ASSERT_EQ(played[i], (i / 8) % 2 ? odd : even) << i;
    for (size_t i = linear.size(); i < played.size(); ++i)
        ASSERT_EQ(played[i], 0x55) << i;
    StopPlay(5);
    EXPECT_EQ(CheckPlayEnd(5), 1);
    EXPECT_EQ(SendToBuff(5, linear.data(), 10), -1);
}

TEST_F(PlaybackTest, StreamRefusesMoreThanItsRingHolds) {
    ASSERT_EQ(StartPlayMem(6), 0);
    std::vector<uint8_t> linear(245760, 128);
    EXPECT_EQ(SendToBuff(6, linear.data(), 245760), 1);
    // The first buffer went to the card; the ring now holds 245760 - 8192.
    EXPECT_EQ(SendToBuff(6, linear.data(), kBuffer + 1), -2);
    EXPECT_EQ(SendToBuff(6, linear.data(), kBuffer), 1);
}

TEST_F(PlaybackTest, SpeechPlayCarriesTheSpeechMarker) {
    auto bytes = pattern(100);
    card_->clearRequests();
    ForTTS_StartPlay(0, bytes.data(), 0, 100);
    ASSERT_EQ(requestsOf(fn::Play).size(), 1u);
    EXPECT_EQ(requestsOf(fn::Play)[0].Value, 998);
}

class SpeechCard : public LinecardFixture {};

TEST_F(SpeechCard, CountsLicensedSpeechChannels) {
    installCard();
    writeEgretIni();
    loadAndEnable();
    EXPECT_EQ(ForTTS_IsTTSCard(), 1);
    EXPECT_EQ(IsNowSupportTTS(), 1);
    EXPECT_EQ(ForTTS_GetTTSChnlNum(), 8);
}

TEST_F(SpeechCard, CardWithoutSpeechChannelsGivesZero) {
    SoftCardConfig config;
    config.speechChannels = 0;
    installCard(config);
    writeEgretIni();
    loadAndEnable();
    EXPECT_EQ(ForTTS_IsTTSCard(), 0);
    EXPECT_EQ(ForTTS_GetTTSChnlNum(), 0);
}

} // namespace
