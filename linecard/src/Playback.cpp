#include "Playback.h"

#include "CurveCoder.h"
#include "FilePlayback.h"
#include "QueuePlayback.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace linecard {

bool Playback::moveToCard(uint16_t ch, const uint8_t* bytes, uint32_t length, uint32_t offset) {
    DriverRequest move{requestCode(fn::MoveData), ch, 1, length, offset, 0};
    return state_.request(move, const_cast<uint8_t*>(bytes), length);
}

int Playback::startPlay(uint16_t ch, const uint8_t* address, uint32_t length, bool speech) {
    ChannelState& channel = state_.channels[ch];
    const uint32_t h = state_.half;
    const uint32_t b = 2 * h;
    const uint16_t marker = speech ? static_cast<uint16_t>(kSpeechValue) : 0;
    if (!state_.enabled || (length > 0 && !address))
        return 0;
    if (state_.alternateBuffering())
        return QueuePlayback(state_).startPlay(ch, address, length, speech);
    if (length <= b) {
        channel.workMode = 0;
        if (!moveToCard(ch, address, length, 0))
            return 0;
        return state_.request(fn::Play, ch, marker, length) ? 1 : 0;
    }
    if (!moveToCard(ch, address, b, 0))
        return 0;
    channel.memorySource = address + b;
    channel.memoryRemaining = length - b;
    channel.halfFlag = 0;
    channel.workMode = 3;
    return state_.request(fn::LoopPlay, ch, marker, b) ? 1 : 0;
}

void Playback::resetStream(uint16_t ch) {
    ChannelState& channel = state_.channels[ch];
    channel.streamState = 0;
    channel.streamRead = channel.streamWrite = channel.streamHeld = 0;
    std::fill(channel.streamRing.begin(), channel.streamRing.end(), kSilence);
}

int Playback::stopPlay(uint16_t ch) {
    ChannelState& channel = state_.channels[ch];
    channel.workMode = 0;
    int result = state_.request(fn::Play, ch, 0, 0) ? 1 : 0;
    if (state_.streamLock) {
        std::lock_guard lock(*state_.streamLock);
        resetStream(ch);
    } else {
        resetStream(ch);
    }
    return result;
}

int Playback::checkPlayEnd(uint16_t ch) {
    return state_.status(ch).playState == kPassEnded;
}

int Playback::startPlayMem(uint16_t ch) {
    if (!state_.streamLock)
        return -1;
    std::lock_guard lock(*state_.streamLock);
    ChannelState& channel = state_.channels[ch];
    try {
        if (channel.streamRing.size() != kStreamRingBytes)
            channel.streamRing.assign(kStreamRingBytes, kSilence);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    resetStream(ch);
    channel.streamState = 1;
    return 0;
}

int Playback::sendToBuff(uint16_t ch, const uint8_t* data, uint32_t length) {
    if (!state_.streamLock)
        return -1;
    std::lock_guard lock(*state_.streamLock);
    ChannelState& channel = state_.channels[ch];
    if (channel.streamState == 0)
        return -1;
    if (length > 0 && !data)
        return LC_BAD_ARGUMENT;
    // The ring cannot hold more than its size; such a call is refused whole.
    if (static_cast<uint64_t>(channel.streamHeld) + length > kStreamRingBytes)
        return -2;
    for (uint32_t i = 0; i < length; ++i) {
        int16_t sample = static_cast<int16_t>((static_cast<int>(data[i]) - 128) * 256);
        channel.streamRing[channel.streamWrite] = CurveCoder::encode(sample);
        channel.streamWrite = (channel.streamWrite + 1) % kStreamRingBytes;
    }
    const uint32_t b = 2 * state_.half;
    if (channel.streamState == 1 && channel.streamHeld + length >= b) {
        channel.streamState = 2;
        channel.streamRead = b % kStreamRingBytes;
        channel.streamHeld = channel.streamHeld + length - b;
        moveToCard(ch, channel.streamRing.data(), b, 0);
        channel.halfFlag = 0;
        channel.workMode = 6;
        state_.request(fn::LoopPlay, ch, 0, b);
    } else {
        channel.streamHeld += length;
    }
    return 1;
}

int Playback::dueHalf(const ChannelState& channel, uint16_t remainder) const {
    if (channel.halfFlag == 0 && remainder < state_.half)
        return 0;
    if (channel.halfFlag == 1 && remainder > state_.half)
        return 1;
    return -1;
}

void Playback::pumpMemory(uint16_t ch, ChannelState& channel) {
    ChannelStatus status = state_.status(ch);
    int half = dueHalf(channel, status.playRemainder);
    if (half < 0)
        return;
    const uint32_t h = state_.half;
    uint32_t m = std::min(channel.memoryRemaining, h);
    moveToCard(ch, channel.memorySource, m, half == 0 ? 0 : h);
    channel.memorySource += m;
    channel.memoryRemaining -= m;
    channel.halfFlag = half == 0 ? 1 : 0;
    if (m < h) {
        state_.request(fn::LoopStop, ch, 0, half == 0 ? 2 * h - m : h - m);
        channel.workMode = 0;
    }
}

void Playback::pumpStream(uint16_t ch, ChannelState& channel) {
    ChannelStatus status = state_.status(ch);
    int half = dueHalf(channel, status.playRemainder);
    if (half < 0)
        return;
    const uint32_t h = state_.half;
    uint8_t copy[30720];
    {
        std::lock_guard lock(*state_.streamLock);
        uint32_t take = std::min(channel.streamHeld, h);
        for (uint32_t i = 0; i < take; ++i)
            copy[i] = channel.streamRing[(channel.streamRead + i) % kStreamRingBytes];
        if (take == h) {
            channel.streamRead = (channel.streamRead + h) % kStreamRingBytes;
            channel.streamHeld -= h;
        } else {
            std::memset(copy + take, kSilence, h - take);
            channel.streamRead = channel.streamWrite = channel.streamHeld = 0;
            std::memset(channel.streamRing.data(), kSilence, 4);
        }
        channel.halfFlag = half == 0 ? 1 : 0;
    }
    moveToCard(ch, copy, h, half == 0 ? 0 : h);
}

void Playback::pump() {
    if (!state_.enabled)
        return;
    for (uint16_t ch = 0; ch < state_.servedChannels; ++ch) {
        ChannelState& channel = state_.channels[ch];
        // A producer thread's SendToBuff may be starting this channel's stream right now.
        uint32_t mode;
        {
            std::lock_guard lock(*state_.streamLock);
            mode = channel.workMode;
        }
        if (state_.alternateBuffering()) {
            if (mode == 1 || mode == 2 || mode == 3 || mode == 6)
                QueuePlayback(state_).pump(ch, channel);
            continue;
        }
        switch (mode) {
        case 1:
            FilePlayback(state_).pumpPlay(ch, channel);
            break;
        case 2:
            FilePlayback(state_).pumpRecord(ch, channel);
            break;
        case 3:
            pumpMemory(ch, channel);
            break;
        case 6:
            pumpStream(ch, channel);
            break;
        default:
            break;
        }
    }
}

} // namespace linecard
