#pragma once

#include <filesystem>

namespace sayline {

// A .voc file is the card's own format: raw A-law samples at 8000 Hz with no
// header. It is made from the engine's mu-law output.
class VocFileConverter {
public:
    static constexpr size_t kBlockBytes = 512000;

    // Writes the mapped copy of `mulawFile` to `vocFile` (created or
    // emptied); false if either cannot be opened or a write fails, in which
    // case no partial target is left behind.
    static bool convert(const std::filesystem::path& mulawFile,
                        const std::filesystem::path& vocFile);
};

} // namespace sayline
