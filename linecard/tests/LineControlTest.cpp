#include "LinecardFixture.h"

using carddriver::SoftCardConfig;

namespace {

// Channel 0 a user (extension) line, channel 1 a trunk.
class LineControlTest : public LinecardFixture {
protected:
    void SetUp() override {
        LinecardFixture::SetUp();
        SoftCardConfig config;
        config.channelTypes = {0, 1};
        installCard(config);
        writeEgretIni();
        loadAndEnable(2);
    }
    // Steps the clock by 10 ms, pumping, until `done` holds or `limitMs` passes; the time taken.
    template <typename Done> int64_t msUntil(Done done, int64_t limitMs = 20000) {
        for (int64_t ms = 0; ms <= limitMs; ms += 10) {
            if (done())
                return ms;
            clock_->advanceMillis(10);
            FeedSigFunc();
        }
        return -1;
    }
};

TEST_F(LineControlTest, RealRingCadenceIsJustOverOneSecondOnAndFourOff) {
    ASSERT_NE(FeedRealRing(0), 0);
    EXPECT_TRUE(card_->userRinging(0));
    for (int cycle = 0; cycle < 2; ++cycle) {
        int64_t ring = msUntil([&] { return !card_->userRinging(0); });
        EXPECT_GE(ring, 1000);
        EXPECT_LE(ring, 1030);
        int64_t pause = msUntil([&] { return card_->userRinging(0); });
        EXPECT_GE(pause, 4000);
        EXPECT_LE(pause, 4030);
    }
}

TEST_F(LineControlTest, PickingUpDuringThePauseAnswersAndStopsTheCadence) {
    FeedRealRing(0);
    card_->setHandsetOffHook(0, true);
    EXPECT_EQ(OffHookDetect(0), 0) << "ringing current is not an answer";
    msUntil([&] { return !card_->userRinging(0); });
    EXPECT_EQ(OffHookDetect(0), 0) << "still settling after the ring";
    clock_->advanceMillis(200);
    FeedSigFunc();
    EXPECT_EQ(OffHookDetect(0), 1);
    EXPECT_EQ(msUntil([&] { return card_->userRinging(0); }, 10000), -1);
}

TEST_F(LineControlTest, ShortOnHookIsAFlashReportedOnce) {
    card_->setHandsetOffHook(0, true);
    StartHangUpDetect(0);
    EXPECT_EQ(HangUpDetect(0), 0);
    card_->setHandsetOffHook(0, false);
    for (int ms = 0; ms <= 300; ms += 20) {
        EXPECT_EQ(HangUpDetect(0), 2) << ms;
        clock_->advanceMillis(20);
    }
    card_->setHandsetOffHook(0, true);
    EXPECT_EQ(HangUpDetect(0), 3);
    EXPECT_EQ(HangUpDetect(0), 0);
}

TEST_F(LineControlTest, OnHookLongerThanFlashIsAHangUpThatStays) {
    card_->setHandsetOffHook(0, true);
    StartHangUpDetect(0);
    card_->setHandsetOffHook(0, false);
    EXPECT_EQ(HangUpDetect(0), 2);
    clock_->advanceMillis(810);
    EXPECT_EQ(HangUpDetect(0), 1);
    card_->setHandsetOffHook(0, true);
    EXPECT_EQ(HangUpDetect(0), 1);
    StartHangUpDetect(0);
    EXPECT_EQ(HangUpDetect(0), 0);
}

TEST_F(LineControlTest, TrunksNeverReportAHangUp) {
    StartHangUpDetect(1);
    EXPECT_EQ(HangUpDetect(1), 0);
}

TEST_F(LineControlTest, OffHookSeizesTheTrunkAndHangUpReleasesIt) {
    EXPECT_NE(OffHook(1), 0);
    EXPECT_TRUE(card_->trunkSeized(1));
    EXPECT_NE(HangUp(1), 0);
    EXPECT_FALSE(card_->trunkSeized(1));
}

TEST_F(LineControlTest, ChannelsOutsideTheTablesAreRefused) {
    for (int ch : {-1, 256, 70000}) {
        EXPECT_EQ(OffHook(ch), LC_BAD_ARGUMENT);
        EXPECT_EQ(CheckChType(ch), LC_BAD_ARGUMENT);
        EXPECT_EQ(StartPlaySignal(ch, 1), LC_BAD_ARGUMENT);
        EXPECT_EQ(GetDtmfCode(ch), LC_BAD_ARGUMENT);
        EXPECT_EQ(StartPlay(ch, "x", 0, 1), LC_BAD_ARGUMENT);
    }
    EXPECT_EQ(OffHook(5), 0) << "a channel the card does not have is the driver's refusal";
}

TEST_F(LineControlTest, LoopedSignalRestartsWhenItsPassEnds) {
    card_->setPlayedAudioCapture(true);
    ASSERT_NE(StartPlaySignal(0, 2), 0);
    runFor(20000, 50); // tone 2 is 56000 bytes = 7 s; it must still be playing after 20 s
    EXPECT_EQ(CheckPlayEnd(0), 0);
    EXPECT_GE(card_->playedAudio(0).size(), 155000u);
    StartPlaySignal(0, 0);
    EXPECT_EQ(CheckPlayEnd(0), 1);
    size_t played = card_->playedAudio(0).size();
    runFor(1000);
    EXPECT_EQ(card_->playedAudio(0).size(), played);
}

class ChannelTypes : public LinecardFixture {};

TEST_F(ChannelTypes, AboveChannel128TheExtendedTableAnswers) {
    SoftCardConfig config;
    config.cardType = 30;
    config.channelTypes.assign(160, 1);
    config.channelTypes[128] = 0;
    config.channelTypes[129] = 3;
    installCard(config);
    writeIni("[SYSTEM]\nCardNo=1\nCardType=30\nIRQ=5\nMemAddr=D000\n[ADDRESS]\naddr01=300\n");
    ASSERT_EQ(LoadDRV(), 0);
    EXPECT_EQ(CheckValidCh(), 160);
    EXPECT_EQ(CheckChType(128), 0);
    EXPECT_EQ(CheckChType(129), 3);
    EXPECT_EQ(CheckChType(200), 0) << "beyond the card: the table's zero";
}

} // namespace
