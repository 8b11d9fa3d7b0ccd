#pragma once

// Independent judges for the engine's audio: sox decodes what the engine
// wrote, espeak-ng's own command renders the same text, and the two are
// compared as signals.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace speechcore::test {

// Text in the system code page, as callers of the engine pass it.
std::string toGbk(const std::string& utf8);

// 16-bit samples at 8000 Hz of a raw mu-law file, decoded by sox.
std::vector<int16_t> decodeMulawFile(const std::filesystem::path& path);
// 16-bit samples of any file sox reads (a WAVE file), resampled to 8000 Hz.
std::vector<int16_t> decodeWithSox(const std::filesystem::path& path);
// What sox reports about a file: "<rate> <channels> <encoding>".
std::string soxFormat(const std::filesystem::path& path);

// The espeak-ng command's rendering of the text with the Mandarin voice at
// the given rate and amplitude, brought to 8000 Hz by sox.
std::vector<int16_t> espeakReference(const std::string& utf8, int rate, int amplitude,
                                     const std::filesystem::path& workDir);

double rms(const std::vector<int16_t>& samples);
// The largest normalised cross-correlation of the two signals over shifts of
// up to `maxLag` samples either way: 1 for identical shapes, near 0 for
// unrelated ones.
double peakCorrelation(const std::vector<int16_t>& a, const std::vector<int16_t>& b, int maxLag);

// How alike two recordings of speech are, judged by their loudness contour
// (the level in dB of each 10 ms frame at 8000 Hz), best over shifts of up to
// `maxLagFrames` frames: near 1 for the same words, even though espeak-ng
// never renders the same text twice to the same samples, and well below for
// different words.
double envelopeSimilarity(const std::vector<int16_t>& a, const std::vector<int16_t>& b,
                          int maxLagFrames = 30);

// A fresh folder under the temporary directory, removed with the object.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

} // namespace speechcore::test
