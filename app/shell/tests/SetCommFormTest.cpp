#include "ConfigIni.h"
#include "IniFile.h"
#include "ScriptedPrompt.h"
#include "SetParamFrm.h"
#include "TempHome.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

class SetCommFormTest : public ::testing::Test {
protected:
    TempHome home;
    ScriptedPrompt prompt;
};

TEST_F(SetCommFormTest, WithoutServiceCentreNumberOkRefusesAndWritesNothing) {
    TfrmSetComm form;
    EXPECT_EQ(form.pcParams->currentIndex(), 0);
    form.btnOK->click();
    EXPECT_EQ(prompt.last(), "请把通信参数填写完整！");
    EXPECT_EQ(prompt.shown.last().title, "系统提示");
    EXPECT_EQ(prompt.shown.last().icon, PromptService::Icon::Warning);
    EXPECT_FALSE(QFile::exists(ConfigIni::path()));
}

TEST_F(SetCommFormTest, OkOnceWritesTheDialogDefaultsThatReadersThenSee) {
    // Before: the readers' own defaults.
    EXPECT_EQ(ConfigIni::readString("COMSET", "code", ",PRJ"), ",PRJ");
    EXPECT_EQ(ConfigIni::readInt("COMSET", "PrintTop", 70), 70);
    TfrmSetComm form;
    form.edtTEL->setText("13800250500");
    form.btnOK->click();
    EXPECT_TRUE(prompt.shown.isEmpty());
    const struct {
        const char* key;
        const char* value;
    } written[] = {
        {"code", "PRJ"},
        {"str1", "尊敬的专家，您好，您被xx评标专家系统抽取为评标专家，开标日期"},
        {"str2", "评标地点："},
        {"str3", ",同意参加评标请按1键，不能参加请按2键，重听请按9键！"},
        {"ispeed", "5"},
        {"iVolume", "10"},
        {"CallCount", "3"},
        {"FJX", "0"},
        {"COMPort", "0"},
        {"TEL", "13800250500"},
        {"SMS3", ",请您准时参加！"},
        {"SMSType", "APP"},
        {"print", "0"},
        {"PinrtTitle", "项目详细信息"},
        {"PrintPageO", "招标代理公司代表："},
        {"PrintPageT", "业主代表："},
        {"PrintThree", ",监督人员："},
        {"PrintLeft", "70"},
        {"PrintTop", "100"},
        {"Day", "0"},
        {"AutoBC", "0"},
    };
    for (const auto& w : written)
        EXPECT_EQ(ConfigIni::readString("COMSET", w.key, "<missing>"), QString::fromUtf8(w.value))
            << w.key;
    EXPECT_EQ(ConfigIni::readString("COMSET", "code", ",PRJ"), "PRJ");
    EXPECT_EQ(ConfigIni::readInt("COMSET", "PrintTop", 70), 100);
}

TEST_F(SetCommFormTest, StoredValuesComeBackAndCancelWritesNothing) {
    home.write("Config.Ini", "[COMSET]\nSMSType=GSM\nCOMPort=10\nDay=7\nCallCount=x\nTEL=955\n");
    const QByteArray before = home.read("Config.Ini");
    TfrmSetComm form;
    EXPECT_TRUE(form.rbGSM->isChecked());
    EXPECT_EQ(form.cbbCOMPort->currentText(), "COM11");
    EXPECT_EQ(form.edtDay->value(), 7);
    EXPECT_EQ(form.edtCallCount->value(), 3);
    form.edtDay->setValue(9);
    form.btnCancel->click();
    EXPECT_EQ(home.read("Config.Ini"), before);
}

TEST_F(SetCommFormTest, PortOutsideTheListLeavesNoneSelectedAndOkRefuses) {
    home.write("Config.Ini", "[COMSET]\nCOMPort=20\nTEL=955\n");
    TfrmSetComm form;
    EXPECT_EQ(form.cbbCOMPort->currentIndex(), -1);
    form.btnOK->click();
    EXPECT_EQ(prompt.last(), "请把通信参数填写完整！");
}

TEST_F(SetCommFormTest, CardTestSavesWithoutTheCompletenessCheck) {
    TfrmSetComm form;
    int opened = 0;
    form.setCardTestOpener([&](QWidget*) { ++opened; });
    form.edtStr2->setText("地点：");
    form.btnCardTest->click();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(prompt.shown.isEmpty());
    EXPECT_EQ(ConfigIni::readString("COMSET", "str2", ""), "地点：");
    EXPECT_EQ(ConfigIni::readString("COMSET", "TEL", "<missing>"), "");
}
