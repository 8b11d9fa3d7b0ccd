#include "ConfigIni.h"
#include "DMsys.h"
#include "FrmTouch.h"
#include "RecordingDesktop.h"
#include "ScriptedPrompt.h"
#include "TempHome.h"
#include "TestDatabase.h"

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

class TouchFormTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.ok()) << db.error().toStdString(); }
    TestDatabase db{DbEngine::Sqlite};
    ScriptedPrompt prompt;
    RecordingDesktop desktop;
};

struct DbTypeCase {
    const char* config;
    bool server;
    const char* writtenOnClose;
};

class TouchFormDbType : public TouchFormTest, public ::testing::WithParamInterface<DbTypeCase> {};

TEST_P(TouchFormDbType, ChoosesTheFormAndWritesItBackOnClose) {
    const DbTypeCase& c = GetParam();
    if (*c.config)
        db.home().write("Config.Ini", c.config);
    {
        TFormTouch touch;
        EXPECT_TRUE(touch.databaseOpened());
        EXPECT_EQ(touch.rbSQL->isChecked(), c.server);
        EXPECT_EQ(touch.rbAccess->isChecked(), !c.server);
        EXPECT_EQ(db.dm().isConnected(), !c.server);
        if (c.server) {
            // No data link here: the user is told and the link is opened for editing.
            EXPECT_EQ(prompt.last(),
                      "连接数据库失败，请点击数据配置按纽配置数据库,成功后重新启动应用程序");
            EXPECT_EQ(desktop.opened, QStringList{db.home().path("conn.udl")});
        } else {
            EXPECT_TRUE(prompt.shown.isEmpty());
        }
        touch.show();
        touch.btnExit->click();
    }
    EXPECT_EQ(ConfigIni::readString("Login", "DBType", "<missing>"), c.writtenOnClose);
}

INSTANTIATE_TEST_SUITE_P(Table, TouchFormDbType,
                         ::testing::Values(DbTypeCase{"", false, "1"},
                                           DbTypeCase{"[Login]\nDBType=0\n", true, "0"},
                                           DbTypeCase{"[Login]\nDBType=2\n", false, "1"},
                                           DbTypeCase{"[Login]\nDBType=1\n", false, "1"}));

TEST_F(TouchFormTest, MissingDesktopDatabaseEndsTheProgram) {
    QFile::remove(db.home().path("mdf/db.sqlite"));
    TFormTouch touch;
    EXPECT_FALSE(touch.databaseOpened());
    EXPECT_TRUE(prompt.last().startsWith("无法打开数据库，请确定程序安装正确！"));
}

TEST_F(TouchFormTest, WorkingAreasOpenOnlyAfterALoginAndTheExpertSearchNeedsItsRight) {
    TFormTouch touch;
    touch.show();
    bool loginSucceeds = false;
    QString loggedInAs = "clerk";
    touch.setLoginRunner([&](QWidget*, bool*) {
        EXPECT_FALSE(touch.isVisible());
        if (loginSucceeds)
            db.dm().setCurrentUser(loggedInAs);
        return loginSucceeds;
    });
    QStringList opened;
    touch.setExpertSearchOpener([&](QWidget*) { opened << "expert"; });
    touch.setProjectWizardOpener([&](QWidget*) { opened << "project"; });
    touch.setMainWindowOpener([&](QWidget*) { opened << "main"; });

    touch.btnExpert->click();
    touch.btnProject->click();
    touch.btnManger->click();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(touch.isVisible());

    loginSucceeds = true;
    ASSERT_TRUE(
        db.exec("insert into UserName (UserName, chkExcept) values (?, ?)", {"clerk", false}));
    touch.btnExpert->click();
    EXPECT_EQ(prompt.last(), "没有权限对此功能进行操作，请联系管理员！");
    touch.btnProject->click();
    touch.btnManger->click();
    loggedInAs = "admin";
    touch.btnExpert->click();
    EXPECT_EQ(opened, QStringList({"project", "main", "expert"}));
    EXPECT_TRUE(touch.isVisible());
}

TEST_F(TouchFormTest, MissingWorkingAreaSaysSoInsteadOfAWindow) {
    TFormTouch touch;
    touch.setLoginRunner([&](QWidget*, bool*) { return true; });
    touch.btnProject->click();
    EXPECT_EQ(prompt.last(), "“项目抽取”功能尚未提供。");
}

TEST_F(TouchFormTest, ClosingTheLoginThroughTheWindowSystemEndsTheProgram) {
    TFormTouch touch;
    touch.show();
    touch.setLoginRunner([&](QWidget*, bool* end) {
        *end = true;
        return false;
    });
    touch.btnManger->click();
    EXPECT_FALSE(touch.isVisible());
    EXPECT_EQ(ConfigIni::readString("Login", "DBType", "<missing>"), "1");
}

TEST_F(TouchFormTest, HelpOpensTheHelpPageOfTheHome) {
    TFormTouch touch;
    touch.btnHelp->click();
    EXPECT_EQ(desktop.opened, QStringList{db.home().path("help/index.html")});
}

// The server form end to end: DBType 0 and a data link to a PostgreSQL
// database; the entry screen connects, and the expert area's right is read
// from that database.
TEST(TouchFormOnServer, OpensTheDataLinkAndChecksRightsThere) {
    if (!TestDatabase::postgresAvailable())
        GTEST_SKIP() << "no PostgreSQL server (PANELPICK_TEST_PG)";
    TestDatabase db(DbEngine::Postgres);
    ASSERT_TRUE(db.ok()) << db.error().toStdString();
    ASSERT_TRUE(
        db.exec("insert into UserName (UserName, chkExcept) values (?, ?)", {"clerk", false}));
    db.handOver();
    ScriptedPrompt prompt;
    RecordingDesktop desktop;
    TSysDM dm;
    {
        TFormTouch touch;
        EXPECT_TRUE(prompt.shown.isEmpty()) << prompt.last().toStdString();
        EXPECT_TRUE(touch.rbSQL->isChecked());
        ASSERT_TRUE(dm.isConnected());
        EXPECT_EQ(dm.engine(), DbEngine::Postgres);
        EXPECT_TRUE(dm.missingAuditTables().isEmpty());
        QStringList opened;
        touch.setLoginRunner([&](QWidget*, bool*) {
            dm.setCurrentUser("clerk");
            return true;
        });
        touch.setExpertSearchOpener([&](QWidget*) { opened << "expert"; });
        touch.btnExpert->click();
        EXPECT_EQ(prompt.last(), "没有权限对此功能进行操作，请联系管理员！");
        EXPECT_TRUE(opened.isEmpty());
        touch.show();
        touch.btnExit->click();
    }
    EXPECT_EQ(ConfigIni::readString("Login", "DBType", "<missing>"), "0");
}
