// The codecs on their own: libtiff's strips of every coding decoded straight
// to the raster, the MH encoder's output decoded back, and hand-made code
// sequences that must be taken or refused exactly.
#include "codec/BitOrder.h"
#include "codec/FaxDecoder.h"
#include "codec/FaxPage.h"
#include "codec/MhEncoder.h"
#include "codec/PageRaster.h"
#include "support/BfxFile.h"
#include "support/FaxTestPage.h"
#include "support/LibtiffFiles.h"

#include <gtest/gtest.h>

namespace faxform::test {
namespace {

// Lines libtiff's own MH reader cannot take and diagonals for every vertical mode.
FaxTestPage makeExtremePage() {
    FaxTestPage page = makeMixedPage(120, 5);
    for (std::size_t line = 0; line < 40; ++line) {
        std::uint8_t* row = page.bits.data() + line * kRowBytes;
        std::fill(row, row + kRowBytes, 0);
        if (line % 4 == 0) {
            std::fill(row, row + kRowBytes, 0xAA); // 1729 runs, black first
        } else {
            // Edges moving by 1, 2 and 3 pixels a line, both ways.
            const int step = static_cast<int>(line % 4);
            const int left = 100 + step * static_cast<int>(line);
            const int right = 1600 - step * static_cast<int>(line);
            for (int x = left; x < left + 50; ++x) {
                page.setPixel(line, x);
            }
            for (int x = right; x < right + 50; ++x) {
                page.setPixel(line, x);
            }
            page.setPixel(line, kWidth - 1);
        }
    }
    return page;
}

std::vector<std::uint8_t> padded(std::vector<std::uint8_t> data) {
    data.resize(data.size() + kReadPadding, 0);
    return data;
}

FaxTestPage decodeAll(FaxCoding coding, std::vector<std::uint8_t> data, std::size_t maxLines,
                      DecodeStatus& status) {
    const std::size_t size = data.size();
    data = padded(std::move(data));
    std::vector<std::uint8_t> raster(kMaxRasterLines * kLineBytes);
    PageRaster page(raster.data(), kMaxRasterLines);
    status = page.appendCoded(coding, data.data(), size, maxLines);
    FaxTestPage decoded;
    decoded.lines = page.lines();
    decoded.bits.assign(raster.begin(),
                        raster.begin() + static_cast<long>(page.lines() * kLineBytes));
    return decoded;
}

struct LibtiffCoding {
    const char* name;
    const char* tiffcpCompression;
    FaxCoding coding;
};

std::ostream& operator<<(std::ostream& out, const LibtiffCoding& c) {
    return out << c.name;
}

class LibtiffStripTest : public testing::TestWithParam<LibtiffCoding> {};

TEST_P(LibtiffStripTest, DecodesToTheSourceRaster) {
    TempDirectory directory;
    const FaxTestPage source = makeExtremePage();
    writeTiff(directory.path("source.tif"), {source});
    ASSERT_EQ(runCommand(std::string("tiffcp -r 100000 -c ") + GetParam().tiffcpCompression + " " +
                         directory.path("source.tif") + " " + directory.path("coded.tif")),
              0);
    DecodeStatus status{};
    const FaxTestPage decoded = decodeAll(
        GetParam().coding, rawStrips(directory.path("coded.tif")).front(), source.lines, status);
    EXPECT_EQ(status, DecodeStatus::Ok);
    EXPECT_EQ(firstDifferingLine(decoded, source), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Codings, LibtiffStripTest,
    testing::Values(LibtiffCoding{"MH", "g3", FaxCoding::ModifiedHuffman},
                    LibtiffCoding{"MHFill", "g3:fill", FaxCoding::ModifiedHuffman},
                    LibtiffCoding{"MR", "g3:2d", FaxCoding::ModifiedRead},
                    LibtiffCoding{"MMR", "g4", FaxCoding::ModifiedModifiedRead}),
    [](const testing::TestParamInfo<LibtiffCoding>& info) { return info.param.name; });

TEST(MhEncoderTest, PageComesBackFromTheDecoderUnchanged) {
    const FaxTestPage source = makeExtremePage();
    std::vector<std::uint8_t> coded(kWorkBufferSize);
    const auto size =
        MhEncoder::encodePage(source.bits.data(), source.lines, coded.data(), coded.size());
    ASSERT_TRUE(size);
    coded.resize(*size);
    reverseBitOrder(coded.data(), coded.size());
    DecodeStatus status{};
    // More lines allowed than there are: the return to control must end the page.
    const FaxTestPage decoded =
        decodeAll(FaxCoding::ModifiedHuffman, coded, source.lines + 10, status);
    EXPECT_EQ(status, DecodeStatus::Ok);
    EXPECT_EQ(decoded.lines, source.lines);
    EXPECT_EQ(firstDifferingLine(decoded, source), -1);
}

TEST(MhEncoderTest, RefusesWhatDoesNotFitItsBuffer) {
    const FaxTestPage source = makeExtremePage();
    std::vector<std::uint8_t> coded(kWorkBufferSize);
    const auto size =
        MhEncoder::encodePage(source.bits.data(), source.lines, coded.data(), coded.size());
    ASSERT_TRUE(size);
    EXPECT_FALSE(MhEncoder::encodePage(source.bits.data(), source.lines, coded.data(), *size / 2));
    EXPECT_FALSE(MhEncoder::encodePage(source.bits.data(), 0, coded.data(), 13));
    EXPECT_TRUE(MhEncoder::encodePage(source.bits.data(), 0, coded.data(), 16));
}

// Code bits as written in the recommendation, first bit first; blanks are
// for the reader.
std::vector<std::uint8_t> bits(const std::string& text) {
    std::vector<std::uint8_t> out;
    int count = 0;
    for (const char c : text) {
        if (c != '0' && c != '1') {
            continue;
        }
        if (count % 8 == 0) {
            out.push_back(0);
        }
        if (c == '1') {
            out.back() |= static_cast<std::uint8_t>(0x80 >> (count % 8));
        }
        ++count;
    }
    return out;
}

struct CodeSequence {
    const char* name;
    FaxCoding coding;
    const char* codeBits;
    std::vector<LineResult> results;
    std::vector<int> blackPixelsOfFirstLine;
};

std::ostream& operator<<(std::ostream& out, const CodeSequence& c) {
    return out << c.name;
}

class CodeSequenceTest : public testing::TestWithParam<CodeSequence> {};

TEST_P(CodeSequenceTest, GivesItsLinesThenEndsOrFails) {
    const std::vector<std::uint8_t> data = padded(bits(GetParam().codeBits));
    FaxDecoder decoder(GetParam().coding, data.data(), data.size() - kReadPadding);
    std::vector<LineResult> results;
    std::vector<std::uint8_t> first(kLineBytes);
    std::vector<std::uint8_t> line(kLineBytes);
    while (results.size() < 8) {
        results.push_back(decoder.nextLine(results.empty() ? first.data() : line.data()));
        if (results.back() != LineResult::Line) {
            break;
        }
    }
    EXPECT_EQ(results, GetParam().results);
    if (results.front() == LineResult::Line) {
        std::vector<int> black;
        for (int x = 0; x < kWidth; ++x) {
            if ((first[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1) {
                black.push_back(x);
            }
        }
        EXPECT_EQ(black, GetParam().blackPixelsOfFirstLine);
    }
}

constexpr auto L = LineResult::Line;
constexpr auto E = LineResult::EndOfPage;
constexpr auto C = LineResult::Corrupt;

#define EOL "000000000001 "
#define WHITE_1728 "010011011 00110101 "

INSTANTIATE_TEST_SUITE_P(
    Sequences, CodeSequenceTest,
    testing::Values(
        CodeSequence{"MhWhiteLinesThenReturnToControl",
                     FaxCoding::ModifiedHuffman,
                     EOL WHITE_1728 EOL WHITE_1728 EOL EOL EOL EOL EOL EOL,
                     {L, L, E},
                     {}},
        CodeSequence{"MhLeadingFillAndEols",
                     FaxCoding::ModifiedHuffman,
                     "0000000 " EOL EOL "000 " EOL WHITE_1728 EOL,
                     {L, E},
                     {}},
        CodeSequence{
            "MhWithoutEols", FaxCoding::ModifiedHuffman, WHITE_1728 WHITE_1728, {L, L, E}, {}},
        // White 0, black 2, white 1725, black 1.
        CodeSequence{"MhBlackAtBothEdges",
                     FaxCoding::ModifiedHuffman,
                     EOL "00110101 11 011000 00110010 010 " EOL,
                     {L, E},
                     {0, 1, 1727}},
        CodeSequence{"MhOnlyEols", FaxCoding::ModifiedHuffman, EOL EOL EOL, {E}, {}},
        CodeSequence{
            "MhLineOnePixelShort", FaxCoding::ModifiedHuffman, EOL "011000 00110100 " EOL, {C}, {}},
        CodeSequence{"MhLineTooLong", FaxCoding::ModifiedHuffman, EOL "010011011 11011 ", {C}, {}},
        CodeSequence{"MhNoSuchCode", FaxCoding::ModifiedHuffman, EOL "0000000001 1", {C}, {}},
        CodeSequence{
            "MhCutInsideACode", FaxCoding::ModifiedHuffman, EOL WHITE_1728 EOL "0100", {L, C}, {}},
        CodeSequence{"RleLinesStartOnByteBoundaries",
                     FaxCoding::ModifiedHuffmanRle,
                     WHITE_1728 "0000000 " WHITE_1728 "0000000",
                     {L, L, E},
                     {}},
        CodeSequence{"MrOneAndTwoDimensionalLines",
                     FaxCoding::ModifiedRead,
                     EOL "1 " WHITE_1728 EOL "0 1 " EOL "1 " EOL "1 " EOL "1",
                     {L, L, E},
                     {}},
        CodeSequence{"MrWithoutEol", FaxCoding::ModifiedRead, "1", {C}, {}},
        CodeSequence{"MmrVerticalLeftOnWhite",
                     FaxCoding::ModifiedModifiedRead,
                     "010 1 " EOL EOL,
                     {L, E},
                     {1727}},
        // Horizontal: white 10, black 5; then pass over nothing... vertical 0 to the end.
        CodeSequence{"MmrHorizontalThenCopies",
                     FaxCoding::ModifiedModifiedRead,
                     "001 00111 0011 1 " // H W10 B5, V0 (to the end of the line)
                     "1 1 1 " EOL EOL,   // V0 V0 V0: the same line again
                     {L, L, E},
                     {10, 11, 12, 13, 14}},
        CodeSequence{"MmrPassMode",
                     FaxCoding::ModifiedModifiedRead,
                     "001 00111 0011 1 " // W10 B5 as above
                     "0001 1 " EOL EOL,  // pass the black run, V0 to the end: all white
                     {L, L, E},
                     {10, 11, 12, 13, 14}},
        CodeSequence{
            "MmrVerticalRightBeyondTheLine", FaxCoding::ModifiedModifiedRead, "011", {C}, {}},
        CodeSequence{"MmrExtensionCode", FaxCoding::ModifiedModifiedRead, "0000001111", {C}, {}},
        CodeSequence{
            "MmrEolInsideALine", FaxCoding::ModifiedModifiedRead, "001 00111 0011 " EOL, {C}, {}},
        CodeSequence{"MmrOnlyPadding", FaxCoding::ModifiedModifiedRead, "00000000", {E}, {}}),
    [](const testing::TestParamInfo<CodeSequence>& info) { return info.param.name; });

} // namespace
} // namespace faxform::test
