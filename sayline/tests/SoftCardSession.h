#pragma once

#include "carddriver/SimulatedExchange.h"
#include "carddriver/SoftCard.h"
#include "carddriver/VirtualClock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

// The card library over a fresh software card and a virtual clock, in a
// private folder that is also the speech library's runtime folder and the
// place of its trace file.
class SoftCardSession : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    carddriver::SoftCard& installCard(const carddriver::SoftCardConfig& config = {});
    // LoadDRV and EnableCard; fails the test on error.
    void enableCard(int channels = 8, int bufferBytes = 8192);
    // Moves line time on by `millis`, pumping the card as the program's timer does.
    void advance(int64_t millis);
    // Polls `check` as a caller's timer would until it gives something other
    // than "still speaking" (4); the result, or 4 if that never happens.
    // Each poll moves line time on by 20 ms.
    int32_t pollUntilDone(const std::function<int32_t()>& check);

    std::filesystem::path folder_;
    std::shared_ptr<carddriver::VirtualClock> clock_;
    std::shared_ptr<carddriver::SoftCard> card_;
};
