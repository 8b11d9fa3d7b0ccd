#pragma once

#include "RandomSource.h"

// Draws from the operating system's cryptographic generator (getrandom), with
// rejection sampling so that every value below n is equally likely.
class SecureRandomSource : public RandomSource {
public:
    std::uint32_t below(std::uint32_t n) override;
};
