#pragma once

#include <cstddef>
#include <cstdint>

namespace faxform {

// Every page the card sends or receives is an A4 line of 1728 pixels.
inline constexpr int kLineWidth = 1728;
inline constexpr std::size_t kLineBytes = kLineWidth / 8;

// The card's work buffers: one for the raster, one for the coded data.
inline constexpr std::size_t kWorkBufferSize = 0x200000;
inline constexpr std::size_t kMaxRasterLines = kWorkBufferSize / kLineBytes;

// The bit reader loads four bytes at a time, so coded data is followed by
// this many zero bytes.
inline constexpr std::size_t kReadPadding = 8;

} // namespace faxform
