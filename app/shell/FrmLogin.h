#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The login window: user name and password, or an IC card whose reader types
// the card number followed by Enter. On success the current user is set and
// succeeded() is true.
class TLoginForm : public QDialog {
    Q_OBJECT
public:
    explicit TLoginForm(QWidget* parent = nullptr);

    bool succeeded() const { return success_; }
    // The user asked the window system to close the login window (Alt+F4):
    // that ends the whole program.
    bool programEndRequested() const { return programEndRequested_; }

    QLineEdit* edtUser;
    QLineEdit* edtPassWord;
    QLineEdit* edtIC;
    QCheckBox* chkSaveUserName;
    QCheckBox* chkSavePassword;
    QPushButton* btnOK;
    QPushButton* btnClose;

public slots:
    void btnOKClick();
    void btnCloseClick();
    void edtICEnter();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // storedForm: the password box holds the stored form (card login).
    void login(bool storedForm);

    bool success_ = false;
    bool programEndRequested_ = false;
    bool closingByButton_ = false;
};
