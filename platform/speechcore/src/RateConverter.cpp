#include "RateConverter.h"

#include <soxr.h>

namespace speechcore {

RateConverter::RateConverter(double inputRate, double outputRate) : ratio_(outputRate / inputRate) {
    soxr_error_t error = nullptr;
    soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    // Dither would add random noise below what mu-law can carry anyway, and
    // would make the same text give different files.
    io.flags |= SOXR_NO_DITHER;
    // Medium quality keeps a flat passband to 3.4 kHz, the whole telephone band,
    // at a fraction of the cost of the high-quality filter.
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_MQ, 0);
    soxr_ = soxr_create(inputRate, outputRate, 1, &error, &io, &quality, nullptr);
    if (error != nullptr)
        soxr_ = nullptr;
}

RateConverter::~RateConverter() {
    soxr_delete(soxr_);
}

bool RateConverter::process(const int16_t* samples, size_t count, std::vector<int16_t>& out) {
    return count == 0 || run(samples, count, out);
}

bool RateConverter::flush(std::vector<int16_t>& out) {
    return run(nullptr, 0, out);
}

bool RateConverter::run(const int16_t* samples, size_t count, std::vector<int16_t>& out) {
    if (soxr_ == nullptr)
        return false;
    size_t consumed = 0;
    do {
        const size_t room = static_cast<size_t>(static_cast<double>(count) * ratio_) + 256;
        const size_t start = out.size();
        out.resize(start + room);
        size_t taken = 0;
        size_t produced = 0;
        const int16_t* in = samples == nullptr ? nullptr : samples + consumed;
        soxr_error_t error =
            soxr_process(soxr_, in, count - consumed, &taken, out.data() + start, room, &produced);
        out.resize(start + produced);
        if (error != nullptr)
            return false;
        consumed += taken;
        if (samples != nullptr && taken == 0 && produced == 0)
            return false; // a filter that neither takes nor gives would spin here forever
        // Flushing ends once the filter has nothing more to give.
        if (samples == nullptr && produced < room)
            return true;
    } while (samples == nullptr || consumed < count);
    return true;
}

} // namespace speechcore
