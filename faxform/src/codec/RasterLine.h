#pragma once

#include <cstdint>

namespace faxform {

// A raster line of kLineWidth pixels, 1 = black, most-significant bit the
// leftmost pixel. Changes are the positions where the colour flips, the first
// one from white to black.

// Sets the line from its `count` ascending changes.
void renderChanges(const int* changes, int count, std::uint8_t* line);

// The first position at or after `from` whose colour is not `black`, or
// kLineWidth when there is none.
int nextChange(const std::uint8_t* line, int from, bool black);

} // namespace faxform
