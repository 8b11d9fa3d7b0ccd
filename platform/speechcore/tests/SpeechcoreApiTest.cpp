#include "speechcore/Speechcore.h"
#include "support/ReferenceAudio.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

using speechcore::test::ScratchDir;
namespace fs = std::filesystem;

const std::string kGreeting = "您好，这里是评标专家抽取系统，请按一号键确认参加。";

// The engine's protocol is polling; this waits for the work itself, never for
// a fixed time, and gives up only on an engine that never finishes.
bool waitUntilIdle(SpeechcoreHandle engine) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Speechcore_IsBusy(engine) == 1) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return Speechcore_IsBusy(engine) == 0;
}

std::string longText(int sentences) {
    std::string text;
    for (int i = 0; i < sentences; ++i)
        text += kGreeting;
    return text;
}

class SpeechcoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine = Speechcore_Create();
        ASSERT_NE(engine, nullptr);
    }
    void TearDown() override { EXPECT_EQ(Speechcore_Destroy(engine), SPEECHCORE_OK); }

    // Speaks UTF-8 text (handed over as GBK) into a file and waits for the end.
    void speakToFile(const std::string& utf8, const fs::path& file) {
        ASSERT_EQ(Speechcore_OutputToFile(engine, file.c_str()), SPEECHCORE_OK);
        ASSERT_EQ(Speechcore_AddText(engine, speechcore::test::toGbk(utf8).c_str()), SPEECHCORE_OK);
        ASSERT_EQ(Speechcore_Start(engine), SPEECHCORE_OK);
        ASSERT_TRUE(waitUntilIdle(engine));
        ASSERT_EQ(Speechcore_GetLastResult(engine), SPEECHCORE_OK);
    }

    void setVoice(int32_t speed, int32_t volume) {
        ASSERT_EQ(Speechcore_SetVoiceParam(engine, 0, SPEECHCORE_VOICE_SPEED, speed),
                  SPEECHCORE_OK);
        ASSERT_EQ(Speechcore_SetVoiceParam(engine, 0, SPEECHCORE_VOICE_VOLUME, volume),
                  SPEECHCORE_OK);
    }

    SpeechcoreHandle engine = nullptr;
    ScratchDir dir;
};

// --- handles and arguments ---

using Operation = std::function<int32_t(SpeechcoreHandle)>;
struct OperationCase {
    const char* name;
    Operation call;
};

const OperationCase kOperations[] = {
    {"Destroy", [](SpeechcoreHandle h) { return Speechcore_Destroy(h); }},
    {"SetParam", [](SpeechcoreHandle h) { return Speechcore_SetParam(h, 1, 0); }},
    {"SetVoiceParam", [](SpeechcoreHandle h) { return Speechcore_SetVoiceParam(h, 0, 6, 50); }},
    {"AddText", [](SpeechcoreHandle h) { return Speechcore_AddText(h, "abc"); }},
    {"Start", [](SpeechcoreHandle h) { return Speechcore_Start(h); }},
    {"IsBusy", [](SpeechcoreHandle h) { return Speechcore_IsBusy(h); }},
    {"Stop", [](SpeechcoreHandle h) { return Speechcore_Stop(h); }},
    {"OutputToFile", [](SpeechcoreHandle h) { return Speechcore_OutputToFile(h, "/tmp/x"); }},
    {"OutputToDevice", [](SpeechcoreHandle h) { return Speechcore_OutputToDevice(h, -1); }},
    {"GetLastResult", [](SpeechcoreHandle h) { return Speechcore_GetLastResult(h); }},
};

class BadHandleTest : public ::testing::TestWithParam<OperationCase> {};

TEST_P(BadHandleTest, NullInventedAndDestroyedHandlesAreRefused) {
    EXPECT_EQ(GetParam().call(nullptr), SPEECHCORE_ERR_BAD_HANDLE);
    EXPECT_EQ(GetParam().call(reinterpret_cast<SpeechcoreHandle>(0x7fff1234)),
              SPEECHCORE_ERR_BAD_HANDLE);
    SpeechcoreHandle destroyed = Speechcore_Create();
    ASSERT_NE(destroyed, nullptr);
    ASSERT_EQ(Speechcore_Destroy(destroyed), SPEECHCORE_OK);
    // Keep one instance alive so the handle cannot be found by chance in a
    // freshly set up engine either.
    SpeechcoreHandle other = Speechcore_Create();
    EXPECT_EQ(GetParam().call(destroyed), SPEECHCORE_ERR_BAD_HANDLE);
    EXPECT_EQ(Speechcore_Destroy(other), SPEECHCORE_OK);
}

INSTANTIATE_TEST_SUITE_P(Operations, BadHandleTest, ::testing::ValuesIn(kOperations),
                         [](const auto& info) { return std::string(info.param.name); });

struct ArgumentCase {
    const char* name;
    std::function<int32_t(SpeechcoreHandle)> call;
    int32_t result;
};

class ArgumentTest : public SpeechcoreTest, public ::testing::WithParamInterface<ArgumentCase> {};

TEST_P(ArgumentTest, ResultCode) {
    EXPECT_EQ(GetParam().call(engine), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ArgumentTest,
    ::testing::Values(
        ArgumentCase{"EngineParamOneAnyValue",
                     [](SpeechcoreHandle h) { return Speechcore_SetParam(h, 1, -77); },
                     SPEECHCORE_OK},
        ArgumentCase{"EngineParamTwo",
                     [](SpeechcoreHandle h) { return Speechcore_SetParam(h, 2, 0); },
                     SPEECHCORE_ERR_BAD_ARGUMENT},
        ArgumentCase{"PitchFifty",
                     [](SpeechcoreHandle h) { return Speechcore_SetVoiceParam(h, 0, 2, 50); },
                     SPEECHCORE_OK},
        ArgumentCase{"SpeedZero",
                     [](SpeechcoreHandle h) { return Speechcore_SetVoiceParam(h, 0, 6, 0); },
                     SPEECHCORE_OK},
        ArgumentCase{"VolumeHundred",
                     [](SpeechcoreHandle h) { return Speechcore_SetVoiceParam(h, 0, 7, 100); },
                     SPEECHCORE_OK},
        ArgumentCase{"SpeedAboveHundred",
                     [](SpeechcoreHandle h) { return Speechcore_SetVoiceParam(h, 0, 6, 101); },
                     SPEECHCORE_ERR_BAD_ARGUMENT},
        ArgumentCase{"VolumeNegative",
                     [](SpeechcoreHandle h) { return Speechcore_SetVoiceParam(h, 0, 7, -1); },
                     SPEECHCORE_ERR_BAD_ARGUMENT},
        ArgumentCase{"UnknownVoiceParam",
                     [](SpeechcoreHandle h) { return Speechcore_SetVoiceParam(h, 0, 3, 50); },
                     SPEECHCORE_ERR_BAD_ARGUMENT},
        ArgumentCase{"SecondVoice",
                     [](SpeechcoreHandle h) { return Speechcore_SetVoiceParam(h, 1, 6, 50); },
                     SPEECHCORE_ERR_BAD_ARGUMENT},
        ArgumentCase{"NullText", [](SpeechcoreHandle h) { return Speechcore_AddText(h, nullptr); },
                     SPEECHCORE_ERR_BAD_ARGUMENT},
        ArgumentCase{"TextNotGbk",
                     [](SpeechcoreHandle h) { return Speechcore_AddText(h, "ok\xC4"); },
                     SPEECHCORE_ERR_ENCODING},
        ArgumentCase{"NullPath",
                     [](SpeechcoreHandle h) { return Speechcore_OutputToFile(h, nullptr); },
                     SPEECHCORE_ERR_BAD_ARGUMENT},
        ArgumentCase{"EmptyPath", [](SpeechcoreHandle h) { return Speechcore_OutputToFile(h, ""); },
                     SPEECHCORE_ERR_BAD_ARGUMENT},
        ArgumentCase{"DeviceBelowDefault",
                     [](SpeechcoreHandle h) { return Speechcore_OutputToDevice(h, -2); },
                     SPEECHCORE_ERR_BAD_ARGUMENT},
        ArgumentCase{"CardAboveLast",
                     [](SpeechcoreHandle h) { return Speechcore_OutputToDevice(h, 32); },
                     SPEECHCORE_ERR_BAD_ARGUMENT},
        ArgumentCase{"StartWithoutOutput", [](SpeechcoreHandle h) { return Speechcore_Start(h); },
                     SPEECHCORE_ERR_NO_OUTPUT},
        ArgumentCase{"IdleIsNotBusy", [](SpeechcoreHandle h) { return Speechcore_IsBusy(h); }, 0},
        ArgumentCase{"StopWhenIdle", [](SpeechcoreHandle h) { return Speechcore_Stop(h); },
                     SPEECHCORE_OK}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpeechcoreTest, TextBeyondLimitIsRefusedAndKeepsEarlierText) {
    const std::string chunk(600 * 1024, 'a');
    EXPECT_EQ(Speechcore_AddText(engine, chunk.c_str()), SPEECHCORE_OK);
    EXPECT_EQ(Speechcore_AddText(engine, chunk.c_str()), SPEECHCORE_ERR_TEXT_TOO_LONG);
    const std::string huge(2 * 1024 * 1024, 'a');
    EXPECT_EQ(Speechcore_AddText(engine, huge.c_str()), SPEECHCORE_ERR_TEXT_TOO_LONG);
}

TEST_F(SpeechcoreTest, UncreatableOutputFileFailsTheStartAndKeepsTheText) {
    ASSERT_EQ(Speechcore_OutputToFile(engine, (dir / "missing" / "out.rau").c_str()),
              SPEECHCORE_OK);
    ASSERT_EQ(Speechcore_AddText(engine, speechcore::test::toGbk("你好").c_str()), SPEECHCORE_OK);
    EXPECT_EQ(Speechcore_Start(engine), SPEECHCORE_ERR_FILE);
    EXPECT_EQ(Speechcore_IsBusy(engine), 0);
    // The text was not spoken, so a start with a usable file still speaks it.
    ASSERT_EQ(Speechcore_OutputToFile(engine, (dir / "out.rau").c_str()), SPEECHCORE_OK);
    ASSERT_EQ(Speechcore_Start(engine), SPEECHCORE_OK);
    ASSERT_TRUE(waitUntilIdle(engine));
    EXPECT_GT(fs::file_size(dir / "out.rau"), 2000u);
}

// --- the speech itself ---

TEST_F(SpeechcoreTest, SpeechMatchesEspeakOwnRenderingOfTheSameText) {
    setVoice(45, 45);
    speakToFile(kGreeting, dir / "greeting.rau");
    const auto ours = speechcore::test::decodeMulawFile(dir / "greeting.rau");
    // Speed 45 and volume 45 are espeak-ng's rate 247 and amplitude 90.
    const auto reference = speechcore::test::espeakReference(kGreeting, 247, 90, dir.path());

    ASSERT_FALSE(reference.empty());
    EXPECT_NEAR(static_cast<double>(ours.size()), static_cast<double>(reference.size()),
                0.03 * static_cast<double>(reference.size()));
    // Several seconds of speech, at a level a telephone line carries well.
    EXPECT_GT(ours.size(), 3u * 8000u);
    EXPECT_GT(speechcore::test::rms(ours), 1000.0);
    // espeak-ng's rendering drifts a little with what it rendered before, so
    // not the samples but the loudness contour must match.
    EXPECT_GT(speechcore::test::envelopeSimilarity(ours, reference), 0.85);
}

TEST_F(SpeechcoreTest, SpeedAndVolume45GiveAClearTelephoneAnnouncement) {
    setVoice(45, 45);
    speakToFile(kGreeting, dir / "greeting.rau");
    const auto speech = speechcore::test::decodeMulawFile(dir / "greeting.rau");
    // 22 syllables: a calm announcement speaks three to five a second.
    const double seconds = static_cast<double>(speech.size()) / 8000.0;
    EXPECT_GT(22.0 / seconds, 3.0) << seconds;
    EXPECT_LT(22.0 / seconds, 5.0) << seconds;
    // Loud enough for a telephone line (above -30 dBFS), without clipping.
    const double level = 20.0 * std::log10(speechcore::test::rms(speech) / 32768.0);
    EXPECT_GT(level, -30.0);
    EXPECT_LT(level, -12.0);
    const auto clipped = std::count_if(speech.begin(), speech.end(),
                                       [](int16_t s) { return s >= 32000 || s <= -32000; });
    EXPECT_LT(static_cast<double>(clipped), 0.0005 * static_cast<double>(speech.size()));
}

TEST_F(SpeechcoreTest, OtherTextIsNotMistakenForTheReference) {
    speakToFile("今天下午三点开会。", dir / "other.rau");
    const auto ours = speechcore::test::decodeMulawFile(dir / "other.rau");
    const auto reference = speechcore::test::espeakReference(kGreeting, 265, 100, dir.path());
    // The judge of the test above must tell different speech apart.
    EXPECT_LT(speechcore::test::envelopeSimilarity(ours, reference), 0.7);
}

TEST_F(SpeechcoreTest, HigherSpeedGivesShorterSpeech) {
    setVoice(10, 50);
    speakToFile(kGreeting, dir / "slow.rau");
    setVoice(45, 50);
    speakToFile(kGreeting, dir / "normal.rau");
    setVoice(90, 50);
    speakToFile(kGreeting, dir / "fast.rau");
    const auto slow = fs::file_size(dir / "slow.rau");
    const auto normal = fs::file_size(dir / "normal.rau");
    const auto fast = fs::file_size(dir / "fast.rau");
    EXPECT_GT(slow, normal * 3 / 2);
    EXPECT_GT(normal, fast * 3 / 2);
}

TEST_F(SpeechcoreTest, VolumeZeroIsSilentAndVolumeRaisesLevel) {
    setVoice(50, 0);
    speakToFile(kGreeting, dir / "mute.rau");
    setVoice(50, 20);
    speakToFile(kGreeting, dir / "quiet.rau");
    setVoice(50, 80);
    speakToFile(kGreeting, dir / "loud.rau");
    EXPECT_GT(fs::file_size(dir / "mute.rau"), 8000u); // the time passes, silently
    EXPECT_EQ(speechcore::test::rms(speechcore::test::decodeMulawFile(dir / "mute.rau")), 0.0);
    const double quiet =
        speechcore::test::rms(speechcore::test::decodeMulawFile(dir / "quiet.rau"));
    const double loud = speechcore::test::rms(speechcore::test::decodeMulawFile(dir / "loud.rau"));
    EXPECT_GT(quiet, 100.0);
    EXPECT_GT(loud, quiet * 3.0);
}

TEST_F(SpeechcoreTest, TextsAddedBeforeOneStartAreSpokenTogetherAndConsumed) {
    ASSERT_EQ(Speechcore_AddText(engine, speechcore::test::toGbk("您好，").c_str()), SPEECHCORE_OK);
    speakToFile("请按一号键。", dir / "both.rau");
    speakToFile("请按一号键。", dir / "second.rau");
    // The second start speaks only its own text: the first one was consumed.
    EXPECT_GT(fs::file_size(dir / "both.rau"), fs::file_size(dir / "second.rau") + 4000);
}

TEST_F(SpeechcoreTest, StartWithoutTextEmptiesTheFile) {
    speakToFile(kGreeting, dir / "out.rau");
    ASSERT_GT(fs::file_size(dir / "out.rau"), 0u);
    ASSERT_EQ(Speechcore_Start(engine), SPEECHCORE_OK);
    ASSERT_TRUE(waitUntilIdle(engine));
    EXPECT_EQ(Speechcore_GetLastResult(engine), SPEECHCORE_OK);
    EXPECT_EQ(fs::file_size(dir / "out.rau"), 0u);
}

TEST_F(SpeechcoreTest, WaveFileNameGivesPlayableWaveOfTheSameSpeech) {
    speakToFile(kGreeting, dir / "greeting.wav");
    speakToFile(kGreeting, dir / "greeting.rau");
    EXPECT_EQ(speechcore::test::soxFormat(dir / "greeting.wav"), "8000\n1\nu-law");
    const auto wave = speechcore::test::decodeWithSox(dir / "greeting.wav");
    const auto raw = speechcore::test::decodeMulawFile(dir / "greeting.rau");
    EXPECT_NEAR(static_cast<double>(wave.size()), static_cast<double>(raw.size()), 80.0);
    EXPECT_GT(speechcore::test::envelopeSimilarity(wave, raw), 0.85);
}

// --- busy, stop, restart ---

TEST_F(SpeechcoreTest, SecondStartWhileBusyIsRefused) {
    ASSERT_EQ(Speechcore_OutputToFile(engine, (dir / "long.rau").c_str()), SPEECHCORE_OK);
    ASSERT_EQ(Speechcore_AddText(engine, speechcore::test::toGbk(longText(400)).c_str()),
              SPEECHCORE_OK);
    ASSERT_EQ(Speechcore_Start(engine), SPEECHCORE_OK);
    EXPECT_EQ(Speechcore_IsBusy(engine), 1);
    EXPECT_EQ(Speechcore_Start(engine), SPEECHCORE_ERR_BUSY);
    EXPECT_EQ(Speechcore_GetLastResult(engine), SPEECHCORE_ERR_BUSY);
    EXPECT_EQ(Speechcore_Stop(engine), SPEECHCORE_OK);
}

TEST_F(SpeechcoreTest, StopEndsSynthesisAtOnceAndNextTextIsSpokenWhole) {
    speakToFile(kGreeting, dir / "alone.rau");
    const auto alone = fs::file_size(dir / "alone.rau");

    ASSERT_EQ(Speechcore_OutputToFile(engine, (dir / "long.rau").c_str()), SPEECHCORE_OK);
    ASSERT_EQ(Speechcore_AddText(engine, speechcore::test::toGbk(longText(400)).c_str()),
              SPEECHCORE_OK);
    ASSERT_EQ(Speechcore_Start(engine), SPEECHCORE_OK);
    EXPECT_EQ(Speechcore_Stop(engine), SPEECHCORE_OK);
    EXPECT_EQ(Speechcore_IsBusy(engine), 0);
    EXPECT_EQ(Speechcore_GetLastResult(engine), SPEECHCORE_OK);
    // 400 greetings are about an hour of speech; far less was written.
    EXPECT_LT(fs::file_size(dir / "long.rau"), alone * 40);

    // Nothing of the stopped text may leak into the next one.
    speakToFile(kGreeting, dir / "after.rau");
    EXPECT_NEAR(static_cast<double>(fs::file_size(dir / "after.rau")), static_cast<double>(alone),
                0.03 * static_cast<double>(alone));
    EXPECT_GT(
        speechcore::test::envelopeSimilarity(speechcore::test::decodeMulawFile(dir / "after.rau"),
                                             speechcore::test::decodeMulawFile(dir / "alone.rau")),
        0.85);
}

TEST(SpeechcoreLifetimeTest, DestroyWhileSpeakingEndsTheInstance) {
    ScratchDir dir;
    SpeechcoreHandle engine = Speechcore_Create();
    ASSERT_NE(engine, nullptr);
    ASSERT_EQ(Speechcore_OutputToFile(engine, (dir / "long.rau").c_str()), SPEECHCORE_OK);
    ASSERT_EQ(Speechcore_AddText(engine, speechcore::test::toGbk(longText(400)).c_str()),
              SPEECHCORE_OK);
    ASSERT_EQ(Speechcore_Start(engine), SPEECHCORE_OK);
    EXPECT_EQ(Speechcore_Destroy(engine), SPEECHCORE_OK);
    EXPECT_EQ(Speechcore_IsBusy(engine), SPEECHCORE_ERR_BAD_HANDLE);
    EXPECT_EQ(Speechcore_Destroy(engine), SPEECHCORE_ERR_BAD_HANDLE);
}

// --- the sound device ---

// The device that -1 stands for is named by SPEECHCORE_AUDIO_DEVICE; ALSA's
// "null" device takes samples like a sound card with no hardware behind it.
class SoundDeviceTest : public SpeechcoreTest {
protected:
    void useDefaultDevice(const char* alsaName) {
        ::setenv("SPEECHCORE_AUDIO_DEVICE", alsaName, 1);
    }
    void TearDown() override {
        ::unsetenv("SPEECHCORE_AUDIO_DEVICE");
        SpeechcoreTest::TearDown();
    }
};

TEST_F(SoundDeviceTest, MissingDeviceFailsAtOnceAndKeepsFileOutput) {
    ASSERT_EQ(Speechcore_OutputToFile(engine, (dir / "out.rau").c_str()), SPEECHCORE_OK);
    useDefaultDevice("speechcore_no_such_device");
    EXPECT_EQ(Speechcore_OutputToDevice(engine, SPEECHCORE_DEFAULT_DEVICE),
              SPEECHCORE_ERR_NO_DEVICE);
    // A card index that does not exist on this machine either.
    EXPECT_EQ(Speechcore_OutputToDevice(engine, SPEECHCORE_MAX_CARD), SPEECHCORE_ERR_NO_DEVICE);
    speakToFile("你好。", dir / "out.rau");
    EXPECT_GT(fs::file_size(dir / "out.rau"), 1000u);
}

TEST_F(SoundDeviceTest, SpeechPlaysOnAWorkingDevice) {
    useDefaultDevice("null");
    ASSERT_EQ(Speechcore_OutputToDevice(engine, SPEECHCORE_DEFAULT_DEVICE), SPEECHCORE_OK);
    ASSERT_EQ(Speechcore_AddText(engine, speechcore::test::toGbk(kGreeting).c_str()),
              SPEECHCORE_OK);
    ASSERT_EQ(Speechcore_Start(engine), SPEECHCORE_OK);
    ASSERT_TRUE(waitUntilIdle(engine));
    EXPECT_EQ(Speechcore_GetLastResult(engine), SPEECHCORE_OK);
}

TEST_F(SoundDeviceTest, SystemDefaultDeviceSpeaksOrFailsCleanly) {
    ::unsetenv("SPEECHCORE_AUDIO_DEVICE");
    // Whatever this machine has: a device that speaks, or an error code, never a hang.
    const int32_t chosen = Speechcore_OutputToDevice(engine, SPEECHCORE_DEFAULT_DEVICE);
    ASSERT_TRUE(chosen == SPEECHCORE_OK || chosen == SPEECHCORE_ERR_NO_DEVICE) << chosen;
    if (chosen == SPEECHCORE_ERR_NO_DEVICE) {
        EXPECT_EQ(Speechcore_Start(engine), SPEECHCORE_ERR_NO_OUTPUT);
        return;
    }
    ASSERT_EQ(Speechcore_AddText(engine, "1"), SPEECHCORE_OK);
    ASSERT_EQ(Speechcore_Start(engine), SPEECHCORE_OK);
    ASSERT_TRUE(waitUntilIdle(engine));
}

} // namespace
