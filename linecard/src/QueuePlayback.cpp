#include "QueuePlayback.h"

#include "Playback.h"
#include "carddriver/ClockService.h"

#include <algorithm>
#include <cstring>

namespace linecard {

uint32_t QueuePlayback::move(uint16_t ch, uint8_t* bytes, uint32_t length, bool toCard) {
    if (length == 0)
        return 0;
    DriverRequest request{
        requestCode(fn::MoveData), ch, static_cast<uint16_t>(toCard ? 1 : 0), length, 0, 0};
    if (!state_.request(request, bytes, length))
        return 0;
    return std::min(request.Param2, length);
}

uint32_t QueuePlayback::query(uint16_t ch, uint16_t operation, ChannelStatus& status,
                              uint32_t* param2) {
    DriverRequest request{requestCode(fn::ReadStatus), ch, operation, 0, 0, 0};
    status = ChannelStatus{kPassEnded, kPassEnded, 0, 0};
    if (!state_.request(request, &status, sizeof status))
        return 0;
    if (param2)
        *param2 = request.Param2;
    return request.Param1;
}

int QueuePlayback::startPlay(uint16_t ch, const uint8_t* address, uint32_t length, bool speech) {
    ChannelState& channel = state_.channels[ch];
    const uint32_t h = state_.half;
    const uint16_t marker = speech ? kSpeechMarker : 0;
    uint8_t* bytes = const_cast<uint8_t*>(address);
    if (length <= h) {
        channel.workMode = 0;
        move(ch, bytes, length, true);
        bool started = state_.request(fn::Play, ch, marker, length);
        markPlayEnd(ch);
        return started ? 1 : 0;
    }
    uint32_t moved = move(ch, bytes, h, true);
    channel.memorySource = address + moved;
    channel.memoryRemaining = length - moved;
    channel.workMode = 3;
    return state_.request(fn::LoopPlay, ch, marker, 0) ? 1 : 0;
}

int QueuePlayback::startPlayFile(uint16_t ch, const std::string& path, uint32_t offset) {
    ChannelState& channel = state_.channels[ch];
    auto file = std::make_shared<VoiceFile>();
    if (!file->openForPlay(path, state_.waveFormat, offset))
        return 0;
    const uint32_t h = state_.half;
    uint32_t got = file->read(state_.staging.data(), h);
    move(ch, state_.staging.data(), got, true);
    if (got < h) {
        file->close();
        channel.workMode = 0;
        state_.request(fn::Play, ch, 0, got);
        markPlayEnd(ch);
    } else {
        channel.file = file;
        channel.workMode = 1;
        state_.request(fn::LoopPlay, ch, 0, 0);
    }
    channel.filePlayActive = true;
    channel.fileStartOffset = offset;
    channel.fileStartMillis = carddriver::ClockService::nowMicros() / 1000;
    return 1;
}

int64_t QueuePlayback::playFileOffset(uint16_t ch) {
    ChannelStatus status;
    uint32_t played = 0;
    query(ch, 1, status, &played);
    return status.playState == 2 ? played : 0;
}

int QueuePlayback::startRecordFile(uint16_t ch, const std::string& path, uint32_t length) {
    ChannelState& channel = state_.channels[ch];
    auto file = std::make_shared<VoiceFile>();
    if (!file->create(path, state_.waveFormat))
        return 0;
    length &= 0x7FFFFFFFu;
    if (state_.waveFormat == 3 && length <= 1342177279u)
        length *= 2;
    channel.file = file;
    channel.recordRemaining = length;
    channel.workMode = 2;
    return state_.request(fn::LoopRecord, ch, 0, 0) ? 1 : 0;
}

void QueuePlayback::writeToFile(ChannelState& channel, const uint8_t* bytes, uint32_t length) {
    uint32_t skip = std::min(channel.recordSkip, length);
    channel.recordSkip -= skip;
    if (channel.file)
        channel.file->write(bytes + skip, length - skip);
}

void QueuePlayback::pump(uint16_t ch, ChannelState& channel) {
    const uint32_t h = state_.half;
    uint8_t* staging = state_.staging.data();
    ChannelStatus status;
    if (channel.workMode == 2) {
        uint32_t available = query(ch, 1, status);
        if (status.recordState != 7 || available == 0 || channel.recordRemaining == 0)
            return;
        uint32_t got = move(ch, staging, std::min(h, available), false);
        if (got < channel.recordRemaining) {
            writeToFile(channel, staging, got);
            channel.recordRemaining -= got;
            return;
        }
        writeToFile(channel, staging, channel.recordRemaining);
        state_.request(fn::LoopStop, ch, 1, 0);
        state_.request(fn::Record, ch, 1, 0);
        channel.recordRemaining = 0;
        channel.workMode = 0;
        return;
    }
    if (query(ch, 2, status) <= h)
        return;
    switch (channel.workMode) {
    case 1: {
        uint32_t got = channel.file ? channel.file->read(staging, h) : 0;
        move(ch, staging, got, true);
        if (got < h) {
            markPlayEnd(ch);
            if (channel.file)
                channel.file->close();
            channel.file.reset();
            channel.workMode = 0;
        }
        break;
    }
    case 3: {
        uint32_t m = std::min(channel.memoryRemaining, h);
        uint32_t moved = move(ch, const_cast<uint8_t*>(channel.memorySource), m, true);
        channel.memorySource += moved;
        channel.memoryRemaining -= moved;
        if (m < h) {
            markPlayEnd(ch);
            channel.workMode = 0;
        }
        break;
    }
    case 6: {
        {
            std::lock_guard lock(*state_.streamLock);
            uint32_t take = std::min(channel.streamHeld, h);
            for (uint32_t i = 0; i < take; ++i)
                staging[i] =
                    channel.streamRing[(channel.streamRead + i) % Playback::kStreamRingBytes];
            if (take == h) {
                channel.streamRead = (channel.streamRead + h) % Playback::kStreamRingBytes;
                channel.streamHeld -= h;
            } else {
                std::memset(staging + take, Playback::kSilence, h - take);
                channel.streamRead = channel.streamWrite = channel.streamHeld = 0;
                std::memset(channel.streamRing.data(), Playback::kSilence, 4);
            }
        }
        move(ch, staging, h, true);
        break;
    }
    default:
        break;
    }
}

int QueuePlayback::stopRecordFile(uint16_t ch) {
    ChannelState& channel = state_.channels[ch];
    ChannelStatus status;
    query(ch, 0, status);
    if (status.recordState == 7)
        state_.request(fn::Record, ch, 0, 0);
    if (!channel.file) {
        channel.workMode = 0;
        return -1;
    }
    const uint32_t h = state_.half;
    uint8_t* staging = state_.staging.data();
    query(ch, 0, status);
    while (channel.recordRemaining > 0) {
        uint32_t got = move(ch, staging, std::min(h, channel.recordRemaining), false);
        if (got == 0)
            break;
        writeToFile(channel, staging, got);
        channel.recordRemaining -= got;
    }
    state_.request(fn::Record, ch, 1, 0);
    channel.workMode = 0;
    channel.recordRemaining = 0;
    bool closed = channel.file->finishAndClose();
    channel.file.reset();
    return closed ? 1 : 0;
}

} // namespace linecard
