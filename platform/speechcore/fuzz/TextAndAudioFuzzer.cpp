// Arbitrary bytes as caller text (the GBK conversion) and as samples with
// arbitrary slice sizes (rate conversion and mu-law coding of the file sink).
#include "GbkToUtf8.h"
#include "MulawFileSink.h"
#include "speechcore/Speechcore.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool isUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        size_t extra = 0;
        if (lead >= 0xF0 && lead < 0xF5)
            extra = 3;
        else if (lead >= 0xE0 && lead < 0xF0)
            extra = 2;
        else if (lead >= 0xC2 && lead < 0xE0)
            extra = 1;
        else if (lead >= 0x80)
            return false;
        if (i + extra >= s.size() && extra > 0)
            return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

// The WAVE form of the sink needs a real file: one in the folder the fuzzer
// runs in (the build folder under CTest), rewritten by every input.
constexpr const char* kWavePath = "speechcore-fuzz-sink.wav";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string utf8;
    const int32_t result = speechcore::GbkToUtf8::convert(bytes, utf8);
    if (result != SPEECHCORE_OK && result != SPEECHCORE_ERR_ENCODING)
        std::abort();
    if (result == SPEECHCORE_OK && !isUtf8(utf8))
        std::abort();

    if (size < 2)
        return 0;
    const bool wave = (data[0] & 1) != 0;
    const size_t slice = 1 + data[1];
    std::vector<int16_t> samples((size - 2) / 2);
    if (!samples.empty())
        std::memcpy(samples.data(), data + 2, samples.size() * sizeof(int16_t));
    int32_t error = SPEECHCORE_OK;
    auto sink = speechcore::MulawFileSink::open(wave ? kWavePath : "/dev/null", 22050, error);
    if (sink == nullptr)
        std::abort();
    for (size_t at = 0; at < samples.size(); at += slice)
        sink->write(samples.data() + at, std::min(slice, samples.size() - at));
    sink->finish(false);
    return 0;
}
