#include "WorkBuffer.h"

#include "../codec/FaxPage.h"

#include <cstring>
#include <new>

namespace faxform {

bool WorkBuffer::allocate(std::size_t size) {
    data_.reset(new (std::nothrow) std::uint8_t[size + kReadPadding]);
    size_ = data_ ? size : 0;
    return data_ != nullptr;
}

void WorkBuffer::padAfter(std::size_t used) {
    std::memset(data_.get() + used, 0, kReadPadding);
}

} // namespace faxform
