#include "DrawLogEntry.h"

#include "CandidatePool.h"
#include "CanonicalRecord.h"
#include "SqlDateTime.h"
#include "SqlRun.h"

namespace {

QVariant optionalInt(const std::optional<int>& v) {
    return v ? QVariant(*v) : nullInt();
}
QVariant optionalLong(const std::optional<qlonglong>& v) {
    return v ? QVariant(*v) : QVariant(QMetaType::fromType<qlonglong>());
}
std::optional<int> intOf(const QVariant& v) {
    return v.isNull() ? std::nullopt : std::optional<int>(v.toInt());
}
std::optional<qlonglong> longOf(const QVariant& v) {
    return v.isNull() ? std::nullopt : std::optional<qlonglong>(v.toLongLong());
}

} // namespace

void DrawLogEntry::describePool(const CandidatePool& pool) {
    if (pool.snapshotRow()) {
        poolID = *pool.snapshotRow();
        poolSnapshotHash = pool.snapshotHash();
    }
    poolRemoved = pool.removedIDs();
    poolSize = pool.size();
    poolFingerprint = pool.fingerprint();
}

const QStringList& DrawLogEntry::columns() {
    static const QStringList c{"drawTime",         "userName",    "billid",   "drawKind",
                               "outcome",          "demandRow",   "demandID", "poolID",
                               "poolSnapshotHash", "poolRemoved", "poolSize", "poolFingerprint",
                               "randomIndex",      "expertID",    "note",     "prevHash",
                               "rowHash"};
    return c;
}

QVariantList DrawLogEntry::insertValues() const {
    // Texts are never stored missing: the hash reads a missing text and an
    // empty one alike, and so must the table.
    return {SqlDateTime::toSeconds(drawTime),
            textValue(userName),
            textValue(billID),
            textValue(kind),
            textValue(outcome),
            textValue(demandRow),
            optionalLong(demandID),
            optionalLong(poolID),
            textValue(poolSnapshotHash),
            textValue(CanonicalRecord::joinList(poolRemoved)),
            optionalInt(poolSize),
            textValue(poolFingerprint),
            optionalInt(randomIndex),
            textValue(expertID),
            textValue(note),
            textValue(prevHash),
            textValue(rowHash)};
}

QString DrawLogEntry::computeHash() const {
    const QVariantList values = insertValues();
    const QStringList& names = columns();
    CanonicalRecord record;
    // Everything but the row's own hash; the time to the second, numbers
    // missing or given, every text as text.
    for (qsizetype i = 0; i + 1 < names.size(); ++i) {
        const QByteArray name = names[i].toLatin1();
        const QVariant& v = values[i];
        if (i == 0)
            record.addTime(name.constData(), drawTime);
        else if (v.typeId() == QMetaType::QString)
            record.addText(name.constData(), v.toString());
        else
            record.add(name.constData(), v);
    }
    return record.sha256();
}

DrawLogEntry DrawLogEntry::fromRecord(const QSqlRecord& r) {
    DrawLogEntry e;
    auto v = [&](const char* column) { return r.value(column); };
    e.id = v("id").toLongLong();
    e.drawTime = SqlDateTime::parse(v("drawTime"));
    e.userName = v("userName").toString();
    e.billID = v("billid").toString();
    e.kind = v("drawKind").toString();
    e.outcome = v("outcome").toString();
    e.demandRow = v("demandRow").toString();
    e.demandID = longOf(v("demandID"));
    e.poolID = longOf(v("poolID"));
    e.poolSnapshotHash = v("poolSnapshotHash").toString();
    e.poolRemoved = CanonicalRecord::splitList(v("poolRemoved"));
    e.poolSize = intOf(v("poolSize"));
    e.poolFingerprint = v("poolFingerprint").toString();
    e.randomIndex = intOf(v("randomIndex"));
    e.expertID = v("expertID").toString();
    e.note = v("note").toString();
    e.prevHash = v("prevHash").toString();
    e.rowHash = v("rowHash").toString();
    return e;
}
