#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace faxform {

// Codes a raster as the card's page data: one-dimensional MH, least
// significant bit first, starting with 00 80 (the first EOL), each line
// followed by its EOL and the page closed by 00 08 80 written four times.
class MhEncoder {
public:
    // Returns the number of bytes written to `out`, or nothing when they do
    // not fit into `capacity`.
    static std::optional<std::size_t> encodePage(const std::uint8_t* raster, std::size_t lines,
                                                 std::uint8_t* out, std::size_t capacity);
};

} // namespace faxform
