#pragma once
#include "LibraryState.h"

#include <string>

namespace linecard {

// Sends sections of a DSP program file to the cards in chunks of at most 2048 bytes.
class DspDownloader {
public:
    static constexpr uint32_t kChunkBytes = 2048;

    explicit DspDownloader(LibraryState& state) : state_(state) {}
    // 0, or -1 (file does not open), -2 (bad format), -3 (section missing or refused).
    int download(const std::string& fileName, int section, uint16_t card, uint32_t memory,
                 uint32_t maxBytes = 0xFFFFFFFF);
    // The DSP start request; returns its result value.
    int start();

private:
    LibraryState& state_;
};

} // namespace linecard
