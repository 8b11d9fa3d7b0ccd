// Pages that libtiff's own tiffcp codes in every way a fax TIFF may come,
// through BFX and back; libtiff decodes what we write.
#include "faxform/Faxform.h"
#include "support/BfxFile.h"
#include "support/FaxTestPage.h"
#include "support/LibtiffFiles.h"

#include <gtest/gtest.h>
#include <tiffio.h>

namespace faxform::test {
namespace {

struct TiffVariant {
    const char* name;
    const char* tiffcpOptions; // nullptr: the source is used as written
    SourceTiffOptions source;
};

std::ostream& operator<<(std::ostream& out, const TiffVariant& variant) {
    return out << variant.name;
}

class RoundTripTest : public testing::TestWithParam<TiffVariant> {
protected:
    static std::vector<FaxTestPage> pages() {
        return {makeMixedPage(400, 1), makeDenseTextPage(300, 2), makeMixedPage(257, 7)};
    }

    TempDirectory directory_;
};

void expectBfxPageFraming(const std::vector<std::uint8_t>& page) {
    ASSERT_GE(page.size(), 14u);
    EXPECT_EQ(page[0], 0x00);
    EXPECT_EQ(page[1], 0x80);
    const std::vector<std::uint8_t> tail(page.end() - 12, page.end());
    const std::vector<std::uint8_t> returnToControl = {0x00, 0x08, 0x80, 0x00, 0x08, 0x80,
                                                       0x00, 0x08, 0x80, 0x00, 0x08, 0x80};
    EXPECT_EQ(tail, returnToControl);
}

TEST_P(RoundTripTest, BfxAndTiffKeepEveryPixelOfEveryPage) {
    const TiffVariant& variant = GetParam();
    const std::vector<FaxTestPage> source = pages();
    const std::string written = directory_.path("written.tif");
    writeTiff(written, source, variant.source);
    std::string input = written;
    if (variant.tiffcpOptions != nullptr) {
        input = directory_.path("input.tif");
        std::string errors;
        ASSERT_EQ(
            runCommand(std::string("tiffcp ") + variant.tiffcpOptions + " " + written + " " + input,
                       &errors),
            0)
            << errors;
    }

    const std::string bfx = directory_.path("page.bfx");
    ASSERT_EQ(lcFax_TiffToBfx(input.c_str(), bfx.c_str()), 0);

    // The BFX pages, decoded by libtiff on their own.
    const BfxFile file = BfxFile::parse(readFile(bfx));
    ASSERT_EQ(file.pages.size(), source.size());
    EXPECT_EQ(file.resolutionFlag, '@');
    for (std::size_t i = 0; i < source.size(); ++i) {
        SCOPED_TRACE("BFX page " + std::to_string(i));
        expectBfxPageFraming(file.pages[i]);
        std::string errors;
        const FaxTestPage decoded =
            decodeMhWithLibtiff(file.pages[i], source[i].lines, directory_.path("bfx.tif"), errors);
        EXPECT_EQ(errors, "");
        EXPECT_EQ(firstDifferingLine(decoded, source[i]), -1);
    }

    const std::string output = directory_.path("output.tif");
    ASSERT_EQ(lcFax_BfxToTiff(bfx.c_str(), output.c_str()), 0);
    const DecodedTiff back = decodeTiff(output);
    EXPECT_EQ(back.errors, "");
    ASSERT_EQ(back.pages.size(), source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        SCOPED_TRACE("TIFF page " + std::to_string(i));
        EXPECT_EQ(firstDifferingLine(back.pages[i], source[i]), -1);
        EXPECT_EQ(back.xResolutions[i], 200);
        EXPECT_EQ(back.yResolutions[i], 200);
    }

    std::string complaints;
    EXPECT_EQ(runCommand("tiffinfo -D " + output, &complaints), 0);
    EXPECT_EQ(complaints, "");
}

const SourceTiffOptions kWhiteIsZero{};
const SourceTiffOptions kBlackIsZero{196, 2, true, COMPRESSION_NONE};
const SourceTiffOptions kCcittRle{196, 2, false, COMPRESSION_CCITTRLE};

INSTANTIATE_TEST_SUITE_P(
    TiffcpVariants, RoundTripTest,
    testing::Values(TiffVariant{"Uncompressed", nullptr, kWhiteIsZero},
                    TiffVariant{"CcittRle", nullptr, kCcittRle},
                    TiffVariant{"G3", "-c g3", kWhiteIsZero},
                    TiffVariant{"G3Lsb2Msb", "-c g3 -f lsb2msb", kWhiteIsZero},
                    TiffVariant{"G3FillBits", "-c g3:fill", kWhiteIsZero},
                    TiffVariant{"G3Strips", "-c g3 -r 40", kWhiteIsZero},
                    TiffVariant{"G3BigEndian", "-c g3 -B", kWhiteIsZero},
                    TiffVariant{"G3TwoD", "-c g3:2d", kWhiteIsZero},
                    TiffVariant{"G3TwoDLsb2Msb", "-c g3:2d -f lsb2msb", kWhiteIsZero},
                    TiffVariant{"G3TwoDFillBigEndian", "-c g3:2d:fill -B", kWhiteIsZero},
                    TiffVariant{"G3TwoDStripsLsb2MsbBigEndian", "-c g3:2d -r 40 -f lsb2msb -B",
                                kWhiteIsZero},
                    TiffVariant{"G4", "-c g4", kWhiteIsZero},
                    TiffVariant{"G4Lsb2Msb", "-c g4 -f lsb2msb", kWhiteIsZero},
                    TiffVariant{"G4BigEndian", "-c g4 -B", kWhiteIsZero},
                    TiffVariant{"G4Strips", "-c g4 -r 33", kWhiteIsZero},
                    TiffVariant{"G4BlackIsZero", "-c g4", kBlackIsZero},
                    TiffVariant{"G3TwoDBlackIsZero", "-c g3:2d -f lsb2msb", kBlackIsZero}),
    [](const testing::TestParamInfo<TiffVariant>& info) { return info.param.name; });

TEST(ByteOrderTest, BigEndianTiffGivesTheSameBfxAsItsLittleEndianTwin) {
    TempDirectory directory;
    const std::string source = directory.path("source.tif");
    writeTiff(source, {makeMixedPage(120, 3), makeDenseTextPage(90, 4)});
    for (const char* order : {"-L", "-B"}) {
        const std::string tiff = directory.path(std::string("g4") + order + ".tif");
        ASSERT_EQ(runCommand(std::string("tiffcp -c g4 ") + order + " " + source + " " + tiff), 0);
        const std::string bfx = directory.path(std::string("g4") + order + ".bfx");
        ASSERT_EQ(lcFax_TiffToBfx(tiff.c_str(), bfx.c_str()), 0) << order;
    }
    const std::vector<std::uint8_t> little = readFile(directory.path("g4-L.bfx"));
    EXPECT_FALSE(little.empty());
    EXPECT_EQ(readFile(directory.path("g4-B.bfx")), little);
    EXPECT_EQ(readFile(directory.path("g4-B.tif"))[0], 'M');
}

} // namespace
} // namespace faxform::test
