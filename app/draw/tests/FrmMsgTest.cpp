#include "FrmMsg.h"
#include "DMsys.h"
#include "Services.h"
#include "TestDatabase.h"
#include "Waiter.h"

#include <QLabel>
#include <QProgressBar>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {
class NoWait : public Waiter {
public:
    void wait(int ms) override { waited += ms; }
    int waited = 0;
};
} // namespace

TEST(FormMsg, ShowsBorderlessOnTopAndCountsTheExperts) {
    TFormMsg form;
    form.begin();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.lblMsg->text(), "正在随机抽取专家");
    form.setMaximum(3);
    form.step();
    form.step();
    EXPECT_EQ(form.pb1->value(), 2);
    EXPECT_EQ(form.pb1->maximum(), 3);
    EXPECT_EQ(form.lblMsg->text(), "已抽取2名专家");
    form.end();
    EXPECT_FALSE(form.isVisible());
}

TEST(FormMsg, GuessedMaximumGrowsWithTheExpertsDrawn) {
    TFormMsg form;
    form.begin();
    form.setMaximum(1);
    form.step();
    form.step();
    EXPECT_EQ(form.pb1->value(), 2);
    EXPECT_EQ(form.lblMsg->text(), "已抽取2名专家");
}

TEST(FormMsg, DrawShowsItAndClosesItEvenWhenItFails) {
    TestDatabase db(DbEngine::Sqlite);
    ASSERT_TRUE(db.ok()) << db.error().toStdString();
    NoWait noWait;
    Services::setWaiter(&noWait);
    TFormMsg form;
    db.dm().setDrawProgress(&form);
    ASSERT_TRUE(db.exec("insert into expert (expertID, expertName, specialtyClass, enabled) "
                        "values ('0001', '甲', '经济类', 1)"));
    ASSERT_TRUE(db.exec("insert into ProjectSpeciality (billID, specialtyClass, num) values "
                        "('P1', '经济类', 1)"));
    EXPECT_TRUE(db.dm().RunDraw("P1"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.pb1->value(), 1);
    EXPECT_EQ(noWait.waited, 1200);

    QSqlQuery(db.dm().ADOCon()).exec("drop table ProjectHbExpert");
    EXPECT_FALSE(db.dm().RunDraw("P1"));
    EXPECT_FALSE(form.isVisible());
    db.dm().setDrawProgress(nullptr);
    Services::setWaiter(nullptr);
}
