#include "PickWriter.h"

#include "CandidatePool.h"

#include "DbContext.h"
#include "ResultRow.h"
#include "SqlRun.h"


namespace {
const QString kReadResult =
    QStringLiteral("Select expertID, Employer, Mobile from ProjectList where billid = ?");
}

PickWriter::PickWriter(const DbContext& db) : db_(db), chain_(db) {}

PickWriter::~PickWriter() {
    if (open_)
        db_.connection().rollback();
}

bool PickWriter::collect(QSqlQuery& q, Result* result) {
    *result = Result();
    while (q.next()) {
        ++result->rows;
        ++result->employers[q.value(1).toString()];
        const QString mobile = q.value(2).toString().trimmed();
        if (!mobile.isEmpty())
            result->mobiles.insert(mobile);
    }
    q.finish();
    return true;
}

bool PickWriter::readResult(const DbContext& db, const QString& billID, Result* result,
                            QString* error) {
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    return RunBound(q, kReadResult, {billID}, error) && collect(q, result);
}

bool PickWriter::begin(const QString& billID, Result* result, QString* error) {
    QSqlDatabase db = db_.connection();
    if (!BeginTransaction(db, error))
        return false;
    open_ = true;
    newSnapshot_ = nullptr;
    if (!chain_.lock(error))
        return false;
    if (!result)
        return true;
    if (!PrepareOnce(readResult_, db, kReadResult, error))
        return false;
    return RunPrepared(*readResult_, {billID}, error) && collect(*readResult_, result);
}

bool PickWriter::writeSnapshot(CandidatePool& pool, const QString& billID, const QString& drawKind,
                               std::optional<qlonglong> demandID, const QString& rules,
                               QString* error) {
    const bool written = pool.snapshotRow().has_value();
    if (!chain_.writeSnapshot(pool, billID, drawKind, demandID, rules, error))
        return false;
    if (!written)
        newSnapshot_ = &pool;
    return true;
}

bool PickWriter::appendResult(const ResultRow& row, QString* error) {
    if (!PrepareOnce(insertRow_, db_.connection(), ResultRow::insertSql(), error))
        return false;
    if (!RunPrepared(*insertRow_, row.insertValues(), error))
        return false;
    if (insertRow_->numRowsAffected() == 1)
        return true;
    // Deleted from the register by someone else since the pool was read.
    if (error)
        *error =
            QStringLiteral("专家 %1 已不在专家库中，本次抽取没有写入。").arg(row.expert.expertID);
    return false;
}

bool PickWriter::appendEntry(DrawLogEntry& entry, QString* error) {
    return chain_.append(entry, error);
}

bool PickWriter::finish(bool ok, QString* error) {
    if (!open_)
        return false;
    open_ = false;
    chain_.release();
    QSqlDatabase db = db_.connection();
    ok = FinishTransaction(db, ok, error);
    // A snapshot rolled back with its batch is written again by the next one.
    if (!ok && newSnapshot_)
        newSnapshot_->clearSnapshotRow();
    newSnapshot_ = nullptr;
    return ok;
}
