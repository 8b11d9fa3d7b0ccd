#include "PageRaster.h"

#include <algorithm>
#include <cstring>

namespace faxform {

DecodeStatus PageRaster::appendCoded(FaxCoding coding, const std::uint8_t* data, std::size_t size,
                                     std::size_t maxLines) {
    FaxDecoder decoder(coding, data, size);
    for (std::size_t decoded = 0; decoded < maxLines; ++decoded) {
        // A line beyond the buffer is still decoded, to tell a full page
        // from one that does not fit.
        std::uint8_t* target = lines_ < capacityLines_ ? buffer_ + lines_ * kLineBytes : spareLine_;
        const LineResult result = decoder.nextLine(target);
        if (result == LineResult::EndOfPage) {
            break;
        }
        if (result == LineResult::Corrupt) {
            return DecodeStatus::Corrupt;
        }
        if (lines_ == capacityLines_) {
            return DecodeStatus::TooLarge;
        }
        ++lines_;
    }
    return DecodeStatus::Ok;
}

DecodeStatus PageRaster::appendUncoded(const std::uint8_t* data, std::size_t size,
                                       std::size_t maxLines) {
    const std::size_t count = std::min(size / kLineBytes, maxLines);
    if (count > capacityLines_ - lines_) {
        return DecodeStatus::TooLarge;
    }
    std::memcpy(buffer_ + lines_ * kLineBytes, data, count * kLineBytes);
    lines_ += count;
    return DecodeStatus::Ok;
}

void PageRaster::invert() {
    for (std::size_t i = 0; i < lines_ * kLineBytes; ++i) {
        buffer_[i] = static_cast<std::uint8_t>(~buffer_[i]);
    }
}

} // namespace faxform
