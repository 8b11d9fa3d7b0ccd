// Binding card channels to speech slots: the pool of engine instances.
#include "SlotPool.h"
#include "PieceSynthesiser.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace sayline {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class SlotPoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "sayline-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        pool.reset();
        fs::remove_all(dir);
    }

    // A pool whose engine factory makes real instances, up to `limit` of them.
    void makePool(int speech, int channels, int limit = 1000) {
        pool = std::make_unique<SlotPool>(
            speech, channels, dir,
            [this, limit]() -> SpeechcoreHandle {
                if (made.load() >= limit)
                    return nullptr;
                ++made;
                return PieceSynthesiser::createEngine(50, 50);
            },
            2ms);
    }

    fs::path dir;
    std::atomic<int> made{0};
    std::unique_ptr<SlotPool> pool;
};

TEST_F(SlotPoolTest, FirstGrowthMakesAtMostFourInstances) {
    makePool(8, 8);
    EXPECT_TRUE(pool->hasSoundSlot());
    EXPECT_EQ(pool->grow(), 4);
    EXPECT_EQ(pool->existing(), 4);
    // Four idle instances: no spare is needed yet.
    EXPECT_EQ(pool->grow(), 0);

    makePool(2, 8);
    EXPECT_EQ(pool->grow(), 2);
}

TEST_F(SlotPoolTest, BindingBeyondTheSpeechChannelsIsRefusedAndNoneIsLeft) {
    makePool(3, 8);
    pool->grow();
    for (int ch = 0; ch < 3; ++ch)
        EXPECT_EQ(pool->bind(ch), 0) << ch;
    EXPECT_EQ(pool->leave(), 0);
    EXPECT_EQ(pool->bind(3), SlotPool::kNoSpeechChannelLeft);
    EXPECT_EQ(pool->attached(), 3);
}

TEST_F(SlotPoolTest, BindingKeepsOneSpareInstanceReady) {
    makePool(8, 8);
    pool->grow();
    for (int ch = 0; ch < 6; ++ch)
        ASSERT_EQ(pool->bind(ch), 0);
    // After each binding one unbound instance at least stays ready.
    EXPECT_GE(pool->existing() - pool->attached(), 1);
    EXPECT_LE(pool->existing(), 8);
}

TEST_F(SlotPoolTest, BindingTheSameChannelTwiceUsesOneSlot) {
    makePool(4, 8);
    pool->grow();
    EXPECT_EQ(pool->bind(5), 0);
    const int slot = pool->slotFor(5);
    EXPECT_EQ(pool->bind(5), 0);
    EXPECT_EQ(pool->slotFor(5), slot);
    EXPECT_EQ(pool->attached(), 1);
    EXPECT_EQ(pool->leave(), 3);
}

struct ChannelCase {
    int channel;
    int32_t bind;
    int32_t unbind;
};

class SlotPoolChannelTest : public SlotPoolTest,
                            public ::testing::WithParamInterface<ChannelCase> {};

TEST_P(SlotPoolChannelTest, ChannelIsCheckedBeforeAnythingHappens) {
    makePool(2, 4);
    pool->grow();
    EXPECT_EQ(pool->unbind(GetParam().channel), GetParam().unbind);
    EXPECT_EQ(pool->bind(GetParam().channel), GetParam().bind);
}

INSTANTIATE_TEST_SUITE_P(
    Channels, SlotPoolChannelTest,
    ::testing::Values(ChannelCase{-1, SlotPool::kOutOfRange, SlotPool::kOutOfRange},
                      ChannelCase{4, SlotPool::kOutOfRange, SlotPool::kOutOfRange},
                      // In range but never bound.
                      ChannelCase{3, 0, SlotPool::kNotBound},
                      ChannelCase{0, 0, SlotPool::kNotBound}));

TEST_F(SlotPoolTest, UnbindingFreesTheSlotForAnotherChannel) {
    makePool(1, 4);
    pool->grow();
    ASSERT_EQ(pool->bind(0), 0);
    EXPECT_EQ(pool->bind(1), SlotPool::kNoSpeechChannelLeft);
    EXPECT_EQ(pool->unbind(0), 0);
    EXPECT_EQ(pool->workerFor(0), nullptr);
    EXPECT_EQ(pool->unbind(0), SlotPool::kNotBound);
    EXPECT_EQ(pool->bind(1), 0);
    EXPECT_NE(pool->workerFor(1), nullptr);
}

TEST_F(SlotPoolTest, UnbindingStopsWhatTheChannelWasSaying) {
    makePool(1, 2);
    pool->grow();
    ASSERT_EQ(pool->bind(1), 0);
    SlotWorker* worker = pool->workerFor(1);
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "ni hao, qing an yi hao jian. ";
    worker->startBuffer(text, {});
    EXPECT_EQ(pool->unbind(1), 0);
    EXPECT_TRUE(worker->isIdle());
    EXPECT_EQ(worker->converType(), CO_NONE_TEXT);
}

TEST_F(SlotPoolTest, OnlyIdleInstancesAreDeleted) {
    makePool(2, 4);
    pool->grow();
    ASSERT_EQ(pool->bind(0), 0);
    EXPECT_EQ(pool->deleteIdle(), 0);
    EXPECT_EQ(pool->existing(), 1);
    EXPECT_EQ(pool->deleteIdle(), SlotPool::kNoIdleInstance);
    EXPECT_NE(pool->workerFor(0), nullptr);
}

TEST_F(SlotPoolTest, EngineFailuresLimitThePool) {
    makePool(4, 4, 3); // the sound slot takes the first instance
    EXPECT_TRUE(pool->hasSoundSlot());
    EXPECT_EQ(pool->grow(), 2);
    EXPECT_EQ(pool->bind(0), 0);
    EXPECT_EQ(pool->bind(1), 0);
    EXPECT_EQ(pool->bind(2), SlotPool::kNoSpeechChannelLeft);

    made = 0;
    makePool(4, 4, 0);
    EXPECT_FALSE(pool->hasSoundSlot());
    EXPECT_EQ(pool->grow(), 0);
    EXPECT_EQ(pool->bind(0), SlotPool::kNoSpeechChannelLeft);
}

TEST_F(SlotPoolTest, ChannelsBoundFromSeveralThreadsGetDistinctSlots) {
    makePool(8, 8);
    pool->grow();
    std::vector<std::thread> threads;
    for (int ch = 0; ch < 8; ++ch)
        threads.emplace_back([this, ch] { EXPECT_EQ(pool->bind(ch), 0) << ch; });
    for (auto& t : threads)
        t.join();
    std::vector<int> slots;
    for (int ch = 0; ch < 8; ++ch)
        slots.push_back(pool->slotFor(ch));
    std::sort(slots.begin(), slots.end());
    EXPECT_EQ(std::unique(slots.begin(), slots.end()), slots.end());
    EXPECT_EQ(slots.front(), 0);
    EXPECT_EQ(pool->leave(), 0);
}

} // namespace
} // namespace sayline
