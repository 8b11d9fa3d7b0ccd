#include "DrawAudit.h"
#include "CanonicalRecord.h"
#include "DrawEngine.h"
#include "DrawLogEntry.h"
#include "DrawTest.h"
#include "ProjectDraw.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString kBill = QStringLiteral("PRJ00000001");
const QDateTime kEvaluation(QDate(2026, 5, 10), QTime(10, 0));

} // namespace

// A project whose draws leave every kind of audit row: a designated expert, a
// random pick, a try rejected by the cap, a candidate left out for his
// number, a replacement, a manual pick and an emergency designation.
class DrawAuditTest : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        s->project(kBill, kEvaluation, 0, 1);
        s->expert({.id = "0001", .cls = "经济类", .employer = "A"});
        s->expert({.id = "0002", .cls = "经济类", .employer = "A"});
        s->expert({.id = "0003", .cls = "经济类", .employer = "B"});
        s->expert({.id = "0004", .cls = "经济类", .employer = "C", .ischeck = 1});
        s->expert({.id = "0005", .cls = "经济类", .employer = "D"});
        s->expert({.id = "0006", .cls = "经济类", .employer = "E"});
        s->expert({.id = "0007", .cls = "经济类", .employer = "F"});
        ASSERT_TRUE(s->db().exec("update expert set Mobile = ? where expertID = ?",
                                 {DrawScenario::mobileOf("0003"), "0005"}));
        s->demand(kBill, "经济类", {}, "经济类", "", 3);
    }

    void drawEverything() {
        // 0004 designated; 0001 at index 0; 0002 (A again) rejected, then 0003.
        services.random.script = {0, 0, 0};
        ASSERT_TRUE(dm().RunDraw(kBill));
        ASSERT_EQ(s->resultIDs(kBill), QStringList({"0004", "0001", "0003"}));
        // 0003 declines: 0005 shares his number, 0006 and 0007 remain.
        s->setAutoReplacement(true);
        services.random.script = {0};
        ASSERT_EQ(dm().DrawReplacement(DrawScenario::mobileOf("0003"), kBill),
                  DrawScenario::mobileOf("0006"));
        // The manual pool holds 0002 and 0007 (0005 left out again).
        ASSERT_TRUE(dm().OpenClassPool(kBill, "经济类"));
        services.random.script = {1};
        ASSERT_EQ(dm().drawEngine().moveToRandomCandidate(), 1);
        ASSERT_TRUE(dm().drawEngine().recordManualPick(kBill, "经济类").ok());
        s->drawn(kBill, "0007", "经济类");
        dm().RemoveCurrentCandidate();
        ASSERT_TRUE(dm().drawEngine().recordEmergencyPick(kBill, "0002").ok());
        s->drawn(kBill, "0002", "经济类");
    }

    DrawAudit::Report audit() { return DrawAudit::verify(dm().context(), kBill); }

    qlonglong rowOf(const QString& expertID, const QString& outcome = "picked") {
        return s
            ->scalar("select MIN(id) from DrawLog where expertID = ? and outcome = ?",
                     {expertID, outcome})
            .toLongLong();
    }

    void dropAuditTriggers() {
        if (GetParam() == DbEngine::Postgres) {
            ASSERT_TRUE(s->execDirect("drop trigger DrawLog_no_change on DrawLog"));
            ASSERT_TRUE(s->execDirect("drop trigger DrawPool_no_change on DrawPool"));
        } else {
            for (const char* t : {"DrawLog_no_update", "DrawLog_no_delete", "DrawPool_no_update",
                                  "DrawPool_no_delete"})
                ASSERT_TRUE(s->execDirect(QStringLiteral("drop trigger %1").arg(t)));
        }
    }

    // What a forger with the file would do: rehash every row from the first
    // changed one on and move the head, so that the chain itself holds.
    void rehashChain() {
        QSqlQuery q(dm().ADOCon());
        ASSERT_TRUE(q.exec("select * from DrawLog order by id"));
        QString prev(64, '0');
        std::vector<DrawLogEntry> rows;
        while (q.next())
            rows.push_back(DrawLogEntry::fromRecord(q.record()));
        for (DrawLogEntry& e : rows) {
            e.prevHash = prev;
            e.rowHash = e.computeHash();
            prev = e.rowHash;
            ASSERT_TRUE(s->db().exec("update DrawLog set prevHash = ?, rowHash = ? where id = ?",
                                     {e.prevHash, e.rowHash, e.id}));
        }
        ASSERT_TRUE(s->db().exec("update DrawLogHead set headHash = ? where id = 1", {prev}));
    }
};

TEST_P(DrawAuditTest, EveryKindOfPickVerifies) {
    drawEverything();
    const auto report = audit();
    EXPECT_TRUE(report.ok) << report.failure.toStdString();
    EXPECT_EQ(report.picks, 6);
    EXPECT_EQ(report.projectHead,
              s->scalar("select rowHash from DrawLog order by id desc").toString());
    EXPECT_EQ(s->scalar("select COUNT(*) from DrawLog where outcome = ?", {"cap-rejected"}).toInt(),
              1);
    EXPECT_EQ(
        s->scalar("select COUNT(*) from DrawLog where outcome = ?", {"duplicate-mobile"}).toInt(),
        2);
    // One snapshot per pool that was drawn from: the demand row, the
    // replacement and the manual pool.
    EXPECT_EQ(s->scalar("select COUNT(*) from DrawPool").toInt(), 3);
    EXPECT_EQ(s->scalar("select demandID from DrawPool order by id").toLongLong(),
              s->scalar("select id from ProjectSpeciality").toLongLong());
}

TEST_P(DrawAuditTest, PoolSnapshotKeepsTheRulesInForce) {
    s->avoidUnit(kBill, "回避单位");
    s->avoidExpert(kBill, "0099");
    drawEverything();
    const QString rules = s->scalar("select rules from DrawPool order by id").toString();
    for (const char* line : {"class=经济类", "cap=1", "gapDay=0", "avoidedUnits=回避单位",
                             "avoidedExperts=0099", "city="})
        EXPECT_TRUE(rules.contains(line)) << line << " in\n" << rules.toStdString();
    EXPECT_EQ(s->scalar("select candidates from DrawPool order by id").toString(),
              "0001\n0002\n0003\n0004\n0005\n0006\n0007");
    EXPECT_EQ(s->scalar("select designated from DrawPool order by id").toString(), "0004");
}

TEST_P(DrawAuditTest, RedrawIsLoggedAndTheNewResultVerifies) {
    drawEverything();
    ProjectDraw actions(dm().context(), dm().drawEngine());
    services.random.script = {1, 1};
    ASSERT_TRUE(actions.redraw(kBill).ok());
    EXPECT_EQ(s->scalar("select note from DrawLog where outcome = ?", {"cleared"}).toString(), "6");
    EXPECT_EQ(s->resultIDs(kBill).size(), 3);
    const auto report = audit();
    EXPECT_TRUE(report.ok) << report.failure.toStdString();
}

struct Tampering {
    std::string name;
    std::function<void()> apply;
    QString failure;                // the start of what the report says, %1 the row it names
    std::function<qlonglong()> row; // found before the tampering
};

TEST_P(DrawAuditTest, TamperingIsDetected) {
    const std::vector<Tampering> cases{
        {"UpdateWithTheTriggersDropped",
         [this] {
             dropAuditTriggers();
             ASSERT_TRUE(s->db().exec("update DrawLog set expertID = ? where id = ?",
                                      {"0007", rowOf("0001")}));
         },
         "DrawLog row %1: its content no longer gives its hash", [this] { return rowOf("0001"); }},
        {"DeletedRow",
         [this] {
             dropAuditTriggers();
             ASSERT_TRUE(s->db().exec("delete from DrawLog where id = ?", {rowOf("0001")}));
         },
         "DrawLog row %1: does not follow the row before it",
         [this] { return rowOf("0002", "cap-rejected"); }},
        {"ReplacedRowWithItsOwnHashRight",
         [this] {
             dropAuditTriggers();
             QSqlQuery q(dm().ADOCon());
             ASSERT_TRUE(q.prepare("select * from DrawLog where id = ?"));
             q.addBindValue(rowOf("0001"));
             ASSERT_TRUE(q.exec() && q.next());
             DrawLogEntry forged = DrawLogEntry::fromRecord(q.record());
             forged.expertID = "0007";
             forged.rowHash = forged.computeHash();
             ASSERT_TRUE(s->db().exec("delete from DrawLog where id = ?", {forged.id}));
             QStringList marks;
             for (int i = 0; i <= DrawLogEntry::columns().size(); ++i)
                 marks << "?";
             ASSERT_TRUE(s->db().exec("insert into DrawLog (id, " +
                                          DrawLogEntry::columns().join(", ") + ") values (" +
                                          marks.join(", ") + ")",
                                      QVariantList{forged.id} + forged.insertValues()));
         },
         "DrawLog row %1: does not follow the row before it",
         [this] { return rowOf("0002", "cap-rejected"); }},
        {"LastRowsRemoved",
         [this] {
             dropAuditTriggers();
             ASSERT_TRUE(s->db().exec("delete from DrawLog where id = ?", {rowOf("0002")}));
         },
         "DrawLogHead names row %1", [this] { return rowOf("0002"); }},
        {"RandomIndexMovedAndTheChainRehashed",
         [this] {
             dropAuditTriggers();
             ASSERT_TRUE(s->db().exec("update DrawLog set expertID = ? where id = ?",
                                      {"0002", rowOf("0001")}));
             rehashChain();
         },
         "DrawLog row %1: expert 0002 is not the candidate at index 0",
         [this] { return rowOf("0001"); }},
        {"PoolSnapshotChanged",
         [this] {
             dropAuditTriggers();
             ASSERT_TRUE(s->db().exec("update DrawPool set candidates = ?",
                                      {"0001\n0002\n0003\n0004\n0005\n0006"}));
         },
         "DrawLog row %1: pool snapshot",
         [this] {
             return s->scalar("select MIN(id) from DrawLog where billid = ?", {kBill}).toLongLong();
         }},
        {"ResultRowWrittenByHand", [this] { s->drawn(kBill, "0005", "经济类"); },
         "result row %1 (expert 0005) was written by no logged pick",
         [this] { return s->scalar("select MAX(id) + 1 from ProjectList").toLongLong(); }},
    };
    for (const Tampering& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case on a database of its own (one data module at a time).
        s.reset();
        SetUp();
        drawEverything();
        ASSERT_TRUE(audit().ok) << "before tampering";
        const qlonglong row = c.row();
        c.apply();
        const auto report = audit();
        EXPECT_FALSE(report.ok);
        EXPECT_TRUE(report.failure.startsWith(c.failure.arg(row)))
            << report.failure.toStdString() << "\n(expected " << c.failure.arg(row).toStdString()
            << ")";
    }
}

PANELPICK_ON_EVERY_ENGINE(DrawAuditTest);
