#include "GbkToUtf8.h"

#include "speechcore/Speechcore.h"

#include <gtest/gtest.h>

namespace speechcore {
namespace {

struct ConversionCase {
    const char* name;
    std::string gbk;
    int32_t result;
    std::string utf8;
};

class GbkToUtf8Test : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(GbkToUtf8Test, ConvertsOrRejects) {
    const ConversionCase& c = GetParam();
    std::string utf8 = "left over";
    EXPECT_EQ(GbkToUtf8::convert(c.gbk, utf8), c.result);
    if (c.result == SPEECHCORE_OK) {
        EXPECT_EQ(utf8, c.utf8);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GbkToUtf8Test,
    ::testing::Values(
        ConversionCase{"Empty", "", SPEECHCORE_OK, ""},
        ConversionCase{"Ascii", "Tel 010-12345678", SPEECHCORE_OK, "Tel 010-12345678"},
        // 你好，评标 in GBK bytes.
        ConversionCase{"Chinese", "\xC4\xE3\xBA\xC3\xA3\xAC\xC6\xC0\xB1\xEA", SPEECHCORE_OK,
                       "\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8C\xE8\xAF\x84\xE6\xA0\x87"},
        ConversionCase{"MixedDigitsAndChinese", "1\xBA\xC5", SPEECHCORE_OK, "1\xE5\x8F\xB7"},
        // A lead byte whose trail byte is missing at the end of the text.
        ConversionCase{"CutOffCharacter", "\xC4\xE3\xBA", SPEECHCORE_ERR_ENCODING, ""},
        // A lead byte followed by a byte no GBK character uses as its trail.
        ConversionCase{"BadTrailByte", "\xC4\x20", SPEECHCORE_ERR_ENCODING, ""},
        ConversionCase{"LeadByteFF", "a\xFF", SPEECHCORE_ERR_ENCODING, ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace speechcore
