#include "DrawScenario.h"

#include "DMsys.h"
#include "TempHome.h"

#include <QSqlError>
#include <QSqlQuery>

DrawScenario::DrawScenario(DbEngine engine) : db_(std::make_unique<TestDatabase>(engine)) {}

void DrawScenario::expert(const Expert& e) {
    const QVariant employer = e.employer.isValid() ? e.employer : QVariant("单位" + e.id);
    EXPECT_TRUE(db_->exec("insert into expert (expertID, expertName, TEL, Mobile, Employer, "
                          "specialty, specialtyClass, City, enabled, ischeck) values (?, ?, ?, ?, "
                          "?, ?, ?, ?, ?, ?)",
                          {e.id, "专家" + e.id, "025-" + e.id, mobileOf(e.id), employer, e.industry,
                           e.cls, e.city, e.enabled, e.ischeck}))
        << db_->error().toStdString();
    for (int t : e.specialties)
        EXPECT_TRUE(
            db_->exec("insert into expertSpecialtyType (eid, tid) values (?, ?)", {e.id, t}));
}

void DrawScenario::project(const QString& bill, const QDateTime& evaluation, int gapDay, int num3,
                           const QString& city, const QVariant& typeName,
                           const QString& specialty) {
    EXPECT_TRUE(db_->exec("insert into project (BillID, ProJectName, PBBeginDate, PBENDDate, city, "
                          "gap_day, num3, TypeName, specialty, IsSave) values (?, ?, ?, ?, ?, ?, "
                          "?, ?, ?, 0)",
                          {bill, "项目" + bill, evaluation, evaluation, city, gapDay, num3,
                           typeName.isValid() ? typeName : QVariant(QMetaType::fromType<int>()),
                           specialty}))
        << db_->error().toStdString();
}

void DrawScenario::demand(const QString& bill, const QString& cls, const QVariant& typeName,
                          const QString& typeNameText, const QString& specialty, int num) {
    EXPECT_TRUE(
        db_->exec("insert into ProjectSpeciality (billID, specialtyClass, typeName, "
                  "typeNameText, specialty, num, AgreeNum, finishNum) values (?, ?, ?, ?, "
                  "?, ?, 0, 0)",
                  {bill, cls, typeName.isValid() ? typeName : QVariant(QMetaType::fromType<int>()),
                   typeNameText, specialty, num}))
        << db_->error().toStdString();
}

void DrawScenario::avoidUnit(const QString& bill, const QString& unit) {
    EXPECT_TRUE(
        db_->exec("insert into projectHbdw (BillID, bidderName) values (?, ?)", {bill, unit}));
}

void DrawScenario::avoidExpert(const QString& bill, const QString& expertID) {
    EXPECT_TRUE(db_->exec("insert into ProjectHbExpert (BillID, expertID) values (?, ?)",
                          {bill, expertID}));
}

void DrawScenario::drawn(const QString& bill, const QString& expertID, const QString& cls,
                         const QString& reType, const QString& reClass, const QString& icno) {
    QSqlQuery q(db_->dm().ADOCon());
    q.prepare("select Employer from expert where expertID = ?");
    q.addBindValue(expertID);
    QVariant employer;
    if (q.exec() && q.next())
        employer = q.value(0);
    EXPECT_TRUE(db_->exec("insert into ProjectList (billid, expertID, expertName, Mobile, "
                          "Employer, specialtyClass, state, ischeck, pf, dialcount, sms, ICNO, "
                          "reType, reClass) values (?, ?, ?, ?, ?, ?, '待联系', 1, 1, 1, '', ?, "
                          "?, ?)",
                          {bill, expertID, "专家" + expertID, mobileOf(expertID), employer, cls,
                           icno, reType, reClass}))
        << db_->error().toStdString();
}

void DrawScenario::setAutoReplacement(bool on) {
    db_->home().write("Config.Ini", on ? "[COMSET]\nAutoBC=1\n" : "[COMSET]\nAutoBC=0\n");
}

QStringList DrawScenario::resultColumn(const QString& bill, const QString& column) {
    QStringList out;
    QSqlQuery q(db_->dm().ADOCon());
    q.prepare("select " + column + " from ProjectList where billid = ? order by id");
    q.addBindValue(bill);
    EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
    while (q.next())
        out << q.value(0).toString();
    return out;
}

QStringList DrawScenario::resultIDs(const QString& bill) {
    return resultColumn(bill, "expertID");
}

QVariant DrawScenario::scalar(const QString& sql, const QVariantList& values) {
    return db_->scalar(sql, values);
}

bool DrawScenario::execDirect(const QString& sql) {
    QSqlQuery q(db_->dm().ADOCon());
    const bool ok = q.exec(sql);
    EXPECT_TRUE(ok) << q.lastError().text().toStdString();
    return ok;
}
