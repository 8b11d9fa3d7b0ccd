#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct soxr;

namespace speechcore {

// Streams 16-bit mono samples from espeak-ng's rate down to another rate.
class RateConverter {
public:
    RateConverter(double inputRate, double outputRate);
    ~RateConverter();
    RateConverter(const RateConverter&) = delete;
    RateConverter& operator=(const RateConverter&) = delete;

    bool isValid() const { return soxr_ != nullptr; }
    // Appends the output for `count` more input samples to `out`.
    bool process(const int16_t* samples, size_t count, std::vector<int16_t>& out);
    // Appends what the filter still holds after the last input.
    bool flush(std::vector<int16_t>& out);

private:
    bool run(const int16_t* samples, size_t count, std::vector<int16_t>& out);

    soxr* soxr_ = nullptr;
    double ratio_;
};

} // namespace speechcore
