#include "FrmLogin.h"

#include "ConfigIni.h"
#include "DMsys.h"
#include "PasswordHash.h"
#include "PromptService.h"
#include "Services.h"
#include "UserStore.h"
#include "WindowDragger.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TLoginForm::TLoginForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("登录"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setObjectName("LoginForm");

    auto* header = new QLabel(QStringLiteral("用户登录"));
    header->setObjectName("lblHeader");
    header->setAlignment(Qt::AlignCenter);
    header->setStyleSheet("background:#1f5fa8;color:white;font-size:18px;padding:10px;");

    edtUser = new QLineEdit;
    edtUser->setObjectName("edtUser");
    edtPassWord = new QLineEdit;
    edtPassWord->setObjectName("edtPassWord");
    edtPassWord->setEchoMode(QLineEdit::Password);
    edtIC = new QLineEdit;
    edtIC->setObjectName("edtIC");
    edtIC->setEchoMode(QLineEdit::Password);
    chkSaveUserName = new QCheckBox(QStringLiteral("保存用户名"));
    chkSaveUserName->setChecked(true);
    chkSavePassword = new QCheckBox(QStringLiteral("保存登录密码"));
    btnOK = new QPushButton(QStringLiteral("登录"));
    btnOK->setObjectName("btnOK");
    btnClose = new QPushButton(QStringLiteral("退出"));
    btnClose->setObjectName("btnClose");
    // Enter is handled per box; no button may swallow it as the default.
    btnOK->setAutoDefault(false);
    btnClose->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("用户名："), edtUser);
    form->addRow(QStringLiteral("密  码："), edtPassWord);
    form->addRow(QStringLiteral("IC 卡："), edtIC);
    auto* checks = new QHBoxLayout;
    checks->addWidget(chkSaveUserName);
    checks->addWidget(chkSavePassword);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnClose);
    auto* hint = new QLabel(QStringLiteral("初始用户名为admin,密码为69081"));
    hint->setStyleSheet("color:gray;");

    auto* body = new QVBoxLayout;
    body->setContentsMargins(24, 16, 24, 16);
    body->addLayout(form);
    body->addLayout(checks);
    body->addWidget(hint);
    body->addLayout(buttons);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(header);
    outer->addLayout(body);
    setStyleSheet("#LoginForm{border:1px solid #1f5fa8;}");

    (new WindowDragger(this))->addHandle(header);

    connect(btnOK, &QPushButton::clicked, this, &TLoginForm::btnOKClick);
    connect(btnClose, &QPushButton::clicked, this, &TLoginForm::btnCloseClick);
    connect(edtUser, &QLineEdit::returnPressed, this, &TLoginForm::btnOKClick);
    connect(edtPassWord, &QLineEdit::returnPressed, this, &TLoginForm::btnOKClick);
    connect(edtIC, &QLineEdit::returnPressed, this, &TLoginForm::edtICEnter);

    edtUser->setText(ConfigIni::readString("Login", "UserName", QString()));
    edtPassWord->setText(ConfigIni::readString("Login", "PassWord", QString()));
    if (!edtPassWord->text().isEmpty())
        chkSavePassword->setChecked(true);
}

void TLoginForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!edtUser->text().isEmpty())
        edtPassWord->setFocus();
}

void TLoginForm::closeEvent(QCloseEvent* event) {
    if (!closingByButton_ && !success_)
        programEndRequested_ = true;
    QDialog::closeEvent(event);
}

void TLoginForm::btnCloseClick() {
    closingByButton_ = true;
    reject();
}

void TLoginForm::btnOKClick() {
    login(false);
}

void TLoginForm::login(bool storedForm) {
    PromptService& prompt = Services::prompt();
    const QString name = edtUser->text();
    if (name.isEmpty()) {
        prompt.error(QStringLiteral("用户名不能为空，请重新输入"), QStringLiteral("输入提示"));
        edtUser->setFocus();
        return;
    }
    if (edtPassWord->text().isEmpty()) {
        prompt.error(QStringLiteral("密码不能为空，请重新输入"), QStringLiteral("输入提示"));
        edtPassWord->setFocus();
        return;
    }
    QString error;
    const auto user = UserStore(SysDM->context()).find(name, &error);
    if (!user && !error.isEmpty()) {
        prompt.error(error);
        return;
    }
    if (!user) {
        prompt.error(QStringLiteral("找不到该用户，请确定输入无误!"));
        edtUser->setFocus();
        return;
    }
    const bool matches = storedForm
                             ? edtPassWord->text() == user->storedPassword
                             : PasswordMatches(name, edtPassWord->text(), user->storedPassword);
    if (!matches) {
        prompt.error(QStringLiteral("密码错误，请重新输入!"));
        edtPassWord->setFocus();
        return;
    }
    ConfigIni::writeString("Login", "UserName", chkSaveUserName->isChecked() ? name : QString());
    // After a card login the box holds the stored form, which is no password:
    // remembering it would only make the next password login fail.
    const bool rememberPassword = chkSavePassword->isChecked() && !storedForm;
    ConfigIni::writeString("Login", "PassWord", rememberPassword ? edtPassWord->text() : QString());
    SysDM->setCurrentUser(name);
    success_ = true;
    accept();
}

void TLoginForm::edtICEnter() {
    const QString card = edtIC->text();
    if (card.size() <= 1)
        return;
    QList<UserStore::User> users;
    QString error;
    if (!UserStore(SysDM->context()).usersWithCard(card, &users, &error)) {
        Services::prompt().error(error);
        return;
    }
    if (users.size() == 1) {
        edtUser->setText(users.first().name);
        edtPassWord->setText(users.first().storedPassword);
        login(true);
        return;
    }
    edtUser->clear();
    edtPassWord->clear();
    Services::prompt().error(QStringLiteral("找不到对应的用户，请重新刷卡"));
    edtIC->setFocus();
}
