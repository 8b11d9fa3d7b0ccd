#include "ConfigIni.h"
#include "GbkCodec.h"
#include "IniFile.h"
#include "TempHome.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(ConfigIni, MissingFileOrKeyGivesTheReadersDefault) {
    TempHome home;
    EXPECT_EQ(ConfigIni::readString("Login", "DBType", "1"), "1");
    EXPECT_EQ(ConfigIni::readInt("COMSET", "CallCount", 3), 3);
    EXPECT_FALSE(ConfigIni::readBool("COMSET", "AutoBC", false));
    home.write("Config.Ini", "[COMSET]\r\ncode=ABC\r\n");
    EXPECT_EQ(ConfigIni::readInt("COMSET", "CallCount", 3), 3);
    EXPECT_EQ(ConfigIni::readString("Login", "DBType", "1"), "1");
}

TEST(ConfigIni, NonNumberWhereNumberExpectedGivesDefault) {
    TempHome home;
    home.write("Config.Ini", "[COMSET]\nCallCount=three\nPrintLeft=12\nFJX=yes\nAutoBC=1\n");
    EXPECT_EQ(ConfigIni::readInt("COMSET", "CallCount", 3), 3);
    EXPECT_EQ(ConfigIni::readInt("COMSET", "PrintLeft", 70), 12);
    EXPECT_TRUE(ConfigIni::readBool("COMSET", "FJX", true));
    EXPECT_FALSE(ConfigIni::readBool("COMSET", "FJX", false));
    EXPECT_TRUE(ConfigIni::readBool("COMSET", "AutoBC", false));
}

TEST(ConfigIni, SectionsAndKeysIgnoreCaseAndValuesKeepCommas) {
    TempHome home;
    home.write("Config.Ini", "[comset]\nSTR2=,评标地点：\n");
    EXPECT_EQ(ConfigIni::readString("COMSET", "str2", ""), ",评标地点：");
}

TEST(ConfigIni, FileThatIsNotUtf8IsReadAsGbk) {
    TempHome home;
    home.write("Config.Ini", "[COMSET]\nstr1=" + GbkCodec::fromUnicode("尊敬的专家") + "\n");
    EXPECT_EQ(ConfigIni::readString("COMSET", "str1", ""), "尊敬的专家");
}

TEST(ConfigIni, WritingKeepsOtherLinesAndIsSeenAtTheNextRead) {
    TempHome home;
    home.write("Config.Ini", "; kept\n[Login]\nDBType=0\n\n[COMSET]\ncode=ABC\n");
    ASSERT_TRUE(ConfigIni::writeString("Login", "UserName", "张三"));
    ASSERT_TRUE(ConfigIni::writeInt("COMSET", "code", 7));
    ASSERT_TRUE(ConfigIni::writeBool("Other", "x", true));
    EXPECT_EQ(ConfigIni::readString("Login", "DBType", "1"), "0");
    EXPECT_EQ(ConfigIni::readString("Login", "UserName", ""), "张三");
    EXPECT_EQ(ConfigIni::readInt("COMSET", "code", 0), 7);
    EXPECT_TRUE(ConfigIni::readBool("Other", "x", false));
    const QString text = QString::fromUtf8(home.read("Config.Ini"));
    EXPECT_TRUE(text.startsWith("; kept\r\n[Login]\r\nDBType=0\r\nUserName=张三\r\n"));
    // It may hold a remembered password.
    const auto perms = QFile::permissions(home.path("Config.Ini"));
    EXPECT_TRUE(perms.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_FALSE(perms & (QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                          QFileDevice::ReadOther | QFileDevice::WriteOther));
}

TEST(ConfigIni, ValueCannotInjectAnotherKey) {
    TempHome home;
    ASSERT_TRUE(ConfigIni::writeString("Login", "PassWord", "pw\n[Login]\nDBType=0"));
    EXPECT_EQ(ConfigIni::readString("Login", "PassWord", ""), "pw");
    EXPECT_EQ(ConfigIni::readString("Login", "DBType", "1"), "1");
}
