#include "LibraryState.h"
#include "LinecardFixture.h"
#include "carddriver/AlawSample.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

using linecard::LibraryState;
namespace fn = linecard::fn;

namespace {

// Voice files over an 8192-byte card buffer (h = 4096, B = 8192).
class VoiceFiles : public LinecardFixture {
protected:
    static constexpr uint32_t kHalf = 4096;
    static constexpr uint32_t kBuffer = 8192;

    void SetUp() override {
        LinecardFixture::SetUp();
        installCard();
    }
    void start(int waveFormat) {
        writeEgretIni("", "WaveFormat=" + std::to_string(waveFormat) + "\n");
        loadAndEnable(8, kBuffer);
        card_->setPlayedAudioCapture(true);
    }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    static std::vector<uint8_t> pattern(size_t bytes) {
        std::vector<uint8_t> out(bytes);
        for (size_t i = 0; i < bytes; ++i)
            out[i] = static_cast<uint8_t>((i * 13 + i / 509) & 0xFF);
        return out;
    }
    void writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<uint8_t> readFile(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
    }
    std::vector<linecard::DriverRequest> requestsOf(uint32_t function) const {
        std::vector<linecard::DriverRequest> list;
        for (const auto& r : card_->requests())
            if (linecard::requestFunction(r.Code) == function)
                list.push_back(r);
        return list;
    }
    uint32_t workMode(int ch) const { return LibraryState::instance().channels[ch].workMode; }
    void untilPlayEnds(int ch) {
        for (int i = 0; i < 3000 && CheckPlayEnd(ch) == 0; ++i)
            runFor(100, 100);
    }
    void untilRecordEnds(int ch) {
        for (int i = 0; i < 3000 && CheckRecordEnd(ch) == 0; ++i)
            runFor(100, 100);
    }
    std::string soxi(const std::string& name, const std::string& option) const {
        std::string command = "soxi " + option + " " + path(name) + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::array<char, 256> buffer{};
        std::string output;
        while (pipe && fgets(buffer.data(), buffer.size(), pipe))
            output += buffer.data();
        if (pipe)
            pclose(pipe);
        while (!output.empty() && output.back() == '\n')
            output.pop_back();
        return output;
    }
};

TEST_F(VoiceFiles, ShortRawFileIsOneSinglePassAndClosedAtOnce) {
    start(0);
    auto bytes = pattern(100);
    writeFile("short.raw", bytes);
    card_->clearRequests();
    ASSERT_EQ(StartPlayFile(1, path("short.raw").c_str(), 0), 1);
    ASSERT_EQ(requestsOf(fn::Play).size(), 2u) << "the stop, then the pass";
    EXPECT_EQ(requestsOf(fn::Play)[1].Param1, 100u);
    EXPECT_EQ(workMode(1), 0u);
    EXPECT_EQ(LibraryState::instance().channels[1].file, nullptr);
    untilPlayEnds(1);
    EXPECT_EQ(card_->playedAudio(1), bytes);
}

TEST_F(VoiceFiles, MissingFileDoesNotStart) {
    start(0);
    EXPECT_EQ(StartPlayFile(0, path("none.raw").c_str(), 0), 0);
    EXPECT_EQ(StartRecordFile(0, path("no/such/folder.raw").c_str(), 100), 0);
    EXPECT_EQ(StopRecordFile(0), -1);
    EXPECT_EQ(StartPlayFile(0, nullptr, 0), LC_BAD_ARGUMENT);
}

TEST_F(VoiceFiles, LongRawFilePlaysThroughThePump) {
    start(0);
    auto bytes = pattern(3 * kBuffer + 1234);
    writeFile("long.raw", bytes);
    ASSERT_EQ(StartPlayFile(2, path("long.raw").c_str(), 0), 1);
    EXPECT_EQ(workMode(2), 1u);
    untilPlayEnds(2);
    EXPECT_EQ(card_->playedAudio(2), bytes);
    EXPECT_EQ(LibraryState::instance().channels[2].file, nullptr);
}

TEST_F(VoiceFiles, AlawWavOffsetIsRoundedAndSkipsTheHeader) {
    start(1);
    auto bytes = pattern(6000);
    writeFile("prompt.wav", bytes);
    ASSERT_EQ(StartPlayFile(0, path("prompt.wav").c_str(), 1000), 1);
    untilPlayEnds(0);
    EXPECT_EQ(card_->playedAudio(0), std::vector<uint8_t>(bytes.begin() + 826, bytes.end()));
}

TEST_F(VoiceFiles, PlayPositionIsEstimatedFromTheStart) {
    start(0);
    writeFile("long.raw", pattern(5 * kBuffer));
    StartPlayFile(0, path("long.raw").c_str(), 512);
    runFor(1000, 100);
    EXPECT_EQ(GetPlayFileOffset(0), 512 + 8000);
    StopPlayFile(0);
    EXPECT_EQ(GetPlayFileOffset(0), 0);
    EXPECT_EQ(CheckPlayEnd(0), 1);
}

class RecordLengths : public VoiceFiles, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(RecordLengths, FileHoldsExactlyWhatTheLineCarried) {
    start(0);
    const uint32_t length = GetParam();
    auto line = pattern(length + 3 * kBuffer);
    card_->injectAudio(3, line);
    ASSERT_EQ(StartRecordFile(3, path("rec.raw").c_str(), length), 1);
    untilRecordEnds(3);
    ASSERT_EQ(StopRecordFile(3), 1);
    EXPECT_EQ(readFile("rec.raw"), std::vector<uint8_t>(line.begin(), line.begin() + length));
}

INSTANTIATE_TEST_SUITE_P(Lengths, RecordLengths,
                         ::testing::Values(100u, 8191u, 8192u, 8193u, 3 * 4096u + 5, 5 * 8192u + 17,
                                           6 * 4096u));

TEST_F(VoiceFiles, RecordingOfExactlyTheBufferStopsAfterTheFirstHalf) {
    start(0);
    card_->injectAudio(4, pattern(3 * kBuffer));
    card_->clearRequests();
    ASSERT_EQ(StartRecordFile(4, path("b.raw").c_str(), kBuffer), 1);
    ASSERT_EQ(requestsOf(fn::LoopRecord).size(), 1u);
    EXPECT_EQ(workMode(4), 2u);
    clock_->advanceMillis(600); // into the second half
    PUSH_PLAY();
    auto stops = requestsOf(fn::LoopStop);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].Value, 1);
    EXPECT_EQ(stops[0].Param1, 2 * kHalf);
    EXPECT_EQ(workMode(4), 0u);
    EXPECT_EQ(CheckRecordEnd(4), 0);
    clock_->advanceMillis(500);
    EXPECT_EQ(CheckRecordEnd(4), 1) << "the pass ends by itself at its end";
    ASSERT_EQ(StopRecordFile(4), 1);
    EXPECT_EQ(readFile("b.raw").size(), kBuffer);
}

TEST_F(VoiceFiles, StoppingEarlyKeepsWhatWasRecorded) {
    start(0);
    auto line = pattern(10 * kBuffer);
    card_->injectAudio(5, line);
    ASSERT_EQ(StartRecordFile(5, path("early.raw").c_str(), 10 * kBuffer), 1);
    runFor(2300, 100); // 18400 bytes on the line
    ASSERT_EQ(StopRecordFile(5), 1);
    auto file = readFile("early.raw");
    EXPECT_EQ(file.size(), 18400u);
    EXPECT_EQ(file, std::vector<uint8_t>(line.begin(), line.begin() + file.size()));
}

TEST_F(VoiceFiles, AlawRecordingIsAWavThatSoxReads) {
    start(1);
    card_->injectAudio(0, pattern(20000));
    ASSERT_EQ(StartRecordFile(0, path("a.wav").c_str(), 12000), 1);
    untilRecordEnds(0);
    ASSERT_EQ(StopRecordFile(0), 1);
    EXPECT_EQ(readFile("a.wav").size(), 58u + 12000);
    EXPECT_EQ(soxi("a.wav", "-e"), "A-law");
    EXPECT_EQ(soxi("a.wav", "-s"), "12000");
    EXPECT_EQ(soxi("a.wav", "-r"), "8000");
}

TEST_F(VoiceFiles, LinearRecordingIsAnUnsigned8BitWav) {
    start(2);
    EXPECT_TRUE(card_->linearSamples());
    ASSERT_EQ(StartRecordFile(0, path("u8.wav").c_str(), 9000), 1);
    untilRecordEnds(0);
    ASSERT_EQ(StopRecordFile(0), 1);
    EXPECT_EQ(soxi("u8.wav", "-e"), "Unsigned Integer PCM");
    EXPECT_EQ(soxi("u8.wav", "-b"), "8");
    EXPECT_EQ(soxi("u8.wav", "-s"), "9000");
}

std::vector<uint8_t> alawSine(double frequency, size_t samples) {
    std::vector<uint8_t> out(samples);
    for (size_t n = 0; n < samples; ++n)
        out[n] = carddriver::AlawSample::encode(
            static_cast<int16_t>(8000 * std::sin(2 * M_PI * frequency * n / 8000.0)));
    return out;
}

TEST_F(VoiceFiles, AdpcmRecordingHoldsWholeBlocksThatSoxDecodes) {
    start(3);
    card_->injectAudio(1, alawSine(700, 30000));
    // 4100 file bytes ask for 8200 card samples: 16 whole blocks of 505, the rest dropped.
    ASSERT_EQ(StartRecordFile(1, path("ima.wav").c_str(), 4100), 1);
    untilRecordEnds(1);
    ASSERT_EQ(StopRecordFile(1), 1);
    EXPECT_EQ(readFile("ima.wav").size(), 60u + 16 * 256);
    EXPECT_EQ(soxi("ima.wav", "-e"), "IMA ADPCM");
    EXPECT_EQ(soxi("ima.wav", "-s"), std::to_string(16 * 505));
    std::string raw = path("ima.raw");
    ASSERT_EQ(std::system(("sox " + path("ima.wav") + " -t raw -e signed -b 16 " + raw).c_str()),
              0);
    std::ifstream in(raw, std::ios::binary);
    std::vector<int16_t> pcm(16 * 505);
    in.read(reinterpret_cast<char*>(pcm.data()), static_cast<std::streamsize>(pcm.size() * 2));
    // The sine survives the trip: its period of 8000/700 samples shows in the zero crossings.
    int crossings = 0;
    for (size_t n = 1000; n + 1 < pcm.size(); ++n)
        if ((pcm[n] < 0) != (pcm[n + 1] < 0))
            ++crossings;
    double expected = 2.0 * 700 * (pcm.size() - 1001) / 8000.0;
    EXPECT_NEAR(crossings, expected, expected * 0.05);
}

TEST_F(VoiceFiles, AdpcmFileMadeBySoxPlaysItsTone) {
    start(3);
    std::string wav = path("sox.wav");
    ASSERT_EQ(
        std::system(("sox -n -r 8000 -c 1 -e ima-adpcm " + wav + " synth 1 sine 1000").c_str()), 0);
    ASSERT_EQ(StartPlayFile(6, wav.c_str(), 0), 1);
    untilPlayEnds(6);
    auto played = card_->playedAudio(6);
    EXPECT_EQ(played.size(), 8080u) << "16 blocks of 505 samples";
    // The card's bytes are coded with the library's curve coder: decode and count crossings.
    int crossings = 0;
    auto sign = [](uint8_t code) { return ((code ^ 0x55) & 0x80) != 0; };
    for (size_t n = 100; n + 1 < played.size(); ++n)
        if (sign(played[n]) != sign(played[n + 1]))
            ++crossings;
    double expected = 2.0 * 1000 * (played.size() - 101) / 8000.0;
    EXPECT_NEAR(crossings, expected, expected * 0.05);
}

} // namespace
