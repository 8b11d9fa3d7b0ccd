#include "DMsys.h"
#include "EngineTest.h"
#include "ScriptedPrompt.h"

struct SerialCase {
    const char* name;
    QStringList existing;
    const char* prefix;
    int width;
    const char* next;
};

class SerialCodeTest : public EngineTest {};

TEST_P(SerialCodeTest, NextSerialCodeFollowsTheHighestQualifyingValue) {
    const QList<SerialCase> cases{
        {"empty table", {}, "PRJ", 8, "PRJ00000001"},
        {"after highest", {"PRJ00000007", "PRJ00000041", "PRJ00000040"}, "PRJ", 8, "PRJ00000042"},
        {"non-digit passed over", {"PRJ00000041", "PRJ0000004X"}, "PRJ", 8, "PRJ00000042"},
        {"wrong length passed over", {"PRJ000000099", "PRJ00000003"}, "PRJ", 8, "PRJ00000004"},
        {"other prefix ignored", {"ABC00000090", "PRJ00000002"}, " PRJ ", 8, "PRJ00000003"},
        {"no prefix, width 4", {"0001", "0009", "abcd"}, "", 4, "0010"},
        {"grows past width", {"9999"}, "", 4, "10000"},
        {"like wildcard in prefix is literal",
         {"PXJ00000005", "P_J00000001"},
         "P_J",
         8,
         "P_J00000002"},
    };
    for (const SerialCase& c : cases) {
        ASSERT_TRUE(db->exec("delete from project"));
        for (const QString& v : c.existing)
            ASSERT_TRUE(db->exec("insert into project (BillID) values (?)", {v}));
        EXPECT_EQ(db->dm().NextSerialCode("project", "BillID", c.prefix, c.width), c.next)
            << c.name;
    }
}

TEST_P(SerialCodeTest, FailingQueryShowsTheMessageWithTheSql) {
    ScriptedPrompt prompt;
    EXPECT_TRUE(db->dm().NextSerialCode("nosuchtable", "BillID", "PRJ", 8).isEmpty());
    ASSERT_EQ(prompt.shown.size(), 1);
    EXPECT_TRUE(
        prompt.last().startsWith("SQL语句执行有错,请重试!SELECT BillID As A FROM nosuchtable"));
    EXPECT_TRUE(db->dm().NextSerialCode("project; drop table expert", "BillID", "", 8).isEmpty());
}

PANELPICK_ON_EVERY_ENGINE(SerialCodeTest);
