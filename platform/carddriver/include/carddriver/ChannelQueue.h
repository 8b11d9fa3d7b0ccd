#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>

namespace carddriver {

// A channel's data in the card's queue mode: play data waits in a queue of
// bounded size and is played until the end is marked and it runs dry;
// recorded bytes pile up until the library takes them.
class ChannelQueue {
public:
    static constexpr uint16_t kPlaying = 2;
    static constexpr uint16_t kRecording = 7;
    static constexpr uint16_t kEnded = 5;
    // Recorded bytes kept for the library at most (a minute of audio).
    static constexpr size_t kRecordLimit = 8000 * 60;

    void reset(size_t playCapacity);
    // Takes up to `count` bytes into the play queue; how many it took.
    uint32_t accept(const uint8_t* bytes, uint32_t count);
    // Hands up to `count` recorded bytes; how many it gave.
    uint32_t take(uint8_t* bytes, uint32_t count);
    void startPlay();
    void stopPlay();
    void markPlayEnd() { playEndMarked_ = true; }
    void startRecord();
    void stopRecord() { recording_ = false; }

    // One sample period: the byte played (false when nothing plays) and the byte heard.
    bool nextPlayed(uint8_t& byte);
    void heard(uint8_t byte);

    uint16_t playState() const { return playing_ ? kPlaying : kEnded; }
    uint16_t recordState() const { return recording_ ? kRecording : kEnded; }
    uint32_t freeSpace() const { return static_cast<uint32_t>(capacity_ - play_.size()); }
    uint32_t recorded() const { return static_cast<uint32_t>(record_.size()); }
    uint32_t playedBytes() const { return played_; }

private:
    size_t capacity_ = 0;
    std::deque<uint8_t> play_;
    std::deque<uint8_t> record_;
    bool playing_ = false;
    bool playEndMarked_ = false;
    bool recording_ = false;
    uint32_t played_ = 0;
};

} // namespace carddriver
