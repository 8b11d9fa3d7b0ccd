#include "InitDbCommand.h"
#include "DMsys.h"
#include "ScriptedPrompt.h"
#include "TempHome.h"
#include "TestDatabase.h"

#include <QFile>
#include <QSqlQuery>
#include <QUuid>
#include <gtest/gtest.h>

namespace {

int countOf(TSysDM& dm, const QString& table) {
    QSqlQuery q(dm.ADOCon());
    return q.exec("select COUNT(*) from " + table) && q.next() ? q.value(0).toInt() : -1;
}

} // namespace

TEST(InitDb, CreatesTheDesktopDatabaseOwnerOnlyAndNeverOverwritesIt) {
    TempHome home;
    QString out, err;
    ASSERT_EQ(runInitDb({}, &out, &err), 0) << err.toStdString();
    const QString file = home.path("mdf/db.sqlite");
    const auto perms = QFile::permissions(file);
    EXPECT_FALSE(perms & (QFileDevice::ReadGroup | QFileDevice::ReadOther));
    EXPECT_FALSE(QFile::exists(file + ".partial"));
    {
        ScriptedPrompt prompt;
        TSysDM dm;
        ASSERT_TRUE(dm.OpenAccessDatabase("\\mdf\\db.sqlite")) << prompt.last().toStdString();
        EXPECT_EQ(countOf(dm, "UserName"), 1);
        EXPECT_EQ(countOf(dm, "expert"), 0);
        ASSERT_TRUE(QSqlQuery(dm.ADOCon()).exec("insert into City (city) values ('南京')"));
    }
    EXPECT_EQ(runInitDb({"--demo"}, &out, &err), 1);
    EXPECT_TRUE(err.contains("already exists"));
    TSysDM dm;
    ASSERT_TRUE(dm.OpenAccessDatabase("\\mdf\\db.sqlite"));
    EXPECT_EQ(countOf(dm, "City"), 1);
}

TEST(InitDb, DemoDatabaseHasExpertsToDrawFrom) {
    TempHome home;
    QString out, err;
    ASSERT_EQ(runInitDb({"--demo"}, &out, &err), 0) << err.toStdString();
    TSysDM dm;
    ASSERT_TRUE(dm.OpenAccessDatabase("/mdf/db.sqlite"));
    EXPECT_GT(countOf(dm, "expert"), 0);
    EXPECT_GT(countOf(dm, "SpecialityClass"), 0);
}

TEST(InitDb, UnknownArgumentIsRefused) {
    TempHome home;
    QString out, err;
    EXPECT_EQ(runInitDb({"--force"}, &out, &err), 2);
    EXPECT_FALSE(QFile::exists(home.path("mdf/db.sqlite")));
}

TEST(InitDb, CreatesTheServerDatabaseThatTheDataLinkNames) {
    if (!TestDatabase::postgresAvailable())
        GTEST_SKIP() << "no PostgreSQL server (PANELPICK_TEST_PG)";
    // An empty database on the test server, named in a data link.
    const QString name = "pp_initdb_" + QUuid::createUuid().toString(QUuid::Id128).left(10);
    QString error;
    ASSERT_TRUE(TestDatabase::postgresAdminExec("CREATE DATABASE " + name, &error))
        << error.toStdString();
    TempHome home;
    home.write(
        "conn.udl",
        QStringLiteral("[oledb]\n; Everything after this line is an OLE DB initstring\n"
                       "Provider=PostgreSQL;Data Source=%1,%2;Initial Catalog=%3;User ID=%4\n")
            .arg(TestDatabase::postgresSetting("host"), TestDatabase::postgresSetting("port"), name,
                 TestDatabase::postgresSetting("user"))
            .toUtf8());
    QString out, err;
    EXPECT_EQ(runInitDb({"--server", home.path("conn.udl")}, &out, &err), 0) << err.toStdString();
    EXPECT_EQ(runInitDb({"--server", home.path("conn.udl")}, &out, &err), 1);
    EXPECT_TRUE(err.contains("already holds"));
    {
        TSysDM dm;
        ASSERT_TRUE(dm.OpenServerDatabase(home.path("conn.udl"), &error)) << error.toStdString();
        EXPECT_EQ(countOf(dm, "UserName"), 1);
    }
    TestDatabase::postgresAdminExec("DROP DATABASE " + name + " WITH (FORCE)", nullptr);
}
