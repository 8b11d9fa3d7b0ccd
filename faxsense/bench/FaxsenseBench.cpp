// How many channels one core can watch in real time: lc_faxdetect beside
// spandsp's V.21 receiver (fsk_rx + hdlc_rx, A-law expansion included) on
// the same audio, fed 10 ms at a time round the channels as a card delivers it.
//
// Usage: faxsense_bench [channels] [seconds]
#include "AlawEncoder.h"
#include "V21SignalSource.h"
#include "faxsense/Faxsense.h"

#include <spandsp.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

namespace {

using faxsense::testing::SignalOptions;
using faxsense::testing::V21SignalSource;

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Back-to-back signalling bursts (CSI + DIS), each followed by a quiet gap.
std::vector<uint8_t> signallingAudio(double seconds) {
    SignalOptions options;
    options.levelDbm0 = -20.0f;
    options.noiseDbm0 = -55.0f;
    const std::vector<uint8_t> burst =
        V21SignalSource::alaw({V21SignalSource::csi(), V21SignalSource::dis()}, options);
    std::vector<uint8_t> audio;
    while (audio.size() < static_cast<std::size_t>(seconds * 8000)) {
        audio.insert(audio.end(), burst.begin(), burst.end());
    }
    audio.resize(static_cast<std::size_t>(seconds * 8000) / FAXSENSE_BLOCK_BYTES *
                 FAXSENSE_BLOCK_BYTES);
    return audio;
}

// A line with no fax on it: low noise only.
std::vector<uint8_t> quietAudio(double seconds) {
    awgn_state_t* noise = awgn_init_dbm0(nullptr, 77, -50.0f);
    std::vector<int16_t> linear(static_cast<std::size_t>(seconds * 8000) / FAXSENSE_BLOCK_BYTES *
                                FAXSENSE_BLOCK_BYTES);
    for (int16_t& sample : linear) {
        sample = awgn(noise);
    }
    awgn_free(noise);
    return faxsense::testing::AlawEncoder::encode(linear);
}

struct Result {
    double channelsPerCore;
    long detections;
};

Result runFaxsense(const std::vector<uint8_t>& audio, int channels) {
    lc_faxinit();
    long detections = 0;
    const double start = cpuSeconds();
    for (std::size_t at = 0; at < audio.size(); at += FAXSENSE_BLOCK_BYTES) {
        for (int channel = 0; channel < channels; ++channel) {
            detections += lc_faxdetect(channel, audio.data() + at, FAXSENSE_BLOCK_BYTES);
        }
    }
    const double used = cpuSeconds() - start;
    const double audioSeconds = static_cast<double>(audio.size()) / 8000.0;
    return {audioSeconds * channels / used, detections};
}

struct SpandspChannel {
    fsk_rx_state_t* fsk = nullptr;
    hdlc_rx_state_t* hdlc = nullptr;
    long frames = 0;
};

void onFrame(void* user, const uint8_t* /*msg*/, int len, int ok) {
    if (ok && len > 0) {
        ++static_cast<SpandspChannel*>(user)->frames;
    }
}

Result runSpandsp(const std::vector<uint8_t>& audio, int channels) {
    std::vector<SpandspChannel> receivers(static_cast<std::size_t>(channels));
    for (SpandspChannel& r : receivers) {
        r.hdlc = hdlc_rx_init(nullptr, 0, 0, 5, onFrame, &r);
        r.fsk = fsk_rx_init(nullptr, &preset_fsk_specs[FSK_V21CH2], FSK_FRAME_MODE_SYNC,
                            reinterpret_cast<put_bit_func_t>(hdlc_rx_put_bit), r.hdlc);
    }
    int16_t linear[FAXSENSE_BLOCK_BYTES];
    const double start = cpuSeconds();
    for (std::size_t at = 0; at < audio.size(); at += FAXSENSE_BLOCK_BYTES) {
        for (SpandspChannel& r : receivers) {
            for (int i = 0; i < FAXSENSE_BLOCK_BYTES; ++i) {
                linear[i] = alaw_to_linear(audio[at + static_cast<std::size_t>(i)]);
            }
            fsk_rx(r.fsk, linear, FAXSENSE_BLOCK_BYTES);
        }
    }
    const double used = cpuSeconds() - start;
    long frames = 0;
    for (SpandspChannel& r : receivers) {
        frames += r.frames;
        fsk_rx_free(r.fsk);
        hdlc_rx_free(r.hdlc);
    }
    const double audioSeconds = static_cast<double>(audio.size()) / 8000.0;
    return {audioSeconds * channels / used, frames};
}

} // namespace

int main(int argc, char** argv) {
    const int channels = argc > 1 ? std::atoi(argv[1]) : 256;
    const double seconds = argc > 2 ? std::atof(argv[2]) : 20.0;
    if (channels < 1 || channels > FAXSENSE_CHANNEL_COUNT || seconds <= 0) {
        std::fprintf(stderr, "usage: faxsense_bench [channels 1..1024] [seconds]\n");
        return 2;
    }
    std::printf("Channels watched in real time on one core (%d channels x %.0f s of audio)\n",
                channels, seconds);
    std::printf("%-22s %16s %16s %18s\n", "audio", "lc_faxdetect", "spandsp V.21",
                "faxsense/spandsp");
    const struct {
        const char* name;
        std::vector<uint8_t> audio;
    } sets[] = {{"V.21 bursts", signallingAudio(seconds)}, {"quiet line", quietAudio(seconds)}};
    for (const auto& set : sets) {
        const Result ours = runFaxsense(set.audio, channels);
        const Result theirs = runSpandsp(set.audio, channels);
        std::printf("%-22s %16.0f %16.0f %17.2fx\n", set.name, ours.channelsPerCore,
                    theirs.channelsPerCore, ours.channelsPerCore / theirs.channelsPerCore);
        std::printf("%-22s %16ld %16ld   (detections / good frames)\n", "", ours.detections,
                    theirs.detections);
    }
    return 0;
}
