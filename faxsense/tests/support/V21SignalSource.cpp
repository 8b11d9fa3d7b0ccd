#include "V21SignalSource.h"

#include "AlawEncoder.h"

#include <algorithm>
#include <spandsp.h>

namespace faxsense::testing {

namespace {

struct HdlcFeed {
    hdlc_tx_state_t* tx = nullptr;
    const std::vector<T30Frame>* frames = nullptr;
    std::size_t next = 0;
    bool drained = false;

    void queueNext() {
        if (next < frames->size()) {
            const T30Frame& frame = (*frames)[next++];
            hdlc_tx_frame(tx, frame.octets.data(), frame.octets.size());
            if (frame.corruptFcs) {
                hdlc_tx_corrupt_frame(tx);
            }
        } else {
            drained = true;
        }
    }
};

void onUnderflow(void* user) {
    static_cast<HdlcFeed*>(user)->queueNext();
}

struct BitFeed {
    const std::vector<uint8_t>* bits = nullptr;
    std::size_t next = 0;
};

int nextBit(void* user) {
    auto* feed = static_cast<BitFeed*>(user);
    // Mark idle once the bits are out, as a modem holds the line.
    return feed->next < feed->bits->size() ? (*feed->bits)[feed->next++] : 1;
}

} // namespace

std::vector<uint8_t> V21SignalSource::hdlcBits(const std::vector<T30Frame>& frames,
                                               int preambleFlags) {
    HdlcFeed feed;
    feed.frames = &frames;
    feed.tx = hdlc_tx_init(nullptr, 0, 1, 0, onUnderflow, &feed);
    hdlc_tx_flags(feed.tx, preambleFlags);
    std::vector<uint8_t> bits;
    // After the last frame two closing flags, then the carrier drops.
    int closingBits = 16;
    while (closingBits > 0) {
        const int bit = hdlc_tx_get_bit(feed.tx);
        if (bit < 0) {
            break;
        }
        bits.push_back(static_cast<uint8_t>(bit));
        if (feed.drained) {
            --closingBits;
        }
    }
    hdlc_tx_free(feed.tx);
    return bits;
}

std::vector<int16_t> V21SignalSource::linear(const std::vector<T30Frame>& frames,
                                             const SignalOptions& options) {
    const std::vector<uint8_t> bits = hdlcBits(frames, options.preambleFlags);
    BitFeed feed{&bits, 0};
    fsk_tx_state_t* tx = fsk_tx_init(nullptr, &preset_fsk_specs[FSK_V21CH2], nextBit, &feed);
    fsk_tx_power(tx, options.levelDbm0);

    std::vector<int16_t> audio(static_cast<std::size_t>(options.leadSilenceMs) * 8, 0);
    // 8000 / 300 samples per bit, and two bits' worth so the last one is whole.
    const std::size_t signalSamples = (bits.size() + 2) * 80 / 3;
    std::vector<int16_t> signal(signalSamples);
    fsk_tx(tx, signal.data(), static_cast<int>(signal.size()));
    fsk_tx_free(tx);
    audio.insert(audio.end(), signal.begin(), signal.end());
    audio.resize(audio.size() + static_cast<std::size_t>(options.tailSilenceMs) * 8, 0);

    if (options.noiseDbm0) {
        awgn_state_t* noise = awgn_init_dbm0(nullptr, options.noiseSeed, *options.noiseDbm0);
        for (int16_t& sample : audio) {
            sample = static_cast<int16_t>(std::clamp(sample + awgn(noise), -32768, 32767));
        }
        awgn_free(noise);
    }
    return audio;
}

std::vector<uint8_t> V21SignalSource::alaw(const std::vector<T30Frame>& frames,
                                           const SignalOptions& options) {
    return AlawEncoder::encode(linear(frames, options));
}

T30Frame V21SignalSource::dis(bool final) {
    return {{0xFF, static_cast<uint8_t>(final ? 0x13 : 0x03), T30_DIS, 0x00, 0xEE, 0xF8, 0x80},
            false};
}

T30Frame V21SignalSource::csi() {
    // The identity goes digits reversed, blank padded to twenty.
    T30Frame frame{{0xFF, 0x03, T30_CSI}, false};
    const char identity[] = "                0145";
    for (int i = 19; i >= 0; --i) {
        frame.octets.push_back(static_cast<uint8_t>(identity[i]));
    }
    return frame;
}

// The commands carry the X bit set, as the calling side sends them.
T30Frame V21SignalSource::dcs() {
    return {{0xFF, 0x13, T30_DCS | 1, 0x00, 0x46, 0x78}, false};
}
T30Frame V21SignalSource::dcn() {
    return {{0xFF, 0x13, T30_DCN | 1}, false};
}
T30Frame V21SignalSource::crp() {
    return {{0xFF, 0x13, T30_CRP | 1}, false};
}

} // namespace faxsense::testing
