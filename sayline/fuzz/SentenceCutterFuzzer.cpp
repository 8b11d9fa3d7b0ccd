// Arbitrary bytes as a text file to speak: the cutter must always move on,
// stay inside the text, and drop nothing but the marks.
#include "SentenceCutter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start < text.size()) {
        const auto sentence = sayline::SentenceCutter::cut(text, start);
        if (sentence.next <= start || sentence.next > text.size())
            std::abort();
        if (sentence.text.data() != text.data() + start)
            std::abort();
        const size_t dropped = sentence.next - start - sentence.text.size();
        if (dropped > 2 || (dropped == 0 && sentence.next != text.size()))
            std::abort();
        start = sentence.next;
    }
    return 0;
}
