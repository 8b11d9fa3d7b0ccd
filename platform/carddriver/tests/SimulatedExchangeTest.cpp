#include "carddriver/SimulatedExchange.h"
#include "carddriver/AlawSample.h"
#include "carddriver/ClockService.h"
#include "carddriver/DtmfDetector.h"
#include "carddriver/ToneBandDetector.h"
#include "carddriver/VirtualClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

// The reference library's headers need their own order.
// clang-format off
#include <spandsp/telephony.h>
#include <spandsp/bit_operations.h>
#include <spandsp/logging.h>
#include <spandsp/super_tone_rx.h>
#include <spandsp/dtmf.h>
// clang-format on

using carddriver::AlawSample;
using carddriver::CallScenario;
using carddriver::SimulatedExchange;

namespace {

// One trunk of the exchange, driven sample by sample as the card would.
class ExchangeLine : public ::testing::Test {
protected:
    static constexpr uint16_t kChannel = 2;

    void SetUp() override {
        clock_ = std::make_shared<carddriver::VirtualClock>();
        carddriver::ClockService::install(clock_);
        exchange_.addScenario("13800000003", scenarioOf("busy"));
        exchange_.addScenario("13800000004", scenarioOf("noanswer"));
        exchange_.addScenario("13800000001", scenarioOf("answer 1000 key 5@500 hangup 3000"));
    }
    void TearDown() override { carddriver::ClockService::install(nullptr); }

    static CallScenario scenarioOf(const std::string& text) {
        return CallScenario::parseLine("0 " + text)->second;
    }
    // What the card hears while it sends `sent` (then silence) for `ms`.
    std::vector<uint8_t> run(int ms, const std::vector<int16_t>& sent = {}, bool offHook = true) {
        std::vector<uint8_t> heard;
        for (size_t n = 0; n < static_cast<size_t>(ms) * 8; ++n) {
            uint8_t out = n < sent.size() ? AlawSample::encode(sent[n]) : 0x55;
            heard.push_back(exchange_.carry(kChannel, offHook, out));
        }
        return heard;
    }
    static std::vector<int16_t> dtmf(const std::string& digits) {
        dtmf_tx_state_t* tx = dtmf_tx_init(nullptr);
        dtmf_tx_put(tx, digits.c_str(), -1);
        std::vector<int16_t> out;
        int16_t block[160];
        for (int n; (n = dtmf_tx(tx, block, 160)) > 0;)
            out.insert(out.end(), block, block + n);
        dtmf_tx_free(tx);
        return out;
    }
    // The call-progress verdict of each 32 ms period, as a string of 0 and 1.
    static std::string tonePeriods(const std::vector<uint8_t>& audio) {
        carddriver::ToneBandDetector detector;
        std::string periods;
        for (uint8_t code : audio)
            if (int verdict = detector.feed(AlawSample::decode(code)); verdict >= 0)
                periods += static_cast<char>('0' + verdict);
        return periods;
    }
    void dial(const std::string& number) {
        run(300);
        run(static_cast<int>(dtmf(number).size() / 8) + 200, dtmf(number));
        ASSERT_EQ(exchange_.dialled(kChannel), number);
    }

    std::shared_ptr<carddriver::VirtualClock> clock_;
    SimulatedExchange exchange_{8};
};

TEST_F(ExchangeLine, SeizedLineHearsDialTone) {
    EXPECT_EQ(tonePeriods(run(1000)), std::string(31, '1'));
}

TEST_F(ExchangeLine, BusyNumberGivesTheBusyCadence) {
    dial("13800000003");
    std::string periods = tonePeriods(run(2800));
    // 350 ms on / 350 ms off is about 11 periods of each; the detector's
    // filter may stretch a burst by one period at the expense of the gap.
    std::vector<size_t> runs;
    for (size_t at = periods.find_first_of('0'); at < periods.size();) {
        size_t end = periods.find_first_not_of(periods[at], at);
        if (end == std::string::npos)
            break;
        runs.push_back(end - at);
        at = end;
    }
    ASSERT_GE(runs.size(), 5u) << periods;
    for (size_t i = 1; i + 1 < runs.size(); ++i) {
        EXPECT_GE(runs[i], 10u) << periods;
        EXPECT_LE(runs[i], 12u) << periods;
    }
    for (size_t i = 1; i + 2 < runs.size(); i += 2)
        EXPECT_NEAR(static_cast<double>(runs[i] + runs[i + 1]), 21.9, 1.0) << periods;
}

TEST_F(ExchangeLine, UnansweredNumberRingsBackOneSecondInFive) {
    dial("13800000004");
    std::string periods = tonePeriods(run(10000));
    size_t tone = std::count(periods.begin(), periods.end(), '1');
    EXPECT_NEAR(static_cast<double>(tone), 2 * 31.25, 3) << periods;
    EXPECT_NE(periods.find(std::string(120, '0')), std::string::npos) << periods;
    EXPECT_FALSE(exchange_.polarityReversed(kChannel));
}

TEST_F(ExchangeLine, AnswerReversesPolarityPressesTheKeyAndHangsUp) {
    dial("13800000001");
    run(1100);
    EXPECT_TRUE(exchange_.answered(kChannel));
    EXPECT_TRUE(exchange_.polarityReversed(kChannel));
    carddriver::DtmfDetector detector;
    std::string keys;
    for (uint8_t code : run(1000))
        if (int key = detector.feed(AlawSample::decode(code)))
            keys += static_cast<char>('0' + key);
    EXPECT_EQ(keys, "5");
    run(2000);
    EXPECT_FALSE(exchange_.answered(kChannel));
    EXPECT_FALSE(exchange_.polarityReversed(kChannel)) << "the callee hung up";
}

TEST_F(ExchangeLine, KeysAfterSpeechWaitForTheCallersVoice) {
    exchange_.addScenario("777", scenarioOf("answer 0 key 9@speech1000"));
    dial("777");
    run(200);
    ASSERT_TRUE(exchange_.answered(kChannel));
    auto keysIn = [&](const std::vector<uint8_t>& audio) {
        carddriver::DtmfDetector detector;
        std::string keys;
        for (uint8_t code : audio)
            if (int key = detector.feed(AlawSample::decode(code)))
                keys += static_cast<char>('0' + key);
        return keys;
    };
    EXPECT_EQ(keysIn(run(3000)), "") << "nothing said yet";
    std::vector<int16_t> voice(8 * 1500);
    for (size_t n = 0; n < voice.size(); ++n)
        voice[n] = static_cast<int16_t>(3000 * std::sin(2 * M_PI * 300 * n / 8000.0));
    EXPECT_EQ(keysIn(run(2000, voice)), "9");
}

TEST_F(ExchangeLine, EachCallIsRecordedAsAStereoAlawWavWithALogLine) {
    std::string folder = ::testing::TempDir() + "/calls-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    exchange_.setCallRecordFolder(folder);
    dial("13800000003");
    run(1000);
    run(10, {}, false); // the card hangs up

    std::ifstream log(folder + "/calls.log");
    std::string line;
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_NE(line.find("number=13800000003"), std::string::npos) << line;
    EXPECT_NE(line.find("answer=-"), std::string::npos) << line;
    std::string wav = folder + "/call-1-13800000003.wav";
    ASSERT_TRUE(std::filesystem::exists(wav));

    std::string command = "soxi " + wav + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::array<char, 256> buffer{};
    std::string output;
    while (fgets(buffer.data(), buffer.size(), pipe))
        output += buffer.data();
    ASSERT_EQ(pclose(pipe), 0) << output;
    auto field = [&](const std::string& name) {
        std::istringstream lines(output);
        for (std::string text; std::getline(lines, text);)
            if (text.rfind(name, 0) == 0)
                return text.substr(text.find(':') + 2);
        return std::string();
    };
    EXPECT_EQ(field("Channels"), "2") << output;
    EXPECT_EQ(field("Sample Rate"), "8000") << output;
    EXPECT_EQ(field("Sample Encoding"), "8-bit A-law") << output;
    // Every sample of the call from seizure to hang-up: over 2.5 s.
    std::string duration = field("Duration");
    size_t equals = duration.find("= ");
    ASSERT_NE(equals, std::string::npos) << output;
    EXPECT_GT(std::stoi(duration.substr(equals + 2)), 20000) << output;
    std::filesystem::remove_all(folder);
}

} // namespace
