#include "PoolSnapshot.h"

#include "CandidatePool.h"
#include "CanonicalRecord.h"
#include "SqlRun.h"

PoolSnapshot PoolSnapshot::of(const CandidatePool& pool, const QString& billID,
                              const QString& drawKind, std::optional<qlonglong> demandID,
                              const QString& rules) {
    PoolSnapshot s;
    s.billID = billID;
    s.drawKind = drawKind;
    s.demandID = demandID;
    s.rules = rules;
    s.candidates = pool.snapshotIDs();
    s.designated = pool.snapshotDesignated();
    s.snapshotHash = s.computeHash();
    return s;
}

QString PoolSnapshot::computeHash() const {
    CanonicalRecord r;
    r.addText("billid", billID)
        .addText("drawKind", drawKind)
        .add("demandID", demandID ? QVariant(*demandID) : QVariant())
        .addText("rules", rules)
        .addList("candidates", candidates)
        .addList("designated", designated)
        .add("candidateCount", static_cast<int>(candidates.size()));
    return r.sha256();
}

const QStringList& PoolSnapshot::columns() {
    static const QStringList c{"billid",     "drawKind",   "demandID",       "rules",
                               "candidates", "designated", "candidateCount", "snapshotHash"};
    return c;
}

QVariantList PoolSnapshot::insertValues() const {
    return {textValue(billID),
            textValue(drawKind),
            demandID ? QVariant(*demandID) : QVariant(QMetaType::fromType<qlonglong>()),
            textValue(rules),
            textValue(CanonicalRecord::joinList(candidates)),
            textValue(CanonicalRecord::joinList(designated)),
            static_cast<int>(candidates.size()),
            textValue(snapshotHash)};
}

PoolSnapshot PoolSnapshot::fromRecord(const QSqlRecord& r) {
    PoolSnapshot s;
    s.id = r.value("id").toLongLong();
    s.billID = r.value("billid").toString();
    s.drawKind = r.value("drawKind").toString();
    const QVariant demand = r.value("demandID");
    if (!demand.isNull())
        s.demandID = demand.toLongLong();
    s.rules = r.value("rules").toString();
    s.candidates = CanonicalRecord::splitList(r.value("candidates"));
    s.designated = CanonicalRecord::splitList(r.value("designated"));
    s.snapshotHash = r.value("snapshotHash").toString();
    return s;
}
