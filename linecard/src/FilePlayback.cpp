#include "FilePlayback.h"

#include "Playback.h"
#include "QueuePlayback.h"
#include "carddriver/ClockService.h"

#include <algorithm>

namespace linecard {
namespace {
int64_t nowMillis() {
    return carddriver::ClockService::nowMicros() / 1000;
}
} // namespace

bool FilePlayback::moveToCard(uint16_t ch, const uint8_t* bytes, uint32_t length, uint32_t offset) {
    DriverRequest move{requestCode(fn::MoveData), ch, 1, length, offset, 0};
    return state_.request(move, const_cast<uint8_t*>(bytes), length);
}

bool FilePlayback::moveFromCard(uint16_t ch, uint8_t* bytes, uint32_t length, uint32_t offset) {
    DriverRequest move{requestCode(fn::MoveData), ch, 0, length, offset, 0};
    return state_.request(move, bytes, length);
}

int FilePlayback::dueHalf(const ChannelState& channel, uint16_t remainder) const {
    if (channel.halfFlag == 0 && remainder < state_.half)
        return 0;
    if (channel.halfFlag == 1 && remainder > state_.half)
        return 1;
    return -1;
}

int FilePlayback::startPlayFile(uint16_t ch, const std::string& path, uint32_t offset) {
    if (!state_.enabled)
        return 0;
    stopPlayFile(ch);
    if (state_.alternateBuffering())
        return QueuePlayback(state_).startPlayFile(ch, path, offset);
    ChannelState& channel = state_.channels[ch];
    auto file = std::make_shared<VoiceFile>();
    if (!file->openForPlay(path, state_.waveFormat, offset))
        return 0;
    const uint32_t b = 2 * state_.half;
    uint32_t got = file->read(state_.staging.data(), b);
    moveToCard(ch, state_.staging.data(), got, 0);
    if (got < b) {
        file->close();
        channel.workMode = 0;
        state_.request(fn::Play, ch, 0, got);
    } else {
        channel.file = file;
        channel.halfFlag = 0;
        channel.workMode = 1;
        state_.request(fn::LoopPlay, ch, 0, b);
    }
    channel.filePlayActive = true;
    channel.fileStartOffset = offset;
    channel.fileStartMillis = nowMillis();
    return 1;
}

int FilePlayback::stopPlayFile(uint16_t ch) {
    ChannelState& channel = state_.channels[ch];
    channel.workMode = 0;
    Playback(state_).stopPlay(ch);
    // A recording's file is closed only by StopRecordFile, which completes its header.
    if (channel.file && channel.filePlayActive) {
        channel.file->close();
        channel.file.reset();
    }
    channel.filePlayActive = false;
    channel.fileStartOffset = 0;
    channel.fileStartMillis = 0;
    return 1;
}

int64_t FilePlayback::playFileOffset(uint16_t ch) const {
    if (state_.alternateBuffering())
        return QueuePlayback(state_).playFileOffset(ch);
    const ChannelState& channel = state_.channels[ch];
    if (!channel.filePlayActive)
        return 0;
    // The card plays 8000 bytes a second.
    return channel.fileStartOffset + (nowMillis() - channel.fileStartMillis) * 8;
}

void FilePlayback::pumpPlay(uint16_t ch, ChannelState& channel) {
    ChannelStatus status = state_.status(ch);
    int half = dueHalf(channel, status.playRemainder);
    if (half < 0 || !channel.file)
        return;
    const uint32_t h = state_.half;
    uint32_t got = channel.file->read(state_.staging.data(), h);
    moveToCard(ch, state_.staging.data(), got, half == 0 ? 0 : h);
    channel.halfFlag = half == 0 ? 1 : 0;
    if (got < h) {
        channel.file->close();
        channel.file.reset();
        state_.request(fn::LoopStop, ch, 0, half == 0 ? 2 * h - got : h - got);
        channel.workMode = 0;
    }
}

int FilePlayback::startRecordFile(uint16_t ch, const std::string& path, uint32_t length) {
    if (!state_.enabled)
        return 0;
    ChannelState& channel = state_.channels[ch];
    if (channel.file && !channel.filePlayActive)
        stopRecordFile(ch);
    stopPlayFile(ch);
    state_.request(fn::Record, ch, 0, 0);
    if (state_.alternateBuffering())
        return QueuePlayback(state_).startRecordFile(ch, path, length);
    auto file = std::make_shared<VoiceFile>();
    if (!file->create(path, state_.waveFormat))
        return 0;
    length &= 0x7FFFFFFFu;
    if (state_.waveFormat == 3 && length <= 1342177279u)
        length *= 2;
    const uint32_t b = 2 * state_.half;
    channel.file = file;
    channel.recordRemaining = length;
    channel.halfFlag = 0;
    if (length < b) {
        channel.workMode = 0;
        channel.recordLooping = false;
        state_.request(fn::Record, ch, 0, length);
    } else {
        channel.workMode = 2;
        channel.recordLooping = true;
        state_.request(fn::LoopRecord, ch, 0, b);
    }
    return 1;
}

int FilePlayback::checkRecordEnd(uint16_t ch) {
    return state_.status(ch).recordState == kPassEnded ? 1 : 0;
}

void FilePlayback::writeRecorded(ChannelState& channel, const uint8_t* bytes, uint32_t length) {
    uint32_t skip = std::min(channel.recordSkip, length);
    channel.recordSkip -= skip;
    if (channel.file)
        channel.file->write(bytes + skip, length - skip);
}

void FilePlayback::pumpRecord(uint16_t ch, ChannelState& channel) {
    ChannelStatus status = state_.status(ch);
    const uint32_t h = state_.half;
    const uint32_t b = 2 * h;
    if (status.recordState == kPassEnded && status.recordRemainder == 0 &&
        channel.recordRemaining > 0) {
        channel.halfFlag = 0;
        channel.recordLooping = true;
        state_.request(fn::LoopRecord, ch, 0, b);
        return;
    }
    int half = dueHalf(channel, status.recordRemainder);
    if (half < 0)
        return;
    moveFromCard(ch, state_.staging.data(), h, half == 0 ? 0 : h);
    writeRecorded(channel, state_.staging.data(), h);
    channel.halfFlag = half == 0 ? 1 : 0;
    channel.recordRemaining = channel.recordRemaining > h ? channel.recordRemaining - h : 0;
    if (channel.recordRemaining < b) {
        uint32_t stop = (half == 0 ? 3 * h : 2 * h) - channel.recordRemaining;
        state_.request(fn::LoopStop, ch, 1, stop);
        channel.workMode = 0;
    }
}

int FilePlayback::stopRecordFile(uint16_t ch) {
    if (state_.alternateBuffering())
        return QueuePlayback(state_).stopRecordFile(ch);
    ChannelState& channel = state_.channels[ch];
    channel.workMode = 0;
    ChannelStatus status = state_.status(ch);
    state_.request(fn::Record, ch, 0, 0);
    const uint32_t r = status.recordRemainder;
    if (!channel.file)
        return -1;
    const uint32_t h = state_.half;
    const uint32_t b = 2 * h;
    uint8_t* card = state_.staging.data();
    moveFromCard(ch, card, b, 0);
    const uint32_t remaining = channel.recordRemaining;
    // Counts are bounded by the buffer: a channel stopped at an odd moment
    // writes less, never memory beyond the staging copy.
    auto write = [&](uint32_t offset, uint64_t count) {
        uint32_t bounded = static_cast<uint32_t>(std::min<uint64_t>(count, b - offset));
        writeRecorded(channel, card + offset, bounded);
    };
    if (channel.halfFlag == 1) {
        if (r == 0) {
            uint32_t first = std::min(remaining, h);
            write(h, first);
            if (remaining > first)
                write(0, std::min(remaining - first, h));
        } else if (r < h) {
            write(h, h - r);
        } else {
            write(h, h);
            write(0, r <= b ? b - r : 0);
        }
    } else {
        uint32_t pass = channel.recordLooping ? b : remaining;
        if (r != 0)
            write(0, pass > r ? pass - r : 0);
        else
            write(0, remaining);
    }
    channel.recordRemaining = 0;
    bool closed = channel.file->finishAndClose();
    channel.file.reset();
    return closed ? 1 : 0;
}

} // namespace linecard
