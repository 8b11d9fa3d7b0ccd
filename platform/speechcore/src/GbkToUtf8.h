#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace speechcore {

// GBK (the system code page of the callers) to the UTF-8 that espeak-ng reads.
class GbkToUtf8 {
public:
    // SPEECHCORE_OK and the text in `utf8`, or SPEECHCORE_ERR_ENCODING for a
    // byte sequence that is not GBK (including one cut off at the end).
    static int32_t convert(std::string_view gbk, std::string& utf8);
};

} // namespace speechcore
