#include "FrmTouch.h"

#include "AppHome.h"
#include "ConfigIni.h"
#include "DMsys.h"
#include "DesktopOpener.h"
#include "FrmLogin.h"
#include "PromptService.h"
#include "Services.h"
#include "WindowDragger.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QString kBlue = QStringLiteral("#1f5fa8");
const QString kNoRight = QStringLiteral("没有权限对此功能进行操作，请联系管理员！");
const QString kDesktopDatabase = QStringLiteral("\\mdf\\db.sqlite");

QPushButton* pictureButton(const QString& caption, QStyle::StandardPixmap icon, QWidget* parent) {
    auto* b = new QPushButton(parent->style()->standardIcon(icon), caption);
    b->setIconSize(QSize(48, 48));
    b->setMinimumSize(180, 140);
    b->setStyleSheet("QPushButton{font-size:20px;background:white;border:2px solid " + kBlue +
                     ";border-radius:10px;} QPushButton:hover{background:#e8f0fb;}");
    return b;
}

bool runLoginWindow(QWidget* parent, bool* endProgram) {
    TLoginForm login(parent);
    login.exec();
    *endProgram = login.programEndRequested();
    return login.succeeded();
}

} // namespace

void ShowNotYetAvailable(const QString& caption) {
    Services::prompt().info(QStringLiteral("“%1”功能尚未提供。").arg(caption));
}

TFormTouch::TFormTouch(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("进入主界面"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setObjectName("FormTouch");

    auto* titlePanel = new QWidget;
    titlePanel->setObjectName("titlePanel");
    titlePanel->setStyleSheet("#titlePanel{background:" + kBlue + ";}");
    auto* title = new QLabel(QStringLiteral("Panelpick 评标专家抽取系统"));
    title->setStyleSheet("color:white;font-size:26px;font-weight:bold;");
    btnMinimize = new QPushButton("-");
    btnMinimize->setFixedSize(32, 32);
    btnMinimize->setStyleSheet("color:white;font-size:20px;border:none;");
    auto* titleRow = new QHBoxLayout(titlePanel);
    titleRow->setContentsMargins(20, 12, 12, 12);
    titleRow->addWidget(title);
    titleRow->addStretch();
    titleRow->addWidget(btnMinimize, 0, Qt::AlignTop);

    btnExpert = pictureButton(QStringLiteral("专家查询"), QStyle::SP_FileDialogContentsView, this);
    btnExpert->setObjectName("btnExpert");
    btnProject = pictureButton(QStringLiteral("项目抽取"), QStyle::SP_FileDialogDetailedView, this);
    btnProject->setObjectName("btnProject");
    btnManger = pictureButton(QStringLiteral("系统管理"), QStyle::SP_ComputerIcon, this);
    btnManger->setObjectName("btnManger");
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(40, 40, 40, 40);
    buttonRow->setSpacing(30);
    buttonRow->addWidget(btnExpert);
    buttonRow->addWidget(btnProject);
    buttonRow->addWidget(btnManger);

    rbAccess = new QRadioButton("ACCESS");
    rbSQL = new QRadioButton("MSSQL");
    rbAccess->setVisible(false);
    rbSQL->setVisible(false);

    auto* bottomPanel = new QWidget;
    bottomPanel->setObjectName("bottomPanel");
    bottomPanel->setStyleSheet(
        "#bottomPanel{background:" + kBlue +
        ";} QPushButton{color:white;border:1px solid white;padding:4px 14px;}");
    btnHelp = new QPushButton(QStringLiteral("帮助文档"));
    btnExit = new QPushButton(QStringLiteral("退出系统"));
    auto* bottomRow = new QHBoxLayout(bottomPanel);
    bottomRow->setContentsMargins(20, 8, 20, 8);
    bottomRow->addWidget(rbAccess);
    bottomRow->addWidget(rbSQL);
    bottomRow->addStretch();
    bottomRow->addWidget(btnHelp);
    bottomRow->addWidget(btnExit);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(titlePanel);
    layout->addLayout(buttonRow);
    layout->addWidget(bottomPanel);
    setStyleSheet("#FormTouch{background:#f4f7fb;border:1px solid " + kBlue + ";}");

    auto* dragger = new WindowDragger(this);
    dragger->addHandle(titlePanel);
    dragger->addHandle(bottomPanel);

    connect(btnExpert, &QPushButton::clicked, this, &TFormTouch::btnExpertClick);
    connect(btnProject, &QPushButton::clicked, this, &TFormTouch::btnProjectClick);
    connect(btnManger, &QPushButton::clicked, this, &TFormTouch::btnMangerClick);
    connect(btnHelp, &QPushButton::clicked, this, &TFormTouch::btnHelpClick);
    connect(btnExit, &QPushButton::clicked, this, &QWidget::close);
    connect(btnMinimize, &QPushButton::clicked, this, &QWidget::showMinimized);
    connect(rbAccess, &QRadioButton::clicked, this, &TFormTouch::rbAccessClick);
    connect(rbSQL, &QRadioButton::clicked, this, &TFormTouch::rbSQLClick);

    openExpertSearch_ = [](QWidget*) { ShowNotYetAvailable(QStringLiteral("专家查询")); };
    openProjectWizard_ = [](QWidget*) { ShowNotYetAvailable(QStringLiteral("项目抽取")); };
    openMainWindow_ = [](QWidget*) { ShowNotYetAvailable(QStringLiteral("系统管理")); };
    runLogin_ = runLoginWindow;

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    chooseDatabase();
}

void TFormTouch::chooseDatabase() {
    const QString type = ConfigIni::readString("Login", "DBType", "1");
    SysDM->setDbType(type);
    if (type != "0") {
        rbAccess->setChecked(true);
        databaseOpened_ = SysDM->OpenAccessDatabase(kDesktopDatabase);
    } else {
        rbSQL->setChecked(true);
        openServerDatabase();
    }
}

void TFormTouch::openServerDatabase() {
    const QString link = AppHome::path("conn.udl");
    QString error;
    if (!SysDM->OpenServerDatabase(link, &error)) {
        Services::prompt().info(
            QStringLiteral("连接数据库失败，请点击数据配置按纽配置数据库,成功后重新启动应用程序"));
        Services::desktop().open(link);
    }
}

void TFormTouch::rbAccessClick() {
    SysDM->setDbType("1");
    SysDM->CloseConnection();
    databaseOpened_ = SysDM->OpenAccessDatabase(kDesktopDatabase);
}

void TFormTouch::rbSQLClick() {
    SysDM->setDbType("0");
    SysDM->CloseConnection();
    openServerDatabase();
}

void TFormTouch::closeEvent(QCloseEvent* event) {
    const QString type = rbSQL->isChecked() ? "0" : "1";
    ConfigIni::writeString("Login", "DBType", type);
    SysDM->setDbType(type);
    QWidget::closeEvent(event);
}

void TFormTouch::enterAfterLogin(const std::function<void()>& target) {
    hide();
    bool endProgram = false;
    const bool loggedIn = runLogin_(this, &endProgram);
    if (endProgram) {
        close();
        QCoreApplication::quit();
        return;
    }
    if (loggedIn)
        target();
    show();
}

void TFormTouch::btnExpertClick() {
    enterAfterLogin([this] {
        if (UserHasRight("chkexcept"))
            openExpertSearch_(this);
        else
            Services::prompt().info(kNoRight);
    });
}

void TFormTouch::btnProjectClick() {
    enterAfterLogin([this] { openProjectWizard_(this); });
}

void TFormTouch::btnMangerClick() {
    enterAfterLogin([this] { openMainWindow_(this); });
}

void TFormTouch::btnHelpClick() {
    Services::desktop().open(AppHome::path("help/index.html"));
}
