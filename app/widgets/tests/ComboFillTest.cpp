#include "ComboFill.h"
#include "ScriptedPrompt.h"
#include "TestDatabase.h"

#include <QComboBox>
#include <gtest/gtest.h>

TEST(ComboFill, AddsTheFirstColumnInRowOrderAndClearsOnlyWhenAsked) {
    TestDatabase db(DbEngine::Sqlite);
    ASSERT_TRUE(db.ok()) << db.error().toStdString();
    ASSERT_TRUE(db.exec("insert into City (city) values ('苏州'), ('南京'), ('无锡')"));
    QComboBox combo;
    combo.addItem("old");
    ASSERT_TRUE(FillComboFromSql("select city, 1 from City order by city desc", &combo, false));
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.itemText(0), "old");
    ASSERT_TRUE(FillComboFromSql("select city from City where city <> ? order by city", &combo,
                                 true, {"无锡"}));
    EXPECT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(0), "南京");

    ScriptedPrompt prompt;
    EXPECT_FALSE(FillComboFromSql("select nosuch from City", &combo, true));
    EXPECT_EQ(combo.count(), 2);
    EXPECT_EQ(prompt.shown.size(), 1);
}
