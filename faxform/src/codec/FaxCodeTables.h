#pragma once

#include <cstdint>

namespace faxform {

// One run-length code of ITU-T T.4: `bits` holds the `length` code bits,
// first transmitted bit most significant.
struct RunCode {
    std::uint16_t bits;
    std::uint8_t length;
    std::uint16_t run;
};

// A decoding table entry; length 0 marks a bit pattern that is no code.
struct RunTableEntry {
    std::int16_t run;
    std::uint8_t length;
};

enum class ModeCode : std::uint8_t {
    Invalid,
    Pass,
    Horizontal,
    Vertical0,
    VerticalRight1,
    VerticalRight2,
    VerticalRight3,
    VerticalLeft1,
    VerticalLeft2,
    VerticalLeft3,
};

struct ModeTableEntry {
    ModeCode mode;
    std::uint8_t length;
};

inline constexpr unsigned kWhiteLookupBits = 12;
inline constexpr unsigned kBlackLookupBits = 13;
inline constexpr unsigned kModeLookupBits = 7;
inline constexpr std::uint32_t kEolCode = 1; // 000000000001
inline constexpr unsigned kEolLength = 12;

// Lookup tables indexed by the next kWhiteLookupBits / kBlackLookupBits /
// kModeLookupBits bits of the data.
const RunTableEntry* whiteRunTable();
const RunTableEntry* blackRunTable();
const ModeTableEntry* modeTable();

// The encoder's view: the code for a terminating run (0..63) or a make-up
// run (a multiple of 64 up to 2560).
const RunCode& terminatingCode(bool black, int run);
const RunCode& makeUpCode(bool black, int run);

// The whole code of a run of 0..kLineWidth pixels, make-up code and
// terminating code together (at most 25 bits), one lookup per run.
struct LineRunCode {
    std::uint32_t bits;
    std::uint8_t length;
};
const LineRunCode* lineRunCodes(bool black);

} // namespace faxform
