#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace linecard {

// Builds the A-law buffers of the generated call-progress tones.
class ToneGenerator {
public:
    static constexpr size_t kMaxBytes = 60000;

    struct Request {
        int tone;
        int freq1, freq2;
        double level1, level2;
        int onMs, offMs;
        int rate;
    };
    // 0 and the tone in `bytes`, or the negative code of the first failed check.
    static int build(const Request& request, int waveFormat, std::vector<uint8_t>& bytes);
    // `samples` of two tones added (a frequency below 1 contributes nothing).
    static std::vector<uint8_t> dualTone(int freq1, int freq2, double level1, double level2,
                                         size_t samples, int rate = 8000);
    // Tone 20: 400 Hz under a 40 Hz sine, 400 on / 200 off / 400 on / 2000 off.
    static std::vector<uint8_t> buildTone20(int waveFormat);

private:
    static void convertForWaveFormat(std::vector<uint8_t>& bytes, int waveFormat);
};

} // namespace linecard
