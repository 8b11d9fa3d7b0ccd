#pragma once

#include <cstddef>
#include <cstdint>

namespace speechcore {

// Where one synthesis run sends espeak-ng's 16-bit samples.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    // SPEECHCORE_OK, or the error that ends the run.
    virtual int32_t write(const int16_t* samples, size_t count) = 0;
    // Ends the run; `stopped` when it was cut short. Result as for write.
    virtual int32_t finish(bool stopped) = 0;
};

} // namespace speechcore
