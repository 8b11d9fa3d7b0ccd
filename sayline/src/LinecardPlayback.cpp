#include "LinecardPlayback.h"

namespace sayline {

void LinecardPlayback::startPlay(int channel, const uint8_t* samples, uint32_t length) {
    std::lock_guard lock(mutex_);
    library_.startPlay(channel, samples, length);
}

void LinecardPlayback::stopPlay(int channel) {
    std::lock_guard lock(mutex_);
    library_.stopPlay(channel);
}

bool LinecardPlayback::playEnded(int channel) {
    std::lock_guard lock(mutex_);
    return library_.checkPlayEnd(channel) != 0;
}

void LinecardPlayback::pushPlay() {
    std::lock_guard lock(mutex_);
    library_.pushPlay();
}

void LinecardPlayback::stopPlayFile(int channel) {
    std::lock_guard lock(mutex_);
    library_.stopPlayFile(channel);
}

} // namespace sayline
