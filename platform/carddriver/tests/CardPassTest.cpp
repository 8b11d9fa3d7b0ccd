#include "carddriver/CardPass.h"

#include <gtest/gtest.h>

using carddriver::CardPass;

namespace {

// Runs a pass until it ends (or a limit); the number of samples it took.
int samplesUntilEnd(CardPass& pass, int limit = 100000) {
    int taken = 0;
    while (pass.active() && taken < limit) {
        pass.step();
        ++taken;
    }
    return taken;
}

TEST(CardPass, SinglePassEndsAfterItsLength) {
    CardPass pass;
    pass.startSingle(100);
    EXPECT_EQ(pass.remainder(), 100u);
    EXPECT_EQ(pass.state(), CardPass::kRunning);
    EXPECT_EQ(samplesUntilEnd(pass), 100);
    EXPECT_EQ(pass.state(), CardPass::kEnded);
    EXPECT_EQ(pass.remainder(), 0u);
}

TEST(CardPass, LoopedPassWrapsUntilStopped) {
    CardPass pass;
    pass.startLooped(8);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(pass.step(), i % 8);
    EXPECT_TRUE(pass.active());
}

struct LoopStopCase {
    int stepsBefore;  // samples taken before the stop is set
    uint32_t unused;  // bytes of the final pass not to be used
    int samplesAfter; // samples until the pass ends
};

class LoopStop : public ::testing::TestWithParam<LoopStopCase> {};

TEST_P(LoopStop, EndsTheNextTimeThePositionReachesTheStop) {
    CardPass pass;
    pass.startLooped(16);
    for (int i = 0; i < GetParam().stepsBefore; ++i)
        pass.step();
    pass.setLoopStop(GetParam().unused);
    EXPECT_EQ(samplesUntilEnd(pass), GetParam().samplesAfter);
}

// With a 16-byte buffer (h = 8): refilling the first half while the card is
// in the second half sets 2h - n and ends n bytes into the next pass; refilling
// the second half while in the first sets h - n and ends in this pass.
INSTANTIATE_TEST_SUITE_P(Positions, LoopStop,
                         ::testing::Values(LoopStopCase{12, 16 - 1, 4 + 1},
                                           LoopStopCase{12, 16 - 8, 4 + 8},
                                           LoopStopCase{3, 8 - 5, 13 - 3}, LoopStopCase{3, 0, 13},
                                           LoopStopCase{0, 16, 16}));

TEST(CardPass, StopEndsAtOnce) {
    CardPass pass;
    pass.startLooped(16);
    pass.step();
    pass.stop();
    EXPECT_EQ(pass.state(), CardPass::kEnded);
    EXPECT_EQ(pass.step(), -1);
}

} // namespace
