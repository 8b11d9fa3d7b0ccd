#pragma once

#include "AudioSink.h"
#include "RateConverter.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace speechcore {

// 8-bit G.711 mu-law at the voice card's 8000 Hz: raw samples, or a WAVE file
// of them when the name ends in ".wav".
class MulawFileSink : public AudioSink {
public:
    static constexpr int kOutputRate = 8000;

    // Creates (or empties) the file; null with `error` set when that fails.
    static std::unique_ptr<MulawFileSink> open(const std::string& path, int inputRate,
                                               int32_t& error);
    ~MulawFileSink() override;

    int32_t write(const int16_t* samples, size_t count) override;
    int32_t finish(bool stopped) override;

private:
    MulawFileSink(std::FILE* file, bool wave, int inputRate);
    int32_t encode(const std::vector<int16_t>& samples);
    bool writeWaveHeader(uint32_t sampleCount);

    std::FILE* file_;
    bool wave_;
    RateConverter converter_;
    std::vector<int16_t> resampled_;
    std::vector<uint8_t> coded_;
    uint64_t samplesWritten_ = 0;
};

} // namespace speechcore
