#include "LiveRecording.h"

namespace linecard {

int LiveRecording::setRefreshSize(int32_t size) {
    if (!state_.enabled)
        return -1;
    if (size <= 0 || size % 512 != 0)
        return -2;
    if (static_cast<uint32_t>(size) > state_.half)
        return -3;
    if ((2 * state_.half) % static_cast<uint32_t>(size) != 0)
        return -4;
    state_.liveChunk = static_cast<uint32_t>(size);
    return 0;
}

int LiveRecording::start(uint16_t ch) {
    stop(ch);
    if (recordModeCard())
        state_.request(fn::RecordMode, ch, 0xFF01);
    const uint32_t b = 2 * state_.half;
    state_.channels[ch].liveMark = b;
    return state_.request(fn::LoopRecord, ch, 0, b) ? 1 : 0;
}

int LiveRecording::stop(uint16_t ch) {
    if (recordModeCard())
        state_.request(fn::RecordMode, ch, 0xFF00);
    return state_.request(fn::Record, ch, 0, 0) ? 1 : 0;
}

int LiveRecording::take(uint16_t ch, uint8_t* destination) {
    const uint32_t size = state_.liveChunk;
    const uint32_t b = 2 * state_.half;
    if (size == 0 || !destination)
        return 0;
    ChannelStatus status = state_.status(ch);
    uint32_t& mark = state_.channels[ch].liveMark;
    const uint32_t r = status.recordRemainder;
    if (mark == r)
        return 0;
    uint32_t available = mark > r ? mark - r : mark + b - r;
    if (available < size)
        return 0;
    // The mark stays a multiple of the chunk size, so a chunk never runs past the buffer.
    if (mark > b || b - mark + size > b)
        return 0;
    DriverRequest move{requestCode(fn::MoveData), ch, 0, size, b - mark, 0};
    if (!state_.request(move, destination, size))
        return 0;
    mark = size >= mark ? mark + b - size : mark - size;
    return static_cast<int>(size);
}

int LiveRecording::setEcrMode(uint16_t ch, int mode, uint32_t p1, uint32_t p2) {
    if (!recordModeCard())
        return 0;
    return state_.request(fn::RecordMode, ch, static_cast<uint16_t>(mode & 0xFF), p1, p2) ? 1 : 0;
}

} // namespace linecard
