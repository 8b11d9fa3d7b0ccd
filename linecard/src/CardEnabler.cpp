#include "CardEnabler.h"

#include "LineControl.h"
#include "Playback.h"
#include "ToneGenerator.h"
#include "carddriver/ClockService.h"

#include <cmath>

namespace linecard {

uint32_t CardEnabler::roundBuffer(int64_t bytes) {
    if (bytes > kMaxBufferBytes)
        return kMaxBufferBytes;
    if (bytes <= 0)
        return 4096;
    return static_cast<uint32_t>((bytes + 4095) / 4096 * 4096);
}

uint32_t CardEnabler::gainFactor(int step) {
    return static_cast<uint32_t>(std::floor(2048.0 * std::pow(10.0, step / 20.0) + 1e-9));
}

int CardEnabler::setGain(uint16_t ch, bool play, int step) {
    if (step < -20 || step > 20)
        return -1;
    if (state_.config.cardType != 31 && state_.config.cardType != 50)
        return -2;
    return state_.request(fn::Gain, ch, play ? 1 : 0, gainFactor(step)) ? 1 : 0;
}

int CardEnabler::setPackRate(int rate) {
    if (rate != 0)
        state_.waveFormat = 0;
    state_.packRate = rate;
    if (rate == 4 && state_.half >= 252)
        state_.half = state_.half / 252 * 252;
    return state_.request(fn::PackRate, 0, static_cast<uint16_t>(rate)) ? 1 : 0;
}

int CardEnabler::enable(int32_t channels, int32_t bufferBytes) {
    if (!state_.loaded)
        return -1;
    if (channels < 0)
        return LC_BAD_ARGUMENT;
    state_.servedChannels = static_cast<uint16_t>(channels > 256 ? 256 : channels);
    uint32_t buffer = roundBuffer(bufferBytes);
    state_.half = buffer / 2;
    DriverRequest enableRequest{requestCode(fn::Enable), 0, 0, 0, 0, 0};
    if (state_.alternateBuffering()) {
        state_.half = 16384;
        enableRequest.Param1 = 1;
    } else {
        enableRequest.Value = static_cast<uint16_t>(state_.half);
    }
    if (!state_.request(enableRequest) || enableRequest.Channel != 0)
        return -2;
    try {
        state_.staging.assign(2 * state_.half, 0);
    } catch (const std::bad_alloc&) {
        return -2;
    }
    for (uint16_t ch = 0; ch < state_.servedChannels; ++ch) {
        ChannelState& channel = state_.channels[ch];
        channel.recordSkip = 0;
        channel.workMode = 0;
    }

    const CardConfig& c = state_.config;
    LineControl line(state_);
    const int count = line.validChannelCount();
    for (int ch = 0; ch < count; ++ch) {
        uint16_t channel = static_cast<uint16_t>(ch);
        state_.request(fn::WorkMode, channel, 4, static_cast<uint32_t>(c.checkRingMode));
        if (c.cardType == 31 || c.cardType == 50) {
            state_.request(fn::WorkMode, channel, 0, static_cast<uint32_t>(c.dtmfMode));
            bool trunk = line.channelType(channel) == 1;
            state_.request(fn::WorkMode, channel, 5,
                           static_cast<uint32_t>(trunk ? c.trunkRecAgc : c.userRecAgc));
            setGain(channel, false, trunk ? c.trunkRecVol : c.userRecVol);
            setGain(channel, true, trunk ? c.trunkPlayVol : c.userPlayVol);
        }
    }
    for (int ch = 0; ch < count; ++ch) {
        uint16_t channel = static_cast<uint16_t>(ch);
        int type = line.channelType(channel);
        if (type == 1)
            line.hook(channel, 1);
        else if (type == 0)
            line.feedPower(channel);
    }
    carddriver::ClockService::waitMillis(100);

    const int wave = state_.waveFormat;
    const int cadences[5][2] = {{0, 0}, {350, 350}, {700, 700}, {1000, 4000}, {350, 350}};
    for (int tone = 1; tone <= 5; ++tone) {
        ToneGenerator::Request request{tone,
                                       tone == 5 ? 950 : 450,
                                       0,
                                       -8.0,
                                       -40.0,
                                       cadences[tone - 1][0],
                                       cadences[tone - 1][1],
                                       8000};
        ToneGenerator::build(request, wave, state_.tones[static_cast<size_t>(tone)].bytes);
    }
    state_.tones[20].bytes = ToneGenerator::buildTone20(wave);

    for (ChannelState& channel : state_.channels)
        channel.ringEnd = 0;
    state_.streamLock = std::make_unique<std::mutex>();
    state_.enabled = true;
    if (state_.waveFormat == 4)
        setPackRate(4);
    Playback playback(state_);
    for (uint16_t ch = 0; ch < state_.servedChannels; ++ch)
        playback.resetStream(ch);
    return 0;
}

int CardEnabler::disable() {
    state_.staging.clear();
    state_.staging.shrink_to_fit();
    state_.request(fn::Disable, 0);
    state_.enabled = false;
    state_.streamLock.reset();
    for (ChannelState& channel : state_.channels) {
        channel.streamRing.clear();
        channel.streamRing.shrink_to_fit();
        channel.streamState = 0;
        channel.workMode = 0;
        channel.sending = false;
    }
    return 0;
}

} // namespace linecard
