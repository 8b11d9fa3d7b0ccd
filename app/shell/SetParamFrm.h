#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;

// The parameter dialog: edits the operating parameters of section COMSET of
// Config.Ini. A missing key shows the dialog's own default, which OK writes.
class TfrmSetComm : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSetComm(QWidget* parent = nullptr);

    // The voice card test window, opened by "语音卡测试" after saving.
    void setCardTestOpener(std::function<void(QWidget*)> opener) {
        openCardTest_ = std::move(opener);
    }

    QTabWidget* pcParams;
    QLineEdit* edtCode;
    QPlainTextEdit* mmoStr1;
    QLineEdit* edtStr2;
    QLineEdit* edtStr3;
    QSlider* tbSpeed;
    QSlider* tbVolume;
    QSpinBox* edtCallCount;
    QCheckBox* chkFJX;
    QPushButton* btnCardTest;
    QComboBox* cbbCOMPort;
    QLineEdit* edtTEL;
    QPlainTextEdit* mmoSMS1;
    QLineEdit* edtSMS2;
    QLineEdit* edtSMS3;
    QRadioButton* rbGSM;
    QRadioButton* rbAPP;
    QLineEdit* edtPinrtTitle;
    QLineEdit* edtPrintPageO;
    QLineEdit* edtPrintPageT;
    QLineEdit* edtPrintThree;
    QSpinBox* edtPrintLeft;
    QSpinBox* edtPrintTop;
    QCheckBox* chkPrint;
    QSpinBox* edtDay;
    QCheckBox* chkAutoBC;
    QPushButton* btnOK;
    QPushButton* btnCancel;

public slots:
    void btnOKClick();
    void btnCardTestClick();

private:
    void load();
    bool save();

    std::function<void(QWidget*)> openCardTest_;
};
