#include "DrawEngine.h"
#include "DrawTest.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {
const QString kBill = QStringLiteral("PRJ00000001");
const QDateTime kEvaluation(QDate(2026, 5, 10), QTime(10, 0));
} // namespace

// The replaced expert 0009 declined; 0001 and 0002 are free.
class DrawReplacement : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        s->project(kBill, kEvaluation);
        s->expert({.id = "0001", .cls = "经济类", .employer = "甲单位"});
        s->expert({.id = "0002", .cls = "经济类", .employer = "乙单位"});
        s->expert({.id = "0009", .cls = "经济类"});
        s->drawn(kBill, "0009", "经济类", "", "", "经济类");
        s->setAutoReplacement(true);
    }
    QString replace(const QString& id = "0009") {
        return dm().DrawReplacement(DrawScenario::mobileOf(id), kBill);
    }
};

TEST_P(DrawReplacement, AppendsTheReplacementRowAndReturnsItsMobile) {
    services.random.script = {1};
    EXPECT_EQ(replace(), DrawScenario::mobileOf("0002"));
    EXPECT_EQ(services.random.asked, std::vector<std::uint32_t>{2});
    QSqlQuery q(dm().ADOCon());
    ASSERT_TRUE(q.exec("select * from ProjectList order by id"));
    ASSERT_TRUE(q.next() && q.next());
    auto v = [&](const char* column) { return q.value(q.record().indexOf(column)).toString(); };
    EXPECT_EQ(v("billid"), kBill);
    EXPECT_EQ(v("expertID"), "0002");
    EXPECT_EQ(v("Employer"), "乙单位");
    EXPECT_EQ(v("specialtyClass"), "经济类");
    EXPECT_EQ(v("state"), "待联系");
    EXPECT_EQ(v("ischeck") + v("pf") + v("dialcount"), "111");
    EXPECT_EQ(v("sms"), "自动补抽");
    EXPECT_EQ(v("ICNO"), "经济类");
    EXPECT_EQ(v("reType"), "");
    EXPECT_EQ(v("reClass"), "");
    for (const char* column : {"sms", "reType", "reClass"})
        EXPECT_FALSE(q.value(q.record().indexOf(column)).isNull())
            << column << " is written as text, empty or not, never NULL";
    // The declined row keeps its state: the caller writes it.
    EXPECT_EQ(s->resultColumn(kBill, "state"), QStringList({"待联系", "待联系"}));
    EXPECT_EQ(s->scalar("select drawKind from DrawLog").toString(), "replacement");
    EXPECT_EQ(s->scalar("select randomIndex from DrawLog").toInt(), 1);
}

TEST_P(DrawReplacement, IgnoresDesignatedExperts) {
    ASSERT_TRUE(s->db().exec("update expert set ischeck = 1 where expertID = ?", {"0001"}));
    services.random.script = {1};
    EXPECT_EQ(replace(), DrawScenario::mobileOf("0002"));
}

TEST_P(DrawReplacement, WithNobodyLeftSaysSoAndWritesNothing) {
    EXPECT_FALSE(replace().isEmpty());
    EXPECT_FALSE(replace().isEmpty());
    EXPECT_EQ(replace(), "符合条件专家不足");
    EXPECT_EQ(s->resultIDs(kBill).size(), 3);
}

TEST_P(DrawReplacement, SwitchedOffReturnsEmptyAndWritesNothing) {
    s->setAutoReplacement(false);
    EXPECT_EQ(replace(), "");
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0009"}));
    EXPECT_EQ(s->scalar("select COUNT(*) from DrawLog").toInt(), 0);
}

TEST_P(DrawReplacement, UnknownMobileOrClassReturnsEmpty) {
    EXPECT_EQ(replace("0001"), "");
    s->expert({.id = "0010", .cls = "其他类"});
    s->drawn(kBill, "0010", "其他类");
    EXPECT_EQ(replace("0010"), "");
    EXPECT_EQ(s->resultIDs(kBill).size(), 2);
}

TEST_P(DrawReplacement, DatabaseErrorIsShownAndNothingReturned) {
    ASSERT_TRUE(s->execDirect("drop table projectHbdw"));
    EXPECT_EQ(replace(), "");
    EXPECT_EQ(services.prompt.shown.size(), 1);
}

TEST_P(DrawReplacement, LeavesOutWhoeverHasANumberAlreadyInTheResult) {
    ASSERT_TRUE(s->db().exec("update expert set Mobile = ? where expertID = ?",
                             {DrawScenario::mobileOf("0009"), "0001"}));
    EXPECT_EQ(replace(), DrawScenario::mobileOf("0002"));
    EXPECT_EQ(services.random.asked, std::vector<std::uint32_t>{1});
    EXPECT_EQ(s->scalar("select expertID from DrawLog where outcome = ?", {"duplicate-mobile"})
                  .toString(),
              "0001");
}

PANELPICK_ON_EVERY_ENGINE(DrawReplacement);
