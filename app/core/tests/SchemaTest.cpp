#include "DMsys.h"
#include "EngineTest.h"
#include "PasswordHash.h"
#include "SqlDialect.h"
#include "UserStore.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

class SchemaTest : public EngineTest {};

TEST_P(SchemaTest, ColumnNamesMatchInAnyLetterCase) {
    ASSERT_TRUE(db->exec("insert into PROJECT (BillID, ProJectName, gap_day) values (?, ?, ?)",
                         {"PRJ00000001", "一号楼", 3}));
    ASSERT_TRUE(db->exec("insert into projectlist (billID, expertid, STATE) values (?, ?, ?)",
                         {"PRJ00000001", "0001", "待联系"}));
    EXPECT_EQ(db->scalar("select billid from Project where BILLID = ?", {"PRJ00000001"}).toString(),
              "PRJ00000001");
    EXPECT_EQ(
        db->scalar("select State from ProJectlist where BillId = ?", {"PRJ00000001"}).toString(),
        "待联系");
    QSqlQuery q(db->dm().ADOCon());
    ASSERT_TRUE(q.exec("select * from project"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(q.record().indexOf("GAP_DAY")).toInt(), 3);
}

TEST_P(SchemaTest, ProjectListIdIsGeneratedByTheDatabase) {
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(db->exec("insert into ProjectList (billid, expertID) values (?, ?)",
                             {"P", QString::number(i)}));
    EXPECT_EQ(db->scalar("select COUNT(DISTINCT id) from ProjectList").toInt(), 3);
    EXPECT_GT(db->scalar("select MIN(id) from ProjectList").toInt(), 0);
}

TEST_P(SchemaTest, ValueWithQuotesIsStoredAndFoundIntact) {
    const QString unit = "O'Brien \"设计\" 院'; drop table expert; --";
    ASSERT_TRUE(
        db->exec("insert into projectHbdw (BillID, bidderName) values (?, ?)", {"P", unit}));
    EXPECT_EQ(
        db->scalar("select bidderName from projectHbdw where bidderName = ?", {unit}).toString(),
        unit);
    EXPECT_EQ(db->scalar("select COUNT(*) from expert").toInt(), 0);
}

TEST_P(SchemaTest, ClassRoot2GivesThePathFromTheTopLevelAncestor) {
    ASSERT_TRUE(db->exec("insert into SpecialityClass (pr_ID, Pr_parent, pr_name) values "
                         "(1, NULL, '工程'), (2, 1, '土建'), (3, 2, '结构'), (4, 0, '采购')"));
    QSqlQuery q(db->dm().ADOCon());
    ASSERT_TRUE(q.exec("select pr_id, pr_parent, pr_name, pr_full from ClassRoot2 order by pr_id"));
    QStringList paths;
    while (q.next())
        paths << q.value(3).toString();
    EXPECT_EQ(paths, QStringList({"工程", "工程/土建", "工程/土建/结构", "采购"}));
}

TEST_P(SchemaTest, EnabledConditionOfTheDialectSelectsEnabledExperts) {
    ASSERT_TRUE(
        db->exec("insert into expert (expertID, expertName, enabled) values (?, ?, ?), (?, ?, ?)",
                 {"0001", "甲", true, "0002", "乙", false}));
    EXPECT_EQ(
        db->scalar("select expertID from expert where 1=1" + db->dm().dialect().enabledCondition())
            .toString(),
        "0001");
}

TEST_P(SchemaTest, DeliveredAdminHasTheInitialPasswordAndEveryRight) {
    QString error;
    const auto admin = UserStore(db->dm().context()).find("admin", &error);
    ASSERT_TRUE(admin) << error.toStdString();
    EXPECT_TRUE(PasswordMatches("admin", "69081", admin->storedPassword));
    db->dm().setCurrentUser("admin");
    for (const QString& right : UserStore::rightColumns())
        EXPECT_TRUE(db->dm().UserHasRight(right)) << right.toStdString();
}

TEST_P(SchemaTest, RightIsReadAfreshAtEveryCheck) {
    QString error;
    ASSERT_TRUE(UserStore(db->dm().context()).add("clerk", "pw", &error)) << error.toStdString();
    db->dm().setCurrentUser("clerk");
    EXPECT_FALSE(UserHasRight("chkShow"));
    ASSERT_TRUE(db->exec("update UserName set chkShow = ? where UserName = ?", {true, "clerk"}));
    EXPECT_TRUE(UserHasRight("CHKSHOW"));
    EXPECT_FALSE(UserHasRight("nosuchright"));
    EXPECT_FALSE(UserHasRight("chkShow from UserName --"));
    db->dm().setCurrentUser("nobody");
    EXPECT_FALSE(UserHasRight("chkShow"));
}

TEST_P(SchemaTest, AdminCannotBeRemovedOtherUsersCan) {
    QString error;
    ASSERT_TRUE(UserStore(db->dm().context()).add("clerk", "pw", &error));
    EXPECT_FALSE(UserStore(db->dm().context()).remove("admin", &error));
    EXPECT_TRUE(UserStore(db->dm().context()).remove("clerk", &error));
    EXPECT_FALSE(UserStore(db->dm().context()).find("clerk", &error));
    EXPECT_TRUE(UserStore(db->dm().context()).find("admin", &error));
}

TEST_P(SchemaTest, EmptyAndCopyTableTextsOfTheDialectWork) {
    const SqlDialect& d = db->dm().dialect();
    ASSERT_TRUE(db->exec("insert into City (city) values ('南京'), ('苏州')"));
    QSqlQuery q(db->dm().ADOCon());
    ASSERT_TRUE(q.exec(d.copyTable("City_copy", "City"))) << q.lastError().text().toStdString();
    ASSERT_TRUE(q.exec(d.emptyTable("City"))) << q.lastError().text().toStdString();
    EXPECT_EQ(db->scalar("select COUNT(*) from City").toInt(), 0);
    EXPECT_EQ(db->scalar("select COUNT(*) from City_copy").toInt(), 2);
}

PANELPICK_ON_EVERY_ENGINE(SchemaTest);
