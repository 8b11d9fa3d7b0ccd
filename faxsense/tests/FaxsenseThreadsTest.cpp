// Channels fed from threads of their own, as a card's channel workers may:
// nothing is shared between channel records.
#include "V21SignalSource.h"
#include "faxsense/Faxsense.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

namespace {

using faxsense::testing::SignalOptions;
using faxsense::testing::V21SignalSource;

TEST(FaxsenseThreadsTest, ChannelsOnSeparateThreadsDetectIndependently) {
    ASSERT_EQ(lc_faxinit(), 0);
    const auto dis = V21SignalSource::alaw({V21SignalSource::dis()}, SignalOptions{});
    const auto csi = V21SignalSource::alaw({V21SignalSource::csi()}, SignalOptions{});

    constexpr int kThreads = 4;
    std::array<int, kThreads> detections{};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const auto& audio = (t % 2 == 0) ? dis : csi;
            for (std::size_t at = 0; at + FAXSENSE_BLOCK_BYTES <= audio.size();
                 at += FAXSENSE_BLOCK_BYTES) {
                detections[t] += lc_faxdetect(100 + t, audio.data() + at, FAXSENSE_BLOCK_BYTES);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(detections, (std::array<int, kThreads>{1, 0, 1, 0}));
}

} // namespace
