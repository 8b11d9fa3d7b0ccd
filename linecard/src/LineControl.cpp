#include "LineControl.h"

#include "ChannelTimers.h"
#include "Playback.h"
#include "ToneGenerator.h"

#include <cstring>

namespace linecard {
namespace {

// Key frequencies in the digit-code order: "1".."9", "0", "*", "#", "A".."D".
bool keyTones(char key, int& low, int& high) {
    static const char* const layout = "123A456B789C*0#D";
    static const int rows[4] = {697, 770, 852, 941};
    static const int columns[4] = {1209, 1336, 1477, 1633};
    const char* at = key ? std::strchr(layout, key) : nullptr;
    if (!at)
        return false;
    int index = static_cast<int>(at - layout);
    low = rows[index / 4];
    high = columns[index % 4];
    return true;
}

constexpr size_t kDigitOnSamples = 70 * 8;
constexpr size_t kDigitOffSamples = 70 * 8;

} // namespace

int LineControl::validChannelCount() const {
    int count = state_.config.isDspType() ? state_.dspChannels : state_.config.cardNo * 8;
    return count > 256 ? 256 : count;
}

int LineControl::channelType(uint16_t ch) const {
    if (ch <= 128) {
        uint16_t type;
        std::memcpy(&type, state_.sysInfo.data() + sysinfo::ChannelType + 2 * ch, 2);
        return type;
    }
    return state_.extendedTypes[ch];
}

int LineControl::channelTypeNew(uint16_t ch) const {
    return state_.config.cardType == 50 ? state_.extendedTypes[ch] : channelType(ch);
}

int LineControl::hook(uint16_t ch, uint16_t value) {
    return state_.request(fn::Hook, ch, value) ? 1 : 0;
}

int LineControl::lineSense(uint16_t ch) {
    DriverRequest sense{requestCode(fn::LineSense), ch, 0, 0, 0, 0};
    return state_.request(sense) && sense.Value == 1 ? 1 : 0;
}

int LineControl::feedPower(uint16_t ch) {
    state_.channels[ch].feedState = 0;
    return hook(ch, 0);
}

int LineControl::feedRealRing(uint16_t ch) {
    ChannelState& channel = state_.channels[ch];
    channel.feedState = 2;
    ChannelTimers::start(channel, 0);
    return hook(ch, 1);
}

int LineControl::offHookDetect(uint16_t ch) {
    uint32_t feed = state_.channels[ch].feedState;
    if (feed == 2 || feed == 3)
        return 0;
    int sensed = lineSense(ch);
    if (sensed == 1)
        feedPower(ch);
    return sensed;
}

int LineControl::hangUpDetect(uint16_t ch) {
    int type = channelType(ch);
    if (type != 0 && type != 3)
        return 0;
    ChannelState& channel = state_.channels[ch];
    bool offHook;
    if (type == 3) {
        DriverRequest monitor{requestCode(fn::MonitorLineState), ch, 0, 0, 0, 0};
        offHook = state_.request(monitor) && monitor.Value == 1;
    } else {
        offHook = lineSense(ch) == 1;
    }
    switch (channel.hangUpState) {
    case 0:
        if (!offHook) {
            ChannelTimers::start(channel, 2);
            channel.hangUpState = 2;
        }
        break;
    case 2: {
        uint32_t elapsed = ChannelTimers::elapsed(channel, 2);
        if (offHook)
            channel.hangUpState = elapsed >= 1 ? 3 : 0;
        else if (elapsed > static_cast<uint32_t>(state_.config.flash))
            channel.hangUpState = 1;
        break;
    }
    default:
        break;
    }
    uint32_t result = channel.hangUpState;
    if (result == 3)
        channel.hangUpState = 0;
    return static_cast<int>(result);
}

int LineControl::checkRingEnd(uint16_t ch) {
    ChannelState& channel = state_.channels[ch];
    bool ringing = lineSense(ch) == 1;
    if (channel.ringEnd == 0) {
        if (ringing) {
            ChannelTimers::start(channel, 1);
            channel.ringEnd = 1;
        }
        return 0;
    }
    if (ringing) {
        // Ring current again: the silence restarts from here.
        ChannelTimers::start(channel, 1);
        return 0;
    }
    if (ChannelTimers::elapsed(channel, 1) > 410) {
        channel.ringEnd = 0;
        return 1;
    }
    return 0;
}

int LineControl::checkPolarity(uint16_t ch) {
    if (!state_.config.isDspType())
        return lineSense(ch);
    DriverRequest info{requestCode(fn::CardInformation), ch, 0, 0, 0, 0};
    state_.request(info);
    return info.Value;
}

int LineControl::startPlaySignal(uint16_t ch, int tone) {
    Playback playback(state_);
    ChannelState& channel = state_.channels[ch];
    if (tone == 0) {
        playback.stopPlay(ch);
        channel.loopedSignal = 0;
        // The card ends a stopped pass at once; a card that does not is not waited on forever.
        for (int poll = 0; poll < 1000 && !playback.checkPlayEnd(ch); ++poll) {
        }
        return 1;
    }
    if ((tone >= 1 && tone <= 5) || tone == 20) {
        playback.stopPlay(ch);
        const std::vector<uint8_t>& bytes = state_.tones[static_cast<size_t>(tone)].bytes;
        int started =
            playback.startPlay(ch, bytes.data(), static_cast<uint32_t>(bytes.size()), false);
        channel.loopedSignal = static_cast<uint32_t>(tone);
        return started;
    }
    if (tone == 10) {
        playback.stopPlay(ch);
        channel.loopedSignal = 10;
        return 1;
    }
    return 0;
}

int LineControl::sendDigits(uint16_t ch, const char* digits) {
    if (!digits)
        return LC_BAD_ARGUMENT;
    ChannelState& channel = state_.channels[ch];
    std::vector<uint8_t> tones;
    for (const char* key = digits; *key; ++key) {
        int low, high;
        char upper = (*key >= 'a' && *key <= 'd') ? static_cast<char>(*key - 'a' + 'A') : *key;
        if (!keyTones(upper, low, high))
            continue;
        std::vector<uint8_t> on = ToneGenerator::dualTone(low, high, -7.0, -5.0, kDigitOnSamples);
        tones.insert(tones.end(), on.begin(), on.end());
        tones.insert(tones.end(), kDigitOffSamples, Playback::kSilence);
    }
    Playback playback(state_);
    playback.stopPlay(ch);
    channel.loopedSignal = 0;
    channel.sendBuffer = std::move(tones);
    channel.sending = !channel.sendBuffer.empty();
    if (!channel.sending)
        return 1;
    return playback.startPlay(ch, channel.sendBuffer.data(),
                              static_cast<uint32_t>(channel.sendBuffer.size()), false);
}

int LineControl::checkSendEnd(uint16_t ch) {
    ChannelState& channel = state_.channels[ch];
    if (!channel.sending)
        return 1;
    Playback playback(state_);
    if (channel.workMode == 3 || !playback.checkPlayEnd(ch))
        return 0;
    channel.sending = false;
    return 1;
}

void LineControl::feedSigFunc() {
    if (!state_.enabled)
        return;
    Playback playback(state_);
    for (uint16_t ch = 0; ch < kMaxChannels; ++ch) {
        ChannelState& channel = state_.channels[ch];
        switch (channel.feedState) {
        case 2:
            if (ChannelTimers::elapsed(channel, 0) > 100) {
                hook(ch, 0);
                ChannelTimers::start(channel, 0);
                channel.feedState = 3;
            }
            break;
        case 3:
            if (ChannelTimers::elapsed(channel, 0) > 10)
                channel.feedState = 1;
            break;
        case 1:
            if (ChannelTimers::elapsed(channel, 0) > 400) {
                hook(ch, 1);
                ChannelTimers::start(channel, 0);
                channel.feedState = 2;
            }
            break;
        default:
            break;
        }
        uint32_t tone = channel.loopedSignal;
        if (((tone >= 1 && tone <= 5) || tone == 20) && playback.checkPlayEnd(ch)) {
            playback.stopPlay(ch);
            const std::vector<uint8_t>& bytes = state_.tones[tone].bytes;
            playback.startPlay(ch, bytes.data(), static_cast<uint32_t>(bytes.size()), false);
        }
    }
}

} // namespace linecard
