#pragma once

#include <cstddef>
#include <cstdint>

namespace faxform {

// Reads coded fax data most-significant bit first. The data must be followed
// by kReadPadding readable bytes; bits past the end are never trusted: the
// caller asks overrun() after consuming.
class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size) : data_(data), sizeBits_(size * 8) {}

    // n is at most 24.
    std::uint32_t peek(unsigned n) const {
        const std::uint8_t* p = data_ + (position_ >> 3);
        std::uint32_t word = (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
                             (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
        word <<= position_ & 7;
        return word >> (32 - n);
    }

    void consume(unsigned n) { position_ += n; }

    bool atEnd() const { return position_ >= sizeBits_; }
    bool overrun() const { return position_ > sizeBits_; }

    // Skips zero bits; returns false when only zero bits are left.
    bool skipZeros() {
        while (position_ < sizeBits_) {
            if (peek(1)) {
                return true;
            }
            ++position_;
        }
        return false;
    }

    void alignToByte() { position_ = (position_ + 7) & ~std::size_t{7}; }

private:
    const std::uint8_t* data_;
    std::size_t sizeBits_;
    std::size_t position_ = 0;
};

} // namespace faxform
