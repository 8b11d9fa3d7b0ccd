#include "DMsys.h"
#include "RegisterGenerator.h"
#include "SchemaInstaller.h"
#include "ScriptedPrompt.h"
#include "SqliteJournal.h"
#include "TempHome.h"

#include <QSqlQuery>
#include <QSqlQueryModel>

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(Connection, MissingDesktopDatabaseIsReportedAndNotCreated) {
    TempHome home;
    ScriptedPrompt prompt;
    TSysDM dm;
    EXPECT_FALSE(dm.OpenAccessDatabase("\\mdf\\db.sqlite"));
    ASSERT_EQ(prompt.shown.size(), 1);
    EXPECT_TRUE(prompt.last().startsWith("无法打开数据库，请确定程序安装正确！"));
    EXPECT_FALSE(QFile::exists(home.path("mdf/db.sqlite")));
    EXPECT_FALSE(dm.isConnected());
}

TEST(Connection, FileThatIsNoDatabaseIsReported) {
    TempHome home;
    home.write("mdf/db.sqlite", "this is not a database at all, just some text to fill pages");
    ScriptedPrompt prompt;
    TSysDM dm;
    EXPECT_FALSE(dm.OpenAccessDatabase("\\mdf\\db.sqlite"));
    ASSERT_EQ(prompt.shown.size(), 1);
    EXPECT_TRUE(prompt.last().startsWith("无法打开数据库，请确定程序安装正确！"));
}

TEST(Connection, DeliveredDesktopDatabaseOpensWithTheSpecialtyList) {
    TempHome home;
    {
        TSysDM creator;
        QDir(home.dir()).mkpath("mdf");
        QString error;
        ASSERT_TRUE(creator.OpenDatabase(
            DbEngine::Sqlite,
            [&](QSqlDatabase& db) { db.setDatabaseName(home.path("mdf/db.sqlite")); }, &error));
        QSqlDatabase db = creator.ADOCon();
        ASSERT_TRUE(SchemaInstaller::install(db, DbEngine::Sqlite, &error)) << error.toStdString();
        ASSERT_TRUE(RegisterGenerator::fillDemo(db, &error)) << error.toStdString();
    }
    ScriptedPrompt prompt;
    TSysDM dm;
    ASSERT_TRUE(dm.OpenAccessDatabase("\\mdf\\db.sqlite"));
    EXPECT_TRUE(prompt.shown.isEmpty());
    EXPECT_EQ(dm.qrysp()->rowCount(), 6);
}

TEST(Connection, ServerDataLinkThatFailsGivesTheReason) {
    TempHome home;
    home.write("conn.udl",
               "Provider=PostgreSQL;Data Source=127.0.0.1,1;Initial Catalog=none;User ID=x");
    TSysDM dm;
    QString error;
    EXPECT_FALSE(dm.OpenServerDatabase(home.path("conn.udl"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(dm.isConnected());
}

namespace {

// A delivered desktop database in the home, optionally without its audit tables.
void createDesktopDatabase(const TempHome& home, bool withAuditTrail) {
    TSysDM creator;
    QDir(home.dir()).mkpath("mdf");
    QString error;
    ASSERT_TRUE(creator.OpenDatabase(
        DbEngine::Sqlite, [&](QSqlDatabase& db) { db.setDatabaseName(home.path("mdf/db.sqlite")); },
        &error));
    QSqlDatabase db = creator.ADOCon();
    ASSERT_TRUE(SchemaInstaller::install(db, DbEngine::Sqlite, &error)) << error.toStdString();
    if (withAuditTrail)
        return;
    for (const char* sql : {"drop table DrawLog", "drop table DrawPool"}) {
        ASSERT_TRUE(QSqlQuery(db).exec(sql));
    }
}

} // namespace

TEST(Connection, DesktopFileOnALocalDiskGetsTheWriteAheadLog) {
    TempHome home;
    createDesktopDatabase(home, true);
    ScriptedPrompt prompt;
    TSysDM dm;
    ASSERT_TRUE(dm.OpenAccessDatabase("\\mdf\\db.sqlite"));
    QSqlQuery q(dm.ADOCon());
    ASSERT_TRUE(q.exec("PRAGMA journal_mode") && q.next());
    const bool local =
        SqliteJournal::modeFor(home.path("mdf/db.sqlite")) == SqliteJournal::Mode::Wal;
    EXPECT_EQ(q.value(0).toString(), local ? "wal" : "delete");
}

TEST(Connection, DatabaseWithoutTheAuditTrailSaysSoAndRefusesToDraw) {
    TempHome home;
    createDesktopDatabase(home, false);
    ScriptedPrompt prompt;
    TSysDM dm;
    ASSERT_TRUE(dm.OpenAccessDatabase("\\mdf\\db.sqlite"));
    EXPECT_EQ(dm.missingAuditTables(), "DrawLog、DrawPool");
    ASSERT_EQ(prompt.shown.size(), 1);
    EXPECT_TRUE(prompt.last().startsWith("数据库缺少抽取记录所需的表或列（DrawLog、DrawPool）"))
        << prompt.last().toStdString();
    prompt.shown.clear();
    EXPECT_FALSE(dm.RunDraw("PRJ00000001"));
    ASSERT_EQ(prompt.shown.size(), 1);
    EXPECT_TRUE(prompt.last().startsWith("数据库缺少抽取记录所需的表或列"));
    EXPECT_EQ(dm.DrawReplacement("139", "PRJ00000001"), "");
}
