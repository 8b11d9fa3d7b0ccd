#include "CandidatePool.h"
#include "DrawEngine.h"
#include "DrawTest.h"
#include "SqlRun.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString kBill = QStringLiteral("PRJ00000001");
const QDateTime kEvaluation(QDate(2026, 5, 10), QTime(10, 0));

QString sha256Of(const QStringList& ids) {
    QByteArray text;
    for (const QString& id : ids)
        text += id.toUtf8() + '\n';
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
}

} // namespace

using RunDraw = DrawTest;

TEST_P(RunDraw, WritesTheResultRowOfItsDemandRow) {
    s->project(kBill, kEvaluation);
    s->expert({.id = "0001", .employer = "设计院", .specialties = {11}});
    s->demand(kBill, "技术类", 11, "工程建设/房屋建筑", "", 1);
    ASSERT_TRUE(dm().RunDraw(kBill));

    QSqlQuery q(dm().ADOCon());
    ASSERT_TRUE(q.exec("select * from ProjectList"));
    ASSERT_TRUE(q.next());
    auto v = [&](const char* column) { return q.value(q.record().indexOf(column)).toString(); };
    EXPECT_EQ(v("billid"), kBill);
    EXPECT_EQ(v("expertID"), "0001");
    EXPECT_EQ(v("expertName"), "专家0001");
    EXPECT_EQ(v("TEL"), "025-0001");
    EXPECT_EQ(v("Mobile"), "1390001");
    EXPECT_EQ(v("Employer"), "设计院");
    EXPECT_EQ(v("specialtyClass"), "技术类");
    EXPECT_EQ(v("state"), "待联系");
    EXPECT_EQ(v("ischeck"), "1");
    EXPECT_EQ(v("pf"), "1");
    EXPECT_EQ(v("dialcount"), "1");
    EXPECT_EQ(v("sms"), "");
    EXPECT_FALSE(q.value(q.record().indexOf("sms")).isNull()) << "sms is empty text, not NULL";
    EXPECT_EQ(v("ICNO"), "工程建设/房屋建筑");
    EXPECT_EQ(v("reType"), "11");
    EXPECT_EQ(v("reClass"), "");
    EXPECT_FALSE(q.value(q.record().indexOf("reClass")).isNull()) << "reClass is empty, not NULL";
    EXPECT_FALSE(q.next());
}

TEST_P(RunDraw, RowWithoutSpecialtyNumberIsDrawnBySpecialtyZero) {
    s->project(kBill, kEvaluation);
    s->expert({.id = "0001", .specialties = {0}});
    s->expert({.id = "0002", .specialties = {11}});
    s->demand(kBill, "技术类", {}, "", "", 2);
    ASSERT_TRUE(dm().RunDraw(kBill));
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0001"}));
    EXPECT_EQ(s->resultColumn(kBill, "reType"), QStringList({"0"}));
}

TEST_P(RunDraw, LastCandidateOfThePoolCanBeDrawn) {
    s->project(kBill, kEvaluation);
    s->expert({.id = "0001", .cls = "经济类"});
    s->expert({.id = "0002", .cls = "经济类"});
    s->demand(kBill, "经济类", {}, "经济类", "", 1);
    services.random.script = {1};
    ASSERT_TRUE(dm().RunDraw(kBill));
    EXPECT_EQ(services.random.asked, std::vector<std::uint32_t>{2});
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0002"}));
}

TEST_P(RunDraw, DesignatedExpertsComeFirstInPoolOrderThenChance) {
    s->project(kBill, kEvaluation);
    for (const char* id : {"0001", "0002", "0003", "0004", "0005"})
        s->expert(
            {.id = id, .cls = "造价类", .ischeck = QString(id) == "0002" || QString(id) == "0004"});
    s->demand(kBill, "造价类", {}, "造价类", "", 3);
    services.random.script = {2};
    ASSERT_TRUE(dm().RunDraw(kBill));
    // After the two designated experts the pool is 0001, 0003, 0005.
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0002", "0004", "0005"}));
    EXPECT_EQ(services.random.asked, std::vector<std::uint32_t>{3});
    EXPECT_EQ(s->scalar("select COUNT(*) from expert where ischeck = 1").toInt(), 2);
}

TEST_P(RunDraw, CapOneWithUnitsAABNeverGivesTheSecondA) {
    s->project(kBill, kEvaluation, 0, 1);
    s->expert({.id = "0001", .cls = "经济类", .employer = "A"});
    s->expert({.id = "0002", .cls = "经济类", .employer = "A"});
    s->expert({.id = "0003", .cls = "经济类", .employer = "B"});
    s->demand(kBill, "经济类", {}, "经济类", "", 3);
    // First pick 0001 (A); then 0002 (A) is refused and every A leaves the pool.
    services.random.script = {0, 0, 0};
    ASSERT_TRUE(dm().RunDraw(kBill));
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0001", "0003"}));
    EXPECT_EQ(services.random.asked, (std::vector<std::uint32_t>{3, 2, 1}));
}

TEST_P(RunDraw, CapDoesNotHoldBackADesignatedExpert) {
    s->project(kBill, kEvaluation, 0, 1);
    s->expert({.id = "0001", .cls = "经济类", .employer = "A"});
    s->expert({.id = "0002", .cls = "经济类", .employer = "A", .ischeck = 1});
    s->demand(kBill, "经济类", {}, "经济类", "", 2);
    services.random.script = {0};
    ASSERT_TRUE(dm().RunDraw(kBill));
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0002"}));
}

TEST_P(RunDraw, RowWithNumZeroAddsNothingButCountsInTheMaximum) {
    RecordingProgress progress;
    dm().setDrawProgress(&progress);
    s->project(kBill, kEvaluation);
    s->expert({.id = "0001", .cls = "经济类"});
    s->expert({.id = "0002", .cls = "造价类"});
    s->expert({.id = "0003", .cls = "造价类"});
    s->demand(kBill, "经济类", {}, "经济类", "", 0);
    s->demand(kBill, "造价类", {}, "造价类", "", 2);
    ASSERT_TRUE(dm().RunDraw(kBill));
    dm().setDrawProgress(nullptr);
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0002", "0003"}));
    EXPECT_EQ(progress.calls, QStringList({"begin", "max 2", "step", "step", "end"}));
    EXPECT_EQ(services.waiter.waits, (std::vector<int>{200, 1000, 1000}));
}

TEST_P(RunDraw, ShortPoolGivesFewerRowsSilentlyAndLaterRowsSkipEarlierPicks) {
    s->project(kBill, kEvaluation);
    s->expert({.id = "0001", .cls = "经济类"});
    s->expert({.id = "0002", .cls = "经济类"});
    s->demand(kBill, "经济类", {}, "第一组", "", 1);
    s->demand(kBill, "经济类", {}, "第二组", "", 3);
    ASSERT_TRUE(dm().RunDraw(kBill));
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0001", "0002"}));
    EXPECT_EQ(s->resultColumn(kBill, "ICNO"), QStringList({"第一组", "第二组"}));
    EXPECT_TRUE(services.prompt.shown.isEmpty());
    // Pacing only for experts actually drawn.
    EXPECT_EQ(services.waiter.waits, (std::vector<int>{200, 1000, 1000}));
}

TEST_P(RunDraw, FailingPoolEndsTheDrawWithTheErrorAndClosesTheProgress) {
    RecordingProgress progress;
    dm().setDrawProgress(&progress);
    s->project(kBill, kEvaluation);
    s->expert({.id = "0001", .cls = "经济类"});
    s->demand(kBill, "经济类", {}, "经济类", "", 1);
    ASSERT_TRUE(s->execDirect("drop table ProjectHbExpert"));
    EXPECT_FALSE(dm().RunDraw(kBill));
    dm().setDrawProgress(nullptr);
    EXPECT_EQ(progress.calls.last(), "end");
    EXPECT_EQ(services.prompt.shown.size(), 1);
    EXPECT_TRUE(s->resultIDs(kBill).isEmpty());
}

TEST_P(RunDraw, MaximumIsFiveWhenTheDemandSumFails) {
    RecordingProgress progress;
    dm().setDrawProgress(&progress);
    // Checked while complete: the table goes missing under a running program.
    EXPECT_EQ(dm().drawEngine().checkAuditTables(), "");
    ASSERT_TRUE(s->execDirect("drop table ProjectSpeciality"));
    EXPECT_FALSE(dm().RunDraw(kBill));
    dm().setDrawProgress(nullptr);
    EXPECT_EQ(progress.calls, QStringList({"begin", "max 5", "end"}));
}

TEST_P(RunDraw, EveryPickIsAuditedWithItsPool) {
    dm().setCurrentUser("张三");
    s->project(kBill, kEvaluation);
    for (const char* id : {"0001", "0002", "0003"})
        s->expert({.id = id, .cls = "经济类", .ischeck = QString(id) == "0003"});
    s->demand(kBill, "经济类", {}, "经济类", "", 2);
    services.random.script = {1};
    ASSERT_TRUE(dm().RunDraw(kBill));
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0003", "0002"}));

    QSqlQuery q(dm().ADOCon());
    ASSERT_TRUE(q.exec("select drawTime, userName, billid, drawKind, demandRow, poolSize, "
                       "poolFingerprint, randomIndex, expertID from DrawLog order by id"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toDateTime(), services.clock.at);
    EXPECT_EQ(q.value(1).toString(), "张三");
    EXPECT_EQ(q.value(2).toString(), kBill);
    EXPECT_EQ(q.value(3).toString(), "initial");
    EXPECT_EQ(q.value(4).toString(), "1 经济类 经济类");
    EXPECT_EQ(q.value(5).toInt(), 3);
    EXPECT_EQ(q.value(6).toString(), sha256Of({"0001", "0002", "0003"}));
    EXPECT_TRUE(q.value(7).isNull()) << "a designated expert is not a random pick";
    EXPECT_EQ(q.value(8).toString(), "0003");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(5).toInt(), 2);
    EXPECT_EQ(q.value(6).toString(), sha256Of({"0001", "0002"}));
    EXPECT_EQ(q.value(7).toInt(), 1);
    EXPECT_EQ(q.value(8).toString(), "0002");
    EXPECT_FALSE(q.next());
}

TEST_P(RunDraw, AuditTrailRefusesUpdatesAndDeletes) {
    s->project(kBill, kEvaluation);
    s->expert({.id = "0001", .cls = "经济类"});
    s->demand(kBill, "经济类", {}, "经济类", "", 1);
    ASSERT_TRUE(dm().RunDraw(kBill));
    EXPECT_FALSE(s->db().exec("update DrawLog set expertID = ?", {"9999"}));
    EXPECT_FALSE(s->db().exec("delete from DrawLog"));
    EXPECT_EQ(s->scalar("select expertID from DrawLog").toString(), "0001");
}

TEST_P(RunDraw, HasDemandTellsWhetherTheProjectHasDemandRows) {
    EXPECT_FALSE(dm().HasDemand(kBill));
    s->demand(kBill, "经济类", {}, "经济类", "", 0);
    EXPECT_TRUE(dm().HasDemand(kBill));
    EXPECT_FALSE(dm().HasDemand("PRJ00000002"));
}

TEST_P(RunDraw, ProjectWithoutProjectRowDrawsOnDemandAndAvoidanceAlone) {
    s->expert({.id = "0001", .cls = "经济类", .city = "苏州"});
    s->expert({.id = "0002", .cls = "经济类"});
    s->avoidExpert(kBill, "0002");
    s->demand(kBill, "经济类", {}, "经济类", "", 2);
    ASSERT_TRUE(dm().RunDraw(kBill));
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0001"}));
}

TEST_P(RunDraw, AnotherDrawAskedForDuringThePacingIsRefusedAndChangesNothing) {
    s->project(kBill, kEvaluation);
    s->project("PRJ00000002", kEvaluation);
    for (const char* id : {"0001", "0002", "0003", "0004"})
        s->expert({.id = id, .cls = "经济类"});
    s->demand(kBill, "经济类", {}, "经济类", "", 2);
    s->demand("PRJ00000002", "经济类", {}, "经济类", "", 1);
    s->drawn("PRJ00000002", "0004", "经济类");
    s->setAutoReplacement(true);
    QStringList refusals;
    services.waiter.duringWait = [&](int ms) {
        if (ms != DrawEngine::kPacingMs)
            return;
        EXPECT_FALSE(dm().RunDraw("PRJ00000002"));
        EXPECT_EQ(dm().DrawReplacement(DrawScenario::mobileOf("0004"), "PRJ00000002"), "");
        EXPECT_FALSE(dm().OpenClassPool(kBill, "经济类"));
        EXPECT_FALSE(dm().OpenSpecialtyPool(kBill, "11"));
        EXPECT_EQ(dm().drawEngine().moveToRandomCandidate(), -1);
        for (const auto& m : services.prompt.shown)
            refusals << m.text;
        services.prompt.shown.clear();
    };
    services.random.script = {2, 0};
    ASSERT_TRUE(dm().RunDraw(kBill));
    // The running draw took its two experts from its own pool, untouched.
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0003", "0001"}));
    EXPECT_EQ(s->resultIDs("PRJ00000002"), QStringList({"0004"}));
    EXPECT_EQ(services.random.asked, (std::vector<std::uint32_t>{4, 3}));
    ASSERT_EQ(refusals.size(), 8);
    for (const QString& r : refusals)
        EXPECT_EQ(r, DrawEngine::kBusy);
    // Once it has ended, the next draw runs.
    EXPECT_TRUE(dm().OpenClassPool(kBill, "经济类"));
}

TEST_P(RunDraw, MissingEmployerCountsAsTheEmptyOneForTheCap) {
    s->project(kBill, kEvaluation, 0, 1);
    const QVariant none(QMetaType::fromType<QString>());
    s->expert({.id = "0001", .cls = "经济类", .employer = none});
    s->expert({.id = "0002", .cls = "经济类", .employer = ""});
    s->expert({.id = "0003", .cls = "经济类", .employer = none});
    s->expert({.id = "0004", .cls = "经济类", .employer = "B"});
    s->demand(kBill, "经济类", {}, "经济类", "", 3);
    // 0001 (no employer) first; then 0002 and 0003 hit the cap of the empty
    // employer, which leaves 0004 alone.
    services.random.script = {0, 0};
    ASSERT_TRUE(dm().RunDraw(kBill));
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0001", "0004"}));
    EXPECT_EQ(services.random.asked, (std::vector<std::uint32_t>{4, 3, 1}));
    EXPECT_EQ(s->scalar("select COUNT(*) from DrawLog where outcome = ?", {"cap-rejected"}).toInt(),
              1);
    EXPECT_EQ(s->scalar("select COUNT(*) from DrawLog where outcome = ?", {"none"}).toInt(), 1);
}

TEST_P(RunDraw, NobodySitsTwiceUnderOneMobileNumber) {
    s->project(kBill, kEvaluation);
    for (const char* id : {"0001", "0002", "0003", "0004"})
        s->expert({.id = id, .cls = "经济类"});
    s->expert({.id = "0005", .cls = "造价类"});
    // 0003 and 0005 are the same person entered twice.
    ASSERT_TRUE(s->db().exec("update expert set Mobile = ? where expertID in (?, ?)",
                             {" 13800138000", "0003", "0005"}));
    ASSERT_TRUE(
        s->db().exec("update expert set Mobile = ? where expertID = ?", {"13800138000 ", "0002"}));
    s->demand(kBill, "经济类", {}, "经济类", "", 2);
    s->demand(kBill, "造价类", {}, "造价类", "", 1);
    services.random.script = {1, 1};
    ASSERT_TRUE(dm().RunDraw(kBill));
    // 0002 first; 0003 shares its number and leaves the pool, so the second
    // pick is made among 0001 and 0004; the cost row finds nobody.
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0002", "0004"}));
    EXPECT_EQ(services.random.asked, (std::vector<std::uint32_t>{4, 2}));
    QSqlQuery q(dm().ADOCon());
    ASSERT_TRUE(q.exec("select expertID, note from DrawLog where outcome = 'duplicate-mobile' "
                       "order by id"));
    QStringList left;
    while (q.next())
        left << q.value(0).toString() + " " + q.value(1).toString();
    EXPECT_EQ(left, QStringList({"0003 13800138000", "0005 13800138000"}));
}

PANELPICK_ON_EVERY_ENGINE(RunDraw);
