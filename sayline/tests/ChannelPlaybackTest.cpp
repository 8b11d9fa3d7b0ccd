// Text playback on one channel: the API side's steps against a card that
// records what it is given and takes a few polls to play each piece.
#include "ChannelPlayback.h"
#include "GbkText.h"
#include "MulawToAlaw.h"
#include "PieceSynthesiser.h"
#include "SlotWorker.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <spandsp/telephony.h>
// telephony.h first: g711.h uses its types and bit_operations.h's top_bit().
#include <spandsp/bit_operations.h>
#include <spandsp/g711.h>
#include <string>
#include <thread>
#include <vector>

namespace sayline {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class RecordingCard : public CardPlayback {
public:
    void startPlay(int channel, const uint8_t* samples, uint32_t length) override {
        EXPECT_EQ(channel, 2);
        plays.emplace_back(samples, samples + length);
        pollsLeft = kPollsPerPiece;
        playing = true;
    }
    void stopPlay(int) override {
        ++stops;
        playing = false;
    }
    bool playEnded(int) override { return !playing || pollsLeft == 0; }
    void pushPlay() override {
        ++pushes;
        if (pollsLeft > 0)
            --pollsLeft;
    }

    static constexpr int kPollsPerPiece = 3;
    std::vector<std::vector<uint8_t>> plays;
    int pollsLeft = 0;
    int pushes = 0;
    int stops = 0;
    bool playing = false;
};

// RMS of A-law samples as spandsp decodes them.
double alawRms(const std::vector<uint8_t>& samples) {
    double sum = 0;
    for (const uint8_t code : samples) {
        const double value = alaw_to_linear(code);
        sum += value * value;
    }
    return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

class ChannelPlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "sayline-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        makePlayback(PieceSynthesiser::createEngine(50, 50), dir / "LcTTSChannel0_Buf.TXT");
    }
    void TearDown() override {
        playback.reset();
        worker.reset();
        fs::remove_all(dir);
    }

    void makePlayback(SpeechcoreHandle engine, const fs::path& spill) {
        playback.reset();
        worker = std::make_unique<SlotWorker>(0, SlotWorker::Files{dir / "slot0.rau"}, engine, 2ms);
        playback = std::make_unique<ChannelPlayback>(2, *worker, card, spill);
    }

    // Polls as the call engine does until the channel reports the end.
    int32_t pollToEnd() {
        const auto giveUp = std::chrono::steady_clock::now() + 30s;
        int32_t result = ChannelPlayback::kSpeaking;
        while ((result = playback->check()) == ChannelPlayback::kSpeaking) {
            if (std::chrono::steady_clock::now() > giveUp)
                return -1000;
            std::this_thread::sleep_for(1ms);
        }
        return result;
    }

    int32_t speak(const std::string& gbk, bool isFile = false) {
        const int32_t started = playback->start(gbk.c_str(), isFile, {});
        return started != ChannelPlayback::kStarted ? started : pollToEnd();
    }

    fs::path writeText(const std::string& name, const std::string& utf8) {
        std::ofstream(dir / name, std::ios::binary) << gbk(utf8);
        return dir / name;
    }

    fs::path dir;
    RecordingCard card;
    std::unique_ptr<SlotWorker> worker;
    std::unique_ptr<ChannelPlayback> playback;
};

TEST_F(ChannelPlaybackTest, IdleChannelHasFinished) {
    EXPECT_EQ(playback->check(), ChannelPlayback::kFinished);
    EXPECT_TRUE(card.plays.empty());
}

TEST_F(ChannelPlaybackTest, ShortTextIsOnePieceOfSpeechInCardAlaw) {
    ASSERT_EQ(speak(gbk("您好，请按一号键确认参加。")), ChannelPlayback::kFinished);
    ASSERT_EQ(card.plays.size(), 1u);
    // Seconds of speech at 8000 samples a second, loud enough for a line.
    EXPECT_GT(card.plays[0].size(), 16000u);
    EXPECT_GT(alawRms(card.plays[0]), 1000.0);
    // It is the engine's mu-law output, mapped.
    std::ifstream in(dir / "slot0.rau", std::ios::binary);
    std::vector<uint8_t> mulaw((std::istreambuf_iterator<char>(in)), {});
    MulawToAlaw::mapInPlace(mulaw.data(), mulaw.size());
    EXPECT_EQ(card.plays[0], mulaw);
    // Every poll feeds the card.
    EXPECT_GE(card.pushes, RecordingCard::kPollsPerPiece);
}

std::string commaText(size_t bytes) {
    // "您好，" is six GBK bytes; the tail pads to the length asked for.
    std::string text;
    while (text.size() + 6 <= bytes)
        text += gbk("您好，");
    text += std::string(bytes - text.size(), 'a');
    return text;
}

TEST_F(ChannelPlaybackTest, FourHundredBytesAreSpokenFromMemoryInOnePiece) {
    ASSERT_EQ(speak(commaText(400)), ChannelPlayback::kFinished);
    EXPECT_EQ(card.plays.size(), 1u);
    EXPECT_FALSE(fs::exists(dir / "LcTTSChannel0_Buf.TXT"));
}

TEST_F(ChannelPlaybackTest, FourHundredAndOneBytesGoThroughTheSpillFileSentenceBySentence) {
    const std::string text = commaText(401);
    ASSERT_EQ(speak(text), ChannelPlayback::kFinished);
    EXPECT_EQ(card.plays.size(), 67u); // 66 greetings and the tail
    std::ifstream in(dir / "LcTTSChannel0_Buf.TXT", std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), text);
    for (const auto& piece : card.plays)
        EXPECT_GT(piece.size(), 1000u);
}

TEST_F(ChannelPlaybackTest, LongTextWithoutUsableSpillFileIsSpokenFromMemory) {
    makePlayback(PieceSynthesiser::createEngine(50, 50), dir / "missing" / "spill.TXT");
    ASSERT_EQ(speak(commaText(401)), ChannelPlayback::kFinished);
    EXPECT_EQ(card.plays.size(), 1u);
}

TEST_F(ChannelPlaybackTest, EmptyTextAndMissingFileAreRefusedAndChangeNothing) {
    EXPECT_EQ(playback->start("", false, {}), ChannelPlayback::kEmptyText);
    EXPECT_EQ(playback->start((dir / "none.txt").c_str(), true, {}),
              ChannelPlayback::kFileNotFound);
    EXPECT_EQ(playback->start(dir.c_str(), true, {}), ChannelPlayback::kFileNotFound);
    EXPECT_EQ(playback->check(), ChannelPlayback::kFinished);
    EXPECT_TRUE(card.plays.empty());
}

struct FileCase {
    const char* name;
    const char* utf8;
    size_t pieces;
};

class ChannelPlaybackFileTest : public ChannelPlaybackTest,
                                public ::testing::WithParamInterface<FileCase> {};

TEST_P(ChannelPlaybackFileTest, SentencesArePlayedOneAfterAnother) {
    const auto file = writeText("text.txt", GetParam().utf8);
    ASSERT_EQ(speak(file.string(), true), ChannelPlayback::kFinished);
    EXPECT_EQ(card.plays.size(), GetParam().pieces);
    for (const auto& piece : card.plays)
        EXPECT_GT(alawRms(piece), 500.0); // no silent piece for an empty sentence
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ChannelPlaybackFileTest,
    ::testing::Values(FileCase{"NoMarkIsOneSentence", "请明天上午九点到招标中心参加评标", 1},
                      FileCase{"CommaSplits", "您好，再见", 2},
                      FileCase{"FullStopDoesNotSplit", "您好。再见", 1},
                      FileCase{"TwoMarksInARowDoNotEndTheText", "您好！！请按一，，再见", 3},
                      FileCase{"OnlyMarks", "，，", 0}, FileCase{"EmptyFile", "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChannelPlaybackTest, StopDuringSynthesisThenStartAtOnceSpeaksTheNewText) {
    std::string longText;
    for (int i = 0; i < 60; ++i)
        longText += "您好这里是评标专家抽取系统请按一号键确认参加";
    ASSERT_EQ(playback->start(gbk(longText).c_str(), false, {}), ChannelPlayback::kStarted);
    EXPECT_EQ(playback->check(), ChannelPlayback::kSpeaking);
    EXPECT_EQ(playback->stop(), 0);
    EXPECT_EQ(playback->check(), ChannelPlayback::kFinished);
    ASSERT_EQ(speak(gbk("再见。")), ChannelPlayback::kFinished);
    ASSERT_EQ(card.plays.size(), 1u);
    EXPECT_GT(card.plays[0].size(), 2000u);
    EXPECT_LT(card.plays[0].size(), 40000u);
}

TEST_F(ChannelPlaybackTest, StopDuringPlaybackStopsTheCardAndEnds) {
    const auto file = writeText("three.txt", "第一句，第二句，第三句");
    ASSERT_EQ(playback->start(file.c_str(), true, {}), ChannelPlayback::kStarted);
    const auto giveUp = std::chrono::steady_clock::now() + 30s;
    while (card.plays.empty() && std::chrono::steady_clock::now() < giveUp)
        playback->check();
    ASSERT_EQ(card.plays.size(), 1u);
    const int stopsBefore = card.stops;
    EXPECT_EQ(playback->stop(), 0);
    EXPECT_GT(card.stops, stopsBefore);
    EXPECT_FALSE(card.playing);
    EXPECT_EQ(playback->check(), ChannelPlayback::kFinished);
    EXPECT_EQ(card.plays.size(), 1u);
}

TEST_F(ChannelPlaybackTest, EngineWithoutOutputPlaysAnEmptyPieceAndEnds) {
    makePlayback(nullptr, dir / "spill.TXT");
    ASSERT_EQ(speak("abc"), ChannelPlayback::kFinished);
    ASSERT_EQ(card.plays.size(), 1u);
    EXPECT_TRUE(card.plays[0].empty());
}

TEST_F(ChannelPlaybackTest, ApiSideTraceLinesFollowThePlaySteps) {
    TraceFile trace;
    ASSERT_TRUE(trace.open(dir / "TTSTrace.txt"));
    playback->setTrace(&trace);
    ASSERT_EQ(speak(gbk("您好。")), ChannelPlayback::kFinished);
    playback->setTrace(nullptr);
    trace.close();
    std::ifstream in(dir / "TTSTrace.txt");
    std::vector<std::string> codes;
    for (std::string line; std::getline(in, line);)
        codes.push_back(line.substr(0, line.find("   Msg=")));
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.front(), "Upper Ch=2, Upper Step=110");
    EXPECT_NE(std::find(codes.begin(), codes.end(), "Upper Ch=2, Upper Step=210"), codes.end());
    EXPECT_EQ(codes.back(), "Upper Ch=2, Upper Step=290");
}

} // namespace
} // namespace sayline
