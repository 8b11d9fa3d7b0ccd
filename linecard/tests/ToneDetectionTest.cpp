#include "ToneDetection.h"
#include "LinecardFixture.h"
#include "carddriver/SimulatedExchange.h"

using carddriver::CallScenario;
using linecard::ToneDetection;

namespace {

// The card's signal bits are set sample by sample (one sample = 32 ms).
class ToneDetectionTest : public LinecardFixture {
protected:
    static constexpr int kChannel = 5;

    void SetUp() override {
        LinecardFixture::SetUp();
        ToneDetection::parameters() = linecard::ToneDetectionParameters{};
        installCard();
        writeEgretIni();
        loadAndEnable();
        StartSigCheck(kChannel);
    }
    static std::vector<uint8_t> runs(std::initializer_list<std::pair<int, int>> pieces,
                                     int repeat = 1) {
        std::vector<uint8_t> bits;
        for (int r = 0; r < repeat; ++r)
            for (auto [bit, count] : pieces)
                bits.insert(bits.end(), static_cast<size_t>(count), static_cast<uint8_t>(bit));
        return bits;
    }
    void samples(int count) { clock_->advanceMicros(32000LL * count); }
    // Feeds `bits` and polls the classifier every `every` samples; the first
    // result other than 16 and the sample count at which it came.
    std::pair<int, int> pollUntilResult(const std::vector<uint8_t>& bits, int type, int every) {
        card_->injectSignalBits(kChannel, bits);
        for (int fed = every; fed <= static_cast<int>(bits.size()); fed += every) {
            samples(every);
            int result = ReadCheckResult(kChannel, type);
            if (result != ToneDetection::kNoResult)
                return {result, fed};
        }
        return {ToneDetection::kNoResult, -1};
    }
};

TEST_F(ToneDetectionTest, RingBackIsConfirmedWhenTheFifthBurstEnds) {
    auto [result, at] = pollUntilResult(runs({{1, 31}, {0, 125}}, 6), 3, 3);
    EXPECT_EQ(result, ToneDetection::kRingBack);
    // The fifth burst ends at sample 4 * 156 + 31 = 655; the next poll confirms it.
    EXPECT_GT(at, 655);
    EXPECT_LE(at, 655 + 3);
}

TEST_F(ToneDetectionTest, BusyCadenceAtTheEndOfTheFirstCycle) {
    auto [result, at] = pollUntilResult(runs({{1, 11}, {0, 11}}, 4), 3, 1);
    EXPECT_EQ(result, ToneDetection::kBusy);
    EXPECT_EQ(at, 23) << "the first tone sample after 11 on and 11 off";
}

TEST_F(ToneDetectionTest, LongSilenceBeforeAnyBurst) {
    card_->injectSignalBits(kChannel, runs({{0, 200}}));
    samples(200);
    EXPECT_EQ(ReadCheckResult(kChannel, 3), ToneDetection::kSilence);
}

TEST_F(ToneDetectionTest, ToneOutOfCadenceIsAnOtherSignal) {
    card_->injectSignalBits(kChannel, runs({{1, 5}, {0, 3}}, 25));
    samples(200);
    EXPECT_EQ(ReadCheckResult(kChannel, 3), ToneDetection::kOther);
}

TEST_F(ToneDetectionTest, RingBackWithAWrongPauseIsAnOtherSignal) {
    auto [result, at] = pollUntilResult(runs({{1, 31}, {0, 60}}, 4), 3, 3);
    EXPECT_EQ(result, ToneDetection::kOther);
    EXPECT_GT(at, 91);
}

TEST_F(ToneDetectionTest, BusyCyclesAreCountedByTheBusyCheck) {
    card_->injectSignalBits(kChannel, runs({{1, 22}, {0, 22}}, 6));
    samples(6 * 44);
    EXPECT_EQ(ReadCheckResult(kChannel, 1), ToneDetection::kBusyCycle);
    EXPECT_EQ(ReadBusyCount(), 5);
}

TEST_F(ToneDetectionTest, NoBusyCycleInSilenceOrWithoutSamples) {
    EXPECT_EQ(ReadCheckResult(kChannel, 2), ToneDetection::kNoBusyCycle);
    card_->injectSignalBits(kChannel, runs({{0, 100}}));
    samples(100);
    EXPECT_EQ(ReadCheckResult(kChannel, 1), ToneDetection::kNoBusyCycle);
    EXPECT_EQ(ReadBusyCount(), 0);
}

struct ContinuousCase {
    int toneSamples;
    int result;
};

class Continuous : public ToneDetectionTest,
                   public ::testing::WithParamInterface<ContinuousCase> {};

TEST_P(Continuous, NeedsSixtySamplesOfTone) {
    card_->injectSignalBits(kChannel, runs({{1, GetParam().toneSamples}}));
    samples(GetParam().toneSamples);
    EXPECT_EQ(ReadCheckResult(kChannel, 0), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Lengths, Continuous,
                         ::testing::Values(ContinuousCase{70, ToneDetection::kContinuous},
                                           ContinuousCase{60, ToneDetection::kContinuous},
                                           ContinuousCase{59, ToneDetection::kNoResult}));

TEST_F(ToneDetectionTest, GapInAContinuousToneIsReported) {
    card_->injectSignalBits(kChannel, runs({{1, 50}, {0, 1}, {1, 19}}));
    samples(70);
    EXPECT_EQ(ReadCheckResult(kChannel, 4), ToneDetection::kSilence);
}

TEST_F(ToneDetectionTest, SilenceCountLooksAtTheNewestSamples) {
    EXPECT_EQ(CheckSilence(kChannel, 1), -1);
    card_->injectSignalBits(kChannel, runs({{1, 6}, {0, 2}, {1, 2}}));
    samples(10);
    EXPECT_EQ(CheckSilence(kChannel, 4), 2);
    EXPECT_EQ(CheckSilence(kChannel, 10), 8);
    EXPECT_EQ(CheckSilence(kChannel, 11), -1);
}

TEST_F(ToneDetectionTest, OnlyTheChannelsOwnBitCounts) {
    card_->injectSignalBits(kChannel + 1, runs({{1, 70}}));
    samples(70);
    EXPECT_EQ(ReadCheckResult(kChannel, 0), ToneDetection::kSilence);
    EXPECT_EQ(CheckSilence(kChannel, 70), 0);
}

TEST(ToneDetectionParameters, BusyAndDialWindowsFromMilliseconds) {
    auto& p = ToneDetection::parameters();
    SetBusyPara(350);
    EXPECT_EQ(p.busyOnMin, 10);
    EXPECT_EQ(p.busyOnMax, 12);
    EXPECT_EQ(p.busyOffMin, 10);
    EXPECT_EQ(p.busyOffMax, 12);
    SetDialPara(1000, 4000, 350, 5);
    EXPECT_EQ(p.ringOnMin, 23);
    EXPECT_EQ(p.ringOnMax, 39);
    EXPECT_EQ(p.ringOffMin, 94);
    EXPECT_EQ(p.ringOffMax, 156);
    EXPECT_EQ(p.silenceLimit, 188);
    EXPECT_EQ(p.cadenceBusyOnMin, 10);
    EXPECT_EQ(p.cadenceBusyOffMax, 12);
    EXPECT_EQ(p.cyclesRequired, 5);
    NewSetBusyPara(300, 400, 500, 600);
    EXPECT_EQ(p.busyOnMin, 9);
    EXPECT_EQ(p.busyOnMax, 13);
    EXPECT_EQ(p.busyOffMin, 16);
    EXPECT_EQ(p.busyOffMax, 19);
    p = linecard::ToneDetectionParameters{};
}

TEST(ToneDetectionParameters, BoundsPastAByteStayAtItsLargestValue) {
    auto& p = ToneDetection::parameters();
    SetDialPara(1000, 9000, 350, 261);
    EXPECT_EQ(p.ringOffMin, 211);
    EXPECT_EQ(p.ringOffMax, 255) << "352 samples do not fit the byte";
    EXPECT_EQ(p.cyclesRequired, 5) << "the low byte of 261";
    p = linecard::ToneDetectionParameters{};
}

TEST(SingleFrequencyRecord, ToneNeedsLevelAboveTheRest) {
    EXPECT_TRUE(ToneDetection::singleFrequencyTone(30, 40));
    EXPECT_FALSE(ToneDetection::singleFrequencyTone(40, 30));
    EXPECT_FALSE(ToneDetection::singleFrequencyTone(0, 24));
    EXPECT_TRUE(ToneDetection::singleFrequencyTone(0, 25));
}

TEST_F(ToneDetectionTest, SecondClassifierStartsEmptyAndRefusesNegativeValues) {
    EXPECT_EQ(StartSigCheckEx(kChannel), 0);
    EXPECT_EQ(CheckSendResult(kChannel), ToneDetection::kNoResult);
    EXPECT_EQ(SetSignalPara(1, 2, 3, 4, -5, 6, 7, 8), -5);
    EXPECT_EQ(SetSignalPara(1, 2, 3, 4, 5, 6, 7, -1), -8);
    EXPECT_EQ(SetSignalPara(31, 125, 11, 0, 3, 20, 2, 0), 0);
}

TEST_F(ToneDetectionTest, SecondClassifierCountsBurstsAcrossCalls) {
    ASSERT_EQ(SetSignalPara(31, 125, 11, 0, 3, 20, 2, 0), 0);
    StartSigCheckEx(kChannel);
    card_->injectSignalBits(kChannel, runs({{1, 11}, {0, 11}}, 3));
    for (int i = 0; i < 6; ++i) {
        samples(11);
        CheckSendResult(kChannel);
    }
    EXPECT_EQ(CheckSendResult(kChannel), ToneDetection::kBusy);
    SetSignalPara(0, 0, 0, 0, 0, 0, 0, 0);
}

// The classifiers on what the simulated exchange really sends.
class ExchangeTones : public LinecardFixture {
protected:
    void SetUp() override {
        LinecardFixture::SetUp();
        ToneDetection::parameters() = linecard::ToneDetectionParameters{};
        installCard();
        exchange_ = std::make_shared<carddriver::SimulatedExchange>(8);
        exchange_->addScenario("301", CallScenario::parseLine("0 busy")->second);
        exchange_->addScenario("302", CallScenario::parseLine("0 noanswer")->second);
        exchange_->addScenario("303", CallScenario::parseLine("0 unreachable")->second);
        card_->setExchange(exchange_);
        writeEgretIni();
        loadAndEnable();
    }
    int classify(const char* number) {
        OffHook(1);
        runFor(300);
        SendDtmfBuf(1, number);
        while (CheckSendEnd(1) == 0)
            runFor(20);
        StartSigCheck(1);
        for (int i = 0; i < 2000; ++i) {
            runFor(96, 96);
            int result = ReadCheckResult(1, 3);
            if (result != ToneDetection::kNoResult)
                return result;
        }
        return ToneDetection::kNoResult;
    }
    std::shared_ptr<carddriver::SimulatedExchange> exchange_;
};

TEST_F(ExchangeTones, BusyLine) {
    EXPECT_EQ(classify("301"), ToneDetection::kBusy);
}

TEST_F(ExchangeTones, RingingLine) {
    EXPECT_EQ(classify("302"), ToneDetection::kRingBack);
}

TEST_F(ExchangeTones, DeadLine) {
    EXPECT_EQ(classify("303"), ToneDetection::kSilence);
}

TEST_F(ExchangeTones, DialToneIsASingleFrequency) {
    OffHook(2);
    runFor(100);
    StartCheckDialTone(2);
    runFor(200);
    EXPECT_EQ(DialToneCheckResult(2), 1);
    HangUp(2);
    runFor(100);
    StartCheckDialTone(2);
    runFor(200);
    EXPECT_EQ(DialToneCheckResult(2), 0);
}

} // namespace

namespace {

class DetectorSetup : public LinecardFixture {
protected:
    std::vector<linecard::DriverRequest> requestsOf(uint32_t function) const {
        std::vector<linecard::DriverRequest> list;
        for (const auto& r : card_->requests())
            if (linecard::requestFunction(r.Code) == function)
                list.push_back(r);
        return list;
    }
};

TEST_F(DetectorSetup, DspCardsGetModeAndBandPerChannel) {
    installCard();
    writeEgretIni();
    loadAndEnable();
    card_->clearRequests();
    SetSigPara(3, 6);
    auto setups = requestsOf(linecard::fn::DetectorSetup);
    ASSERT_EQ(setups.size(), 8u);
    EXPECT_EQ(setups[0].Value, 1);
    EXPECT_EQ(setups[0].Param1, 8u) << "band 6 AND 3 = 2 selects 8";
}

TEST_F(DetectorSetup, RegisterCardsGetModeAndBandInRegisterOne) {
    carddriver::SoftCardConfig config;
    config.cardType = 12;
    installCard(config);
    writeIni("[SYSTEM]\nCardNo=1\nCardType=12\nIRQ=5\n[ADDRESS]\naddr01=300\n");
    ASSERT_EQ(LoadDRV(), 0);
    card_->clearRequests();
    SetSigPara(1, 3);
    auto writes = requestsOf(linecard::fn::WriteRegister);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].Value, 1);
    EXPECT_EQ(writes[0].Param1, (3u * 4 + 1) * 8) << "mode in bit 3, band in bits 5-6";
}

TEST_F(DetectorSetup, FrequencyBecomesTheDetectorCoefficient) {
    installCard();
    writeEgretIni();
    loadAndEnable();
    card_->clearRequests();
    EXPECT_EQ(SetSigFreqAll(1, 450), 0);
    EXPECT_EQ(SetSigFreqAll(0, 2100), 0);
    EXPECT_EQ(SetSigFreqAll(2, 450), -1);
    auto requests = requestsOf(linecard::fn::DetectorFrequency);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Channel, 1);
    EXPECT_EQ(requests[0].Param1, 30742u);
    EXPECT_EQ(requests[1].Param1, 0xFFFFu & static_cast<uint32_t>(-2570));
}

} // namespace
