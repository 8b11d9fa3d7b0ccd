#include "DrawLogEntry.h"

#include "CandidatePool.h"

#include <QSqlError>
#include <QSqlQuery>

void DrawLogEntry::describePool(const CandidatePool& pool) {
    poolSize = pool.size();
    poolFingerprint = pool.fingerprint();
}

bool DrawLogEntry::append(QSqlDatabase db, QString* error) const {
    const QVariant noInt(QMetaType::fromType<int>());
    QSqlQuery q(db);
    bool ok = q.prepare("INSERT INTO DrawLog (drawTime, userName, billid, drawKind, demandRow, "
                        "poolSize, poolFingerprint, randomIndex, expertID) VALUES (?, ?, ?, ?, ?, "
                        "?, ?, ?, ?)");
    if (ok) {
        for (const QVariant& v :
             QVariantList{drawTime, userName, billID, drawKindText(kind), demandRow,
                          poolSize ? QVariant(*poolSize) : noInt, poolFingerprint,
                          randomIndex ? QVariant(*randomIndex) : noInt, expertID})
            q.addBindValue(v);
        ok = q.exec();
    }
    if (!ok && error)
        *error = q.lastError().text();
    return ok;
}
