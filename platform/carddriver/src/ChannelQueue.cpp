#include "carddriver/ChannelQueue.h"

#include <algorithm>

namespace carddriver {

void ChannelQueue::reset(size_t playCapacity) {
    *this = ChannelQueue();
    capacity_ = playCapacity;
}

uint32_t ChannelQueue::accept(const uint8_t* bytes, uint32_t count) {
    uint32_t taken = std::min(count, freeSpace());
    play_.insert(play_.end(), bytes, bytes + taken);
    return taken;
}

uint32_t ChannelQueue::take(uint8_t* bytes, uint32_t count) {
    uint32_t given = std::min(count, recorded());
    std::copy_n(record_.begin(), given, bytes);
    record_.erase(record_.begin(), record_.begin() + given);
    return given;
}

void ChannelQueue::startPlay() {
    playing_ = true;
    playEndMarked_ = false;
    played_ = 0;
}

void ChannelQueue::stopPlay() {
    playing_ = false;
    playEndMarked_ = false;
    play_.clear();
}

void ChannelQueue::startRecord() {
    recording_ = true;
    record_.clear();
}

bool ChannelQueue::nextPlayed(uint8_t& byte) {
    if (!playing_)
        return false;
    if (play_.empty()) {
        if (playEndMarked_)
            playing_ = false;
        return false; // an underrun plays silence
    }
    byte = play_.front();
    play_.pop_front();
    ++played_;
    return true;
}

void ChannelQueue::heard(uint8_t byte) {
    if (recording_ && record_.size() < kRecordLimit)
        record_.push_back(byte);
}

} // namespace carddriver
