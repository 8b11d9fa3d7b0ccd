#include "FrmPwEdit.h"

#include "DMsys.h"
#include "EditNavigator.h"
#include "PromptService.h"
#include "Services.h"
#include "SqlRun.h"
#include "SqlTableName.h"
#include "UserStore.h"

#include <QCheckBox>
#include <QDataWidgetMapper>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QStringList kRightCaptions{QStringLiteral("用户管理"), QStringLiteral("项目抽取"),
                                 QStringLiteral("项目管理"), QStringLiteral("专家管理"),
                                 QStringLiteral("基础资料"), QStringLiteral("专家详细资料")};

QLineEdit* passwordBox() {
    auto* e = new QLineEdit;
    e->setEchoMode(QLineEdit::Password);
    return e;
}

} // namespace

TPwEditForm::TPwEditForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("用户管理"));

    users_ = new QSqlTableModel(this, SysDM->ADOCon());
    users_->setTable(SqlTableName::resolve(SysDM->ADOCon(), "UserName"));
    users_->setEditStrategy(QSqlTableModel::OnManualSubmit);
    users_->select();
    const int nameColumn = users_->record().indexOf("UserName");
    users_->setHeaderData(nameColumn, Qt::Horizontal, QStringLiteral("用户名"));

    dbgrdhUsers = new QTableView;
    dbgrdhUsers->setObjectName("dbgrdhUsers");
    dbgrdhUsers->setModel(users_);
    dbgrdhUsers->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgrdhUsers->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgrdhUsers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < users_->columnCount(); ++c)
        dbgrdhUsers->setColumnHidden(c, c != nameColumn);
    dbgrdhUsers->horizontalHeader()->setStretchLastSection(true);
    dbgrdhUsers->verticalHeader()->hide();

    auto* navigator = new EditNavigator(this);

    edtPw = passwordBox();
    edt1 = passwordBox();
    btnChangePW = new QPushButton(QStringLiteral("确  认"));
    auto* pwPage = new QWidget;
    auto* pwForm = new QFormLayout(pwPage);
    pwForm->addRow(QStringLiteral("请输入新密码"), edtPw);
    pwForm->addRow(QStringLiteral("重复新密码"), edt1);
    pwForm->addRow(btnChangePW);
    navigator->addBox(edtPw);
    navigator->addBox(edt1, [this] { btnChangePWClick(); });

    edtUser = new QLineEdit;
    edtPWNew = passwordBox();
    edtPWNewA = passwordBox();
    btnADD = new QPushButton(QStringLiteral("添加新用户"));
    btnDelUser = new QPushButton(QStringLiteral("删除选中用户"));
    auto* addPage = new QWidget;
    auto* addForm = new QFormLayout(addPage);
    addForm->addRow(QStringLiteral("输入用户名"), edtUser);
    addForm->addRow(QStringLiteral("请输入新密码"), edtPWNew);
    addForm->addRow(QStringLiteral("重复新密码"), edtPWNewA);
    auto* addButtons = new QHBoxLayout;
    addButtons->addWidget(btnADD);
    addButtons->addWidget(btnDelUser);
    addForm->addRow(addButtons);
    navigator->addBox(edtUser);
    navigator->addBox(edtPWNew);
    navigator->addBox(edtPWNewA, [this] { btnADDClick(); });

    mapper_ = new QDataWidgetMapper(this);
    mapper_->setModel(users_);
    mapper_->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
    auto* rightsPage = new QWidget;
    auto* rightsLayout = new QVBoxLayout(rightsPage);
    const auto& columns = UserStore::rightColumns();
    for (int i = 0; i < columns.size(); ++i) {
        auto* box = new QCheckBox(kRightCaptions[i]);
        box->setObjectName(columns[i]);
        chkRights << box;
        rightsLayout->addWidget(box);
        mapper_->addMapping(box, users_->record().indexOf(columns[i]));
        // A tick is a change of the row at once, as a data-aware box would be.
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { rightToggled(i, on); });
    }
    btnApply = new QPushButton(QStringLiteral("确  认"));
    rightsLayout->addWidget(btnApply);
    rightsLayout->addStretch();

    edtICNO = new QLineEdit;
    edtICNO->setObjectName("edtICNO");
    mapper_->addMapping(edtICNO, users_->record().indexOf("ICNO"));
    auto* icPage = new QWidget;
    auto* icForm = new QFormLayout(icPage);
    icForm->addRow(QStringLiteral("IC卡号"), edtICNO);
    connect(edtICNO, &QLineEdit::editingFinished, mapper_, &QDataWidgetMapper::submit);

    pages = new QTabWidget;
    pages->addTab(pwPage, QStringLiteral("密码修改"));
    pages->addTab(addPage, QStringLiteral("用户新增"));
    pages->addTab(rightsPage, QStringLiteral("权限设置"));
    pages->addTab(icPage, QStringLiteral("IC卡号设置"));
    pages->setCurrentIndex(0);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(dbgrdhUsers, 1);
    layout->addWidget(pages, 2);

    connect(dbgrdhUsers->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TPwEditForm::userRowChanged);
    connect(btnChangePW, &QPushButton::clicked, this, &TPwEditForm::btnChangePWClick);
    connect(btnADD, &QPushButton::clicked, this, &TPwEditForm::btnADDClick);
    connect(btnDelUser, &QPushButton::clicked, this, &TPwEditForm::btnDelUserClick);
    connect(btnApply, &QPushButton::clicked, this, &TPwEditForm::btnApplyClick);

    if (users_->rowCount() > 0)
        showRow(users_->record(0).value("UserName").toString());
}

void TPwEditForm::userRowChanged(const QModelIndex& current) {
    if (switching_)
        return;
    // The rights and the card number ticked for the row being left are
    // stored before the boxes show the next row.
    const QString next =
        current.isValid() ? users_->record(current.row()).value("UserName").toString() : QString();
    const QString left = shownUser_;
    if (!storeEdits()) {
        showRow(left);
        return;
    }
    showRow(next);
}

void TPwEditForm::showRow(const QString& name) {
    switching_ = true;
    int row = -1;
    for (int r = 0; r < users_->rowCount() && row < 0; ++r)
        if (users_->record(r).value("UserName").toString() == name)
            row = r;
    if (row >= 0)
        dbgrdhUsers->selectRow(row);
    // Filling the boxes for another row must not write them back.
    populating_ = true;
    mapper_->setCurrentIndex(row);
    populating_ = false;
    shownUser_ = row >= 0 ? name : QString();
    switching_ = false;
}

bool TPwEditForm::storeEdits() {
    if (mapper_->currentIndex() >= 0)
        mapper_->submit();
    if (!users_->isDirty())
        return true;
    QSqlDatabase db = SysDM->ADOCon();
    const bool own = db.transaction();
    QString error;
    // Storing reads the users again, which moves the grid's cursor: that is
    // no choice of the user's.
    const bool wasSwitching = std::exchange(switching_, true);
    bool ok = users_->submitAll();
    switching_ = wasSwitching;
    if (!ok)
        error = users_->lastError().text();
    if (own)
        ok = FinishTransaction(db, ok, &error);
    if (!ok) {
        Services::prompt().error(QStringLiteral("用户权限没有保存：") + error);
        return false;
    }
    return true;
}

void TPwEditForm::done(int result) {
    // Closing keeps what was ticked, as leaving the row does; a failure keeps
    // the window open with the edits.
    if (!storeEdits())
        return;
    QDialog::done(result);
}

QString TPwEditForm::selectedUser() const {
    const int row = mapper_->currentIndex();
    if (row < 0 || row >= users_->rowCount())
        return {};
    return users_->record(row).value("UserName").toString();
}

void TPwEditForm::selectUser(const QString& name) {
    for (int row = 0; row < users_->rowCount(); ++row)
        if (users_->record(row).value("UserName").toString() == name) {
            dbgrdhUsers->selectRow(row);
            return;
        }
}

bool TPwEditForm::reload(const QString& select) {
    if (!storeEdits())
        return false;
    users_->select();
    if (select.isEmpty() && users_->rowCount() > 0)
        showRow(users_->record(users_->rowCount() - 1).value("UserName").toString());
    else
        showRow(select);
    return true;
}

void TPwEditForm::rightToggled(int right, bool checked) {
    if (populating_)
        return;
    if (right == 0 && !checked && selectedUser() == UserStore::kAdmin) {
        Services::prompt().error(QStringLiteral("不能删除管理用户权限，否则您无法登录系统！"),
                                 QStringLiteral("不能删除"));
        chkRights[0]->setChecked(true);
        return;
    }
    mapper_->submit();
}

void TPwEditForm::btnChangePWClick() {
    PromptService& prompt = Services::prompt();
    const QString target = selectedUser();
    if (SysDM->currentUser() != UserStore::kAdmin && target != SysDM->currentUser()) {
        prompt.error(QStringLiteral("您不是超级管理员，无法修改其他用户的密码！"),
                     QStringLiteral("不能修改密码"));
        return;
    }
    if (edtPw->text().isEmpty()) {
        prompt.info(QStringLiteral("密码不能为空，请重新输入"));
        edtPw->setFocus();
        return;
    }
    if (edtPw->text() != edt1->text()) {
        prompt.info(QStringLiteral("两次密码不相同，请重新输入"));
        edt1->setFocus();
        return;
    }
    if (target.isEmpty()) {
        prompt.info(QStringLiteral("请先在用户列表中选择要修改密码的用户"));
        return;
    }
    if (!storeEdits())
        return;
    QString error;
    if (!UserStore(SysDM->context()).setPassword(target, edtPw->text(), &error)) {
        prompt.error(error);
        return;
    }
    reload(target);
    edtPw->clear();
    edt1->clear();
    prompt.info(QStringLiteral("密码成功修改，退出后请用新密码登录!"));
}

void TPwEditForm::btnADDClick() {
    PromptService& prompt = Services::prompt();
    if (edtUser->text().isEmpty()) {
        prompt.info(QStringLiteral("用户名不能为空,请重输!"));
        edtUser->setFocus();
        return;
    }
    if (edtPWNew->text().isEmpty()) {
        prompt.info(QStringLiteral("用户密码不能为空,请重输!"));
        edtPWNew->setFocus();
        return;
    }
    if (edtPWNew->text() != edtPWNewA->text()) {
        prompt.info(QStringLiteral("重复密码不相同,请重输!"));
        edtPWNewA->setFocus();
        return;
    }
    if (!storeEdits())
        return;
    QString error;
    if (!UserStore(SysDM->context()).add(edtUser->text(), edtPWNew->text(), &error)) {
        prompt.error(error);
        return;
    }
    prompt.info(QStringLiteral("成功添加新用户！!"));
    reload(QString());
    edtUser->clear();
    edtPWNew->clear();
    edtPWNewA->clear();
}

void TPwEditForm::btnDelUserClick() {
    PromptService& prompt = Services::prompt();
    const QString target = selectedUser();
    if (target == UserStore::kAdmin) {
        prompt.error(QStringLiteral("不能删除管理用户，否则您无法登录系统！"),
                     QStringLiteral("不能删除"));
        return;
    }
    if (target.isEmpty())
        return;
    if (prompt.question(QStringLiteral("删除用户后，无法恢复？您确定要删除此用户吗"),
                        QStringLiteral("用户删除提示"), true, false) != PromptService::Answer::Yes)
        return;
    if (!storeEdits())
        return;
    QString error;
    if (!UserStore(SysDM->context()).remove(target, &error)) {
        prompt.error(error);
        return;
    }
    reload(UserStore::kAdmin);
    prompt.info(QStringLiteral("用户被成功删除！"));
}

void TPwEditForm::btnApplyClick() {
    if (!reload(selectedUser()))
        return;
    Services::prompt().info(QStringLiteral("成功修改用户权限！"), QStringLiteral("成功修改"));
}
