#include "LibraryState.h"
#include "LinecardFixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>

using linecard::LibraryState;
namespace fn = linecard::fn;

namespace {

// RecordAndPlayMode 1 on a card with the newer interface: the half is 16384.
class QueueMode : public LinecardFixture {
protected:
    static constexpr uint32_t kHalf = 16384;

    void SetUp() override {
        LinecardFixture::SetUp();
        installCard();
        writeEgretIni("RecordAndPlayMode=1\n");
        loadAndEnable(8, 8192);
        ASSERT_TRUE(LibraryState::instance().alternateBuffering());
        card_->setPlayedAudioCapture(true);
    }
    static std::vector<uint8_t> pattern(size_t bytes) {
        std::vector<uint8_t> out(bytes);
        for (size_t i = 0; i < bytes; ++i)
            out[i] = static_cast<uint8_t>((i * 17 + i / 333) & 0xFF);
        return out;
    }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    std::vector<uint8_t> readFile(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
    }
    void untilPlayEnds(int ch) {
        for (int i = 0; i < 3000 && CheckPlayEnd(ch) == 0; ++i)
            runFor(100, 100);
    }
};

TEST_F(QueueMode, ShortPlayIsMovedWholeAndItsEndMarked) {
    auto bytes = pattern(kHalf);
    card_->clearRequests();
    ASSERT_EQ(StartPlay(0, bytes.data(), 0, kHalf), 1);
    auto requests = card_->requests();
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(linecard::requestFunction(requests.back().Code), fn::LoopStop);
    EXPECT_EQ(requests.back().Param1, 0u);
    EXPECT_EQ(LibraryState::instance().channels[0].workMode, 0u);
    untilPlayEnds(0);
    EXPECT_EQ(card_->playedAudio(0), bytes);
}

class QueuePlayLengths : public QueueMode, public ::testing::WithParamInterface<size_t> {};

TEST_P(QueuePlayLengths, LongMemoryPlayReachesTheLineWhole) {
    auto bytes = pattern(GetParam());
    ASSERT_EQ(StartPlay(1, bytes.data(), 0, static_cast<uint32_t>(bytes.size())), 1);
    untilPlayEnds(1);
    EXPECT_EQ(card_->playedAudio(1), bytes);
}

INSTANTIATE_TEST_SUITE_P(Lengths, QueuePlayLengths,
                         ::testing::Values(16385u, 3 * 16384u + 17, 5 * 32768u));

TEST_F(QueueMode, FilePlayReportsThePlayedBytes) {
    auto bytes = pattern(4 * kHalf + 99);
    std::ofstream(path("q.raw"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    ASSERT_EQ(StartPlayFile(2, path("q.raw").c_str(), 0), 1);
    runFor(1000, 100);
    EXPECT_EQ(GetPlayFileOffset(2), 8000);
    untilPlayEnds(2);
    EXPECT_EQ(GetPlayFileOffset(2), 0);
    EXPECT_EQ(card_->playedAudio(2), bytes);
}

class QueueRecordLengths : public QueueMode, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(QueueRecordLengths, FileHoldsTheRequestedLineAudio) {
    auto line = pattern(GetParam() + 40000);
    card_->injectAudio(3, line);
    ASSERT_EQ(StartRecordFile(3, path("q-rec.raw").c_str(), GetParam()), 1);
    runFor(GetParam() / 8 + 2000, 100);
    ASSERT_EQ(StopRecordFile(3), 1);
    EXPECT_EQ(readFile("q-rec.raw"), std::vector<uint8_t>(line.begin(), line.begin() + GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Lengths, QueueRecordLengths,
                         ::testing::Values(100u, 16384u, 3 * 16384u + 5));

TEST_F(QueueMode, StoppingARecordingEarlyDrainsWhatTheCardHolds) {
    auto line = pattern(200000);
    card_->injectAudio(4, line);
    ASSERT_EQ(StartRecordFile(4, path("early.raw").c_str(), 150000), 1);
    runFor(2000, 50); // 16000 bytes recorded, most still on the card
    ASSERT_EQ(StopRecordFile(4), 1);
    auto file = readFile("early.raw");
    EXPECT_EQ(file.size(), 16000u);
    EXPECT_EQ(file, std::vector<uint8_t>(line.begin(), line.begin() + file.size()));
    EXPECT_EQ(StopRecordFile(4), -1) << "no file any more";
}

TEST_F(QueueMode, StreamPlaysLikeTheNormalMode) {
    ASSERT_EQ(StartPlayMem(5), 0);
    std::vector<uint8_t> linear(3 * 2 * kHalf, 60);
    ASSERT_EQ(SendToBuff(5, linear.data(), static_cast<uint32_t>(linear.size())), 1);
    runFor(14000, 100);
    auto played = card_->playedAudio(5);
    ASSERT_GE(played.size(), linear.size());
    EXPECT_EQ(
        std::count(played.begin(), played.begin() + static_cast<long>(linear.size()), played[0]),
        static_cast<long>(linear.size()));
    EXPECT_EQ(CheckPlayEnd(5), 0);
    StopPlay(5);
    runFor(200);
    EXPECT_EQ(CheckPlayEnd(5), 1);
}

} // namespace
