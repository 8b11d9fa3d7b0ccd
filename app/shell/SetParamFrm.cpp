#include "SetParamFrm.h"

#include "ConfigIni.h"
#include "IniFile.h"
#include "PromptService.h"
#include "Services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kSection = QStringLiteral("COMSET");
const QString kDefaultText =
    QStringLiteral("尊敬的专家，您好，您被xx评标专家系统抽取为评标专家，开标日期");

QSpinBox* spin(int max) {
    auto* s = new QSpinBox;
    s->setRange(0, max);
    return s;
}

QSlider* slider() {
    auto* s = new QSlider(Qt::Horizontal);
    s->setRange(0, 10);
    s->setTickPosition(QSlider::TicksBelow);
    return s;
}

int readClamped(const QString& key, int def, int min, int max) {
    return std::clamp(ConfigIni::readInt(kSection, key, def), min, max);
}

} // namespace

TfrmSetComm::TfrmSetComm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("系统参数设置"));

    edtCode = new QLineEdit;
    auto* basic = new QWidget;
    auto* basicForm = new QFormLayout(basic);
    basicForm->addRow(QStringLiteral("招标项目编码前缀"), edtCode);

    mmoStr1 = new QPlainTextEdit;
    mmoStr1->setMaximumHeight(70);
    edtStr2 = new QLineEdit;
    edtStr3 = new QLineEdit;
    tbSpeed = slider();
    tbVolume = slider();
    edtCallCount = spin(1000);
    chkFJX = new QCheckBox(QStringLiteral("电话线路支持反极性"));
    btnCardTest = new QPushButton(QStringLiteral("语音卡测试"));
    auto* voice = new QWidget;
    auto* voiceForm = new QFormLayout(voice);
    voiceForm->addRow(QStringLiteral("语音文本"), mmoStr1);
    voiceForm->addRow(new QLabel(QStringLiteral("+开标时间+")));
    voiceForm->addRow(QStringLiteral("+开标地点+"), edtStr2);
    voiceForm->addRow(QString(), edtStr3);
    voiceForm->addRow(QStringLiteral("语音速度"), tbSpeed);
    voiceForm->addRow(QStringLiteral("语音音量"), tbVolume);
    voiceForm->addRow(QStringLiteral("重拔次数"), edtCallCount);
    voiceForm->addRow(chkFJX);
    voiceForm->addRow(btnCardTest);

    cbbCOMPort = new QComboBox;
    for (int i = 1; i <= 16; ++i)
        cbbCOMPort->addItem(QStringLiteral("COM%1").arg(i));
    edtTEL = new QLineEdit;
    mmoSMS1 = new QPlainTextEdit;
    mmoSMS1->setMaximumHeight(70);
    edtSMS2 = new QLineEdit;
    edtSMS3 = new QLineEdit;
    rbGSM = new QRadioButton(QStringLiteral("短信猫方式发送"));
    rbAPP = new QRadioButton(QStringLiteral("手机APP方式发送"));
    auto* sms = new QWidget;
    auto* smsForm = new QFormLayout(sms);
    smsForm->addRow(QStringLiteral("通信端口："), cbbCOMPort);
    smsForm->addRow(QStringLiteral("短信中心号码："), edtTEL);
    smsForm->addRow(QStringLiteral("短信文本"), mmoSMS1);
    smsForm->addRow(QStringLiteral("+开标地点+"), edtSMS2);
    smsForm->addRow(QString(), edtSMS3);
    auto* smsType = new QHBoxLayout;
    smsType->addWidget(rbGSM);
    smsType->addWidget(rbAPP);
    smsForm->addRow(smsType);

    edtPinrtTitle = new QLineEdit;
    edtPrintPageO = new QLineEdit;
    edtPrintPageT = new QLineEdit;
    edtPrintThree = new QLineEdit;
    edtPrintLeft = spin(1000);
    edtPrintTop = spin(1000);
    chkPrint = new QCheckBox(QStringLiteral("项目直接打印，不进行预览"));
    auto* print = new QWidget;
    auto* printForm = new QFormLayout(print);
    printForm->addRow(QStringLiteral("项目打印标题"), edtPinrtTitle);
    printForm->addRow(QStringLiteral("项目页签一"), edtPrintPageO);
    printForm->addRow(QStringLiteral("项目页签二"), edtPrintPageT);
    printForm->addRow(QStringLiteral("项目页签三"), edtPrintThree);
    printForm->addRow(QStringLiteral("打印左边距"), edtPrintLeft);
    printForm->addRow(QStringLiteral("打印顶边距"), edtPrintTop);
    printForm->addRow(chkPrint);

    edtDay = spin(30);
    chkAutoBC = new QCheckBox(QStringLiteral("专家无应答或不能参加评标时，自动补抽"));
    auto* draw = new QWidget;
    auto* drawLayout = new QVBoxLayout(draw);
    auto* dayRow = new QHBoxLayout;
    dayRow->addWidget(new QLabel(QStringLiteral("专家被抽取后，")));
    dayRow->addWidget(edtDay);
    dayRow->addWidget(new QLabel(QStringLiteral("天内，默认不被抽取")));
    dayRow->addStretch();
    drawLayout->addLayout(dayRow);
    drawLayout->addWidget(chkAutoBC);
    drawLayout->addStretch();

    pcParams = new QTabWidget;
    pcParams->addTab(basic, QStringLiteral("基本设置"));
    pcParams->addTab(voice, QStringLiteral("电话语音设置"));
    pcParams->addTab(sms, QStringLiteral("短信设置"));
    pcParams->addTab(print, QStringLiteral("项目打印设置"));
    pcParams->addTab(draw, QStringLiteral("项目抽取设置"));
    pcParams->setCurrentIndex(0);

    btnOK = new QPushButton(QStringLiteral("确定"));
    btnCancel = new QPushButton(QStringLiteral("取消"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcParams);
    layout->addLayout(buttons);

    connect(btnOK, &QPushButton::clicked, this, &TfrmSetComm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnCardTest, &QPushButton::clicked, this, &TfrmSetComm::btnCardTestClick);

    load();
}

void TfrmSetComm::load() {
    const IniFile ini = IniFile::load(ConfigIni::path());
    auto text = [&](const QString& key, const QString& def) {
        return ini.value(kSection, key).value_or(def);
    };
    edtCode->setText(text("code", "PRJ"));
    mmoStr1->setPlainText(text("str1", kDefaultText));
    edtStr2->setText(text("str2", QStringLiteral("评标地点：")));
    edtStr3->setText(
        text("str3", QStringLiteral(",同意参加评标请按1键，不能参加请按2键，重听请按9键！")));
    tbSpeed->setValue(readClamped("ispeed", 5, 0, 10));
    tbVolume->setValue(readClamped("iVolume", 10, 0, 10));
    edtCallCount->setValue(readClamped("CallCount", 3, 0, 1000));
    chkFJX->setChecked(ConfigIni::readBool(kSection, "FJX", false));
    // A stored index outside the list leaves no port selected, which OK refuses.
    const int port = ConfigIni::readInt(kSection, "COMPort", 0);
    cbbCOMPort->setCurrentIndex(port >= 0 && port < cbbCOMPort->count() ? port : -1);
    edtTEL->setText(text("TEL", QString()));
    mmoSMS1->setPlainText(text("SMS1", kDefaultText));
    edtSMS2->setText(text("SMS2", QStringLiteral("评标地点：")));
    edtSMS3->setText(text("SMS3", QStringLiteral(",请您准时参加！")));
    (text("SMSType", "APP") == "APP" ? rbAPP : rbGSM)->setChecked(true);
    edtPinrtTitle->setText(text("PinrtTitle", QStringLiteral("项目详细信息")));
    edtPrintPageO->setText(text("PrintPageO", QStringLiteral("招标代理公司代表：")));
    edtPrintPageT->setText(text("PrintPageT", QStringLiteral("业主代表：")));
    edtPrintThree->setText(text("PrintThree", QStringLiteral(",监督人员：")));
    edtPrintLeft->setValue(readClamped("PrintLeft", 70, 0, 1000));
    edtPrintTop->setValue(readClamped("PrintTop", 100, 0, 1000));
    chkPrint->setChecked(ConfigIni::readBool(kSection, "print", false));
    edtDay->setValue(readClamped("Day", 0, 0, 30));
    chkAutoBC->setChecked(ConfigIni::readBool(kSection, "AutoBC", false));
}

bool TfrmSetComm::save() {
    IniFile ini = IniFile::load(ConfigIni::path());
    auto set = [&](const QString& key, const QString& value) {
        ini.setValue(kSection, key, value);
    };
    auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    set("COMPort", QString::number(cbbCOMPort->currentIndex()));
    set("ispeed", QString::number(tbSpeed->value()));
    set("iVolume", QString::number(tbVolume->value()));
    set("TEL", edtTEL->text());
    // The text boxes hold one line each in the file.
    set("str1", mmoStr1->toPlainText().remove(QLatin1Char('\r')).remove(QLatin1Char('\n')));
    set("str2", edtStr2->text());
    set("str3", edtStr3->text());
    set("SMS1", mmoSMS1->toPlainText().remove(QLatin1Char('\r')).remove(QLatin1Char('\n')));
    set("SMS2", edtSMS2->text());
    set("SMS3", edtSMS3->text());
    set("code", edtCode->text());
    set("FJX", flag(chkFJX->isChecked()));
    set("print", flag(chkPrint->isChecked()));
    set("AutoBC", flag(chkAutoBC->isChecked()));
    set("PrintLeft", QString::number(edtPrintLeft->value()));
    set("PrintTop", QString::number(edtPrintTop->value()));
    set("PinrtTitle", edtPinrtTitle->text());
    set("PrintPageO", edtPrintPageO->text());
    set("PrintPageT", edtPrintPageT->text());
    set("PrintThree", edtPrintThree->text());
    set("Day", QString::number(edtDay->value()));
    set("CallCount", QString::number(edtCallCount->value()));
    set("SMSType", rbAPP->isChecked() ? QStringLiteral("APP") : QStringLiteral("GSM"));
    QString error;
    if (!ini.save(ConfigIni::path(), &error)) {
        Services::prompt().error(QStringLiteral("无法保存系统参数：%1").arg(error));
        return false;
    }
    return true;
}

void TfrmSetComm::btnOKClick() {
    if (cbbCOMPort->currentIndex() < 0 || edtTEL->text().isEmpty()) {
        Services::prompt().warning(QStringLiteral("请把通信参数填写完整！"),
                                   QStringLiteral("系统提示"));
        return;
    }
    if (save())
        accept();
}

void TfrmSetComm::btnCardTestClick() {
    if (save() && openCardTest_)
        openCardTest_(this);
}
