#include "FaxTestPage.h"

#include <algorithm>

namespace faxform::test {
namespace {

class Lcg {
public:
    explicit Lcg(unsigned seed) : state_(seed * 2654435761u + 1) {}
    unsigned next(unsigned bound) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % bound;
    }

private:
    unsigned state_;
};

void fillRun(FaxTestPage& page, std::size_t line, int from, int to) {
    for (int x = std::max(from, 0); x < std::min(to, kWidth); ++x) {
        page.setPixel(line, x);
    }
}

// Rows of 7-line glyphs of 5 pixels plus a gap, spaced like typed text.
void drawTextRow(FaxTestPage& page, std::size_t top, Lcg& random, int glyphWidth) {
    for (int x = 40; x + glyphWidth < kWidth - 40; x += glyphWidth + 2) {
        if (random.next(8) == 0) {
            continue; // a space between words
        }
        const unsigned pattern = random.next(1u << 30);
        for (int row = 0; row < 14 && top + row < page.lines; ++row) {
            for (int column = 0; column < glyphWidth; ++column) {
                const unsigned bit = (static_cast<unsigned>(row / 2) * 5u +
                                      static_cast<unsigned>(column * 5 / glyphWidth)) %
                                     30u;
                if ((pattern >> bit) & 1u) {
                    page.setPixel(top + static_cast<std::size_t>(row), x + column);
                }
            }
        }
    }
}

// Glyph rows as letters have them: stems, bars, bowls and diagonals.
constexpr unsigned kGlyphRows[] = {0b10001, 0b11111, 0b00100, 0b10000, 0b01110,
                                   0b00001, 0b10101, 0b01010, 0b11110, 0b10010};

void drawLetterRow(FaxTestPage& page, std::size_t top, Lcg& random) {
    constexpr int scale = 3;
    for (int x = 100; x + 5 * scale < kWidth - 100; x += 6 * scale + 2) {
        if (random.next(6) == 0) {
            continue;
        }
        unsigned rows[7];
        for (unsigned& row : rows) {
            row = kGlyphRows[random.next(10)];
        }
        for (int row = 0; row < 7 * scale && top + static_cast<std::size_t>(row) < page.lines;
             ++row) {
            for (int column = 0; column < 5 * scale; ++column) {
                if ((rows[row / scale] >> (4 - column / scale)) & 1u) {
                    page.setPixel(top + static_cast<std::size_t>(row), x + column);
                }
            }
        }
    }
}

} // namespace

FaxTestPage makeLetterPage(std::size_t lines, unsigned seed) {
    FaxTestPage page;
    page.lines = lines;
    page.bits.assign(lines * kRowBytes, 0);
    Lcg random(seed);
    for (std::size_t top = 120; top + 40 < lines - 120; top += 33) {
        drawLetterRow(page, top, random);
    }
    return page;
}

FaxTestPage makeMixedPage(std::size_t lines, unsigned seed) {
    FaxTestPage page;
    page.lines = lines;
    page.bits.assign(lines * kRowBytes, 0);
    Lcg random(seed);
    for (std::size_t line = 0; line < lines; ++line) {
        switch (line % 16) {
        case 0: {
            // A white run of every length, the rest black (or the reverse).
            const int run = static_cast<int>((line / 16 * 37 + seed) % (kWidth + 1));
            if (line / 16 % 2) {
                fillRun(page, line, run, kWidth);
            } else {
                fillRun(page, line, 0, run);
            }
            break;
        }
        case 1:
            // From pixel 1: libtiff's MH decoder has no room for the 1729
            // runs of a line that alternates from pixel 0.
            for (int x = 1; x < kWidth; x += 2) {
                page.setPixel(line, x);
            }
            break;
        case 2:
            page.setPixel(line, 0);
            page.setPixel(line, kWidth - 1);
            break;
        case 3:
            fillRun(page, line, 0, kWidth);
            break;
        case 4:
            break;
        case 5: {
            // Runs of random lengths, starting with either colour.
            int x = static_cast<int>(random.next(2));
            bool black = true;
            while (x < kWidth) {
                const int run = 1 + static_cast<int>(random.next(line % 3 == 0 ? 300 : 12));
                if (black) {
                    fillRun(page, line, x, x + run);
                }
                x += run;
                black = !black;
            }
            break;
        }
        default:
            break;
        }
    }
    // Text rows over the lines left white, so vertical modes get their share.
    for (std::size_t top = 6; top + 10 < lines; top += 16) {
        drawTextRow(page, top, random, 5 + static_cast<int>(top % 7));
    }
    return page;
}

FaxTestPage makeDenseTextPage(std::size_t lines, unsigned seed) {
    FaxTestPage page;
    page.lines = lines;
    page.bits.assign(lines * kRowBytes, 0);
    Lcg random(seed);
    for (std::size_t top = 60; top + 20 < lines - 60; top += 18) {
        drawTextRow(page, top, random, 9);
    }
    return page;
}

long firstDifferingLine(const FaxTestPage& a, const FaxTestPage& b) {
    const std::size_t common = std::min(a.lines, b.lines);
    for (std::size_t line = 0; line < common; ++line) {
        if (!std::equal(a.bits.begin() + static_cast<long>(line * kRowBytes),
                        a.bits.begin() + static_cast<long>((line + 1) * kRowBytes),
                        b.bits.begin() + static_cast<long>(line * kRowBytes))) {
            return static_cast<long>(line);
        }
    }
    return a.lines == b.lines ? -1 : static_cast<long>(common);
}

} // namespace faxform::test
