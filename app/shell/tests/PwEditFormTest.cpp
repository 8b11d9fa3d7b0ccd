#include "DMsys.h"
#include "EngineTest.h"
#include "FrmPwEdit.h"
#include "PasswordHash.h"
#include "ScriptedPrompt.h"
#include "TestDatabase.h"
#include "UserStore.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <gtest/gtest.h>

// On every engine: a model set on a table name must find the table whatever
// case the engine keeps its names in.
class PwEditFormTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        QString error;
        ASSERT_TRUE(UserStore(db->dm().context()).add("clerk", "old", &error));
        db->dm().setCurrentUser("admin");
    }
    QString stored(const QString& user) {
        QString error;
        const auto u = UserStore(db->dm().context()).find(user, &error);
        return u ? u->storedPassword : QString();
    }
    bool right(const QString& user, const QString& column) {
        QSqlQuery q(db->dm().ADOCon());
        q.prepare("select " + column + " from UserName where UserName = ?");
        q.addBindValue(user);
        return q.exec() && q.next() && q.value(0).toBool();
    }
    ScriptedPrompt prompt;
};

TEST_P(PwEditFormTest, OnlyAdminChangesAnotherUsersPassword) {
    db->dm().setCurrentUser("clerk");
    TPwEditForm form;
    form.selectUser("admin");
    form.edtPw->setText("x");
    form.edt1->setText("x");
    form.btnChangePW->click();
    EXPECT_EQ(prompt.last(), "您不是超级管理员，无法修改其他用户的密码！");
    EXPECT_EQ(prompt.shown.last().title, "不能修改密码");
    EXPECT_TRUE(PasswordMatches("admin", "69081", stored("admin")));

    form.selectUser("clerk");
    form.btnChangePW->click();
    EXPECT_EQ(prompt.last(), "密码成功修改，退出后请用新密码登录!");
    EXPECT_TRUE(PasswordMatches("clerk", "x", stored("clerk")));

    db->dm().setCurrentUser("admin");
    form.selectUser("clerk");
    form.edtPw->setText("y");
    form.edt1->setText("y");
    form.btnChangePW->click();
    EXPECT_TRUE(PasswordMatches("clerk", "y", stored("clerk")));
    EXPECT_TRUE(form.edtPw->text().isEmpty());
}

TEST_P(PwEditFormTest, NewPasswordMustBeGivenTwiceAlike) {
    TPwEditForm form;
    form.selectUser("clerk");
    form.btnChangePW->click();
    EXPECT_EQ(prompt.last(), "密码不能为空，请重新输入");
    form.edtPw->setText("a");
    form.edt1->setText("b");
    form.btnChangePW->click();
    EXPECT_EQ(prompt.last(), "两次密码不相同，请重新输入");
    EXPECT_TRUE(PasswordMatches("clerk", "old", stored("clerk")));
}

TEST_P(PwEditFormTest, AddingAUserChecksTheBoxesAndGivesNoRights) {
    TPwEditForm form;
    form.btnADD->click();
    EXPECT_EQ(prompt.last(), "用户名不能为空,请重输!");
    form.edtUser->setText("王五");
    form.btnADD->click();
    EXPECT_EQ(prompt.last(), "用户密码不能为空,请重输!");
    form.edtPWNew->setText("p1");
    form.edtPWNewA->setText("p2");
    form.btnADD->click();
    EXPECT_EQ(prompt.last(), "重复密码不相同,请重输!");
    EXPECT_TRUE(stored("王五").isEmpty());
    form.edtPWNewA->setText("p1");
    form.btnADD->click();
    EXPECT_EQ(prompt.last(), "成功添加新用户！!");
    EXPECT_TRUE(PasswordMatches("王五", "p1", stored("王五")));
    EXPECT_EQ(form.selectedUser(), "王五");
    for (const QString& r : UserStore::rightColumns())
        EXPECT_FALSE(right("王五", r)) << r.toStdString();
}

TEST_P(PwEditFormTest, AdminCannotBeDeletedOthersOnlyAfterYes) {
    TPwEditForm form;
    form.selectUser("admin");
    form.btnDelUser->click();
    EXPECT_EQ(prompt.last(), "不能删除管理用户，否则您无法登录系统！");
    EXPECT_FALSE(stored("admin").isEmpty());

    form.selectUser("clerk");
    prompt.answers = {PromptService::Answer::No};
    form.btnDelUser->click();
    EXPECT_EQ(prompt.last(), "删除用户后，无法恢复？您确定要删除此用户吗");
    EXPECT_FALSE(stored("clerk").isEmpty());
    prompt.answers = {PromptService::Answer::Yes};
    form.btnDelUser->click();
    EXPECT_EQ(prompt.last(), "用户被成功删除！");
    EXPECT_TRUE(stored("clerk").isEmpty());
}

TEST_P(PwEditFormTest, RightsArePostedForTheSelectedUserOnly) {
    TPwEditForm form;
    form.selectUser("clerk");
    form.chkRights[5]->setChecked(true); // 专家详细资料
    form.chkRights[3]->setChecked(true); // 专家管理
    // Moving between rows must not carry one user's boxes over to another.
    form.selectUser("admin");
    form.selectUser("clerk");
    form.selectUser("admin");
    form.btnApply->click();
    EXPECT_EQ(prompt.last(), "成功修改用户权限！");
    EXPECT_TRUE(right("clerk", "chkShow"));
    EXPECT_TRUE(right("clerk", "chkExcept"));
    EXPECT_FALSE(right("clerk", "ChkUserM"));
    EXPECT_FALSE(right("clerk", "chkBase"));
    for (const QString& r : UserStore::rightColumns())
        EXPECT_TRUE(right("admin", r)) << r.toStdString();
}

TEST_P(PwEditFormTest, AdminKeepsUserManagement) {
    TPwEditForm form;
    form.selectUser("admin");
    form.chkRights[0]->setChecked(false);
    EXPECT_EQ(prompt.last(), "不能删除管理用户权限，否则您无法登录系统！");
    EXPECT_TRUE(form.chkRights[0]->isChecked());
    form.btnApply->click();
    EXPECT_TRUE(right("admin", "ChkUserM"));
}

TEST_P(PwEditFormTest, CardNumberIsStoredForTheSelectedUser) {
    TPwEditForm form;
    form.selectUser("clerk");
    form.edtICNO->setText("0012345");
    emit form.edtICNO->editingFinished();
    form.btnApply->click();
    QList<UserStore::User> users;
    QString error;
    ASSERT_TRUE(UserStore(db->dm().context()).usersWithCard("0012345", &users, &error));
    ASSERT_EQ(users.size(), 1);
    EXPECT_EQ(users.first().name, "clerk");
}

TEST_P(PwEditFormTest, GridListsEveryUser) {
    TPwEditForm form;
    EXPECT_EQ(form.dbgrdhUsers->model()->rowCount(), 2);
    EXPECT_EQ(form.selectedUser(), "admin");
}

TEST_P(PwEditFormTest, RightsAreStoredWhenAnotherUserIsChosen) {
    TPwEditForm form;
    form.selectUser("clerk");
    form.chkRights[5]->setChecked(true); // 专家详细资料
    form.edtICNO->setText("0077");
    form.selectUser("admin");
    EXPECT_TRUE(right("clerk", "chkShow"));
    EXPECT_EQ(db->scalar("select ICNO from UserName where UserName = ?", {"clerk"}).toString(),
              "0077");
    EXPECT_TRUE(prompt.shown.isEmpty());
    // The boxes now show admin's own rights.
    EXPECT_TRUE(form.chkRights[0]->isChecked());
    EXPECT_TRUE(form.edtICNO->text().isEmpty());
}

TEST_P(PwEditFormTest, RightsAndCardAreStoredWhenTheWindowCloses) {
    {
        TPwEditForm form;
        form.show();
        form.selectUser("clerk");
        form.chkRights[3]->setChecked(true); // 专家管理
        form.edtICNO->setText("0088");
        form.close();
        EXPECT_FALSE(form.isVisible());
    }
    EXPECT_TRUE(right("clerk", "chkExcept"));
    EXPECT_EQ(db->scalar("select ICNO from UserName where UserName = ?", {"clerk"}).toString(),
              "0088");
}

TEST_P(PwEditFormTest, RightsThatCannotBeStoredKeepTheWindowOpen) {
    TPwEditForm form;
    form.show();
    form.selectUser("clerk");
    form.chkRights[4]->setChecked(true);
    QSqlQuery q(db->dm().ADOCon());
    if (GetParam() == DbEngine::Postgres) {
        ASSERT_TRUE(q.exec("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                           "RAISE EXCEPTION 'refused'; END $$"));
        ASSERT_TRUE(q.exec("CREATE TRIGGER refuse BEFORE UPDATE ON UserName FOR EACH ROW "
                           "EXECUTE FUNCTION refuse()"));
    } else {
        ASSERT_TRUE(q.exec("CREATE TRIGGER refuse BEFORE UPDATE ON UserName BEGIN SELECT "
                           "RAISE(ABORT, 'refused'); END"));
    }
    form.close();
    EXPECT_TRUE(form.isVisible());
    ASSERT_FALSE(prompt.shown.isEmpty());
    EXPECT_TRUE(prompt.last().startsWith("用户权限没有保存："));
}

PANELPICK_ON_EVERY_ENGINE(PwEditFormTest);
