#include "DrawProject.h"

#include "SqlDateTime.h"
#include "SqlRun.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

bool readList(QSqlDatabase db, const QString& sql, const QString& billID, QStringList* out,
              QString* error) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!RunBound(q, sql, {billID}, error))
        return false;
    while (q.next())
        if (!q.value(0).isNull())
            out->append(q.value(0).toString());
    out->sort();
    return true;
}

} // namespace

bool DrawProject::OpenProject(QSqlDatabase db, const QString& billID, DrawProject* out,
                              QString* error) {
    *out = DrawProject();
    out->billID = billID;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!RunBound(q, "Select * from Project Where BillID = ?", {billID}, error))
        return false;
    if (q.next()) {
        const QSqlRecord rec = q.record();
        auto value = [&](const char* column) { return q.value(rec.indexOf(column)); };
        out->found = true;
        out->city = value("city").toString();
        out->gapDay = value("gap_day").toInt();
        out->num3 = value("num3").toInt();
        out->archived = value("IsSave").toInt() == 1;
        out->typeName = value("TypeName");
        out->specialty = value("specialty").toString();
        out->pbBeginDate = SqlDateTime::parse(value("PBBeginDate"));
    }
    return readList(db, "SELECT bidderName FROM projectHbdw where BillID = ?", billID,
                    &out->avoidedUnits, error) &&
           readList(db, "SELECT expertID from ProjectHbExpert Where BillID = ?", billID,
                    &out->avoidedExperts, error);
}
