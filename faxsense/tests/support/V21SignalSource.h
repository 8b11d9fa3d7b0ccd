#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace faxsense::testing {

struct T30Frame {
    std::vector<uint8_t> octets; // address, control, FCF, FIF; the FCS is added by the sender
    bool corruptFcs = false;
};

struct SignalOptions {
    float levelDbm0 = -15.0f;
    std::optional<float> noiseDbm0; // white noise over the whole signal
    int preambleFlags = 38;         // about one second, as T.30 asks
    int leadSilenceMs = 200;
    int tailSilenceMs = 300;
    int noiseSeed = 1234;
};

// V.21 channel-2 HDLC signalling made by spandsp's own HDLC and FSK
// transmitters, as A-law at 8000 Hz.
class V21SignalSource {
public:
    static std::vector<uint8_t> alaw(const std::vector<T30Frame>& frames,
                                     const SignalOptions& options);
    static std::vector<int16_t> linear(const std::vector<T30Frame>& frames,
                                       const SignalOptions& options);
    // The bits spandsp's HDLC transmitter sends for these frames, in line order.
    static std::vector<uint8_t> hdlcBits(const std::vector<T30Frame>& frames, int preambleFlags);

    static T30Frame dis(bool final = true);
    static T30Frame csi();
    static T30Frame dcs();
    static T30Frame dcn();
    static T30Frame crp();
};

} // namespace faxsense::testing
