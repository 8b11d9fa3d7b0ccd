#pragma once

#include "FaxDecoder.h"

#include <cstddef>
#include <cstdint>

namespace faxform {

enum class DecodeStatus { Ok, TooLarge, Corrupt };

// The raster of one page, kLineBytes per line, kept in a work buffer.
class PageRaster {
public:
    PageRaster(std::uint8_t* buffer, std::size_t capacityLines)
        : buffer_(buffer), capacityLines_(capacityLines) {}

    // Appends the lines of one coded stream, at most `maxLines` of them.
    DecodeStatus appendCoded(FaxCoding coding, const std::uint8_t* data, std::size_t size,
                             std::size_t maxLines);
    // Appends whole uncoded lines of kLineBytes, at most `maxLines` of them.
    DecodeStatus appendUncoded(const std::uint8_t* data, std::size_t size, std::size_t maxLines);

    // For BlackIsZero pages.
    void invert();

    const std::uint8_t* data() const { return buffer_; }
    std::size_t lines() const { return lines_; }

private:
    std::uint8_t* buffer_;
    std::size_t capacityLines_;
    std::size_t lines_ = 0;
    std::uint8_t spareLine_[kLineBytes] = {};
};

} // namespace faxform
