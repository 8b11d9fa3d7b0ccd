// Hand-made TIFF files, good and spoiled, in both byte orders.
#include "faxform/Faxform.h"
#include "support/BfxFile.h"
#include "support/TiffBuilder.h"

#include <gtest/gtest.h>
#include <tuple>

namespace faxform::test {
namespace {

struct Patch {
    bool bigEndian;
    BuiltTiff& tiff;

    void set16(std::size_t at, std::uint32_t value) const {
        tiff.bytes.at(at + (bigEndian ? 0 : 1)) = static_cast<std::uint8_t>(value >> 8);
        tiff.bytes.at(at + (bigEndian ? 1 : 0)) = static_cast<std::uint8_t>(value);
    }
    void set32(std::size_t at, std::uint32_t value) const {
        set16(at + (bigEndian ? 0 : 2), value >> 16);
        set16(at + (bigEndian ? 2 : 0), value & 0xFFFF);
    }
    std::uint32_t get16(std::size_t at) const {
        return bigEndian ? (tiff.bytes.at(at) << 8) | tiff.bytes.at(at + 1)
                         : tiff.bytes.at(at) | (tiff.bytes.at(at + 1) << 8);
    }
    std::size_t directory() const { return tiff.directoryOffsets.front(); }
    // The value field of the first IFD's entry for `tag`.
    std::size_t valueField(std::uint16_t tag) const {
        const std::size_t count = get16(directory());
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t entry = directory() + 2 + 12 * i;
            if (get16(entry) == tag) {
                return entry + 8;
            }
        }
        throw std::runtime_error("no such tag");
    }
    std::size_t nextLink() const { return directory() + 2 + 12 * get16(directory()); }
    std::uint32_t beyondTheEnd() const {
        return static_cast<std::uint32_t>(tiff.bytes.size() + 64);
    }
};

struct DamagedTiff {
    const char* name;
    void (*editPage)(TiffPageSpec& page);
    void (*editBytes)(const Patch& patch);
    std::int32_t expected;
};

std::ostream& operator<<(std::ostream& out, const DamagedTiff& damaged) {
    return out << damaged.name;
}

void keepPage(TiffPageSpec&) {}
void keepBytes(const Patch&) {}

class DamagedTiffTest : public testing::TestWithParam<std::tuple<DamagedTiff, bool>> {
protected:
    TempDirectory directory_;
};

TEST_P(DamagedTiffTest, EndsWithItsOwnCodeAndClosesBothFiles) {
    const auto& [damaged, bigEndian] = GetParam();
    TiffPageSpec page{uncompressedFaxTags(2), uncompressedStrip(2)};
    damaged.editPage(page);
    BuiltTiff tiff = buildTiff({page}, bigEndian);
    damaged.editBytes(Patch{bigEndian, tiff});
    const std::string source = directory_.path("damaged.tif");
    writeFile(source, tiff.bytes);
    const std::size_t descriptors = openDescriptorCount();
    EXPECT_EQ(lcFax_TiffToBfx(source.c_str(), directory_.path("out.bfx").c_str()),
              damaged.expected);
    EXPECT_EQ(openDescriptorCount(), descriptors) << "a file left open";
}

const DamagedTiff kDamagedTiffs[] = {
    {"Intact", keepPage, keepBytes, 0},
    {"HeaderCut", keepPage, [](const Patch& p) { p.tiff.bytes.resize(5); },
     FAXFORM_TIFF2BFX_HEADER_NOT_READ},
    {"NeitherIINorMM", keepPage, [](const Patch& p) { p.tiff.bytes[0] = p.tiff.bytes[1] = 'X'; },
     FAXFORM_TIFF2BFX_BAD_BYTE_ORDER},
    {"Version43", keepPage, [](const Patch& p) { p.set16(2, 43); }, FAXFORM_TIFF2BFX_BAD_VERSION},
    {"NoPages", keepPage, [](const Patch& p) { p.set32(4, 0); }, FAXFORM_NO_PAGES},
    {"FirstIfdBeyondTheFile", keepPage, [](const Patch& p) { p.set32(4, p.beyondTheEnd()); },
     FAXFORM_TIFF2BFX_ENTRY_COUNT_NOT_READ},
    {"OverHundredEntries", keepPage, [](const Patch& p) { p.set16(p.directory(), 101); },
     FAXFORM_TIFF2BFX_TOO_MANY_ENTRIES},
    {"EntriesCut", keepPage, [](const Patch& p) { p.set16(p.directory(), 90); },
     FAXFORM_TIFF2BFX_ENTRIES_NOT_READ},
    {"NextLinkCut", keepPage, [](const Patch& p) { p.tiff.bytes.resize(p.tiff.bytes.size() - 2); },
     FAXFORM_TIFF2BFX_NEXT_LINK_NOT_READ},
    {"ShortStripOffsetsOutside",
     [](TiffPageSpec& page) {
         page.tags[273] = {3, {1, 2, 3}};
         page.tags[279] = {3, {1, 1, 1}};
     },
     [](const Patch& p) { p.set32(p.valueField(273), p.beyondTheEnd()); },
     FAXFORM_TIFF2BFX_SHORT_STRIP_OFFSETS_NOT_READ},
    {"LongStripOffsetsOutside",
     [](TiffPageSpec& page) {
         page.tags[273] = {4, {1, 2}};
         page.tags[279] = {4, {1, 1}};
     },
     [](const Patch& p) { p.set32(p.valueField(273), p.beyondTheEnd()); },
     FAXFORM_TIFF2BFX_LONG_STRIP_OFFSETS_NOT_READ},
    {"ShortStripCountsOutside",
     [](TiffPageSpec& page) {
         page.tags[273] = {3, {1, 2, 3}};
         page.tags[279] = {3, {1, 1, 1}};
     },
     [](const Patch& p) { p.set32(p.valueField(279), p.beyondTheEnd()); },
     FAXFORM_TIFF2BFX_SHORT_STRIP_COUNTS_NOT_READ},
    {"LongStripCountsOutside",
     [](TiffPageSpec& page) {
         page.tags[273] = {4, {1, 2}};
         page.tags[279] = {4, {1, 1}};
     },
     [](const Patch& p) { p.set32(p.valueField(279), p.beyondTheEnd()); },
     FAXFORM_TIFF2BFX_LONG_STRIP_COUNTS_NOT_READ},
    {"TwoShortStripsInline",
     [](TiffPageSpec& page) {
         page.tags[273] = {3, {8, 8 + 216}};
         page.tags[279] = {3, {216, 216}};
     },
     keepBytes, 0},
    {"XResolutionOutside", keepPage,
     [](const Patch& p) { p.set32(p.valueField(282), p.beyondTheEnd()); },
     FAXFORM_TIFF2BFX_XRES_NOT_READ},
    {"YResolutionOutside", keepPage,
     [](const Patch& p) { p.set32(p.valueField(283), p.beyondTheEnd()); },
     FAXFORM_TIFF2BFX_YRES_NOT_READ},
    {"StripBeyondTheFile",
     [](TiffPageSpec& page) {
         page.tags[279] = {4, {100000}};
     },
     keepBytes, FAXFORM_TIFF2BFX_STRIP_DATA_NOT_READ},
    {"StripOverTheWorkBuffer",
     [](TiffPageSpec& page) {
         page.tags[279] = {4, {0x200001}};
     },
     keepBytes, FAXFORM_PAGE_TOO_LARGE},
    {"StripsTogetherOverTheWorkBuffer",
     [](TiffPageSpec& page) {
         page.tags[273] = {4, {8, 8}};
         page.tags[279] = {4, {0x100001, 0x100000}};
     },
     keepBytes, FAXFORM_PAGE_TOO_LARGE},
    {"CorruptCodes",
     [](TiffPageSpec& page) {
         // An EOL, then nine zeros and a one: no white code looks like that.
         page.strip = {0x00, 0x10, 0x06, 0x00};
         page.tags[259] = {3, {3}};
         page.tags[279] = {4, {4}};
     },
     keepBytes, FAXFORM_CORRUPT_CODE},
    {"NoLine",
     [](TiffPageSpec& page) {
         page.strip = {0x00, 0x00};
         page.tags[259] = {3, {4}};
         page.tags[279] = {4, {2}};
     },
     keepBytes, FAXFORM_CORRUPT_CODE},
    {"Width2048",
     [](TiffPageSpec& page) {
         page.tags[256] = {3, {2048}};
     },
     keepBytes, FAXFORM_BAD_WIDTH},
    {"WidthAsLong864",
     [](TiffPageSpec& page) {
         page.tags[256] = {4, {864}};
     },
     keepBytes, FAXFORM_BAD_WIDTH},
    {"EightBitsPerSample",
     [](TiffPageSpec& page) {
         page.tags[258] = {3, {8}};
     },
     keepBytes, FAXFORM_NOT_BILEVEL},
    {"ThreeSamplesPerPixel",
     [](TiffPageSpec& page) {
         page.tags[277] = {3, {3}};
     },
     keepBytes, FAXFORM_NOT_BILEVEL},
    {"PalettePhotometric",
     [](TiffPageSpec& page) {
         page.tags[262] = {3, {3}};
     },
     keepBytes, FAXFORM_NOT_BILEVEL},
    {"LzwCompression",
     [](TiffPageSpec& page) {
         page.tags[259] = {3, {5}};
     },
     keepBytes, FAXFORM_UNSUPPORTED_COMPRESSION},
    {"Over100Strips",
     [](TiffPageSpec& page) {
         page.tags[273] = {4, std::vector<std::uint32_t>(101, 8)};
         page.tags[279] = {4, std::vector<std::uint32_t>(101, 1)};
     },
     keepBytes, FAXFORM_TOO_MANY_STRIPS},
    {"NoStripByteCounts", [](TiffPageSpec& page) { page.tags.erase(279); }, keepBytes,
     FAXFORM_BAD_STRIP_TAGS},
    {"NoStripOffsets", [](TiffPageSpec& page) { page.tags.erase(273); }, keepBytes,
     FAXFORM_BAD_STRIP_TAGS},
    {"StripCountsMismatch",
     [](TiffPageSpec& page) {
         page.tags[279] = {4, {432, 0}};
     },
     keepBytes, FAXFORM_BAD_STRIP_TAGS},
    {"StripOffsetsAsRational",
     [](TiffPageSpec& page) {
         page.tags[273] = {5, {8, 1}};
     },
     keepBytes, FAXFORM_BAD_STRIP_TAGS},
    {"IfdChainLoopingBack", keepPage, [](const Patch& p) { p.set32(p.nextLink(), p.directory()); },
     FAXFORM_TOO_MANY_PAGES},
};

INSTANTIATE_TEST_SUITE_P(Damage, DamagedTiffTest,
                         testing::Combine(testing::ValuesIn(kDamagedTiffs), testing::Bool()),
                         [](const testing::TestParamInfo<std::tuple<DamagedTiff, bool>>& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_MM" : "_II");
                         });

class TiffToBfxTest : public testing::Test {
protected:
    std::string write(const std::vector<TiffPageSpec>& pages, bool bigEndian = false) {
        const std::string path = directory_.path("source.tif");
        writeFile(path, buildTiff(pages, bigEndian).bytes);
        return path;
    }

    TempDirectory directory_;
};

TEST_F(TiffToBfxTest, PathsAreChecked) {
    const std::string source = write({{uncompressedFaxTags(1), uncompressedStrip(1)}});
    const std::string bfx = directory_.path("out.bfx");
    EXPECT_EQ(lcFax_TiffToBfx(nullptr, bfx.c_str()), FAXFORM_TIFF2BFX_NO_PATH);
    EXPECT_EQ(lcFax_TiffToBfx(source.c_str(), ""), FAXFORM_TIFF2BFX_NO_PATH);
    EXPECT_EQ(lcFax_TiffToBfx(directory_.path("missing.tif").c_str(), bfx.c_str()),
              FAXFORM_TIFF2BFX_SOURCE_NOT_OPENED);
    EXPECT_EQ(lcFax_TiffToBfx(source.c_str(), directory_.path("no/such/dir.bfx").c_str()),
              FAXFORM_TIFF2BFX_DESTINATION_NOT_CREATED);
}

TEST_F(TiffToBfxTest, BfxHeaderHoldsOnlySignatureCountTableAndFlag) {
    std::vector<TiffPageSpec> pages;
    for (std::uint32_t lines : {1u, 5u, 3u}) {
        pages.push_back({uncompressedFaxTags(lines), uncompressedStrip(lines)});
    }
    const std::string bfx = directory_.path("out.bfx");
    ASSERT_EQ(lcFax_TiffToBfx(write(pages).c_str(), bfx.c_str()), 0);
    const std::vector<std::uint8_t> bytes = readFile(bfx);
    const BfxFile file = BfxFile::parse(bytes);
    ASSERT_EQ(file.pages.size(), 3u);
    std::vector<std::uint8_t> expected = file.bytes(); // laid out back to back from 2048
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 9), "BIT  FAX0");
}

TEST_F(TiffToBfxTest, NinetySevenPagesFitTheTableButNinetyEightDoNot) {
    std::vector<TiffPageSpec> pages(97, {uncompressedFaxTags(1), uncompressedStrip(1)});
    const std::string bfx = directory_.path("out.bfx");
    ASSERT_EQ(lcFax_TiffToBfx(write(pages).c_str(), bfx.c_str()), 0);
    EXPECT_EQ(BfxFile::parse(readFile(bfx)).pages.size(), 97u);
    pages.push_back(pages.front());
    EXPECT_EQ(lcFax_TiffToBfx(write(pages).c_str(), bfx.c_str()), FAXFORM_TOO_MANY_PAGES);
}

struct YResolutionCase {
    const char* name;
    std::vector<TagValue> pageResolutions; // type 0: no tag
    std::uint16_t unit;
    std::uint8_t flag;
};

std::ostream& operator<<(std::ostream& out, const YResolutionCase& c) {
    return out << c.name;
}

class ResolutionFlagTest : public TiffToBfxTest,
                           public testing::WithParamInterface<YResolutionCase> {};

TEST_P(ResolutionFlagTest, LastPageDecidesFineOrNormal) {
    std::vector<TiffPageSpec> pages;
    for (const TagValue& resolution : GetParam().pageResolutions) {
        TiffPageSpec page{uncompressedFaxTags(2), uncompressedStrip(2)};
        page.tags[296] = {3, {GetParam().unit}};
        if (resolution.type == 0) {
            page.tags.erase(283);
        } else {
            page.tags[283] = resolution;
        }
        pages.push_back(page);
    }
    const std::string bfx = directory_.path("out.bfx");
    ASSERT_EQ(lcFax_TiffToBfx(write(pages, true).c_str(), bfx.c_str()), 0);
    EXPECT_EQ(BfxFile::parse(readFile(bfx)).resolutionFlag, GetParam().flag);
}

INSTANTIATE_TEST_SUITE_P(
    Resolutions, ResolutionFlagTest,
    testing::Values(YResolutionCase{"Fine196", {{5, {196, 1}}}, 2, '@'},
                    YResolutionCase{"Normal98", {{5, {98, 1}}}, 2, 0},
                    YResolutionCase{"Exactly99", {{5, {99, 1}}}, 2, '@'},
                    YResolutionCase{"Normal98Halves", {{5, {197, 2}}}, 2, 0},
                    YResolutionCase{"ZeroDenominator", {{5, {98, 0}}}, 2, '@'},
                    YResolutionCase{"NoTag", {{0, {}}}, 2, '@'},
                    YResolutionCase{"FineInCentimetres", {{5, {77, 1}}}, 3, '@'},
                    YResolutionCase{"NormalInCentimetres", {{5, {385, 10}}}, 3, 0},
                    YResolutionCase{"FineThenNormal", {{5, {196, 1}}, {5, {98, 1}}}, 2, 0},
                    YResolutionCase{"NormalThenFine", {{5, {98, 1}}, {5, {196, 1}}}, 2, '@'}),
    [](const testing::TestParamInfo<YResolutionCase>& info) { return info.param.name; });

} // namespace
} // namespace faxform::test
