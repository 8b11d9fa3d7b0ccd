#include "carddriver/SerialMemory.h"

#include <cstddef>

namespace carddriver {

void SerialMemory::setWord(int index, uint16_t word) {
    if (index >= 0 && index < static_cast<int>(words_.size()))
        words_[static_cast<size_t>(index)] = word;
}

void SerialMemory::write(uint8_t value) {
    bool rising = (value & kClock) && !(last_ & kClock);
    last_ = value;
    if (!(value & kSelect)) {
        phase_ = Phase::WaitStart;
        dataOut_ = false;
        return;
    }
    if (!rising)
        return;
    bool bit = (value & kDataIn) != 0;
    switch (phase_) {
    case Phase::WaitStart:
        if (bit) {
            phase_ = Phase::Command;
            bitsIn_ = 0;
            command_ = 0;
        }
        break;
    case Phase::Command:
        command_ = static_cast<uint8_t>((command_ << 1) | (bit ? 1 : 0));
        if (++bitsIn_ == 8) {
            if ((command_ & 0xC0) == 0x80) {
                shift_ = words_[command_ & 0x3F];
                bitsOut_ = 0;
                phase_ = Phase::Output;
            } else {
                phase_ = Phase::WaitStart; // enable / disable writes: nothing to model
            }
        }
        break;
    case Phase::Output:
        if (bitsOut_ < 16) {
            dataOut_ = (shift_ & (0x8000 >> bitsOut_)) != 0;
            ++bitsOut_;
        } else {
            dataOut_ = false;
        }
        break;
    }
}

uint8_t SerialMemory::read() const {
    return static_cast<uint8_t>((last_ & ~kDataOut) | (dataOut_ ? kDataOut : 0));
}

} // namespace carddriver
