// Several speech slots drive their own engine instances from their own
// threads while espeak-ng has one global state.
#include "speechcore/Speechcore.h"
#include "support/ReferenceAudio.h"

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {

using speechcore::test::ScratchDir;
namespace fs = std::filesystem;

const std::array<std::string, 4> kTexts = {
    "您好，请于明天上午九点到招标中心参加评标。",
    "本次评标地点在市政务服务中心三楼。",
    "如能参加请按一，不能参加请按二，重听请按九。",
    "谢谢您的配合，再见。",
};

bool waitUntilIdle(SpeechcoreHandle engine) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (Speechcore_IsBusy(engine) == 1) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Speaks one text into a file on a fresh instance with its own voice.
std::string speakAlone(const std::string& utf8, int speed, const fs::path& file) {
    SpeechcoreHandle engine = Speechcore_Create();
    if (engine == nullptr)
        return "no instance";
    std::string failure;
    if (Speechcore_SetVoiceParam(engine, 0, SPEECHCORE_VOICE_SPEED, speed) != SPEECHCORE_OK ||
        Speechcore_OutputToFile(engine, file.c_str()) != SPEECHCORE_OK ||
        Speechcore_AddText(engine, speechcore::test::toGbk(utf8).c_str()) != SPEECHCORE_OK ||
        Speechcore_Start(engine) != SPEECHCORE_OK)
        failure = "start failed";
    else if (!waitUntilIdle(engine))
        failure = "never finished";
    else if (Speechcore_GetLastResult(engine) != SPEECHCORE_OK)
        failure = "synthesis failed";
    Speechcore_Destroy(engine);
    return failure;
}

TEST(SpeechcoreConcurrencyTest, ParallelSlotsEachGetExactlyTheirOwnSpeech) {
    ScratchDir dir;
    // Each text at its own speed, one after the other: what each slot must get.
    std::vector<std::vector<int16_t>> expected;
    for (size_t i = 0; i < kTexts.size(); ++i) {
        const auto file = dir / ("alone" + std::to_string(i) + ".rau");
        ASSERT_EQ(speakAlone(kTexts[i], 30 + 10 * static_cast<int>(i), file), "");
        expected.push_back(speechcore::test::decodeMulawFile(file));
        ASSERT_FALSE(expected.back().empty());
    }
    // The same, all at once, twice over, so voices and outputs of one slot
    // would leak into another's if espeak-ng's state were not kept apart.
    // espeak-ng never renders a text twice to the same samples, and the
    // rendering shifts a little with the text rendered before it, so each slot
    // is judged by length and loudness contour, against all four texts.
    std::vector<std::thread> slots;
    std::array<std::string, 2 * kTexts.size()> failures;
    for (size_t n = 0; n < failures.size(); ++n) {
        slots.emplace_back([&, n] {
            const size_t i = n % kTexts.size();
            failures[n] = speakAlone(kTexts[i], 30 + 10 * static_cast<int>(i),
                                     dir / ("slot" + std::to_string(n) + ".rau"));
        });
    }
    for (auto& slot : slots)
        slot.join();
    for (size_t n = 0; n < failures.size(); ++n) {
        ASSERT_EQ(failures[n], "") << n;
        const auto got =
            speechcore::test::decodeMulawFile(dir / ("slot" + std::to_string(n) + ".rau"));
        const auto& own = expected[n % kTexts.size()];
        EXPECT_NEAR(static_cast<double>(got.size()), static_cast<double>(own.size()),
                    0.03 * static_cast<double>(own.size()))
            << "slot " << n;
        const double ownSimilarity = speechcore::test::envelopeSimilarity(got, own);
        EXPECT_GT(ownSimilarity, 0.75) << "slot " << n;
        for (size_t other = 0; other < kTexts.size(); ++other)
            if (other != n % kTexts.size()) {
                EXPECT_LT(speechcore::test::envelopeSimilarity(got, expected[other]),
                          ownSimilarity - 0.25)
                    << "slot " << n << " sounds like text " << other;
            }
    }
}

TEST(SpeechcoreConcurrencyTest, StopAndPollFromOtherThreadsWhileSpeaking) {
    ScratchDir dir;
    std::vector<SpeechcoreHandle> engines;
    for (int i = 0; i < 3; ++i) {
        engines.push_back(Speechcore_Create());
        ASSERT_NE(engines.back(), nullptr);
        ASSERT_EQ(Speechcore_OutputToFile(engines.back(),
                                          (dir / ("e" + std::to_string(i) + ".rau")).c_str()),
                  SPEECHCORE_OK);
    }
    std::string longText;
    for (int i = 0; i < 100; ++i)
        longText += kTexts[static_cast<size_t>(i) % kTexts.size()];
    const std::string gbk = speechcore::test::toGbk(longText);

    std::atomic<bool> done{false};
    std::thread poller([&] {
        while (!done.load())
            for (SpeechcoreHandle e : engines) {
                const int32_t busy = Speechcore_IsBusy(e);
                ASSERT_TRUE(busy == 0 || busy == 1);
                Speechcore_GetLastResult(e);
            }
    });
    std::vector<std::thread> starters;
    for (SpeechcoreHandle e : engines)
        starters.emplace_back([&, e] {
            for (int round = 0; round < 5; ++round) {
                ASSERT_EQ(Speechcore_AddText(e, gbk.c_str()), SPEECHCORE_OK);
                ASSERT_EQ(Speechcore_Start(e), SPEECHCORE_OK);
                // A second thread stops what the first started.
                std::thread stopper([e] { EXPECT_EQ(Speechcore_Stop(e), SPEECHCORE_OK); });
                stopper.join();
                ASSERT_EQ(Speechcore_IsBusy(e), 0);
            }
        });
    for (auto& t : starters)
        t.join();
    done = true;
    poller.join();
    for (SpeechcoreHandle e : engines)
        EXPECT_EQ(Speechcore_Destroy(e), SPEECHCORE_OK);
}

TEST(SpeechcoreConcurrencyTest, InstancesComeAndGoOnManyThreads) {
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10; ++i) {
                SpeechcoreHandle e = Speechcore_Create();
                if (e == nullptr || Speechcore_SetParam(e, 1, i) != SPEECHCORE_OK ||
                    Speechcore_Destroy(e) != SPEECHCORE_OK)
                    ++failures;
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(failures.load(), 0);
}

} // namespace
