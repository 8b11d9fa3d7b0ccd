// A call on the software card: the exchange answers, the speech library
// speaks a Chinese sentence on the line, and what the callee heard is
// compared with espeak-ng's own rendering of the same sentence.
#include "GbkText.h"
#include "SoftCardSession.h"

#include "carddriver/CallScenario.h"
#include "linecard/Linecard.h"
#include "sayline/Sayline.h"

#include <spandsp.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numeric>

namespace {

constexpr const char* kNumber = "13800000001";
constexpr const char* kSentence = "请您明天上午九点到评标中心参加评标";
constexpr const char* kOtherSentence = "一二三四五六七八九十";
// Speed and volume 45, as the program speaks its notices; the engine maps
// speed 45 onto espeak-ng's rate 247 and volume 45 onto amplitude 90.
constexpr int32_t kSpeed = 45;
constexpr int32_t kVolume = 45;
constexpr const char* kEspeakRate = "247";
constexpr const char* kEspeakAmplitude = "90";

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The bytes of a WAVE file's data chunk, with the format's channel count.
struct WaveData {
    uint16_t channels = 0;
    uint32_t rate = 0;
    std::string bytes;
};

WaveData readWave(const std::filesystem::path& path) {
    const std::string file = readFile(path);
    WaveData wave;
    auto u32 = [&](size_t at) {
        uint32_t v = 0;
        std::memcpy(&v, file.data() + at, 4);
        return v;
    };
    for (size_t at = 12; at + 8 <= file.size();) {
        const std::string id = file.substr(at, 4);
        const uint32_t size = std::min<uint32_t>(u32(at + 4), file.size() - at - 8);
        if (id == "fmt " && size >= 16) {
            std::memcpy(&wave.channels, file.data() + at + 10, 2);
            wave.rate = u32(at + 12);
        } else if (id == "data") {
            wave.bytes = file.substr(at + 8, size);
        }
        at += 8 + size + (size & 1);
    }
    return wave;
}

// Energy per 10 ms frame: the shape of the speech, whatever its rate or coding.
std::vector<double> envelope(const std::vector<int16_t>& samples, uint32_t rate) {
    std::vector<double> frames;
    for (size_t frame = 0;; ++frame) {
        const size_t begin = frame * rate / 100, end = (frame + 1) * rate / 100;
        if (end > samples.size())
            break;
        double energy = 0;
        for (size_t i = begin; i < end; ++i)
            energy += double(samples[i]) * samples[i];
        frames.push_back(std::log10(1.0 + energy / double(end - begin)));
    }
    return frames;
}

// Frames from the first to the last that stands out of the silence.
std::pair<size_t, size_t> speechSpan(const std::vector<double>& frames) {
    const double peak = *std::max_element(frames.begin(), frames.end());
    size_t first = frames.size(), last = 0;
    for (size_t i = 0; i < frames.size(); ++i)
        if (frames[i] > peak - 2.5) {
            first = std::min(first, i);
            last = i;
        }
    return {first, last};
}

// The best normalised correlation of `reference` laid anywhere over `heard`,
// which is given half a second of its own silence on either side.
double bestCorrelation(std::vector<double> heard, const std::vector<double>& reference) {
    const double floor = *std::min_element(heard.begin(), heard.end());
    heard.insert(heard.begin(), 50, floor);
    heard.insert(heard.end(), 50, floor);
    const size_t n = reference.size();
    if (heard.size() < n || n == 0)
        return 0;
    const double refMean = std::accumulate(reference.begin(), reference.end(), 0.0) / n;
    double best = -1;
    for (size_t lag = 0; lag + n <= heard.size(); ++lag) {
        double mean = 0;
        for (size_t i = 0; i < n; ++i)
            mean += heard[lag + i];
        mean /= n;
        double cross = 0, a = 0, b = 0;
        for (size_t i = 0; i < n; ++i) {
            const double x = heard[lag + i] - mean, y = reference[i] - refMean;
            cross += x * y;
            a += x * x;
            b += y * y;
        }
        if (a > 0 && b > 0)
            best = std::max(best, cross / std::sqrt(a * b));
    }
    return best;
}

class SaylineEndToEnd : public SoftCardSession {
protected:
    void SetUp() override {
        SoftCardSession::SetUp();
        installCard();
        exchange_ = std::make_shared<carddriver::SimulatedExchange>(8);
        exchange_->addScenario(kNumber,
                               carddriver::CallScenario::parseLine("0 answer 1000")->second);
        std::filesystem::create_directories(folder_ / "calls");
        exchange_->setCallRecordFolder((folder_ / "calls").string());
        card_->setExchange(exchange_);
        enableCard();
    }
    void TearDown() override {
        Sayline_Release();
        SoftCardSession::TearDown();
    }

    // espeak-ng's own rendering of a UTF-8 text with the engine's voice settings.
    std::vector<double> espeakEnvelope(const std::string& utf8) {
        const auto text = folder_ / "reference.txt";
        const auto wav = folder_ / "reference.wav";
        std::ofstream(text) << utf8;
        const std::string command = std::string("espeak-ng -v cmn -s ") + kEspeakRate + " -a " +
                                    kEspeakAmplitude + " -w '" + wav.string() + "' -f '" +
                                    text.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        const WaveData wave = readWave(wav);
        std::vector<int16_t> samples(wave.bytes.size() / 2);
        std::memcpy(samples.data(), wave.bytes.data(), samples.size() * 2);
        auto frames = envelope(samples, wave.rate);
        if (frames.empty())
            return frames;
        const auto [first, last] = speechSpan(frames);
        return {frames.begin() + long(first), frames.begin() + long(last) + 1};
    }

    std::shared_ptr<carddriver::SimulatedExchange> exchange_;
};

TEST_F(SaylineEndToEnd, AnsweredCallHearsTheSentence) {
    ASSERT_EQ(Sayline_Init(), 8);
    ASSERT_EQ(Sayline_AddTTSToChannel(1), 0);

    ASSERT_EQ(OffHook(1), 1);
    const int64_t seized = clock_->nowMicros();
    advance(300);
    ASSERT_NE(SendDtmfBuf(1, kNumber), 0);
    for (int i = 0; i < 1000 && CheckSendEnd(1) == 0; ++i)
        advance(20);
    for (int i = 0; i < 1000 && !exchange_->answered(1); ++i)
        advance(20);
    ASSERT_TRUE(exchange_->answered(1));
    const int64_t answered = clock_->nowMicros();

    ASSERT_EQ(Sayline_StartPlayText(1, gbk(kSentence).c_str(), 0, 0, kSpeed, kVolume, 0), 0);
    EXPECT_EQ(pollUntilDone([] { return Sayline_CheckPlayTextEnd(1); }), 3);
    advance(500);
    HangUp(1);
    advance(100);
    EXPECT_EQ(Sayline_DelTTSFromChannel(1), 0);

    std::filesystem::path record;
    for (const auto& entry : std::filesystem::directory_iterator(folder_ / "calls"))
        if (entry.path().extension() == ".wav")
            record = entry.path();
    ASSERT_FALSE(record.empty()) << "the exchange recorded no call";
    const WaveData call = readWave(record);
    ASSERT_EQ(call.channels, 2);
    // What the callee heard after answering: the left channel from the answer on.
    const size_t skip = size_t((answered - seized) / 125);
    std::vector<int16_t> heard;
    for (size_t i = 2 * skip; i + 1 < call.bytes.size(); i += 2)
        heard.push_back(alaw_to_linear(static_cast<uint8_t>(call.bytes[i])));
    ASSERT_FALSE(heard.empty());
    const auto heardFrames = envelope(heard, 8000);
    const auto [first, last] = speechSpan(heardFrames);
    ASSERT_LT(first, last) << "nothing but silence reached the line";
    const std::vector<double> speech(heardFrames.begin() + long(first),
                                     heardFrames.begin() + long(last) + 1);

    const auto reference = espeakEnvelope(kSentence);
    ASSERT_GT(reference.size(), 100u) << "espeak-ng rendered no speech";
    const double length = double(speech.size()) / double(reference.size());
    EXPECT_NEAR(length, 1.0, 0.1) << speech.size() << " frames heard, " << reference.size()
                                  << " rendered";

    // Laid over what was heard, the same sentence fits far better than another one.
    const double same = bestCorrelation(speech, reference);
    const auto other = espeakEnvelope(kOtherSentence);
    const double chance = bestCorrelation(speech, other);
    EXPECT_GT(same, 0.8) << "chance level " << chance;
    EXPECT_GT(same, chance + 0.3);
}

} // namespace
