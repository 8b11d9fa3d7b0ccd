// A slot's engine driven through pieces and file conversions, on the real
// engine; the results are judged by sox.
#include "FileConversion.h"
#include "GbkText.h"
#include "MulawToAlaw.h"
#include "PieceSynthesiser.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace sayline {
namespace {

namespace fs = std::filesystem;
using Outcome = PieceSynthesiser::Outcome;

std::vector<uint8_t> readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string soxOutput(const std::string& command) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        throw std::runtime_error(command);
    std::string text;
    char buffer[256];
    for (size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    ::pclose(pipe);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// RMS level of 8 kHz samples sox decodes with the given input options.
double soxRms(const std::string& inputOptions, const fs::path& file) {
    const std::string out = soxOutput("sox " + inputOptions + " '" + file.string() +
                                      "' -n stat 2>&1 | grep 'RMS *amp'");
    return std::stod(out.substr(out.find(':') + 1));
}

const std::string kGreeting = "您好，这里是评标专家抽取系统，请按一号键确认参加。";

class SpeechPiecesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "sayline-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        engine = PieceSynthesiser::createEngine(50, 50);
        ASSERT_NE(engine, nullptr);
    }
    void TearDown() override {
        Speechcore_Destroy(engine);
        fs::remove_all(dir);
        ::unsetenv("SPEECHCORE_AUDIO_DEVICE");
    }

    // Polls quickly: the tests wait for the engine's work, not for the clock.
    PieceSynthesiser synthesiser() {
        return PieceSynthesiser(engine, [this] {
            ++waits;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    }

    static bool never() { return false; }

    SpeechcoreHandle engine = nullptr;
    fs::path dir;
    int waits = 0;
};

TEST_F(SpeechPiecesTest, PieceIsSpokenIntoTheFile) {
    auto s = synthesiser();
    ASSERT_EQ(s.toFile(gbk(kGreeting), (dir / "piece.rau").string(), never), Outcome::Done);
    EXPECT_GT(fs::file_size(dir / "piece.rau"), 3u * 8000u);
    EXPECT_GT(soxRms("-t ul -r 8000 -c 1", dir / "piece.rau"), 0.02);
}

TEST_F(SpeechPiecesTest, StopRequestEndsTheEngineAtOnce) {
    std::string longText;
    for (int i = 0; i < 300; ++i)
        longText += kGreeting;
    auto s = synthesiser();
    int checks = 0;
    const auto outcome =
        s.toFile(gbk(longText), (dir / "long.rau").string(), [&] { return ++checks > 1; });
    EXPECT_EQ(outcome, Outcome::Stopped);
    EXPECT_EQ(Speechcore_IsBusy(engine), 0);
    EXPECT_LE(waits, 1);
    // The engine is free for the next piece straight away.
    EXPECT_EQ(s.toFile(gbk("再见。"), (dir / "next.rau").string(), never), Outcome::Done);
}

TEST_F(SpeechPiecesTest, EngineFailuresAreReported) {
    auto s = synthesiser();
    EXPECT_EQ(s.toFile(gbk("你好"), (dir / "no" / "x.rau").string(), never), Outcome::Failed);
    EXPECT_EQ(s.toFile("bad\xC4", (dir / "x.rau").string(), never), Outcome::Failed);
}

TEST_F(SpeechPiecesTest, SpeedAndVolumeAreClampedToTheirRange) {
    auto s = synthesiser();
    const auto speak = [&](int speed, int volume, const char* name) {
        s.applyVoice(speed, volume, 0);
        EXPECT_EQ(s.toFile(gbk(kGreeting), (dir / name).string(), never), Outcome::Done);
        return static_cast<double>(fs::file_size(dir / name));
    };
    const double fastest = speak(100, 50, "fastest.rau");
    EXPECT_NEAR(speak(500, 50, "beyond.rau"), fastest, 0.03 * fastest);
    EXPECT_GT(speak(50, 50, "normal.rau"), fastest * 1.3);
    speak(50, -5, "mute.rau");
    EXPECT_EQ(soxRms("-t ul -r 8000 -c 1", dir / "mute.rau"), 0.0);
}

TEST_F(SpeechPiecesTest, SoundDeviceSpeaksWhereOneExistsAndFailsWhereNone) {
    auto s = synthesiser();
    ::setenv("SPEECHCORE_AUDIO_DEVICE", "sayline_no_such_device", 1);
    EXPECT_EQ(s.toSoundDevice(gbk("你好"), never), Outcome::Failed);
    ::setenv("SPEECHCORE_AUDIO_DEVICE", "null", 1);
    EXPECT_EQ(s.toSoundDevice(gbk("你好"), never), Outcome::Done);
}

TEST_F(SpeechPiecesTest, WaveConversionGivesAMulawWaveFile) {
    auto s = synthesiser();
    const std::string name = (dir / "notice").string();
    ASSERT_EQ(FileConversion::run(s, gbk(kGreeting), name, FileConversion::Format::Wav,
                                  dir / "slot.rau", never),
              Outcome::Done);
    const fs::path wave = dir / "notice.wav";
    EXPECT_EQ(soxOutput("soxi -r '" + wave.string() + "'; soxi -e '" + wave.string() + "'"),
              "8000\nu-law");
    EXPECT_GT(soxRms("", wave), 0.02);
}

TEST_F(SpeechPiecesTest, VocConversionIsTheCardAlawOfTheSpeechAndReplacesAnOldFile) {
    std::ofstream(dir / "notice.voc") << "an older notice that must not survive";
    auto s = synthesiser();
    const std::string name = (dir / "notice").string();
    ASSERT_EQ(FileConversion::run(s, gbk(kGreeting), name, FileConversion::Format::Voc,
                                  dir / "slot.rau", never),
              Outcome::Done);
    const auto mulaw = readAll(dir / "slot.rau");
    auto expected = mulaw;
    MulawToAlaw::mapInPlace(expected.data(), expected.size());
    EXPECT_GT(mulaw.size(), 3u * 8000u);
    EXPECT_EQ(readAll(dir / "notice.voc"), expected);
    // sox reads it as the card's A-law at 8000 Hz: speech, not noise or silence.
    EXPECT_NEAR(soxRms("-t al -r 8000 -c 1", dir / "notice.voc"),
                soxRms("-t ul -r 8000 -c 1", dir / "slot.rau"), 0.003);
}

TEST_F(SpeechPiecesTest, VocConversionWithoutUsableSlotFileFails) {
    auto s = synthesiser();
    EXPECT_EQ(FileConversion::run(s, gbk("你好"), (dir / "x").string(), FileConversion::Format::Voc,
                                  dir / "no" / "slot.rau", never),
              Outcome::Failed);
    EXPECT_FALSE(fs::exists(dir / "x.voc"));
}

TEST(FileConversionNameTest, ExtensionIsAppendedToTheCallersName) {
    EXPECT_EQ(FileConversion::targetFor("/tmp/a/notice", FileConversion::Format::Voc),
              fs::path("/tmp/a/notice.voc"));
    EXPECT_EQ(FileConversion::targetFor("notice.v1", FileConversion::Format::Wav),
              fs::path("notice.v1.wav"));
}

} // namespace
} // namespace sayline
