// BFX files put together here from libtiff's own MH coding, converted to TIFF.
#include "faxform/Faxform.h"
#include "support/BfxFile.h"
#include "support/FaxTestPage.h"
#include "support/LibtiffFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace faxform::test {
namespace {

std::uint16_t get16(const std::vector<std::uint8_t>& in, std::size_t at) {
    return static_cast<std::uint16_t>(in.at(at) | (in.at(at + 1) << 8));
}

std::uint32_t get32(const std::vector<std::uint8_t>& in, std::size_t at) {
    return get16(in, at) | (std::uint32_t{get16(in, at + 2)} << 16);
}

class BfxToTiffTest : public testing::Test {
protected:
    // The pages as libtiff codes them: one-dimensional, LSB first, one strip.
    std::vector<std::vector<std::uint8_t>>
    libtiffCodedPages(const std::vector<FaxTestPage>& pages) {
        const std::string source = directory_.path("source.tif");
        const std::string coded = directory_.path("coded.tif");
        writeTiff(source, pages);
        EXPECT_EQ(runCommand("tiffcp -c g3 -f lsb2msb -r 100000 " + source + " " + coded), 0);
        return rawStrips(coded);
    }

    std::string writeBfx(const BfxFile& file) {
        const std::string path = directory_.path("input.bfx");
        writeFile(path, file.bytes());
        return path;
    }

    TempDirectory directory_;
};

struct ResolutionCase {
    std::uint8_t flag;
    float yResolution;
};

class BfxResolutionTest : public BfxToTiffTest,
                          public testing::WithParamInterface<ResolutionCase> {};

TEST_P(BfxResolutionTest, PagesKeepTheirPixelsAndGetTheFlagsResolution) {
    const std::vector<FaxTestPage> pages = {makeMixedPage(200, 11), makeDenseTextPage(150, 12)};
    BfxFile file;
    file.pages = libtiffCodedPages(pages);
    file.resolutionFlag = GetParam().flag;
    const std::string tiff = directory_.path("output.tif");
    ASSERT_EQ(lcFax_BfxToTiff(writeBfx(file).c_str(), tiff.c_str()), 0);

    const DecodedTiff decoded = decodeTiff(tiff);
    EXPECT_EQ(decoded.errors, "");
    ASSERT_EQ(decoded.pages.size(), pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(firstDifferingLine(decoded.pages[i], pages[i]), -1) << "page " << i;
        EXPECT_EQ(decoded.xResolutions[i], 200);
        EXPECT_EQ(decoded.yResolutions[i], GetParam().yResolution);
    }
}

INSTANTIATE_TEST_SUITE_P(FineAndNormal, BfxResolutionTest,
                         testing::Values(ResolutionCase{'@', 200}, ResolutionCase{0, 98},
                                         ResolutionCase{'A', 98}));

TEST_F(BfxToTiffTest, EveryPageGetsTheFourteenEntriesInOrderWithItsDataAfterTheRationals) {
    const std::vector<FaxTestPage> pages = {makeMixedPage(31, 1), makeMixedPage(45, 2),
                                            makeDenseTextPage(80, 3)};
    BfxFile file;
    file.pages = libtiffCodedPages(pages);
    const std::string tiff = directory_.path("output.tif");
    ASSERT_EQ(lcFax_BfxToTiff(writeBfx(file).c_str(), tiff.c_str()), 0);
    const std::vector<std::uint8_t> bytes = readFile(tiff);

    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(bytes[0], 'I');
    EXPECT_EQ(bytes[1], 'I');
    EXPECT_EQ(get16(bytes, 2), 42);
    std::uint32_t ifd = get32(bytes, 4);
    EXPECT_EQ(ifd, 8u);
    struct Expected {
        std::uint16_t tag;
        std::uint16_t type;
    };
    const Expected order[] = {{256, 3}, {257, 3}, {258, 3}, {259, 3}, {262, 3}, {266, 3}, {273, 4},
                              {277, 3}, {278, 3}, {279, 4}, {282, 5}, {283, 5}, {292, 4}, {296, 3}};
    for (std::size_t page = 0; page < pages.size(); ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        ASSERT_NE(ifd, 0u);
        EXPECT_EQ(ifd % 2, 0u) << "IFD off a word boundary";
        ASSERT_EQ(get16(bytes, ifd), 14);
        std::uint32_t values[14];
        for (std::size_t i = 0; i < 14; ++i) {
            const std::size_t entry = ifd + 2 + 12 * i;
            EXPECT_EQ(get16(bytes, entry), order[i].tag);
            EXPECT_EQ(get16(bytes, entry + 2), order[i].type);
            EXPECT_EQ(get32(bytes, entry + 4), 1u);
            values[i] = order[i].type == 3 ? get16(bytes, entry + 8) : get32(bytes, entry + 8);
        }
        const std::uint32_t expected[14] = {1728,
                                            static_cast<std::uint32_t>(pages[page].lines),
                                            1,
                                            3,
                                            0,
                                            2,
                                            ifd + 190,
                                            1,
                                            static_cast<std::uint32_t>(pages[page].lines),
                                            values[9],
                                            ifd + 174,
                                            ifd + 182,
                                            0,
                                            2};
        for (std::size_t i = 0; i < 14; ++i) {
            EXPECT_EQ(values[i], expected[i]) << "entry " << i;
        }
        EXPECT_EQ(get32(bytes, ifd + 174), 200u);
        EXPECT_EQ(get32(bytes, ifd + 178), 1u);
        EXPECT_EQ(get32(bytes, ifd + 182), 200u);
        EXPECT_EQ(get32(bytes, ifd + 186), 1u);
        // The page data is the card's framing: 00 80 first, the return to control last.
        const std::size_t data = ifd + 190;
        const std::size_t end = data + values[9];
        ASSERT_LE(end, bytes.size());
        EXPECT_EQ(bytes[data], 0x00);
        EXPECT_EQ(bytes[data + 1], 0x80);
        EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + static_cast<long>(end) - 3,
                                            bytes.begin() + static_cast<long>(end)),
                  (std::vector<std::uint8_t>{0x00, 0x08, 0x80}));
        ifd = get32(bytes, ifd + 170);
    }
    EXPECT_EQ(ifd, 0u);

    std::string complaints;
    EXPECT_EQ(runCommand("tiffinfo -D " + tiff, &complaints), 0);
    EXPECT_EQ(complaints, "");
}

TEST_F(BfxToTiffTest, PageCountZeroFailsAndLeavesOnlyTheEmptyTiff) {
    BfxFile file;
    std::vector<std::uint8_t> bytes = file.bytes();
    const std::string bfx = directory_.path("empty.bfx");
    writeFile(bfx, bytes);
    const std::string tiff = directory_.path("output.tif");
    EXPECT_EQ(lcFax_BfxToTiff(bfx.c_str(), tiff.c_str()), FAXFORM_BFX2TIFF_BAD_PAGE_COUNT);
    ASSERT_TRUE(std::filesystem::exists(tiff));
    EXPECT_EQ(std::filesystem::file_size(tiff), 0u);
}

TEST_F(BfxToTiffTest, MissingSourceLeavesTheCreatedEmptyDestination) {
    const std::string tiff = directory_.path("output.tif");
    EXPECT_EQ(lcFax_BfxToTiff(directory_.path("missing.bfx").c_str(), tiff.c_str()),
              FAXFORM_BFX2TIFF_SOURCE_NOT_OPENED);
    ASSERT_TRUE(std::filesystem::exists(tiff));
    EXPECT_EQ(std::filesystem::file_size(tiff), 0u);
}

TEST_F(BfxToTiffTest, PathsAreChecked) {
    const std::string bfx = writeBfx(BfxFile{});
    const std::string tiff = directory_.path("output.tif");
    EXPECT_EQ(lcFax_BfxToTiff(nullptr, tiff.c_str()), FAXFORM_BFX2TIFF_NO_SOURCE_PATH);
    EXPECT_EQ(lcFax_BfxToTiff("", tiff.c_str()), FAXFORM_BFX2TIFF_NO_SOURCE_PATH);
    EXPECT_EQ(lcFax_BfxToTiff(bfx.c_str(), nullptr), FAXFORM_BFX2TIFF_NO_DESTINATION_PATH);
    EXPECT_EQ(lcFax_BfxToTiff(bfx.c_str(), ""), FAXFORM_BFX2TIFF_NO_DESTINATION_PATH);
    EXPECT_EQ(lcFax_BfxToTiff(bfx.c_str(), directory_.path("no/such/dir.tif").c_str()),
              FAXFORM_BFX2TIFF_DESTINATION_NOT_CREATED);
}

// A BFX file of one good page, spoiled in one way each.
struct DamagedBfx {
    const char* name;
    void (*damage)(std::vector<std::uint8_t>& bytes);
    std::int32_t expected;
};

std::ostream& operator<<(std::ostream& out, const DamagedBfx& damaged) {
    return out << damaged.name;
}

void setPage(std::vector<std::uint8_t>& bytes, std::uint32_t length, std::uint32_t offset) {
    for (int i = 0; i < 4; ++i) {
        bytes[20 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
        bytes[24 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(offset >> (8 * i));
    }
}

// White lines, LSB first: make-up 1728, terminating 0, EOL.
std::vector<std::uint8_t> whiteLines(std::size_t count) {
    std::string bits = "000000000001";
    for (std::size_t i = 0; i < count; ++i) {
        bits += "010011011"
                "00110101"
                "000000000001";
    }
    bits.append((8 - bits.size() % 8) % 8, '0');
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < bits.size(); i += 8) {
        std::uint8_t byte = 0;
        for (int bit = 0; bit < 8; ++bit) {
            byte |=
                static_cast<std::uint8_t>((bits[i + static_cast<std::size_t>(bit)] - '0') << bit);
        }
        out.push_back(byte);
    }
    return out;
}

void replacePage(std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& page) {
    bytes.resize(2048);
    bytes.insert(bytes.end(), page.begin(), page.end());
    setPage(bytes, static_cast<std::uint32_t>(page.size()), 2048);
}

class DamagedBfxTest : public BfxToTiffTest, public testing::WithParamInterface<DamagedBfx> {};

TEST_P(DamagedBfxTest, EndsWithItsOwnCodeAndClosesBothFiles) {
    BfxFile file;
    file.pages = {whiteLines(3)};
    std::vector<std::uint8_t> bytes = file.bytes();
    GetParam().damage(bytes);
    const std::string bfx = directory_.path("damaged.bfx");
    writeFile(bfx, bytes);
    const std::size_t descriptors = openDescriptorCount();
    EXPECT_EQ(lcFax_BfxToTiff(bfx.c_str(), directory_.path("output.tif").c_str()),
              GetParam().expected);
    EXPECT_EQ(openDescriptorCount(), descriptors) << "a file left open";
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedBfxTest,
    testing::Values(
        DamagedBfx{"Intact", [](std::vector<std::uint8_t>&) {}, 0},
        DamagedBfx{"WrongSignature", [](std::vector<std::uint8_t>& b) { b[4] = 'X'; },
                   FAXFORM_BFX2TIFF_BAD_SIGNATURE},
        DamagedBfx{"ShorterThanTheSignature", [](std::vector<std::uint8_t>& b) { b.resize(5); },
                   FAXFORM_BFX2TIFF_BAD_SIGNATURE},
        DamagedBfx{"EndsBeforeThePageCount", [](std::vector<std::uint8_t>& b) { b.resize(9); },
                   FAXFORM_BFX2TIFF_BAD_PAGE_COUNT},
        DamagedBfx{"EndsBeforeTheResolutionFlag",
                   [](std::vector<std::uint8_t>& b) { b.resize(1577); },
                   FAXFORM_BFX2TIFF_RESOLUTION_UNREADABLE},
        DamagedBfx{"PageCountOverThePageTable", [](std::vector<std::uint8_t>& b) { b[9] = 98; },
                   FAXFORM_TOO_MANY_PAGES},
        DamagedBfx{"SecondPageMissingFromTheTable", [](std::vector<std::uint8_t>& b) { b[9] = 2; },
                   FAXFORM_CORRUPT_CODE},
        DamagedBfx{"PageOffsetBeyondTheFile",
                   [](std::vector<std::uint8_t>& b) { setPage(b, 10, 900000); },
                   FAXFORM_BFX2TIFF_PAGE_NOT_READ},
        DamagedBfx{"PageLengthBeyondTheFile",
                   [](std::vector<std::uint8_t>& b) { setPage(b, 5000, 2048); },
                   FAXFORM_BFX2TIFF_PAGE_NOT_READ},
        DamagedBfx{"PageLongerThanTheWorkBuffer",
                   [](std::vector<std::uint8_t>& b) { setPage(b, 0x200001, 2048); },
                   FAXFORM_PAGE_TOO_LARGE},
        DamagedBfx{"GarbageCodes",
                   [](std::vector<std::uint8_t>& b) {
                       replacePage(b, {0x00, 0x80, 0x00, 0x00, 0x10, 0xFF, 0xFF, 0x00, 0x80});
                   },
                   FAXFORM_CORRUPT_CODE},
        DamagedBfx{"CutInsideALine",
                   [](std::vector<std::uint8_t>& b) {
                       std::vector<std::uint8_t> page = whiteLines(2);
                       page.resize(3); // the EOL, the make-up code, part of the next
                       replacePage(b, page);
                   },
                   FAXFORM_CORRUPT_CODE},
        DamagedBfx{"NoLineAtAll", [](std::vector<std::uint8_t>& b) { replacePage(b, {}); },
                   FAXFORM_CORRUPT_CODE},
        DamagedBfx{"MoreLinesThanTheRasterBuffer",
                   [](std::vector<std::uint8_t>& b) { replacePage(b, whiteLines(9710)); },
                   FAXFORM_PAGE_TOO_LARGE},
        DamagedBfx{"AsManyLinesAsTheRasterBuffer",
                   [](std::vector<std::uint8_t>& b) { replacePage(b, whiteLines(9709)); }, 0}),
    [](const testing::TestParamInfo<DamagedBfx>& info) { return info.param.name; });

} // namespace
} // namespace faxform::test
