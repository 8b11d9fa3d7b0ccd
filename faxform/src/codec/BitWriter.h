#pragma once

#include <cstddef>
#include <cstdint>

namespace faxform {

// Writes codes most-significant bit first into a fixed buffer; writing past
// its end sets overflowed() and drops the bits.
class BitWriter {
public:
    BitWriter(std::uint8_t* out, std::size_t capacity) : out_(out), capacity_(capacity) {}

    // length is at most 32.
    void put(std::uint32_t code, unsigned length) {
        bits_ = (bits_ << length) | code;
        pending_ += length;
        if (pending_ >= 32) {
            pending_ -= 32;
            emitWord(static_cast<std::uint32_t>(bits_ >> pending_));
        }
    }

    // Pads with zero bits and writes out every pending byte.
    void padToByte() {
        if (pending_ % 8 != 0) {
            put(0, 8 - pending_ % 8);
        }
        while (pending_ >= 8) {
            pending_ -= 8;
            emit(static_cast<std::uint8_t>(bits_ >> pending_));
        }
    }

    void putByte(std::uint8_t value) { put(value, 8); }

    // Bytes written so far; call padToByte() first for the whole code.
    std::size_t size() const { return size_; }
    bool overflowed() const { return overflowed_; }

private:
    void emitWord(std::uint32_t word) {
        if (capacity_ - size_ >= 4) {
            out_[size_] = static_cast<std::uint8_t>(word >> 24);
            out_[size_ + 1] = static_cast<std::uint8_t>(word >> 16);
            out_[size_ + 2] = static_cast<std::uint8_t>(word >> 8);
            out_[size_ + 3] = static_cast<std::uint8_t>(word);
            size_ += 4;
        } else {
            overflowed_ = true;
        }
    }

    void emit(std::uint8_t value) {
        if (size_ < capacity_) {
            out_[size_++] = value;
        } else {
            overflowed_ = true;
        }
    }

    std::uint8_t* out_;
    std::size_t capacity_;
    std::size_t size_ = 0;
    std::uint64_t bits_ = 0;
    unsigned pending_ = 0;
    bool overflowed_ = false;
};

} // namespace faxform
