// The worker of one speech slot against a stand-in for the API side, which
// plays nothing but takes each piece and resumes the worker as the card
// playback would.
#include "SlotWorker.h"
#include "GbkText.h"
#include "PieceSynthesiser.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace sayline {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Waits for the worker's work, never for a set time; gives up only on a
// worker that is stuck.
bool eventually(const std::function<bool()>& condition) {
    const auto giveUp = std::chrono::steady_clock::now() + 30s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

std::string longText() {
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "您好这里是评标专家抽取系统请按一号键确认参加";
    return gbk(text);
}

class SlotWorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "sayline-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        worker = std::make_unique<SlotWorker>(5, SlotWorker::Files{dir / "slot5.rau"},
                                              PieceSynthesiser::createEngine(50, 50), 2ms);
        ASSERT_TRUE(worker->hasEngine());
        ASSERT_TRUE(eventually([&] { return worker->isIdle(); }));
    }
    void TearDown() override {
        worker.reset();
        fs::remove_all(dir);
    }

    // Takes every piece the worker hands over until the request ends, as the
    // API side would play them; returns the size of each.
    std::vector<uintmax_t> takePieces() {
        std::vector<uintmax_t> pieces;
        uint64_t taken = worker->handOvers();
        const auto newPiece = [&] {
            return worker->waitingForUpper() && worker->handOvers() > taken;
        };
        while (true) {
            const bool ready = eventually([&] {
                return newPiece() || worker->converType() == CO_NONE_TEXT ||
                       (worker->threadState() == THREAD_STATE_PARSE_ALL_OK &&
                        !worker->waitingForUpper());
            });
            EXPECT_TRUE(ready);
            if (!ready || worker->converType() == CO_NONE_TEXT)
                break;
            if (newPiece()) {
                std::error_code none;
                pieces.push_back(fs::file_size(worker->mulawFile(), none));
                taken = worker->handOvers();
            }
            // Played: the next sentence, or the end once every one has played.
            worker->resume();
        }
        EXPECT_TRUE(eventually([&] { return worker->isIdle(); }));
        return pieces;
    }

    void writeText(const std::string& name, const std::string& utf8) {
        std::ofstream(dir / name, std::ios::binary) << gbk(utf8);
    }

    fs::path dir;
    std::unique_ptr<SlotWorker> worker;
};

TEST_F(SlotWorkerTest, TextFromMemoryIsOnePiece) {
    worker->startBuffer(gbk("您好，请按一号键确认参加。"), {});
    const auto pieces = takePieces();
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_GT(pieces[0], 8000u); // one piece holds both halves of the comma
    EXPECT_EQ(worker->converType(), CO_NONE_TEXT);
}

TEST_F(SlotWorkerTest, TextFileIsSpokenSentenceBySentenceSkippingEmptyOnes) {
    writeText("notice.txt", "您好，，请于明天上午九点参加评标！！谢谢。");
    worker->startFile(dir / "notice.txt", {});
    const auto pieces = takePieces();
    ASSERT_EQ(pieces.size(), 3u);
    for (const auto size : pieces)
        EXPECT_GT(size, 2000u);
    // The middle sentence is the longest of the three.
    EXPECT_GT(pieces[1], pieces[0]);
    EXPECT_GT(pieces[1], pieces[2]);
}

TEST_F(SlotWorkerTest, EmptyOrMissingTextFileEndsWithoutAPiece) {
    writeText("empty.txt", "");
    worker->startFile(dir / "empty.txt", {});
    EXPECT_TRUE(takePieces().empty());
    worker->startFile(dir / "missing.txt", {});
    EXPECT_TRUE(takePieces().empty());
}

TEST_F(SlotWorkerTest, TextOfOnlyMarksEndsWithoutAPiece) {
    writeText("marks.txt", "，，！");
    worker->startFile(dir / "marks.txt", {});
    EXPECT_TRUE(takePieces().empty());
}

TEST_F(SlotWorkerTest, StopDuringSynthesisLeavesTheWorkerIdleAndTheNextTextIsSpoken) {
    worker->startBuffer(longText(), {});
    ASSERT_TRUE(eventually([&] { return worker->threadState() == TTP_STATE_CONV_STR; }));
    EXPECT_TRUE(worker->stop());
    EXPECT_TRUE(worker->isIdle());
    EXPECT_FALSE(worker->waitingForUpper());
    EXPECT_EQ(worker->converType(), CO_NONE_TEXT);
    // Started at once after the stop: not cancelled by the end of the old one.
    worker->startBuffer(gbk("再见。"), {});
    const auto pieces = takePieces();
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_GT(pieces[0], 2000u);
    EXPECT_LT(pieces[0], 40000u); // the short text, not the long one
}

TEST_F(SlotWorkerTest, StopWhileAPieceWaitsForTheApiSideLeavesTheWorkerIdle) {
    worker->startBuffer(gbk("您好。"), {});
    ASSERT_TRUE(eventually([&] { return worker->waitingForUpper(); }));
    EXPECT_TRUE(worker->stop());
    EXPECT_FALSE(worker->waitingForUpper());
    EXPECT_TRUE(worker->isIdle());
}

TEST_F(SlotWorkerTest, StopInTheMiddleOfATextFileLeavesTheWorkerIdle) {
    writeText("three.txt", "第一句，第二句，第三句");
    worker->startFile(dir / "three.txt", {});
    ASSERT_TRUE(eventually([&] { return worker->waitingForUpper(); }));
    worker->resume();
    ASSERT_TRUE(eventually([&] { return worker->waitingForUpper(); }));
    EXPECT_TRUE(worker->stop());
    EXPECT_FALSE(worker->waitingForUpper());
    EXPECT_EQ(worker->converType(), CO_NONE_TEXT);
    // The same file again starts from its first sentence.
    worker->startFile(dir / "three.txt", {});
    EXPECT_EQ(takePieces().size(), 3u);
}

TEST_F(SlotWorkerTest, StopOfAnIdleWorkerIsHarmless) {
    EXPECT_TRUE(worker->stop());
    EXPECT_TRUE(worker->stop());
    worker->startBuffer(gbk("您好。"), {});
    EXPECT_EQ(takePieces().size(), 1u);
}

TEST_F(SlotWorkerTest, NewRequestReplacingARunningOneIsNeverCancelledByIt) {
    worker->startBuffer(longText(), {});
    ASSERT_TRUE(eventually([&] { return worker->threadState() == TTP_STATE_CONV_STR; }));
    // No stop in between: the old synthesis must give way, not end the new request.
    worker->startBuffer(gbk("再见。"), {});
    const auto pieces = takePieces();
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_LT(pieces[0], 40000u);
}

TEST_F(SlotWorkerTest, ConversionsWriteVocAndWaveFilesAndEndIdle) {
    const std::string text = gbk("您好，请按一号键。");
    worker->startConversion(CO_TEXT_VOC, text, (dir / "notice").string(), {});
    ASSERT_TRUE(eventually([&] { return worker->converType() == CO_NONE_TEXT; }));
    EXPECT_GT(fs::file_size(dir / "notice.voc"), 8000u);
    EXPECT_FALSE(worker->playActive());

    writeText("source.txt", "您好，请按一号键。");
    worker->startConversion(CO_FILE_WAV, (dir / "source.txt").string(), (dir / "notice").string(),
                            {});
    ASSERT_TRUE(eventually([&] { return worker->converType() == CO_NONE_TEXT; }));
    EXPECT_GT(fs::file_size(dir / "notice.wav"), 8000u);
}

TEST_F(SlotWorkerTest, CancelledConversionEndsEarly) {
    worker->startConversion(CO_TEXT_WAV, longText(), (dir / "long").string(), {});
    ASSERT_TRUE(eventually([&] { return fs::exists(dir / "long.wav"); }));
    worker->cancel();
    ASSERT_TRUE(eventually([&] { return worker->converType() == CO_NONE_TEXT; }));
    EXPECT_TRUE(eventually([&] { return worker->isIdle(); }));
    // Far less than the whole text, which is many minutes of speech.
    EXPECT_LT(fs::file_size(dir / "long.wav"), 60u * 8000u);
}

TEST_F(SlotWorkerTest, SoundDeviceRequestEndsWithOrWithoutADevice) {
    ::setenv("SPEECHCORE_AUDIO_DEVICE", "sayline_no_such_device", 1);
    worker->startAudio(CO_TEXT_AUDIO, gbk("您好。"), {});
    EXPECT_TRUE(eventually([&] { return worker->converType() == CO_NONE_TEXT; }));
    ::setenv("SPEECHCORE_AUDIO_DEVICE", "null", 1);
    worker->startAudio(CO_TEXT_AUDIO, gbk("您好。"), {});
    EXPECT_TRUE(eventually([&] { return worker->converType() == CO_NONE_TEXT; }));
    ::unsetenv("SPEECHCORE_AUDIO_DEVICE");
}

TEST_F(SlotWorkerTest, TraceRecordsTheWorkersSteps) {
    TraceFile trace;
    ASSERT_TRUE(trace.open(dir / "TTSTrace.txt"));
    worker->setTrace(&trace, 7);
    worker->startBuffer(gbk("您好。"), {});
    takePieces();
    EXPECT_EQ(worker->lastStep(), 700);
    worker->setTrace(nullptr, 7);
    trace.close();
    std::ifstream in(dir / "TTSTrace.txt");
    std::vector<std::string> steps;
    for (std::string line; std::getline(in, line);)
        steps.push_back(line.substr(0, line.find(" , Msg=")));
    const std::vector<std::string> expected = {"Thread Ch=7, Step=701", "Thread Ch=7, Step=110",
                                               "Thread Ch=7, Step=111", "Thread Ch=7, Step=113",
                                               "Thread Ch=7, Step=513", "Thread Ch=7, Step=114",
                                               "Thread Ch=7, Step=700"};
    EXPECT_EQ(steps, expected);
}

TEST(SlotWorkerLifetimeTest, EndingTheSlotDuringSynthesisDoesNotWait) {
    const fs::path file = fs::temp_directory_path() / "sayline-lifetime.rau";
    auto worker = std::make_unique<SlotWorker>(0, SlotWorker::Files{file},
                                               PieceSynthesiser::createEngine(50, 50), 2ms);
    worker->startBuffer(longText(), {});
    ASSERT_TRUE(eventually([&] { return worker->threadState() == TTP_STATE_CONV_STR; }));
    worker.reset();
    fs::remove(file);
}

TEST(SlotWorkerLifetimeTest, SlotWithoutEngineEndsRequestsWithEmptyPieces) {
    const fs::path file = fs::temp_directory_path() / "sayline-noengine.rau";
    SlotWorker worker(1, SlotWorker::Files{file}, nullptr, 2ms);
    EXPECT_FALSE(worker.hasEngine());
    worker.startBuffer("abc", {});
    ASSERT_TRUE(eventually([&] { return worker.waitingForUpper(); }));
    EXPECT_FALSE(fs::exists(file));
    worker.resume();
    EXPECT_TRUE(eventually([&] { return worker.converType() == CO_NONE_TEXT; }));
}

} // namespace
} // namespace sayline
