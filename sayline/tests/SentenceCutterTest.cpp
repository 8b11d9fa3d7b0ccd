#include "SentenceCutter.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace sayline {
namespace {

std::string convert(const std::string& text, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    std::string out(text.size() * 3 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* at = out.data();
    size_t outLeft = out.size();
    const size_t done = iconv(cd, &in, &inLeft, &at, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1))
        throw std::runtime_error("not convertible");
    out.resize(out.size() - outLeft);
    return out;
}

// Every sentence of a GBK text, as the worker meets them.
std::vector<std::string> cutAll(const std::string& gbk) {
    std::vector<std::string> sentences;
    size_t start = 0;
    while (start < gbk.size()) {
        const auto sentence = SentenceCutter::cut(gbk, start);
        EXPECT_GT(sentence.next, start) << "no progress";
        sentences.emplace_back(sentence.text);
        start = sentence.next;
    }
    return sentences;
}

struct CutCase {
    const char* name;
    std::string utf8;
    std::vector<std::string> sentences;
};

class SentenceCutterTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(SentenceCutterTest, CutsAtMarksOnly) {
    std::vector<std::string> got;
    for (const auto& gbk : cutAll(convert(GetParam().utf8, "GBK", "UTF-8")))
        got.push_back(convert(gbk, "UTF-8", "GBK"));
    EXPECT_EQ(got, GetParam().sentences);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SentenceCutterTest,
    ::testing::Values(
        CutCase{"NoMarkIsOneSentence", "请明天上午九点到招标中心", {"请明天上午九点到招标中心"}},
        CutCase{"FullWidthCommaSplits", "您好，再见", {"您好", "再见"}},
        CutCase{"FullStopDoesNotSplit", "您好。再见。", {"您好。再见。"}},
        CutCase{"EveryWideMark", "甲，乙、丙！丁；戊", {"甲", "乙", "丙", "丁", "戊"}},
        CutCase{"EveryNarrowMark", "one!two?three;four", {"one", "two", "three", "four"}},
        CutCase{"SpacesAreKept", "Tel 1234, ext 5 !ok", {"Tel 1234, ext 5 ", "ok"}},
        CutCase{"TwoMarksInARowGiveASilentSentence", "您好！！请按一", {"您好", "", "请按一"}},
        CutCase{"TwoCommasInARow", "您好，，请按一", {"您好", "", "请按一"}},
        CutCase{"MarkAtStartIsSilent", "，您好", {"", "您好"}},
        CutCase{"MarkAtEndEndsTheText", "您好；", {"您好"}},
        CutCase{"MixedWidths", "1号;2号，3号", {"1号", "2号", "3号"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct BytesCase {
    const char* name;
    std::string gbk;
};

class SentenceCutterBoundaryTest : public ::testing::TestWithParam<BytesCase> {};

// The trail byte of one character and the lead byte of the next can spell a
// mark; cutting there would split both characters into noise.
TEST_P(SentenceCutterBoundaryTest, MarkBytesAcrossTwoCharactersDoNotSplit) {
    EXPECT_EQ(cutAll(GetParam().gbk), std::vector<std::string>{GetParam().gbk});
}

INSTANTIATE_TEST_SUITE_P(Characters, SentenceCutterBoundaryTest,
                         ::testing::Values(
                             // 埃 + ideographic space: A3 A1 in the middle reads as "！".
                             BytesCase{"ExclamationAcrossCharacters", "\xB0\xA3\xA1\xA1"},
                             // 啊 + roman numeral one: A1 A2 in the middle reads as "、".
                             BytesCase{"EnumerationCommaAcrossCharacters", "\xB0\xA1\xA2\xF1"},
                             // 埃 + 珸: A3 AC in the middle reads as "，".
                             BytesCase{"CommaAcrossCharacters", "\xB0\xA3\xAC\x40"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SentenceCutterBytesTest, LeadByteWithoutTrailStillLetsAnAsciiMarkCut) {
    // A stray lead byte before "!" is not a character: "!" still ends the sentence.
    EXPECT_EQ(cutAll("ab\xB0!cd"), (std::vector<std::string>{"ab\xB0", "cd"}));
    // A lead byte as the very last byte is copied, not read past.
    EXPECT_EQ(cutAll("ab\xB0"), std::vector<std::string>{"ab\xB0"});
}

} // namespace
} // namespace sayline
