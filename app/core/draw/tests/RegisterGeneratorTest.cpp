#include "RegisterGenerator.h"
#include "DrawTest.h"
#include "PinyinInitials.h"
#include "SchemaInstaller.h"
#include "SqlDialect.h"

#include <QSqlQuery>

using DemoRegister = DrawTest;

TEST_P(DemoRegister, GivesANewcomerARegisterToDrawFrom) {
    QSqlDatabase db = dm().ADOCon();
    QString error;
    ASSERT_TRUE(RegisterGenerator::fillDemo(db, &error)) << error.toStdString();
    EXPECT_EQ(s->scalar("select COUNT(*) from expert").toInt(), 300);
    const int disabled = s->scalar("select COUNT(*) from expert where not (1=1" +
                                   dm().dialect().enabledCondition() + ")")
                             .toInt();
    EXPECT_GT(disabled, 10);
    EXPECT_LT(disabled, 60);
    EXPECT_GT(s->scalar("select COUNT(*) from expert where ischeck = 1").toInt(), 0);
    EXPECT_GT(s->scalar("select COUNT(*) from SpecialityClass where Pr_parent is null").toInt(), 0);
    EXPECT_GT(s->scalar("select COUNT(*) from ClassRoot2 where pr_full like ?", {"%/%"}).toInt(),
              0);
    EXPECT_GT(s->scalar("select COUNT(*) from ProjectSpeciality").toInt(), 0);
    EXPECT_GT(s->scalar("select COUNT(*) from projectHbdw").toInt(), 0);

    QSqlQuery q(db);
    ASSERT_TRUE(q.exec("select expertName, PY from expert"));
    while (q.next())
        ASSERT_EQ(q.value(1).toString(), PinyinInitials(q.value(0).toString()));

    const QString bill = RegisterGenerator::upcomingBillID(0);
    EXPECT_TRUE(dm().HasDemand(bill));
    ASSERT_TRUE(dm().RunDraw(bill));
    EXPECT_GT(s->resultIDs(bill).size(), 0);
}

TEST_P(DemoRegister, SameShapeGivesTheSameRegister) {
    QSqlDatabase db = dm().ADOCon();
    RegisterGenerator::Shape shape = RegisterGenerator::demo(QDate(2026, 1, 5));
    shape.experts = 50;
    auto fillAndRead = [&] {
        QString error;
        EXPECT_TRUE(RegisterGenerator::fill(db, shape, &error)) << error.toStdString();
        QStringList rows;
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec("select expertID, expertName, Employer, specialtyClass from expert "
                           "order by expertID"));
        while (q.next())
            rows << q.value(0).toString() + q.value(1).toString() + q.value(2).toString() +
                        q.value(3).toString();
        for (const char* table :
             {"expert", "expertSpecialtyType", "SpecialityClass", "specialty", "City", "Unit",
              "project", "ProjectList", "ProjectSpeciality", "projectHbdw"})
            EXPECT_TRUE(s->db().exec(QStringLiteral("delete from ") + table));
        return rows;
    };
    const QStringList first = fillAndRead();
    EXPECT_EQ(first.size(), 50);
    EXPECT_EQ(fillAndRead(), first);
}

PANELPICK_ON_EVERY_ENGINE(DemoRegister);
