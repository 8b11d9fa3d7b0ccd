#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace faxform {

// One of a conversion's two work buffers, followed by the zero padding the
// bit reader needs.
class WorkBuffer {
public:
    // False when the memory could not be had.
    bool allocate(std::size_t size);

    std::uint8_t* data() { return data_.get(); }
    std::size_t size() const { return size_; }

    // Zeroes the padding behind the first `used` bytes.
    void padAfter(std::size_t used);

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_ = 0;
};

} // namespace faxform
