#pragma once

#include "CardPlayback.h"
#include "LinecardLibrary.h"

#include <mutex>

namespace sayline {

// Linecard's memory playback behind the slots' API side. Linecard shares one
// driver request record between all its calls, so the calls of channels
// served from different threads are taken one at a time.
class LinecardPlayback : public CardPlayback {
public:
    explicit LinecardPlayback(const LinecardLibrary& library) : library_(library) {}

    void startPlay(int channel, const uint8_t* samples, uint32_t length) override;
    void stopPlay(int channel) override;
    bool playEnded(int channel) override;
    void pushPlay() override;
    void stopPlayFile(int channel);

private:
    const LinecardLibrary& library_;
    std::mutex mutex_;
};

} // namespace sayline
