#include "MulawFileSink.h"

#include "speechcore/Speechcore.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <limits>

#include <spandsp/telephony.h>
// telephony.h first: g711.h uses its types and bit_operations.h's top_bit().
#include <spandsp/bit_operations.h>
#include <spandsp/g711.h>

namespace speechcore {

namespace {

bool endsWithWav(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".wav";
}

void putLe16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void putLe32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// RIFF header of a non-PCM WAVE file: an 18-byte "fmt " chunk (format tag 7,
// mu-law) and the "fact" chunk with the sample count that such files carry.
constexpr size_t kWaveHeaderBytes = 58;

} // namespace

std::unique_ptr<MulawFileSink> MulawFileSink::open(const std::string& path, int inputRate,
                                                   int32_t& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = SPEECHCORE_ERR_FILE;
        return nullptr;
    }
    std::unique_ptr<MulawFileSink> sink(new MulawFileSink(file, endsWithWav(path), inputRate));
    if (!sink->converter_.isValid()) {
        error = SPEECHCORE_ERR_ENGINE;
        return nullptr;
    }
    // The placeholder header makes a cut-short run still leave a readable file.
    if (sink->wave_ && !sink->writeWaveHeader(0)) {
        error = SPEECHCORE_ERR_FILE;
        return nullptr;
    }
    error = SPEECHCORE_OK;
    return sink;
}

MulawFileSink::MulawFileSink(std::FILE* file, bool wave, int inputRate)
    : file_(file), wave_(wave), converter_(inputRate, kOutputRate) {}

MulawFileSink::~MulawFileSink() {
    if (file_ != nullptr)
        std::fclose(file_);
}

int32_t MulawFileSink::write(const int16_t* samples, size_t count) {
    resampled_.clear();
    if (!converter_.process(samples, count, resampled_))
        return SPEECHCORE_ERR_ENGINE;
    return encode(resampled_);
}

int32_t MulawFileSink::finish(bool /*stopped*/) {
    int32_t result = SPEECHCORE_OK;
    resampled_.clear();
    // Even a stopped run keeps the filter's tail, so what was heard is complete.
    if (!converter_.flush(resampled_))
        result = SPEECHCORE_ERR_ENGINE;
    else
        result = encode(resampled_);
    if (result == SPEECHCORE_OK && wave_) {
        const uint32_t count = static_cast<uint32_t>(
            std::min<uint64_t>(samplesWritten_, std::numeric_limits<uint32_t>::max() - 64));
        // RIFF chunks are word-aligned: an odd data chunk takes a pad byte
        // that its size does not count.
        const uint8_t pad = 0xFF;
        if ((count % 2 != 0 && std::fwrite(&pad, 1, 1, file_) != 1) ||
            std::fseek(file_, 0, SEEK_SET) != 0 || !writeWaveHeader(count))
            result = SPEECHCORE_ERR_FILE;
    }
    if (std::fclose(file_) != 0 && result == SPEECHCORE_OK)
        result = SPEECHCORE_ERR_FILE;
    file_ = nullptr;
    return result;
}

int32_t MulawFileSink::encode(const std::vector<int16_t>& samples) {
    if (samples.empty())
        return SPEECHCORE_OK;
    coded_.resize(samples.size());
    std::transform(samples.begin(), samples.end(), coded_.begin(),
                   [](int16_t s) { return linear_to_ulaw(s); });
    if (std::fwrite(coded_.data(), 1, coded_.size(), file_) != coded_.size())
        return SPEECHCORE_ERR_FILE;
    samplesWritten_ += coded_.size();
    return SPEECHCORE_OK;
}

bool MulawFileSink::writeWaveHeader(uint32_t sampleCount) {
    std::array<uint8_t, kWaveHeaderBytes> h{};
    std::memcpy(&h[0], "RIFF", 4);
    putLe32(&h[4], static_cast<uint32_t>(kWaveHeaderBytes - 8) + sampleCount + sampleCount % 2);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    putLe32(&h[16], 18);
    putLe16(&h[20], 7); // WAVE_FORMAT_MULAW
    putLe16(&h[22], 1);
    putLe32(&h[24], kOutputRate);
    putLe32(&h[28], kOutputRate);
    putLe16(&h[32], 1);
    putLe16(&h[34], 8);
    putLe16(&h[36], 0);
    std::memcpy(&h[38], "fact", 4);
    putLe32(&h[42], 4);
    putLe32(&h[46], sampleCount);
    std::memcpy(&h[50], "data", 4);
    putLe32(&h[54], sampleCount);
    return std::fwrite(h.data(), 1, h.size(), file_) == h.size();
}

} // namespace speechcore
