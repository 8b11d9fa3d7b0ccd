#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace faxform::test {

inline constexpr int kWidth = 1728;
inline constexpr std::size_t kRowBytes = kWidth / 8;

// A bilevel page as the eye sees it: 1 = black, leftmost pixel in the most
// significant bit, kRowBytes per line.
struct FaxTestPage {
    std::size_t lines = 0;
    std::vector<std::uint8_t> bits;

    bool pixel(std::size_t line, int x) const {
        return (bits[line * kRowBytes + static_cast<std::size_t>(x) / 8] >> (7 - x % 8)) & 1;
    }
    void setPixel(std::size_t line, int x) {
        bits[line * kRowBytes + static_cast<std::size_t>(x) / 8] |=
            static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    bool operator==(const FaxTestPage&) const = default;
};

// A page that exercises the codes: every run length from 0 to 1728 of both
// colours, lines starting black, single pixels at both edges, alternating
// pixels, all-black and all-white lines, and text-like glyph rows drawn from
// `seed`.
FaxTestPage makeMixedPage(std::size_t lines, unsigned seed);

// A dense page of text-like glyph rows, as a typed letter at fine resolution.
FaxTestPage makeDenseTextPage(std::size_t lines, unsigned seed);

// A typed letter at fine resolution: 5 x 7 glyphs drawn three times their
// size, about 80 characters a line, a text line every 33 scan lines.
FaxTestPage makeLetterPage(std::size_t lines, unsigned seed);

// The first line where two pages differ, or -1.
long firstDifferingLine(const FaxTestPage& a, const FaxTestPage& b);

} // namespace faxform::test
