#include "DataLink.h"
#include "TempHome.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

TEST(DataLink, ReadsUtf16FileWithOledbHeader) {
    TempHome home;
    const QString text = "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                         "Provider=SQLOLEDB.1;Password=p;w;Persist Security Info=True;"
                         "User ID=sa;Initial Catalog=zj;Data Source=10.0.0.5,1444\r\n";
    QStringEncoder enc(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    home.write("conn.udl", enc(text));
    QString error;
    const auto link = DataLink::fromFile(home.path("conn.udl"), &error);
    ASSERT_TRUE(link) << error.toStdString();
    EXPECT_EQ(link->engine(), DbEngine::SqlServer);
    EXPECT_EQ(link->host(), "10.0.0.5");
    EXPECT_EQ(link->port(), 1444);
    EXPECT_EQ(link->database(), "zj");
    EXPECT_EQ(link->user(), "sa");
}

struct LinkCase {
    const char* init;
    bool ok;
    DbEngine engine;
    const char* host;
    int port;
    const char* password;
};

class DataLinkInitString : public ::testing::TestWithParam<LinkCase> {};

TEST_P(DataLinkInitString, ChoosesEngineAndSplitsDataSource) {
    const LinkCase& c = GetParam();
    QString error;
    const auto link = DataLink::fromInitString(c.init, &error);
    ASSERT_EQ(bool(link), c.ok) << error.toStdString();
    if (!c.ok) {
        EXPECT_FALSE(error.isEmpty());
        return;
    }
    EXPECT_EQ(link->engine(), c.engine);
    EXPECT_EQ(link->host(), c.host);
    EXPECT_EQ(link->port(), c.port);
    EXPECT_EQ(link->password(), c.password);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DataLinkInitString,
    ::testing::Values(
        LinkCase{"Provider=PostgreSQL OLE DB Provider;Data Source=db.local;Initial Catalog=pp;"
                 "User ID=u;Password=\"a;b\"",
                 true, DbEngine::Postgres, "db.local", 0, "a;b"},
        LinkCase{"Provider=MSOLEDBSQL;Data Source=h,1433;Initial Catalog=pp", true,
                 DbEngine::SqlServer, "h", 1433, ""},
        LinkCase{"Provider=SQLNCLI11;Data Source=h;Initial Catalog=pp;Password=x", true,
                 DbEngine::SqlServer, "h", 0, "x"},
        LinkCase{"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x.mdb", false, DbEngine::Sqlite, "",
                 0, ""},
        LinkCase{"Provider=PostgreSQL;Data Source=h,port;Initial Catalog=pp", false,
                 DbEngine::Postgres, "", 0, ""},
        LinkCase{"Provider=PostgreSQL;Data Source=h", false, DbEngine::Postgres, "", 0, ""},
        LinkCase{"", false, DbEngine::Postgres, "", 0, ""}));

TEST(DataLink, MissingFileIsAnError) {
    TempHome home;
    QString error;
    EXPECT_FALSE(DataLink::fromFile(home.path("conn.udl"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(DataLink, SqlServerLinkBecomesAFreeTdsConnectionStringWithQuotedValues) {
    QString error;
    const auto link = DataLink::fromInitString(
        "Provider=SQLOLEDB.1;Data Source=srv,1500;Initial Catalog=zj;User ID=sa;Password='p;w}d'",
        &error);
    ASSERT_TRUE(link) << error.toStdString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", "datalink-test");
        link->configure(db);
        EXPECT_EQ(db.databaseName(), "DRIVER={FreeTDS};SERVER={srv};PORT=1500;DATABASE={zj};"
                                     "UID={sa};PWD={p;w}}d};TDS_Version=7.4;ClientCharset=UTF-8");
    }
    QSqlDatabase::removeDatabase("datalink-test");
}
