// The card library's fax page conversions are Faxform's, code for code.
#include "faxform/Faxform.h"
#include "linecard/Linecard.h"
#include "support/TiffBuilder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;
using namespace faxform::test;

class FaxForwardTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("lc-fax-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    fs::path dir_;
};

TEST_F(FaxForwardTest, TiffPageGoesToBfxAndBack) {
    const BuiltTiff tiff = buildTiff({{uncompressedFaxTags(8), uncompressedStrip(8)}}, false);
    {
        std::ofstream out(path("in.tif"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(tiff.bytes.data()),
                  static_cast<std::streamsize>(tiff.bytes.size()));
    }
    EXPECT_EQ(LcFax_TiffToBfx(path("in.tif").c_str(), path("page.bfx").c_str()), 0);
    EXPECT_EQ(LcFax_BfxToTiff(path("page.bfx").c_str(), path("out.tif").c_str()), 0);
    EXPECT_GT(fs::file_size(path("out.tif")), 174u);
}

TEST_F(FaxForwardTest, ErrorsAreFaxformsOwn) {
    EXPECT_EQ(LcFax_TiffToBfx(nullptr, path("x.bfx").c_str()), FAXFORM_TIFF2BFX_NO_PATH);
    EXPECT_EQ(LcFax_TiffToBfx(path("missing.tif").c_str(), path("x.bfx").c_str()),
              lcFax_TiffToBfx(path("missing.tif").c_str(), path("x.bfx").c_str()));
    EXPECT_EQ(LcFax_BfxToTiff(path("missing.bfx").c_str(), path("x.tif").c_str()),
              FAXFORM_BFX2TIFF_SOURCE_NOT_OPENED);
}
