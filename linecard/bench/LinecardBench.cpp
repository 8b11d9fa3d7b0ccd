// Cost figures of the card library and the software card:
//  - one PUSH_PLAY + FeedSigFunc pass over 256 channels that are all playing;
//  - the software card's line work (play, record, DTMF and call-progress
//    detectors) per channel-second, and the whole load of 256 busy channels
//    as a share of one core, with the pumps called every 200 ms;
//  - our DTMF detector and the reference receiver on the same audio.
#include "carddriver/AlawSample.h"
#include "carddriver/CardDevices.h"
#include "carddriver/ClockService.h"
#include "carddriver/DtmfDetector.h"
#include "carddriver/SoftCard.h"
#include "carddriver/ToneBandDetector.h"
#include "carddriver/VirtualClock.h"
#include "linecard/Linecard.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// clang-format off
#include <spandsp/telephony.h>
#include <spandsp/bit_operations.h>
#include <spandsp/logging.h>
#include <spandsp/super_tone_rx.h>
#include <spandsp/dtmf.h>
// clang-format on

namespace {

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

constexpr int kChannels = 256;

// Speech-like line audio with a key every second: what a callee sends.
std::vector<int16_t> lineAudio(int seconds) {
    std::vector<int16_t> out(static_cast<size_t>(seconds) * 8000);
    uint32_t noise = 1;
    for (size_t n = 0; n < out.size(); ++n) {
        noise = noise * 1103515245u + 12345u;
        double t = static_cast<double>(n) / 8000.0;
        double voice = 3000 * std::sin(2 * M_PI * 220 * t) * std::sin(2 * M_PI * 3 * t);
        double key = 0;
        if (n % 8000 < 640) {
            key = 6000 * (std::sin(2 * M_PI * 770 * t) + std::sin(2 * M_PI * 1336 * t));
            voice = 0;
        }
        out[n] = static_cast<int16_t>(voice + key + static_cast<int>((noise >> 16) & 255) - 128);
    }
    return out;
}

} // namespace

int main() {
    std::string folder = std::filesystem::temp_directory_path() / "linecard-bench";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/LINECARD-V.INI")
        << "[SYSTEM]\nCardNo=1\nCardType=50\nDisablePopBox=1\n";
    setenv("LINECARD_DIR", folder.c_str(), 1);
    auto clock = std::make_shared<carddriver::VirtualClock>();
    carddriver::ClockService::install(clock);
    carddriver::SoftCardConfig config;
    config.channelTypes.assign(kChannels, 1);
    auto card = std::make_shared<carddriver::SoftCard>(config);
    carddriver::CardDevices::install(card);
    if (LoadDRV() != 0 || EnableCard(kChannels, 16384) != 0) {
        std::fprintf(stderr, "the software card did not start\n");
        return 1;
    }

    // Every channel plays a minute of audio from memory and hears a callee.
    std::vector<int16_t> audio = lineAudio(60);
    std::vector<uint8_t> alaw(audio.size());
    for (size_t n = 0; n < audio.size(); ++n)
        alaw[n] = carddriver::AlawSample::encode(audio[n]);
    for (int ch = 0; ch < kChannels; ++ch) {
        StartPlay(ch, alaw.data(), 0, static_cast<uint32_t>(alaw.size()));
        card->injectAudio(static_cast<uint16_t>(ch), alaw);
        StartSigCheck(ch);
    }

    // 1. The pumps alone: the card is brought up to date before each pass.
    constexpr int kPasses = 300;
    double pumpCpu = 0;
    double lineCpu = 0;
    for (int pass = 0; pass < kPasses; ++pass) {
        clock->advanceMillis(200);
        double t0 = cpuSeconds();
        card->catchUp();
        double t1 = cpuSeconds();
        PUSH_PLAY();
        FeedSigFunc();
        double t2 = cpuSeconds();
        lineCpu += t1 - t0;
        pumpCpu += t2 - t1;
    }
    double lineSeconds = kPasses * 0.2;
    std::printf("PUSH_PLAY + FeedSigFunc over %d playing channels: %.1f us per pass\n", kChannels,
                pumpCpu / kPasses * 1e6);
    std::printf("software card line work: %.2f us CPU per channel-second\n",
                lineCpu / (lineSeconds * kChannels) * 1e6);
    std::printf("%d busy channels with 200 ms pumps: %.2f %% of one core\n", kChannels,
                (pumpCpu + lineCpu) / lineSeconds * 100);

    // 2. The detectors by themselves on the same audio, ours and the reference.
    const int kDetectorChannels = 32;
    double ours = 0;
    int ourKeys = 0;
    {
        double t0 = cpuSeconds();
        for (int ch = 0; ch < kDetectorChannels; ++ch) {
            carddriver::DtmfDetector dtmf;
            for (uint8_t code : alaw)
                ourKeys += dtmf.feed(carddriver::AlawSample::decode(code)) != 0;
        }
        ours = cpuSeconds() - t0;
    }
    double band = 0;
    {
        double t0 = cpuSeconds();
        int periods = 0;
        for (int ch = 0; ch < kDetectorChannels; ++ch) {
            carddriver::ToneBandDetector detector;
            for (uint8_t code : alaw)
                periods += detector.feed(carddriver::AlawSample::decode(code)) >= 0;
        }
        band = cpuSeconds() - t0;
        (void)periods;
    }
    double reference = 0;
    size_t referenceKeys = 0;
    {
        std::vector<int16_t> linear(alaw.size());
        double t0 = cpuSeconds();
        for (int ch = 0; ch < kDetectorChannels; ++ch) {
            dtmf_rx_state_t* rx = dtmf_rx_init(nullptr, nullptr, nullptr);
            for (size_t n = 0; n < alaw.size(); ++n)
                linear[n] = carddriver::AlawSample::decode(alaw[n]);
            for (size_t at = 0; at < linear.size(); at += 160) {
                dtmf_rx(rx, linear.data() + at, 160);
                char keys[32];
                referenceKeys += dtmf_rx_get(rx, keys, 32);
            }
            dtmf_rx_free(rx);
        }
        reference = cpuSeconds() - t0;
    }
    double channelSeconds = kDetectorChannels * 60.0;
    std::printf("our DTMF detector: %.2f us CPU per channel-second (%d keys)\n",
                ours / channelSeconds * 1e6, ourKeys);
    std::printf("reference DTMF receiver: %.2f us CPU per channel-second (%zu keys)\n",
                reference / channelSeconds * 1e6, referenceKeys);
    std::printf("call-progress band detector: %.2f us CPU per channel-second\n",
                band / channelSeconds * 1e6);

    DisableCard();
    FreeDRV();
    std::filesystem::remove_all(folder);
    return 0;
}
