#pragma once

#include <cstddef>
#include <cstdint>

namespace faxform {

// Fax data is stored least-significant bit first on the card and in
// FillOrder 2 TIFFs; the codecs work most-significant bit first.
void reverseBitOrder(std::uint8_t* data, std::size_t size);

std::uint8_t reversedByte(std::uint8_t value);

} // namespace faxform
