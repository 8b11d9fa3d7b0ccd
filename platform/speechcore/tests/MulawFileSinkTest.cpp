#include "MulawFileSink.h"

#include "speechcore/Speechcore.h"
#include "support/ReferenceAudio.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <numbers>

namespace speechcore {
namespace {

using test::ScratchDir;

constexpr int kEspeakRate = 22050;

std::vector<int16_t> tone(double frequency, double amplitude, int rate, size_t count) {
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<int16_t>(amplitude * std::sin(2.0 * std::numbers::pi * frequency *
                                                               static_cast<double>(i) / rate));
    return samples;
}

class MulawFileSinkTest : public ::testing::Test {
protected:
    // Feeds the samples in uneven slices, as espeak-ng does, and finishes.
    int32_t writeAll(const std::filesystem::path& path, const std::vector<int16_t>& samples) {
        int32_t error = SPEECHCORE_ERR_ENGINE;
        auto sink = MulawFileSink::open(path.string(), kEspeakRate, error);
        if (sink == nullptr)
            return error;
        size_t at = 0;
        for (size_t slice = 1; at < samples.size(); slice = slice * 3 + 7) {
            const size_t n = std::min(slice, samples.size() - at);
            if (const int32_t r = sink->write(samples.data() + at, n); r != SPEECHCORE_OK)
                return r;
            at += n;
        }
        return sink->finish(false);
    }

    ScratchDir dir;
};

TEST_F(MulawFileSinkTest, ToneComesOutAtCardRateAndShape) {
    const auto input = tone(1000.0, 12000.0, kEspeakRate, kEspeakRate); // one second
    ASSERT_EQ(writeAll(dir / "tone.rau", input), SPEECHCORE_OK);
    EXPECT_NEAR(static_cast<double>(std::filesystem::file_size(dir / "tone.rau")), 8000.0, 8.0);

    const auto decoded = test::decodeMulawFile(dir / "tone.rau");
    const auto expected = tone(1000.0, 12000.0, 8000, decoded.size());
    EXPECT_NEAR(test::rms(decoded), 12000.0 / std::sqrt(2.0), 300.0);
    // Skip the filter's run-in at the start and its tail at the end.
    const std::vector<int16_t> middle(decoded.begin() + 400, decoded.end() - 400);
    const std::vector<int16_t> ideal(expected.begin() + 400, expected.end() - 400);
    EXPECT_GT(test::peakCorrelation(middle, ideal, 16), 0.98);
}

TEST_F(MulawFileSinkTest, SilenceIsMulawZero) {
    ASSERT_EQ(writeAll(dir / "quiet.rau", std::vector<int16_t>(2205, 0)), SPEECHCORE_OK);
    const auto decoded = test::decodeMulawFile(dir / "quiet.rau");
    ASSERT_FALSE(decoded.empty());
    for (const int16_t s : decoded)
        ASSERT_EQ(s, 0);
}

TEST_F(MulawFileSinkTest, TelephoneBandPassesAndAliasBandIsRemoved) {
    const auto inBand = tone(3000.0, 10000.0, kEspeakRate, kEspeakRate);
    const auto aboveNyquist = tone(6000.0, 10000.0, kEspeakRate, kEspeakRate);
    ASSERT_EQ(writeAll(dir / "in.rau", inBand), SPEECHCORE_OK);
    ASSERT_EQ(writeAll(dir / "above.rau", aboveNyquist), SPEECHCORE_OK);
    EXPECT_GT(test::rms(test::decodeMulawFile(dir / "in.rau")), 6000.0);
    // 6 kHz would fold onto 2 kHz without the rate converter's low-pass.
    EXPECT_LT(test::rms(test::decodeMulawFile(dir / "above.rau")), 100.0);
}

TEST_F(MulawFileSinkTest, WaveNameGivesMulawWaveFile) {
    // An odd sample count checks the word-aligned data chunk.
    const auto input = tone(440.0, 8000.0, kEspeakRate, 2205 * 3 + 1);
    ASSERT_EQ(writeAll(dir / "speech.WAV", input), SPEECHCORE_OK);
    EXPECT_EQ(test::soxFormat(dir / "speech.WAV"), "8000\n1\nu-law");
    ASSERT_EQ(writeAll(dir / "speech.rau", input), SPEECHCORE_OK);
    EXPECT_EQ(test::decodeWithSox(dir / "speech.WAV"), test::decodeMulawFile(dir / "speech.rau"));
}

TEST_F(MulawFileSinkTest, EmptyRunGivesEmptyFileAndEmptyWave) {
    ASSERT_EQ(writeAll(dir / "none.rau", {}), SPEECHCORE_OK);
    EXPECT_EQ(std::filesystem::file_size(dir / "none.rau"), 0u);
    ASSERT_EQ(writeAll(dir / "none.wav", {}), SPEECHCORE_OK);
    EXPECT_TRUE(test::decodeWithSox(dir / "none.wav").empty());
}

TEST_F(MulawFileSinkTest, UncreatableFileIsReported) {
    EXPECT_EQ(writeAll(dir / "no-such-folder" / "x.rau", tone(440.0, 1.0, kEspeakRate, 10)),
              SPEECHCORE_ERR_FILE);
}

TEST_F(MulawFileSinkTest, FullDiskIsReported) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(writeAll("/dev/full", tone(440.0, 8000.0, kEspeakRate, kEspeakRate * 4)),
              SPEECHCORE_ERR_FILE);
}

} // namespace
} // namespace speechcore
