#include "PinyinInitials.h"

#include <gtest/gtest.h>

struct PinyinCase {
    const char* text;
    const char* initials;
};

class PinyinInitialsTest : public ::testing::TestWithParam<PinyinCase> {};

TEST_P(PinyinInitialsTest, GivesUpperCaseInitialsOfFirstLevelCharacters) {
    EXPECT_EQ(PinyinInitials(QString::fromUtf8(GetParam().text)),
              QString::fromUtf8(GetParam().initials));
}

INSTANTIATE_TEST_SUITE_P(
    Table, PinyinInitialsTest,
    ::testing::Values(PinyinCase{"张三abc", "ZSabc"}, // ASCII keeps its case
                      PinyinCase{"1号楼", "1HL"},     // digits stay
                      PinyinCase{"啊", "A"},          // first of the table (1601)
                      PinyinCase{"座", "Z"},          // last first-level character (5589)
                      PinyinCase{"王，李", "WL"},     // symbols give nothing
                      PinyinCase{"亍", ""},           // second-level characters give nothing
                      PinyinCase{"丂a", "丂a"},       // outside GB2312: kept whole
                      PinyinCase{"", ""}, PinyinCase{"欧阳修", "OYX"}));
