#include "carddriver/CallScenario.h"

#include <gtest/gtest.h>

#include <fstream>

using carddriver::CallScenario;
using carddriver::CallScenarioBook;
using Behaviour = CallScenario::Behaviour;

namespace {

TEST(CallScenario, FullLineWithKeysAndHangUp) {
    auto entry = CallScenario::parseLine("13800000001 answer 3000 key 1@speech2000 key #9@500 "
                                         "hangup 30000");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->first, "13800000001");
    const CallScenario& s = entry->second;
    EXPECT_EQ(s.behaviour, Behaviour::Answer);
    EXPECT_EQ(s.answerAfterMillis, 3000u);
    ASSERT_EQ(s.keys.size(), 2u);
    EXPECT_EQ(s.keys[0].keys, "1");
    EXPECT_TRUE(s.keys[0].afterSpeech);
    EXPECT_EQ(s.keys[0].atMillis, 2000u);
    EXPECT_EQ(s.keys[1].keys, "#9");
    EXPECT_FALSE(s.keys[1].afterSpeech);
    EXPECT_EQ(s.keys[1].atMillis, 500u);
    EXPECT_EQ(s.hangUpAfterMillis, 30000u);
}

struct BehaviourCase {
    const char* line;
    Behaviour behaviour;
};

class Behaviours : public ::testing::TestWithParam<BehaviourCase> {};

TEST_P(Behaviours, ParseByName) {
    auto entry = CallScenario::parseLine(GetParam().line);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->second.behaviour, GetParam().behaviour);
}

INSTANTIATE_TEST_SUITE_P(Names, Behaviours,
                         ::testing::Values(BehaviourCase{"1 busy", Behaviour::Busy},
                                           BehaviourCase{"2 noanswer", Behaviour::NoAnswer},
                                           BehaviourCase{"3 unreachable", Behaviour::Unreachable},
                                           BehaviourCase{"* answer 0", Behaviour::Answer}));

class BadLines : public ::testing::TestWithParam<const char*> {};

TEST_P(BadLines, AreRejected) {
    EXPECT_FALSE(CallScenario::parseLine(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Lines, BadLines,
                         ::testing::Values("", "123", "123 ring", "123 answer", "123 answer x",
                                           "123 busy key 1", "123 busy key 1@", "123 busy key X@5",
                                           "123 busy hangup -5", "123 busy volume 3"));

TEST(CallScenarioBook, ListedNumberFirstThenTheCatchAll) {
    std::string path = ::testing::TempDir() + "/scenario-book.txt";
    std::ofstream(path) << "# comment\n111 busy\n1112 noanswer\nnot a line\n* unreachable\n";
    CallScenarioBook book;
    ASSERT_TRUE(book.loadFile(path));
    ASSERT_TRUE(book.find("111"));
    EXPECT_EQ(book.find("111")->behaviour, Behaviour::Busy);
    EXPECT_EQ(book.find("999")->behaviour, Behaviour::Unreachable);
    EXPECT_TRUE(book.isPrefixOfLonger("111"));
    EXPECT_FALSE(book.isPrefixOfLonger("1112"));
    EXPECT_FALSE(book.loadFile(path + ".missing"));
}

} // namespace
