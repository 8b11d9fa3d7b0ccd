#pragma once

#include <cstdint>

// Source of the draw's random picks.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A value uniform over 0 .. n-1; n must be at least 1.
    virtual std::uint32_t below(std::uint32_t n) = 0;
};
