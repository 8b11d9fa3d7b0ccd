#include "ToneGenerator.h"

#include "CurveCoder.h"
#include "SegmentAlawCoder.h"

#include <algorithm>
#include <cmath>

namespace linecard {
namespace {

constexpr double kTwoPi = 6.2831852;
constexpr uint8_t kSilence = 0x55;

double amplitudeOf(double level) {
    return std::min(std::pow(10.0, level / 20.0), 0.5);
}

int16_t component(double amplitude, double frequency, int n, int rate) {
    return static_cast<int16_t>(amplitude * 32767.0 * std::sin(kTwoPi * frequency * n / rate));
}

} // namespace

void ToneGenerator::convertForWaveFormat(std::vector<uint8_t>& bytes, int waveFormat) {
    if (waveFormat != 2)
        return;
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(CurveCoder::decode(byte) / 256 + 128);
}

int ToneGenerator::build(const Request& r, int waveFormat, std::vector<uint8_t>& bytes) {
    if (r.tone < 1 || r.tone > 5)
        return -1;
    if (r.freq1 < 1 && r.freq2 < 1)
        return -2;
    if (r.level1 <= -40.0 && r.level2 <= -40.0)
        return -3;
    if (r.onMs < 0 || r.offMs < 0)
        return -4;
    if (r.rate < 4000 || r.rate > 16000)
        return -5;
    const double a1 = amplitudeOf(r.level1);
    const double a2 = amplitudeOf(r.level2);
    auto sample = [&](int n) {
        int16_t s1 = r.freq1 >= 1 ? component(a1, r.freq1, n, r.rate) : 0;
        int16_t s2 = r.freq2 >= 1 ? component(a2, r.freq2, n, r.rate) : 0;
        return SegmentAlawCoder::encode(static_cast<int16_t>(s1 + s2));
    };
    std::vector<uint8_t> out;
    if (r.tone == 1) {
        out.resize(kMaxBytes);
        for (size_t n = 0; n < kMaxBytes; ++n)
            out[n] = sample(static_cast<int>(n));
    } else {
        const size_t on = static_cast<size_t>(static_cast<int64_t>(r.onMs) * r.rate / 1000);
        const size_t off = static_cast<size_t>(static_cast<int64_t>(r.offMs) * r.rate / 1000);
        const size_t period = on + off;
        // A cadence without a period (both times 0) or longer than the
        // buffer cannot be built; the tone is refused like a bad time.
        if (period == 0 || period > kMaxBytes)
            return -4;
        std::vector<uint8_t> one(period, kSilence);
        for (size_t n = 0; n < on; ++n)
            one[n] = sample(static_cast<int>(n));
        for (size_t k = 0; k < kMaxBytes / period; ++k)
            out.insert(out.end(), one.begin(), one.end());
    }
    convertForWaveFormat(out, waveFormat);
    bytes = std::move(out);
    return 0;
}

std::vector<uint8_t> ToneGenerator::dualTone(int freq1, int freq2, double level1, double level2,
                                             size_t samples, int rate) {
    const double a1 = amplitudeOf(level1);
    const double a2 = amplitudeOf(level2);
    std::vector<uint8_t> out(samples);
    for (size_t n = 0; n < samples; ++n) {
        int i = static_cast<int>(n);
        int16_t s1 = freq1 >= 1 ? component(a1, freq1, i, rate) : 0;
        int16_t s2 = freq2 >= 1 ? component(a2, freq2, i, rate) : 0;
        out[n] = SegmentAlawCoder::encode(static_cast<int16_t>(s1 + s2));
    }
    return out;
}

std::vector<uint8_t> ToneGenerator::buildTone20(int waveFormat) {
    constexpr int rate = 8000;
    const double amplitude = amplitudeOf(-8.0);
    const int parts[4] = {400, 200, 400, 2000};
    std::vector<uint8_t> period;
    for (int part = 0; part < 4; ++part) {
        int samples = parts[part] * rate / 1000;
        for (int n = 0; n < samples; ++n) {
            if (part % 2 == 1) {
                period.push_back(kSilence);
                continue;
            }
            double carrier = amplitude * 32767.0 * std::sin(kTwoPi * 400 * n / rate);
            double value = carrier * std::sin(251.327408 * n / rate);
            period.push_back(SegmentAlawCoder::encode(static_cast<int16_t>(value)));
        }
    }
    std::vector<uint8_t> out;
    for (size_t k = 0; k < kMaxBytes / period.size(); ++k)
        out.insert(out.end(), period.begin(), period.end());
    convertForWaveFormat(out, waveFormat);
    return out;
}

} // namespace linecard
