// The library-wide state on the software card: start-up results, the pool
// and binding, range checks, tracing, conversions and the PC-sound slot.
#include "SaylineLibrary.h"
#include "GbkText.h"
#include "SoftCardSession.h"

#include "linecard/Linecard.h"

#include <climits>
#include <fstream>
#include <iterator>

using sayline::SaylineLibrary;
using sayline::SlotWorker;

namespace {

constexpr SlotWorker::Voice kVoice{45, 45, 0};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A-law silence and the faintest codes around it.
bool hasSound(const std::vector<uint8_t>& alaw) {
    for (uint8_t byte : alaw)
        if ((byte ^ 0x55) & 0x70)
            return true;
    return false;
}

class SaylineOnSoftCard : public SoftCardSession {
protected:
    void TearDown() override {
        library_.reset();
        SoftCardSession::TearDown();
    }
    int32_t start(carddriver::SoftCardConfig config = {}, bool enable = true,
                  const char* cardLibrary = sayline::LinecardLibrary::kFileName) {
        installCard(config);
        if (enable)
            enableCard();
        else
            EXPECT_EQ(LoadDRV(), 0);
        library_ = std::make_unique<SaylineLibrary>(
            SaylineLibrary::Options{cardLibrary, traceFolder_.empty() ? folder_ : traceFolder_,
                                    std::chrono::milliseconds(5)});
        return library_->start();
    }
    static carddriver::SoftCardConfig withSpeech(uint16_t speechChannels) {
        carddriver::SoftCardConfig config;
        config.speechChannels = speechChannels;
        return config;
    }
    int32_t speakToEnd(int32_t ch) {
        return pollUntilDone([&] { return library_->checkPlay(ch); });
    }
    int32_t convertToEnd(int32_t ch) {
        return pollUntilDone(
            [&] { return library_->checkConversion(ch) == 2 ? 4 : library_->checkConversion(ch); });
    }

    bool speaking(int ch) const { return hasSound(card_->playedAudio(static_cast<uint16_t>(ch))); }
    // Whether the channel carries sound in the next `millis` of line time.
    bool soundDuring(int ch, int64_t millis) {
        const size_t before = card_->playedAudio(static_cast<uint16_t>(ch)).size();
        advance(millis);
        const auto played = card_->playedAudio(static_cast<uint16_t>(ch));
        return hasSound(
            std::vector<uint8_t>(played.begin() + static_cast<long>(before), played.end()));
    }

    // The session's folder unless a test names another.
    std::filesystem::path traceFolder_;
    std::unique_ptr<SaylineLibrary> library_;
};

// --- start-up ---

struct StartCase {
    const char* name;
    uint16_t speechChannels;
    bool enable;
    const char* cardLibrary;
    int32_t expected;
};

void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.name;
}

class SaylineStart : public SaylineOnSoftCard, public ::testing::WithParamInterface<StartCase> {};

TEST_P(SaylineStart, ReportsTheCardAsItFindsIt) {
    const StartCase& c = GetParam();
    EXPECT_EQ(start(withSpeech(c.speechChannels), c.enable, c.cardLibrary), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cards, SaylineStart,
    ::testing::Values(StartCase{"Enabled", 8, true, "liblinecard.so", 8},
                      StartCase{"NotYetEnabled", 8, false, "liblinecard.so", -1},
                      StartCase{"NoSpeechLicence", 0, true, "liblinecard.so", -2},
                      StartCase{"NoCardLibrary", 8, true, "libnosuchcard.so", -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaylineOnSoftCard, StartsWithFourInstancesAheadOfUse) {
    ASSERT_EQ(start(), 8);
    EXPECT_EQ(library_->total(), 8);
    EXPECT_EQ(library_->existing(), 4);
    EXPECT_EQ(library_->leave(), 8);
}

TEST_F(SaylineOnSoftCard, MoreSpeechChannelsThanChannelsStayBelowTheSoundSlot) {
    ASSERT_EQ(start(withSpeech(12)), 8);
    EXPECT_EQ(library_->total(), 8);
    for (int ch = 0; ch < 8; ++ch)
        EXPECT_EQ(library_->bind(ch), 0) << ch;
    EXPECT_EQ(library_->leave(), 0);
}

// --- binding ---

TEST_F(SaylineOnSoftCard, BindingPastTheSpeechChannelsIsRefused) {
    ASSERT_EQ(start(withSpeech(2)), 8);
    EXPECT_EQ(library_->bind(0), 0);
    EXPECT_EQ(library_->bind(1), 0);
    EXPECT_EQ(library_->leave(), 0);
    EXPECT_EQ(library_->bind(2), -15);
    EXPECT_EQ(library_->bind(1), 0) << "a bound channel stays bound";
    EXPECT_EQ(library_->existing(), 2);
}

TEST_F(SaylineOnSoftCard, BindingTwiceUsesOneSlot) {
    ASSERT_EQ(start(), 8);
    EXPECT_EQ(library_->bind(3), 0);
    EXPECT_EQ(library_->bind(3), 0);
    EXPECT_EQ(library_->leave(), 7);
    EXPECT_EQ(library_->reset(3), 1);
}

TEST_F(SaylineOnSoftCard, OnlyAnUnboundInstanceIsDeleted) {
    ASSERT_EQ(start(withSpeech(2)), 8);
    ASSERT_EQ(library_->bind(0), 0);
    ASSERT_EQ(library_->bind(1), 0);
    EXPECT_EQ(library_->deleteIdle(), -19);
    EXPECT_EQ(library_->unbind(1), 0);
    EXPECT_EQ(library_->deleteIdle(), 0);
    EXPECT_EQ(library_->existing(), 1);
    EXPECT_EQ(library_->bind(1), 0) << "the pool grows again for the next binding";
    EXPECT_EQ(library_->existing(), 2);
}

// Every channel call checks its channel before anything else, and a channel
// in range but unbound is -4.
struct ChannelCall {
    const char* name;
    std::function<int32_t(SaylineLibrary&, int32_t)> call;
};

void PrintTo(const ChannelCall& c, std::ostream* os) {
    *os << c.name;
}

class SaylineChannelCalls : public SaylineOnSoftCard,
                            public ::testing::WithParamInterface<ChannelCall> {};

TEST_P(SaylineChannelCalls, CheckTheChannelAndItsBinding) {
    ASSERT_EQ(start(), 8);
    ASSERT_EQ(library_->bind(0), 0);
    for (int32_t ch : {-1, 8, 255, 256, INT_MIN, INT_MAX})
        EXPECT_EQ(GetParam().call(*library_, ch), -6) << ch;
    EXPECT_EQ(GetParam().call(*library_, 5), -4);
}

const std::string kHello = gbk("你好");

INSTANTIATE_TEST_SUITE_P(
    Calls, SaylineChannelCalls,
    ::testing::Values(
        ChannelCall{"Unbind", [](SaylineLibrary& l, int32_t ch) { return l.unbind(ch); }},
        ChannelCall{"Reset", [](SaylineLibrary& l, int32_t ch) { return l.reset(ch); }},
        ChannelCall{"Trace", [](SaylineLibrary& l, int32_t ch) { return l.enableTrace(ch, 1); }},
        ChannelCall{"StartPlay",
                    [](SaylineLibrary& l, int32_t ch) {
                        return l.startPlay(ch, kHello.c_str(), false, kVoice);
                    }},
        ChannelCall{"CheckPlay", [](SaylineLibrary& l, int32_t ch) { return l.checkPlay(ch); }},
        ChannelCall{"StopPlay", [](SaylineLibrary& l, int32_t ch) { return l.stopPlay(ch); }},
        ChannelCall{"Convert",
                    [](SaylineLibrary& l, int32_t ch) {
                        return l.convert(sayline::CO_TEXT_VOC, kHello.c_str(), "/tmp/x", ch,
                                         kVoice);
                    }},
        ChannelCall{"CheckConversion",
                    [](SaylineLibrary& l, int32_t ch) { return l.checkConversion(ch); }},
        ChannelCall{"StopConversion",
                    [](SaylineLibrary& l, int32_t ch) { return l.stopConversion(ch); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaylineOnSoftCard, BindingOutOfRangeIsRefused) {
    ASSERT_EQ(start(), 8);
    for (int32_t ch : {-1, 8, INT_MIN})
        EXPECT_EQ(library_->bind(ch), -6) << ch;
}

// --- text on a channel ---

TEST_F(SaylineOnSoftCard, IdleChannelHasFinished) {
    ASSERT_EQ(start(), 8);
    ASSERT_EQ(library_->bind(0), 0);
    EXPECT_EQ(library_->checkPlay(0), 3);
}

TEST_F(SaylineOnSoftCard, MissingFileOrEmptyTextStartsNothing) {
    ASSERT_EQ(start(), 8);
    ASSERT_EQ(library_->bind(0), 0);
    EXPECT_EQ(library_->startPlay(0, (folder_ / "missing.txt").c_str(), true, kVoice), -9);
    EXPECT_EQ(library_->startPlay(0, nullptr, true, kVoice), -9);
    EXPECT_EQ(library_->startPlay(0, "", false, kVoice), -8);
    EXPECT_EQ(library_->startPlay(0, nullptr, false, kVoice), -8);
    EXPECT_EQ(library_->checkPlay(0), 3);
}

TEST_F(SaylineOnSoftCard, ShortTextIsSpokenOnTheCard) {
    ASSERT_EQ(start(), 8);
    card_->setPlayedAudioCapture(true);
    ASSERT_EQ(library_->bind(2), 0);
    ASSERT_EQ(library_->startPlay(2, gbk("你好，专家").c_str(), false, kVoice), 0);
    EXPECT_EQ(speakToEnd(2), 3);
    EXPECT_TRUE(hasSound(card_->playedAudio(2)));
    EXPECT_FALSE(hasSound(card_->playedAudio(3)));
}

TEST_F(SaylineOnSoftCard, TextFileIsSpokenSentenceBySentence) {
    ASSERT_EQ(start(), 8);
    card_->setPlayedAudioCapture(true);
    ASSERT_EQ(library_->bind(0), 0);
    const auto file = folder_ / "notice.txt";
    std::ofstream(file) << gbk("您好！这里是评标中心；请按一");
    ASSERT_EQ(library_->startPlay(0, file.c_str(), true, kVoice), 0);
    EXPECT_EQ(speakToEnd(0), 3);
    EXPECT_TRUE(hasSound(card_->playedAudio(0)));
}

TEST_F(SaylineOnSoftCard, StopDuringSynthesisThenStartSpeaksTheNewText) {
    ASSERT_EQ(start(), 8);
    card_->setPlayedAudioCapture(true);
    ASSERT_EQ(library_->bind(1), 0);
    std::string longText;
    for (int i = 0; i < 12; ++i)
        longText += gbk("请您明天上午九点准时到达会议室参加评标");
    ASSERT_EQ(library_->startPlay(1, longText.c_str(), false, kVoice), 0);
    EXPECT_EQ(library_->stopPlay(1), 0);
    ASSERT_EQ(library_->startPlay(1, gbk("你好").c_str(), false, kVoice), 0);
    EXPECT_EQ(library_->checkPlay(1), 4) << "the stopped request must not end the new one";
    EXPECT_EQ(speakToEnd(1), 3);
    EXPECT_TRUE(hasSound(card_->playedAudio(1)));
}

// 400 bytes are spoken from memory, 401 through the slot's spill file.
class SaylineSpill : public SaylineOnSoftCard, public ::testing::WithParamInterface<size_t> {};

TEST_P(SaylineSpill, LongTextGoesThroughTheSpillFile) {
    ASSERT_EQ(start(), 8);
    ASSERT_EQ(library_->bind(0), 0);
    const std::string text(GetParam(), 'a');
    ASSERT_EQ(library_->startPlay(0, text.c_str(), false, kVoice), 0);
    const auto spill = folder_ / "LcTTSChannel0_Buf.TXT";
    EXPECT_EQ(std::filesystem::exists(spill), GetParam() > 400);
    EXPECT_EQ(library_->stopPlay(0), 0);
    if (GetParam() > 400) {
        EXPECT_EQ(readFile(spill), text);
    }
}

INSTANTIATE_TEST_SUITE_P(Bytes, SaylineSpill, ::testing::Values(size_t{400}, size_t{401}));

TEST_F(SaylineOnSoftCard, UnbindingStopsTheCard) {
    ASSERT_EQ(start(), 8);
    card_->setPlayedAudioCapture(true);
    ASSERT_EQ(library_->bind(0), 0);
    ASSERT_EQ(library_->startPlay(0, gbk("请您明天上午九点准时到达").c_str(), false, kVoice), 0);
    ASSERT_EQ(pollUntilDone([&] { return speaking(0) ? 3 : library_->checkPlay(0); }), 3);
    EXPECT_EQ(library_->unbind(0), 0);
    EXPECT_EQ(library_->checkPlay(0), -4);
    EXPECT_FALSE(soundDuring(0, 1000));
}

TEST_F(SaylineOnSoftCard, ReleaseWhilePlayingLeavesTheCardNothingToRead) {
    ASSERT_EQ(start(), 8);
    card_->setPlayedAudioCapture(true);
    ASSERT_EQ(library_->bind(0), 0);
    ASSERT_EQ(library_->startPlay(0, gbk("请您明天上午九点准时到达").c_str(), false, kVoice), 0);
    ASSERT_EQ(pollUntilDone([&] { return speaking(0) ? 3 : library_->checkPlay(0); }), 3);
    // The slot's audio buffer goes with the library: the card must no longer
    // read from it.
    library_.reset();
    EXPECT_FALSE(soundDuring(0, 2000));
}

// --- tracing ---

TEST_F(SaylineOnSoftCard, TraceLinesOfBothSidesAndOneFileForAll) {
    ASSERT_EQ(start(), 8);
    ASSERT_EQ(library_->bind(0), 0);
    ASSERT_EQ(library_->bind(1), 0);
    ASSERT_EQ(library_->enableTrace(0, 1), 0);
    ASSERT_EQ(library_->enableTrace(1, 1), 0);
    ASSERT_EQ(library_->startPlay(0, kHello.c_str(), false, kVoice), 0);
    ASSERT_EQ(speakToEnd(0), 3);
    const auto trace = folder_ / "TTSTrace.txt";
    const std::string lines = readFile(trace);
    EXPECT_NE(lines.find("Upper Ch=0, Upper Step=110   Msg=" + gbk("StartPlay，缓存放音") + "\n"),
              std::string::npos);
    EXPECT_NE(lines.find("Thread Ch=0, Step=111 , Msg=" + gbk("线程(缓存),正在转换") + "\n"),
              std::string::npos);
    EXPECT_GT(library_->threadStep(0), 0);

    // A stop of a text still being synthesised.
    ASSERT_EQ(library_->startPlay(0, gbk("请您明天上午九点准时到达会议室").c_str(), false, kVoice),
              0);
    ASSERT_EQ(library_->stopPlay(0), 0);
    const std::string stopped = readFile(trace).substr(lines.size());
    for (const char* code : {"303", "304", "305"})
        EXPECT_NE(stopped.find(std::string("Upper Ch=0, Upper Step=") + code + "   Msg="),
                  std::string::npos)
            << code;

    // Switched off on channel 1: the shared file is closed for channel 0 too.
    ASSERT_EQ(library_->enableTrace(1, 0), 0);
    const auto size = std::filesystem::file_size(trace);
    ASSERT_EQ(library_->startPlay(0, kHello.c_str(), false, kVoice), 0);
    ASSERT_EQ(speakToEnd(0), 3);
    EXPECT_EQ(std::filesystem::file_size(trace), size);
}

TEST_F(SaylineOnSoftCard, TraceFileThatCannotBeCreated) {
    traceFolder_ = folder_ / "no" / "such" / "folder";
    ASSERT_EQ(start(), 8);
    ASSERT_EQ(library_->bind(0), 0);
    EXPECT_EQ(library_->enableTrace(0, 1), -20);
    EXPECT_EQ(library_->enableTrace(0, 0), 0);
}

TEST_F(SaylineOnSoftCard, ThreadStepOfSlotsOutsideTheTable) {
    ASSERT_EQ(start(), 8);
    EXPECT_EQ(library_->threadStep(-1), -6);
    EXPECT_EQ(library_->threadStep(9), -6);
    EXPECT_EQ(library_->threadStep(8), 0) << "the PC-sound slot, not traced";
}

// --- conversions ---

struct ConversionCase {
    const char* name;
    sayline::ConverType kind;
    const char* extension;
};

void PrintTo(const ConversionCase& c, std::ostream* os) {
    *os << c.name;
}

class SaylineConversion : public SaylineOnSoftCard,
                          public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(SaylineConversion, WritesTheTarget) {
    const ConversionCase& c = GetParam();
    ASSERT_EQ(start(), 8);
    ASSERT_EQ(library_->bind(0), 0);
    const bool fromFile = c.kind == sayline::CO_FILE_VOC || c.kind == sayline::CO_FILE_WAV;
    const auto source = folder_ / "source.txt";
    std::ofstream(source) << kHello;
    const std::string input = fromFile ? source.string() : kHello;
    const auto name = folder_ / "out";
    ASSERT_EQ(library_->convert(c.kind, input.c_str(), name.c_str(), 0, kVoice), 0);
    EXPECT_EQ(convertToEnd(0), 1);
    const std::string written = readFile(name.string() + c.extension);
    ASSERT_GT(written.size(), 1000u);
    EXPECT_EQ(written.compare(0, 4, "RIFF") == 0, std::string(c.extension) == ".wav");
}

TEST_P(SaylineConversion, RefusesBadInputAndABusySlot) {
    const ConversionCase& c = GetParam();
    ASSERT_EQ(start(), 8);
    ASSERT_EQ(library_->bind(0), 0);
    const bool fromFile = c.kind == sayline::CO_FILE_VOC || c.kind == sayline::CO_FILE_WAV;
    const auto name = folder_ / "out";
    const auto missing = folder_ / "missing.txt";
    EXPECT_EQ(library_->convert(c.kind, fromFile ? missing.c_str() : "", name.c_str(), 0, kVoice),
              fromFile ? -9 : -8);
    EXPECT_EQ(library_->convert(c.kind, nullptr, name.c_str(), 0, kVoice), fromFile ? -9 : -8);
    const auto source = folder_ / "source.txt";
    std::ofstream(source) << kHello;
    const std::string input = fromFile ? source.string() : kHello;
    EXPECT_EQ(library_->convert(c.kind, input.c_str(), "", 0, kVoice), -8);
    // A text waiting for the card keeps the slot busy until it has played.
    ASSERT_EQ(library_->startPlay(0, kHello.c_str(), false, kVoice), 0);
    EXPECT_EQ(library_->convert(c.kind, input.c_str(), name.c_str(), 0, kVoice), -7);
    EXPECT_EQ(library_->checkConversion(0), 2);
    EXPECT_EQ(speakToEnd(0), 3);
    EXPECT_EQ(library_->checkConversion(0), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SaylineConversion,
    ::testing::Values(ConversionCase{"TextToVoc", sayline::CO_TEXT_VOC, ".voc"},
                      ConversionCase{"FileToVoc", sayline::CO_FILE_VOC, ".voc"},
                      ConversionCase{"TextToWave", sayline::CO_TEXT_WAV, ".wav"},
                      ConversionCase{"FileToWave", sayline::CO_FILE_WAV, ".wav"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaylineOnSoftCard, StoppedConversionEnds) {
    ASSERT_EQ(start(), 8);
    ASSERT_EQ(library_->bind(0), 0);
    std::string longText;
    for (int i = 0; i < 40; ++i)
        longText += gbk("请您明天上午九点准时到达会议室参加评标");
    ASSERT_EQ(library_->convert(sayline::CO_TEXT_WAV, longText.c_str(), (folder_ / "out").c_str(),
                                0, kVoice),
              0);
    EXPECT_EQ(library_->stopConversion(0), 0);
    EXPECT_EQ(convertToEnd(0), 1);
}

// --- the PC's sound device ---

TEST_F(SaylineOnSoftCard, SoundDeviceSpeaksOrFailsCleanly) {
    ASSERT_EQ(start(), 8);
    EXPECT_EQ(library_->startAudio("", false, kVoice), -8);
    EXPECT_EQ(library_->startAudio((folder_ / "missing.txt").c_str(), true, kVoice), -9);
    EXPECT_EQ(library_->checkAudio(), 3);
    // Where the machine has no sound device the request ends at once; where
    // it has one, it ends when the text has been heard or at the stop.
    ASSERT_EQ(library_->startAudio(kHello.c_str(), false, kVoice), 0);
    EXPECT_EQ(library_->stopAudio(), 0);
    EXPECT_EQ(pollUntilDone([&] { return library_->checkAudio(); }), 3);
}

} // namespace
