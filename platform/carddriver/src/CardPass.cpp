#include "carddriver/CardPass.h"

namespace carddriver {

void CardPass::startSingle(uint32_t length) {
    active_ = length > 0;
    looped_ = false;
    length_ = length;
    position_ = 0;
    stopArmed_ = false;
}

void CardPass::startLooped(uint32_t length) {
    startSingle(length);
    looped_ = active_;
}

void CardPass::stop() {
    active_ = false;
    stopArmed_ = false;
    position_ = 0;
}

void CardPass::setLoopStop(uint32_t unusedBytes) {
    if (!active_)
        return;
    stopArmed_ = true;
    stopAt_ = unusedBytes >= length_ ? length_ : length_ - unusedBytes;
    if (stopAt_ == 0)
        stopAt_ = length_;
}

int CardPass::step() {
    if (!active_)
        return -1;
    int used = static_cast<int>(position_);
    ++position_;
    if (stopArmed_ && position_ == stopAt_) {
        active_ = false;
        stopArmed_ = false;
        position_ = 0;
    } else if (position_ >= length_) {
        if (looped_)
            position_ = 0;
        else
            active_ = false, position_ = 0;
    }
    return used;
}

} // namespace carddriver
