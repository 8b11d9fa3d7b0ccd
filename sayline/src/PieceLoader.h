#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace sayline {

// Loads the engine's mu-law output of one piece into a slot's audio buffer
// as card A-law.
class PieceLoader {
public:
    // The largest piece a slot plays; the rest of a longer piece is dropped.
    static constexpr size_t kMaxPieceBytes = 512000;

    // The number of bytes loaded into `buffer` (at most `capacity`). An
    // engine that produced no file gives an empty piece: 0.
    static size_t load(const std::filesystem::path& mulawFile, uint8_t* buffer, size_t capacity);
};

} // namespace sayline
