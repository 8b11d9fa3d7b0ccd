#include "SqlRun.h"

#include <QSqlError>

bool RunBound(QSqlQuery& q, const QString& sql, const QVariantList& values, QString* error) {
    if (q.prepare(sql)) {
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (q.exec())
            return true;
    }
    if (error)
        *error = q.lastError().text() + "\n" + sql;
    return false;
}

bool FinishTransaction(QSqlDatabase& db, bool ok, QString* error) {
    if (!ok) {
        db.rollback();
        return false;
    }
    if (db.commit())
        return true;
    if (error)
        *error = db.lastError().text();
    db.rollback();
    return false;
}
