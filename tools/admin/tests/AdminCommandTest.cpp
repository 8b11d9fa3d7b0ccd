#include "AdminCommand.h"
#include "DrawTest.h"
#include "ProjectDraw.h"

namespace {
const QString kBill = QStringLiteral("PRJ00000001");
const QDateTime kEvaluation(QDate(2026, 5, 10), QTime(10, 0));
} // namespace

// panelpick-admin on a database of each engine, opened by the tool the way
// the program opens it.
class AdminCommand : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        s->project(kBill, kEvaluation);
        s->expert({.id = "0001", .cls = "经济类", .employer = "甲单位"});
        s->expert({.id = "0002", .cls = "经济类", .employer = "乙单位"});
        s->expert({.id = "0003", .cls = "经济类", .employer = "丙单位"});
        s->demand(kBill, "经济类", {}, "经济类评委", "", 2);
    }
    int run(const QStringList& args) {
        out.clear();
        err.clear();
        s->db().handOver();
        const int rc = runAdmin(args, &out, &err);
        EXPECT_TRUE(s->db().reopen()) << s->db().error().toStdString();
        return rc;
    }
    QString out, err;
};

TEST_P(AdminCommand, DrawPrintsEveryDrawnExpertAndTheAuditVerifiesIt) {
    ASSERT_EQ(run({"draw", kBill}), 0) << err.toStdString();
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << out.toStdString();
    const QStringList ids = s->resultIDs(kBill);
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split('\t');
        ASSERT_EQ(fields.size(), 4) << lines[i].toStdString();
        EXPECT_EQ(fields[0], ids[i]);
        EXPECT_EQ(fields[1], "经济类");
        EXPECT_EQ(fields[2], "经济类评委");
        EXPECT_EQ(fields[3],
                  s->scalar("select Employer from expert where expertID = ?", {ids[i]}).toString());
    }
    EXPECT_TRUE(s->scalar("select userName from DrawLog").toString().startsWith("panelpick-admin"));
    EXPECT_FALSE(s->scalar("select EditDate from project").isNull());

    ASSERT_EQ(run({"audit", kBill}), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith("verified 2 picks\nchain head ")) << out.toStdString();
    EXPECT_TRUE(out.contains(s->scalar("select rowHash from DrawLog order by id desc").toString()));
}

TEST_P(AdminCommand, RedrawReplacesTheResult) {
    ASSERT_EQ(run({"draw", kBill}), 0) << err.toStdString();
    EXPECT_EQ(run({"draw", kBill}), 1);
    EXPECT_EQ(err.trimmed(), ProjectDraw::kHasResult);
    ASSERT_EQ(run({"draw", kBill, "--redraw"}), 0) << err.toStdString();
    EXPECT_EQ(out.split('\n', Qt::SkipEmptyParts).size(), 2);
    EXPECT_EQ(s->resultIDs(kBill).size(), 2);
    ASSERT_EQ(run({"audit", kBill}), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith("verified 4 picks"));
}

TEST_P(AdminCommand, RefusedDrawsSayWhyAndWriteNothing) {
    s->project("PRJ00000002", kEvaluation);
    s->project("PRJ00000003", kEvaluation);
    s->demand("PRJ00000003", "经济类", {}, "经济类", "", 1);
    ASSERT_TRUE(s->db().exec("update project set IsSave = 1 where BillID = ?", {"PRJ00000003"}));
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"draw", "NOSUCH"}, ProjectDraw::unknownProject("NOSUCH")},
        {{"draw", "PRJ00000002"}, ProjectDraw::kNoDemand},
        {{"draw", "PRJ00000002", "--redraw"}, ProjectDraw::kNoDemand},
        {{"draw", "PRJ00000003"}, ProjectDraw::kArchived},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(err.trimmed(), c.message) << c.args.join(' ').toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
    EXPECT_EQ(s->scalar("select COUNT(*) from ProjectList").toInt(), 0);
    EXPECT_EQ(s->scalar("select COUNT(*) from DrawLog").toInt(), 0);
}

TEST_P(AdminCommand, AuditNamesTheFirstRowThatDoesNotHold) {
    ASSERT_EQ(run({"draw", kBill}), 0) << err.toStdString();
    s->drawn(kBill, "0003", "经济类");
    EXPECT_EQ(run({"audit", kBill}), 1);
    EXPECT_TRUE(err.contains("(expert 0003) was written by no logged pick")) << err.toStdString();
}

TEST_P(AdminCommand, WrongUsageIsRefused) {
    for (const QStringList& args :
         {QStringList{}, QStringList{"draw"}, QStringList{"audit", "A", "B"},
          QStringList{"print", kBill}, QStringList{"audit", "--redraw"}}) {
        EXPECT_EQ(run(args), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(err.startsWith("usage:"));
    }
}

PANELPICK_ON_EVERY_ENGINE(AdminCommand);
