#include "CandidatePool.h"
#include "DrawEngine.h"
#include "DrawTest.h"
#include "TempHome.h"

namespace {
const QString kBill = QStringLiteral("PRJ00000001");
const QDateTime kEvaluation(QDate(2026, 5, 10), QTime(10, 0));

QStringList idsOf(const CandidatePool& pool) {
    QStringList out;
    for (const Candidate& c : pool.rows())
        out << c.expertID;
    return out;
}
} // namespace

using ManualPool = DrawTest;

TEST_P(ManualPool, HasNeitherCapNorDesignatedPreference) {
    s->project(kBill, kEvaluation, 0, 1);
    s->expert({.id = "0001", .cls = "经济类", .employer = "A", .ischeck = 1});
    s->expert({.id = "0002", .cls = "经济类", .employer = "A"});
    s->expert({.id = "0003", .cls = "经济类", .employer = "A"});
    s->drawn(kBill, "0003", "经济类");
    ASSERT_TRUE(dm().OpenClassPool(kBill, "经济类"));
    EXPECT_EQ(idsOf(dm().qryTypeSeek()), QStringList({"0001", "0002"}));
}

TEST_P(ManualPool, SpinCoversEveryCandidateAndRemovingLeavesTheRegister) {
    s->project(kBill, kEvaluation);
    for (const char* id : {"0001", "0002", "0003"})
        s->expert({.id = id, .specialties = {21}});
    ASSERT_TRUE(dm().OpenSpecialtyPool(kBill, " 21 "));
    services.random.script = {2};
    EXPECT_EQ(dm().drawEngine().moveToRandomCandidate(), 2);
    EXPECT_EQ(services.random.asked, std::vector<std::uint32_t>{3});
    EXPECT_EQ(dm().qryTypeSeek().current()->expertID, "0003");

    const auto recorded = dm().drawEngine().recordManualPick(kBill, "工程/信息");
    ASSERT_TRUE(recorded.ok()) << recorded.message.toStdString();
    dm().RemoveCurrentCandidate();
    EXPECT_EQ(idsOf(dm().qryTypeSeek()), QStringList({"0001", "0002"}));
    EXPECT_EQ(s->scalar("select COUNT(*) from expert").toInt(), 3);
    EXPECT_EQ(s->scalar("select drawKind from DrawLog").toString(), "manual");
    EXPECT_EQ(s->scalar("select randomIndex from DrawLog").toInt(), 2);
    EXPECT_EQ(s->scalar("select poolSize from DrawLog").toInt(), 3);
}

TEST_P(ManualPool, FailingClassPoolWritesItsSqlAndValuesToTheLog) {
    s->project(kBill, kEvaluation);
    ASSERT_TRUE(s->execDirect("drop table projectHbdw"));
    EXPECT_FALSE(dm().OpenClassPool(kBill, "O'经济类"));
    EXPECT_FALSE(dm().qryTypeSeek().isOpen());
    EXPECT_EQ(services.prompt.last(),
              "系统发生严重错误，请将log文件夹下error_jj.txt传给软件供应商为您解决问题");
    const QString log = QString::fromUtf8(s->db().home().read("log/error_jj.txt"));
    EXPECT_TRUE(log.contains("projectHbdw"));
    EXPECT_TRUE(log.contains("'O'经济类'"));
    EXPECT_TRUE(log.contains("'" + kBill + "'"));
}

TEST_P(ManualPool, SpecialtyPoolWithoutANumberFailsIntoItsOwnLog) {
    s->project(kBill, kEvaluation);
    s->expert({.id = "0001", .specialties = {0}});
    EXPECT_FALSE(dm().OpenSpecialtyPool(kBill, "房屋"));
    EXPECT_TRUE(dm().qryTypeSeek().isEmpty());
    EXPECT_EQ(services.prompt.last(),
              "系统发生严重错误，请将log文件夹下error_bc.txt传给软件供应商为您解决问题");
    EXPECT_FALSE(s->db().home().read("log/error_bc.txt").isEmpty());
}

TEST_P(ManualPool, EmergencyDesignationIsAuditedWithoutAPool) {
    const auto recorded = dm().drawEngine().recordEmergencyPick(kBill, "0007");
    ASSERT_TRUE(recorded.ok()) << recorded.message.toStdString();
    EXPECT_EQ(s->scalar("select drawKind from DrawLog").toString(), "emergency");
    EXPECT_TRUE(s->scalar("select poolSize from DrawLog").isNull());
    EXPECT_EQ(s->scalar("select expertID from DrawLog").toString(), "0007");
}

PANELPICK_ON_EVERY_ENGINE(ManualPool);
