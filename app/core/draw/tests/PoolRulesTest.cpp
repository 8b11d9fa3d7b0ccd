#include "DrawEngine.h"
#include "DrawTest.h"

#include <algorithm>

namespace {

const QString kBill = QStringLiteral("PRJ00000001");
const QDateTime kEvaluation(QDate(2026, 5, 10), QTime(10, 0));

enum class PoolKind {
    InitialClass,
    InitialIndustry,
    InitialSpecialty,
    ManualClass,
    ManualSpecialty,
    ClassReplacement,
    TechnicalReplacement
};

QStringList sorted(QStringList l) {
    l.sort();
    return l;
}

// Everything a pool of the given kind holds: the initial draw and the
// replacement are run until they take every candidate; the manual pools are
// read directly.
QStringList poolOf(PoolKind kind, DrawScenario& s, TSysDM& dm, const QString& replaced = {}) {
    const QStringList before = s.resultIDs(kBill);
    switch (kind) {
    case PoolKind::InitialClass:
        s.demand(kBill, "经济类", {}, "经济类", "", 50);
        EXPECT_TRUE(dm.RunDraw(kBill));
        break;
    case PoolKind::InitialIndustry:
        s.demand(kBill, "技术类", {}, "建筑", "建筑", 50);
        EXPECT_TRUE(dm.RunDraw(kBill));
        break;
    case PoolKind::InitialSpecialty:
        s.demand(kBill, "技术类", 11, "房屋建筑", "", 50);
        EXPECT_TRUE(dm.RunDraw(kBill));
        break;
    case PoolKind::ManualClass:
    case PoolKind::ManualSpecialty: {
        EXPECT_TRUE(kind == PoolKind::ManualClass ? dm.OpenClassPool(kBill, "经济类")
                                                  : dm.OpenSpecialtyPool(kBill, "11"));
        QStringList ids;
        for (const Candidate& c : dm.qryTypeSeek().rows())
            ids << c.expertID;
        return sorted(ids);
    }
    case PoolKind::ClassReplacement:
    case PoolKind::TechnicalReplacement:
        s.setAutoReplacement(true);
        for (int i = 0; i < 50; ++i)
            if (dm.DrawReplacement(DrawScenario::mobileOf(replaced), kBill) ==
                DrawEngine::kShortOfExperts)
                break;
        break;
    }
    QStringList added = s.resultIDs(kBill);
    for (const QString& id : before)
        added.removeOne(id);
    return sorted(added);
}

DrawScenario::Expert matching(PoolKind kind, const QString& id) {
    DrawScenario::Expert e;
    e.id = id;
    switch (kind) {
    case PoolKind::InitialClass:
    case PoolKind::ManualClass:
    case PoolKind::ClassReplacement:
        e.cls = "经济类";
        break;
    case PoolKind::InitialIndustry:
    case PoolKind::TechnicalReplacement:
        e.industry = "建筑";
        break;
    case PoolKind::InitialSpecialty:
    case PoolKind::ManualSpecialty:
        e.industry = "其他";
        e.specialties = {11};
        break;
    }
    return e;
}

DrawScenario::Expert notMatching(PoolKind kind, const QString& id) {
    DrawScenario::Expert e = matching(kind, id);
    if (e.cls == "经济类")
        e.cls = "造价类";
    else if (e.specialties.isEmpty())
        e.industry = "水利";
    else
        e.specialties = {12};
    return e;
}

struct KindCase {
    std::string name;
    PoolKind kind;
};

const std::vector<KindCase> kKinds{{"InitialClass", PoolKind::InitialClass},
                                   {"InitialIndustry", PoolKind::InitialIndustry},
                                   {"InitialSpecialty", PoolKind::InitialSpecialty},
                                   {"ManualClass", PoolKind::ManualClass},
                                   {"ManualSpecialty", PoolKind::ManualSpecialty},
                                   {"ClassReplacement", PoolKind::ClassReplacement},
                                   {"TechnicalReplacement", PoolKind::TechnicalReplacement}};

} // namespace

// Disabled, avoided (by unit or by name), already drawn, of another city or
// of another demand: never a candidate, whatever the pool.
class ExclusionRules : public DrawTestOn<std::tuple<DbEngine, KindCase>> {};

TEST_P(ExclusionRules, OnlyEligibleExpertsAreInThePool) {
    const PoolKind kind = std::get<1>(GetParam()).kind;
    s->project(kBill, kEvaluation, 0, 0, " 南京 ");
    s->expert(matching(kind, "0001"));
    auto e2 = matching(kind, "0002");
    e2.employer = "";
    s->expert(e2);
    auto disabled = matching(kind, "0003");
    disabled.enabled = false;
    s->expert(disabled);
    auto avoidedUnit = matching(kind, "0004");
    avoidedUnit.employer = "回避单位";
    s->expert(avoidedUnit);
    s->expert(matching(kind, "0005"));
    s->avoidExpert(kBill, "0005");
    s->avoidUnit(kBill, "回避单位");
    s->expert(matching(kind, "0006"));
    s->drawn(kBill, "0006", kind == PoolKind::ClassReplacement ? "经济类" : "技术类", "", "建筑");
    auto otherCity = matching(kind, "0007");
    otherCity.city = "苏州";
    s->expert(otherCity);
    s->expert(notMatching(kind, "0008"));

    EXPECT_EQ(poolOf(kind, *s, dm(), "0006"), QStringList({"0001", "0002"}));
}

PANELPICK_CASES_ON_EVERY_ENGINE(ExclusionRules, kKinds);

struct WindowCase {
    std::string name;
    QDateTime otherEvaluation;
    int gapDay;
    bool leftOut;
};

const std::vector<WindowCase> kWindowCases{
    {"MorningOfFirstDayStaysEligible", QDateTime(QDate(2026, 5, 7), QTime(9, 0)), 3, false},
    {"SecondBeforeTheBoundStaysEligible", QDateTime(QDate(2026, 5, 7), QTime(23, 59, 58)), 3,
     false},
    {"LowerBoundCounts", QDateTime(QDate(2026, 5, 7), QTime(23, 59, 59)), 3, true},
    {"InsideTheWindow", QDateTime(QDate(2026, 5, 8), QTime(12, 0)), 3, true},
    {"EvaluationDayItselfCounts", QDateTime(QDate(2026, 5, 10), QTime(8, 0)), 3, true},
    {"UpperBoundCounts", QDateTime(QDate(2026, 5, 10), QTime(23, 59, 59)), 3, true},
    {"DayAfterStaysEligible", QDateTime(QDate(2026, 5, 11), QTime(0, 0)), 3, false},
    {"NoWindowWithGapZero", QDateTime(QDate(2026, 5, 9), QTime(9, 0)), 0, false},
};

// The recent-draw window: experts drawn for a project evaluated from 23:59:59
// of the day gap_day days before up to the end of the evaluation day.
// Two candidates, of whom 0001 is in the result of the project "OTHER".
QStringList poolWithOneDrawnForOther(PoolKind kind, DrawScenario& s, TSysDM& dm) {
    s.expert(matching(PoolKind::InitialClass, "0001"));
    s.expert(matching(PoolKind::InitialClass, "0002"));
    s.drawn("OTHER", "0001", "经济类");
    return poolOf(kind, s, dm);
}

QStringList expectedPool(bool leftOut) {
    return leftOut ? QStringList{"0002"} : QStringList{"0001", "0002"};
}

class RecentDrawWindow : public DrawTestOn<std::tuple<DbEngine, WindowCase>> {};

TEST_P(RecentDrawWindow, LeavesOutExpertsDrawnInTheWindow) {
    const WindowCase& c = std::get<1>(GetParam());
    s->project(kBill, kEvaluation, c.gapDay);
    s->project("OTHER", c.otherEvaluation);
    EXPECT_EQ(poolWithOneDrawnForOther(PoolKind::InitialClass, *s, dm()),
              expectedPool(c.leftOut));
}

PANELPICK_CASES_ON_EVERY_ENGINE(RecentDrawWindow, kWindowCases);

struct StoredDateCase {
    std::string name;
    QString otherEvaluation; // as another writer stored it
    bool leftOut;
};

// Dates written by other writers (an import, the sqlite3 shell, an older
// file): "yyyy-mm-dd hh:mm:ss" or a date alone compare by value at the day's
// edges, like the program's own.
const std::vector<StoredDateCase> kStoredDateCases{
    {"BlankFormAtTheLowerBound", "2026-05-07 23:59:59", true},
    {"BlankFormJustBefore", "2026-05-07 23:59:58", false},
    {"BlankFormLastSecondOfTheDay", "2026-05-10 23:59:59", true},
    {"BlankFormDayAfter", "2026-05-11 00:00:00", false},
    {"DateAloneOnTheFirstDay", "2026-05-07", false},
    {"DateAloneInside", "2026-05-08", true},
    {"DateAloneOnTheEvaluationDay", "2026-05-10", true},
    {"DateAloneDayAfter", "2026-05-11", false},
    {"IsoWithT", "2026-05-07T23:59:59", true},
};

class StoredDateForms : public DrawTestOn<std::tuple<DbEngine, StoredDateCase>> {};

TEST_P(StoredDateForms, RecentDrawWindowComparesByValue) {
    const StoredDateCase& c = std::get<1>(GetParam());
    s->project(kBill, kEvaluation, 3);
    s->project("OTHER", kEvaluation);
    // This project's own date as a date alone, the other's in the case's form.
    ASSERT_TRUE(s->db().exec("update project set PBBeginDate = ? where BillID = ?",
                             {QStringLiteral("2026-05-10"), kBill}));
    ASSERT_TRUE(s->db().exec("update project set PBBeginDate = ? where BillID = ?",
                             {c.otherEvaluation, "OTHER"}));
    EXPECT_EQ(poolWithOneDrawnForOther(PoolKind::ManualClass, *s, dm()),
              expectedPool(c.leftOut));
}

PANELPICK_CASES_ON_EVERY_ENGINE(StoredDateForms, kStoredDateCases);

struct ReplacementCase {
    std::string name;
    QString reType;
    QString reClass;
    QVariant projectTypeName;
    QString projectSpecialty;
    QStringList pool;
    QString newReType;
    QString newReClass;
};

const std::vector<ReplacementCase> kReplacementCases{
    {"IndustryOfTheRow", "", "建筑", 13, "", {"0001"}, "", "建筑"},
    {"IndustryOfTheRowTrimmed", "", " 建筑 ", 13, "", {"0001"}, "", "建筑"},
    {"SpecialtyOfTheRow", "12", "", 13, "", {"0002"}, "12", ""},
    {"IndustryWinsOverSpecialtyOfTheRow", "12", "建筑", 13, "", {"0001"}, "", "建筑"},
    {"SpecialtyOfTheProject", "", "", 13, "", {"0003"}, "13", ""},
    {"IndustryOfTheProjectWithoutItsSpecialty", "", "", QVariant(), "水利", {"0002"}, "", "水利"},
};

// Replacing a technical expert: the project's specialty or industry, then the
// row's specialty number, then the row's industry; the last applicable wins.
class TechnicalReplacementRule : public DrawTestOn<std::tuple<DbEngine, ReplacementCase>> {};

TEST_P(TechnicalReplacementRule, DrawsFromTheWinningRuleAndRecordsIt) {
    const ReplacementCase& c = std::get<1>(GetParam());
    s->project(kBill, kEvaluation, 0, 0, {}, c.projectTypeName, c.projectSpecialty);
    s->expert({.id = "0001", .industry = "建筑", .specialties = {11}});
    s->expert({.id = "0002", .industry = "水利", .specialties = {12}});
    s->expert({.id = "0003", .industry = "电力", .specialties = {13}});
    s->expert({.id = "0009", .industry = "电力"});
    s->drawn(kBill, "0009", "技术类", c.reType, c.reClass, "原专业");

    EXPECT_EQ(poolOf(PoolKind::TechnicalReplacement, *s, dm(), "0009"), c.pool);
    EXPECT_EQ(s->resultColumn(kBill, "reType").mid(1), QStringList(c.pool.size(), c.newReType));
    EXPECT_EQ(s->resultColumn(kBill, "reClass").mid(1), QStringList(c.pool.size(), c.newReClass));
    EXPECT_EQ(s->resultColumn(kBill, "sms").mid(1), QStringList(c.pool.size(), "自动补抽"));
    EXPECT_EQ(s->resultColumn(kBill, "ICNO").mid(1), QStringList(c.pool.size(), "原专业"));
}

PANELPICK_CASES_ON_EVERY_ENGINE(TechnicalReplacementRule, kReplacementCases);

struct EmployerCase {
    std::string name;
    bool avoidedUnit;
    int num3;
    QStringList pool;
};

// A missing employer fails every "not in" test that has something to compare
// with; an empty employer is a value like any other.
const std::vector<EmployerCase> kEmployerCases{
    {"NoConditionKeepsBoth", false, 0, {"0001", "0002", "0003"}},
    {"AvoidedUnitLeavesOutTheMissingEmployer", true, 0, {"0002", "0003"}},
    {"CapThatExcludesNobodyKeepsBoth", false, 3, {"0001", "0002", "0003"}},
    {"CapThatExcludesAUnitLeavesOutTheMissingEmployer", false, 2, {"0002"}},
};

class EmployerValues : public DrawTestOn<std::tuple<DbEngine, EmployerCase>> {};

TEST_P(EmployerValues, MissingAndEmptyEmployerInTheReplacementPool) {
    const EmployerCase& c = std::get<1>(GetParam());
    s->project(kBill, kEvaluation, 0, c.num3);
    s->expert(
        {.id = "0001", .cls = "经济类", .employer = QVariant(QMetaType::fromType<QString>())});
    s->expert({.id = "0002", .cls = "经济类", .employer = ""});
    s->expert({.id = "0003", .cls = "经济类", .employer = "U"});
    s->expert({.id = "0008", .cls = "经济类", .employer = "U"});
    s->expert({.id = "0009", .cls = "经济类", .employer = "U"});
    s->drawn(kBill, "0008", "经济类");
    s->drawn(kBill, "0009", "经济类");
    if (c.avoidedUnit)
        s->avoidUnit(kBill, "别的单位");
    // One replacement only: its pool is what the rules allow before it adds a row.
    s->setAutoReplacement(true);
    const QString mobile = dm().DrawReplacement(DrawScenario::mobileOf("0009"), kBill);
    ASSERT_FALSE(mobile.isEmpty());
    EXPECT_TRUE(c.pool.contains(s->resultIDs(kBill).last()));
    EXPECT_EQ(services.random.asked, std::vector<std::uint32_t>{std::uint32_t(c.pool.size())});
}

PANELPICK_CASES_ON_EVERY_ENGINE(EmployerValues, kEmployerCases);

TEST_P(DrawTest, InitialPoolLeavesOutTheMissingEmployerOnlyWhenAUnitIsAvoided) {
    s->project(kBill, kEvaluation);
    s->expert(
        {.id = "0001", .cls = "经济类", .employer = QVariant(QMetaType::fromType<QString>())});
    s->expert({.id = "0002", .cls = "经济类", .employer = ""});
    EXPECT_EQ(poolOf(PoolKind::ManualClass, *s, dm()), QStringList({"0001", "0002"}));
    s->avoidUnit(kBill, "别的单位");
    EXPECT_EQ(poolOf(PoolKind::InitialClass, *s, dm()), QStringList({"0002"}));
}

TEST_P(DrawTest, EconomicExpertWithTheSpecialtyIsATechnicalCandidate) {
    s->project(kBill, kEvaluation);
    s->expert({.id = "0001", .cls = "经济类", .specialties = {11}});
    s->expert({.id = "0002", .specialties = {12}});
    EXPECT_EQ(poolOf(PoolKind::InitialSpecialty, *s, dm()), QStringList({"0001"}));
}

TEST_P(DrawTest, TechnicalRowWithIndustryAndSpecialtyIsDrawnByIndustryOnly) {
    s->project(kBill, kEvaluation);
    s->expert({.id = "0001", .industry = "建筑", .specialties = {12}});
    s->expert({.id = "0002", .industry = "水利", .specialties = {11}});
    s->demand(kBill, "技术类", 11, "房屋建筑", " 建筑 ", 5);
    ASSERT_TRUE(dm().RunDraw(kBill));
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0001"}));
    EXPECT_EQ(s->resultColumn(kBill, "reClass"), QStringList({" 建筑 "}));
}

TEST_P(DrawTest, ExpertLinkedTwiceToTheSpecialtyIsOneCandidate) {
    s->project(kBill, kEvaluation);
    s->expert({.id = "0001", .specialties = {11, 11}});
    s->demand(kBill, "技术类", 11, "房屋建筑", "", 2);
    ASSERT_TRUE(dm().RunDraw(kBill));
    EXPECT_EQ(s->resultIDs(kBill), QStringList({"0001"}));
}

TEST_P(DrawTest, CapClauseLeavesOutAUnitAtItsLimitInTheReplacementPool) {
    s->project(kBill, kEvaluation, 0, 2);
    for (const char* id : {"0001", "0002", "0003"})
        s->expert({.id = id, .cls = "造价类", .employer = "U"});
    s->expert({.id = "0004", .cls = "造价类", .employer = "V"});
    s->drawn(kBill, "0001", "造价类");
    s->drawn(kBill, "0002", "造价类");
    EXPECT_EQ(poolOf(PoolKind::ClassReplacement, *s, dm(), "0001"), QStringList({"0004"}));
}

// A stray row without a value in a list that "not in" compares with must not
// leave every expert out of every pool.
TEST_P(DrawTest, RowsWithoutValuesInTheExclusionListsExcludeNobody) {
    s->project(kBill, kEvaluation, 30);
    s->project("OTHER", kEvaluation.addDays(-1));
    s->expert({.id = "0001", .cls = "经济类"});
    const QVariant none(QMetaType::fromType<QString>());
    ASSERT_TRUE(
        s->db().exec("insert into ProjectList (billid, expertID) values (?, ?)", {kBill, none}));
    ASSERT_TRUE(
        s->db().exec("insert into ProjectList (billid, expertID) values (?, ?)", {"OTHER", none}));
    ASSERT_TRUE(
        s->db().exec("insert into projectHbdw (BillID, bidderName) values (?, ?)", {kBill, none}));
    ASSERT_TRUE(s->db().exec("insert into ProjectHbExpert (BillID, expertID) values (?, ?)",
                             {kBill, none}));
    EXPECT_EQ(poolOf(PoolKind::ManualClass, *s, dm()), QStringList({"0001"}));
}

TEST_P(DrawTest, QuotesInValuesAreComparedNotExecuted) {
    const QString bill = "P'1\"; drop table expert; --";
    s->project(bill, kEvaluation, 0, 0, "O'Neill");
    s->expert({.id = "0001", .cls = "经济类", .employer = "O'Brien", .city = "O'Neill"});
    s->expert({.id = "0002", .cls = "经济类", .employer = "D'Arcy", .city = "O'Neill"});
    s->expert({.id = "0003", .industry = "建'筑", .city = "O'Neill"});
    s->avoidUnit(bill, "O'Brien");
    s->demand(bill, "经济类", {}, "经济类", "", 5);
    s->demand(bill, "技术类", {}, "建'筑", "建'筑", 5);
    ASSERT_TRUE(dm().RunDraw(bill)) << services.prompt.last().toStdString();
    EXPECT_EQ(s->resultIDs(bill), QStringList({"0002", "0003"}));
    EXPECT_EQ(s->scalar("select COUNT(*) from expert").toInt(), 3);
}

PANELPICK_ON_EVERY_ENGINE(DrawTest);
