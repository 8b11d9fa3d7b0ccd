#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace sayline {

// Short texts are spoken from the slot's memory in one piece; longer ones are
// written to the slot's spill file and spoken sentence by sentence.
class TextSpill {
public:
    // The longest text (in GBK bytes) spoken from memory.
    static constexpr size_t kMemoryLimit = 400;
    // What a slot holds of a text, whether read from a file or kept in memory.
    static constexpr size_t kTextLimit = 102400;

    static bool isLong(std::string_view text) { return text.size() > kMemoryLimit; }

    // Replaces the spill file with the text; false if it cannot be written
    // whole (the caller then keeps the text in memory).
    static bool write(const std::filesystem::path& spillFile, std::string_view text);

    // The slot's copy of a text file: at most kTextLimit bytes; empty if the
    // file cannot be read.
    static std::string read(const std::filesystem::path& textFile);

    // A text kept in memory is cut at the same size.
    static std::string_view keep(std::string_view text) { return text.substr(0, kTextLimit); }
};

} // namespace sayline
