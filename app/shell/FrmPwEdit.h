#pragma once

#include <QDialog>

class QCheckBox;
class QDataWidgetMapper;
class QModelIndex;
class QLineEdit;
class QPushButton;
class QSqlTableModel;
class QTabWidget;
class QTableView;

// The user manager: passwords, new users, rights and IC card numbers of the
// user selected in the grid. The rights and the card number are edited on
// the grid's rows through a mapper; they are stored by "确  认", when another
// user is chosen and when the window closes.
class TPwEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TPwEditForm(QWidget* parent = nullptr);

    QString selectedUser() const;
    void selectUser(const QString& name);

    QTableView* dbgrdhUsers;
    QTabWidget* pages;
    // 密码修改
    QLineEdit* edtPw;
    QLineEdit* edt1;
    QPushButton* btnChangePW;
    // 用户新增
    QLineEdit* edtUser;
    QLineEdit* edtPWNew;
    QLineEdit* edtPWNewA;
    QPushButton* btnADD;
    QPushButton* btnDelUser;
    // 权限设置: in the order of UserStore::rightColumns()
    QList<QCheckBox*> chkRights;
    QPushButton* btnApply;
    // IC卡号设置
    QLineEdit* edtICNO;

public slots:
    void btnChangePWClick();
    void btnADDClick();
    void btnDelUserClick();
    void btnApplyClick();

protected:
    void done(int result) override;

private:
    // Stores the rights and card number edited for the shown row; false after
    // showing why not.
    bool storeEdits();
    // Reads the users again, showing the named one (the last when empty).
    bool reload(const QString& select);
    void userRowChanged(const QModelIndex& current);
    void showRow(const QString& name);
    void rightToggled(int right, bool checked);

    QSqlTableModel* users_;
    QDataWidgetMapper* mapper_;
    QString shownUser_;
    bool populating_ = false;
    bool switching_ = false;
};
