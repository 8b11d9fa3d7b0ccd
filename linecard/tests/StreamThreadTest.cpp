#include "LinecardFixture.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

// A producer thread feeds streams while the polling thread pumps them, as the
// speech library's workers do.
class StreamThreads : public LinecardFixture {};

TEST_F(StreamThreads, FeedingAndPumpingRunSideBySide) {
    installCard();
    writeEgretIni();
    loadAndEnable(4, 8192);
    card_->setPlayedAudioCapture(true);
    for (int ch = 0; ch < 4; ++ch)
        ASSERT_EQ(StartPlayMem(ch), 0);
    std::atomic<bool> done{false};
    std::thread producer([&] {
        std::vector<uint8_t> chunk(1000, 200);
        for (int round = 0; round < 60; ++round)
            for (int ch = 0; ch < 4; ++ch)
                while (SendToBuff(ch, chunk.data(), static_cast<uint32_t>(chunk.size())) == -2)
                    std::this_thread::yield();
        done = true;
    });
    while (!done) {
        clock_->advanceMillis(50);
        PUSH_PLAY();
    }
    producer.join();
    runFor(10000, 100);
    for (int ch = 0; ch < 4; ++ch) {
        EXPECT_EQ(CheckPlayEnd(ch), 0);
        auto played = card_->playedAudio(static_cast<uint16_t>(ch));
        ASSERT_GE(played.size(), 60000u);
        // Every fed sample comes out exactly once; when the producer falls
        // behind, the pump plays silence in between.
        uint8_t fed = played[0];
        EXPECT_NE(fed, 0x55);
        EXPECT_EQ(std::count(played.begin(), played.end(), fed), 60000) << ch;
    }
}

} // namespace
