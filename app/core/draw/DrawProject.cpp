#include "DrawProject.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

bool DrawProject::OpenProject(QSqlDatabase db, const QString& billID, DrawProject* out,
                              QString* error) {
    *out = DrawProject();
    out->billID = billID;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare("Select * from Project Where BillID = ?")) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    q.addBindValue(billID);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    if (!q.next())
        return true;
    const QSqlRecord rec = q.record();
    auto value = [&](const char* column) { return q.value(rec.indexOf(column)); };
    out->found = true;
    out->city = value("city").toString();
    out->gapDay = value("gap_day").toInt();
    out->num3 = value("num3").toInt();
    out->typeName = value("TypeName");
    out->specialty = value("specialty").toString();
    out->pbBeginDate = value("PBBeginDate").toDateTime();
    return true;
}
