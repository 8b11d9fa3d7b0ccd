#include "LinecardFixture.h"
#include "carddriver/AlawSample.h"
#include "carddriver/SimulatedExchange.h"

#include <cmath>

using carddriver::CallScenario;
using carddriver::SoftCardConfig;

namespace {

class DigitQueue : public LinecardFixture {
protected:
    void SetUp() override {
        LinecardFixture::SetUp();
        installCard();
        writeEgretIni();
        loadAndEnable();
    }
};

TEST_F(DigitQueue, EmptyAfterInit) {
    card_->pushDigit(2, 5);
    EXPECT_NE(InitDtmfBuf(2), 0);
    EXPECT_EQ(GetDtmfCode(2), -1);
    EXPECT_EQ(DtmfHit(2), 0);
    EXPECT_EQ(DtmfHitA(2), 0);
}

TEST_F(DigitQueue, PeekLeavesDigitsQueuedAndTakeIsOldestFirst) {
    InitDtmfBuf(0);
    card_->pushDigit(0, 1);
    card_->pushDigit(0, 12);
    EXPECT_EQ(DtmfHit(0), 1);
    EXPECT_EQ(DtmfHit(0), 1);
    EXPECT_EQ(GetDtmfCode(0), 1);
    EXPECT_EQ(GetDtmfCode(0), 12);
    EXPECT_EQ(GetDtmfCode(0), -1);
}

TEST_F(DigitQueue, FlaggedFormUsesTheLowFourBits) {
    card_->pushDigit(1, 10);
    EXPECT_EQ(DtmfHitA(1), 0x10A);
    GetDtmfCode(1);
    card_->pushDigit(1, 16);
    EXPECT_EQ(DtmfHitA(1), 0x100);
}

TEST_F(DigitQueue, FaxChannelMarkIsNotAVoiceRequest) {
    card_->clearRequests();
    EXPECT_EQ(DtmfHit(0x8001), 0);
    EXPECT_TRUE(card_->requests().empty());
}

// A call through the simulated exchange: the library dials with its own
// DTMF, the callee answers, hears a prompt and presses a key.
class CallThroughExchange : public LinecardFixture {
protected:
    void SetUp() override {
        LinecardFixture::SetUp();
        installCard();
        exchange_ = std::make_shared<carddriver::SimulatedExchange>(8);
        card_->setExchange(exchange_);
        writeEgretIni();
        loadAndEnable(8, 16384);
    }
    // A speech-like prompt: 1 kHz at about -15 dBm0, A-law as the tone generator codes it.
    static std::vector<uint8_t> prompt(size_t bytes) {
        std::vector<uint8_t> out(bytes);
        for (size_t n = 0; n < bytes; ++n) {
            int16_t s = static_cast<int16_t>(4000 * std::sin(2 * M_PI * 1000.0 * n / 8000.0));
            out[n] = carddriver::AlawSample::encode(s);
        }
        return out;
    }
    void dial(int ch, const char* number) {
        ASSERT_NE(OffHook(ch), 0);
        runFor(500);
        ASSERT_NE(SendDtmfBuf(ch, number), 0);
        for (int i = 0; i < 200 && CheckSendEnd(ch) == 0; ++i)
            runFor(50);
        ASSERT_EQ(CheckSendEnd(ch), 1);
    }
    std::shared_ptr<carddriver::SimulatedExchange> exchange_;
};

TEST_F(CallThroughExchange, CalleeAnswersHearsThePromptAndPressesOne) {
    CallScenario scenario;
    scenario.behaviour = CallScenario::Behaviour::Answer;
    scenario.answerAfterMillis = 3000;
    scenario.keys.push_back({"1", 2000, true});
    exchange_->addScenario("13800000001", scenario);

    dial(3, "13800000001");
    EXPECT_EQ(exchange_->dialled(3), "13800000001");
    EXPECT_EQ(CheckPolarity(3), 0);
    runFor(3500);
    EXPECT_TRUE(exchange_->answered(3));
    EXPECT_EQ(CheckPolarity(3), 1) << "answer reverses the polarity";

    InitDtmfBuf(3);
    std::vector<uint8_t> speech = prompt(40000); // 5 s, longer than the card buffer
    ASSERT_NE(StartPlay(3, speech.data(), 0, static_cast<uint32_t>(speech.size())), 0);
    int key = -1;
    for (int i = 0; i < 150 && key == -1; ++i) {
        runFor(40);
        key = GetDtmfCode(3);
    }
    EXPECT_EQ(key, 1);
    EXPECT_EQ(GetDtmfCode(3), -1) << "one press, one digit";
    HangUp(3);
}

TEST_F(CallThroughExchange, UnknownNumberWithoutScenarioIsSilentAfterTheInterDigitWait) {
    dial(0, "555");
    EXPECT_EQ(exchange_->dialled(0), "555");
    runFor(4000);
    EXPECT_FALSE(exchange_->answered(0));
    EXPECT_EQ(CheckPolarity(0), 0);
}

} // namespace
