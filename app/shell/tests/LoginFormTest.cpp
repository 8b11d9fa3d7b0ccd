#include "ConfigIni.h"
#include "DMsys.h"
#include "EngineTest.h"
#include "FrmLogin.h"
#include "ScriptedPrompt.h"
#include "TestDatabase.h"
#include "UserStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

void pressEnter(QWidget* w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

} // namespace

class LoginFormTest : public EngineTest {
protected:
    ScriptedPrompt prompt;
};

struct RefusedLogin {
    const char* name;
    const char* password;
    const char* message;
    const char* title;
};

TEST_P(LoginFormTest, RefusedLoginsShowTheirMessageAndKeepTheWindowOpen) {
    const RefusedLogin cases[] = {
        {"", "69081", "用户名不能为空，请重新输入", "输入提示"},
        {"admin", "", "密码不能为空，请重新输入", "输入提示"},
        {"nobody", "69081", "找不到该用户，请确定输入无误!", "提示"},
        {"admin", "69082", "密码错误，请重新输入!", "提示"},
        {"ADMIN", "69081", "找不到该用户，请确定输入无误!", "提示"},
    };
    for (const RefusedLogin& c : cases) {
        prompt.shown.clear();
        TLoginForm form;
        form.edtUser->setText(c.name);
        form.edtPassWord->setText(c.password);
        form.btnOK->click();
        EXPECT_FALSE(form.succeeded()) << c.name;
        ASSERT_EQ(prompt.shown.size(), 1) << c.name;
        EXPECT_EQ(prompt.last(), c.message);
        EXPECT_EQ(prompt.shown.last().title, c.title);
        EXPECT_EQ(prompt.shown.last().icon, PromptService::Icon::Error);
        EXPECT_TRUE(db->dm().currentUser().isEmpty());
    }
}

TEST_P(LoginFormTest, SuccessfulLoginSetsTheUserAndRemembersAsTicked) {
    {
        TLoginForm form;
        EXPECT_TRUE(form.chkSaveUserName->isChecked());
        form.edtUser->setText("admin");
        form.edtPassWord->setText("69081");
        form.chkSavePassword->setChecked(true);
        form.btnOK->click();
        EXPECT_TRUE(form.succeeded());
        EXPECT_TRUE(prompt.shown.isEmpty());
    }
    EXPECT_EQ(db->dm().currentUser(), "admin");
    // Remembered: the next window opens filled, and Enter logs in.
    {
        db->dm().setCurrentUser(QString());
        TLoginForm form;
        EXPECT_EQ(form.edtUser->text(), "admin");
        EXPECT_EQ(form.edtPassWord->text(), "69081");
        EXPECT_TRUE(form.chkSavePassword->isChecked());
        pressEnter(form.edtPassWord);
        EXPECT_TRUE(form.succeeded());
        EXPECT_EQ(db->dm().currentUser(), "admin");
    }
    // Unticking both and logging in forgets them.
    {
        TLoginForm form;
        form.chkSaveUserName->setChecked(false);
        form.chkSavePassword->setChecked(false);
        pressEnter(form.edtUser);
        EXPECT_TRUE(form.succeeded());
    }
    EXPECT_EQ(ConfigIni::readString("Login", "UserName", "x"), "");
    EXPECT_EQ(ConfigIni::readString("Login", "PassWord", "x"), "");
    TLoginForm form;
    EXPECT_FALSE(form.chkSavePassword->isChecked());
}

TEST_P(LoginFormTest, CardLogsInOnlyWhenItMatchesExactlyOneUser) {
    QString error;
    ASSERT_TRUE(UserStore(db->dm().context()).add("clerk1", "a", &error));
    ASSERT_TRUE(UserStore(db->dm().context()).add("clerk2", "b", &error));
    ASSERT_TRUE(db->exec("update UserName set ICNO = ? where UserName = ?", {"77001", "clerk1"}));
    ASSERT_TRUE(db->exec("update UserName set ICNO = ? where UserName in (?, ?)",
                         {"88002", "admin", "clerk2"}));
    for (const char* card : {"88002", "99999"}) {
        prompt.shown.clear();
        TLoginForm form;
        form.edtUser->setText("someone");
        form.edtPassWord->setText("typed");
        form.edtIC->setText(card);
        pressEnter(form.edtIC);
        EXPECT_FALSE(form.succeeded()) << card;
        EXPECT_EQ(prompt.last(), "找不到对应的用户，请重新刷卡");
        EXPECT_TRUE(form.edtUser->text().isEmpty());
        EXPECT_TRUE(form.edtPassWord->text().isEmpty());
    }
    TLoginForm form;
    form.chkSavePassword->setChecked(true);
    form.edtIC->setText("77001");
    pressEnter(form.edtIC);
    EXPECT_TRUE(form.succeeded());
    EXPECT_EQ(db->dm().currentUser(), "clerk1");
    // The stored form is never remembered as if it were a password.
    EXPECT_EQ(ConfigIni::readString("Login", "PassWord", "x"), "");
    EXPECT_EQ(ConfigIni::readString("Login", "UserName", ""), "clerk1");
}

TEST_P(LoginFormTest, SingleCharacterCardIsIgnored) {
    TLoginForm form;
    form.edtIC->setText("7");
    pressEnter(form.edtIC);
    EXPECT_FALSE(form.succeeded());
    EXPECT_TRUE(prompt.shown.isEmpty());
}

TEST_P(LoginFormTest, WindowSystemCloseEndsTheProgramButTheExitButtonDoesNot) {
    {
        TLoginForm form;
        form.show();
        form.btnClose->click();
        EXPECT_FALSE(form.succeeded());
        EXPECT_FALSE(form.programEndRequested());
    }
    TLoginForm form;
    form.show();
    form.close();
    EXPECT_TRUE(form.programEndRequested());
}

PANELPICK_ON_EVERY_ENGINE(LoginFormTest);
