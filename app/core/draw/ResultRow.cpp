#include "ResultRow.h"

#include <QSqlError>
#include <QSqlQuery>

bool ResultRow::append(QSqlDatabase db, QString* error) const {
    QSqlQuery q(db);
    bool ok = q.prepare("INSERT INTO ProjectList (billid, expertID, expertName, TEL, Mobile, "
                        "Employer, specialtyClass, state, ischeck, pf, dialcount, sms, ICNO, "
                        "reType, reClass) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 1, 1, 1, ?, ?, ?, ?)");
    if (ok) {
        for (const QVariant& v : QVariantList{
                 billID, expert.expertID, expert.expertName, expert.tel, expert.mobile,
                 expert.employerIsNull ? QVariant(QMetaType::fromType<QString>()) : expert.employer,
                 specialtyClass, kToBeContacted, sms, icno, reType, reClass})
            q.addBindValue(v);
        ok = q.exec();
    }
    if (!ok && error)
        *error = q.lastError().text();
    return ok;
}
