#pragma once

#include <cstddef>
#include <cstdint>

namespace sayline {

// The engine writes G.711 mu-law; the card plays A-law. Entry i is an A-law
// code within one code step of minus the value of mu-law code i.
class MulawToAlaw {
public:
    static uint8_t map(uint8_t mulaw);
    static void mapInPlace(uint8_t* bytes, size_t count);
};

} // namespace sayline
