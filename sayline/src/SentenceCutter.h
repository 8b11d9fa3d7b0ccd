#pragma once

#include <cstddef>
#include <string_view>

namespace sayline {

// Cuts GBK text into the sentences that are synthesised one at a time while
// the previous one plays. A sentence ends before a mark, which is dropped:
// the full-width "，" "、" "！" "；" or the ASCII "!" "?" ";". The full stop
// "。" is not a mark, and spaces stay in the sentence.
class SentenceCutter {
public:
    struct Sentence {
        // The sentence's bytes; empty for a mark that follows another mark or
        // starts the text, which is silent and does not end the text.
        std::string_view text;
        // Where the next sentence starts: past the dropped mark.
        size_t next;
    };

    // The sentence that starts at `start` (which must not lie past the end).
    static Sentence cut(std::string_view text, size_t start);
};

} // namespace sayline
