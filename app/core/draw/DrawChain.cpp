#include "DrawChain.h"

#include "CandidatePool.h"
#include "DbContext.h"
#include "DrawLogEntry.h"
#include "PoolSnapshot.h"
#include "SqlDialect.h"
#include "SqlRun.h"


DrawChain::DrawChain(const DbContext& db) : db_(db) {}
DrawChain::~DrawChain() = default;

bool DrawChain::lock(QString* error) {
    locked_ = false;
    static const QString update =
        QStringLiteral("UPDATE DrawLogHead SET lastId = lastId WHERE id = 1");
    const QString lockAndRead = db_.dialect().updateReturning(update, {"headHash"});
    QSqlQuery* head = nullptr;
    if (!lockAndRead.isEmpty()) {
        if (!PrepareOnce(lock_, db_.connection(), lockAndRead, error) ||
            !RunPrepared(*lock_, {}, error))
            return false;
        head = lock_.get();
    } else {
        if (!PrepareOnce(lock_, db_.connection(), update, error) ||
            !RunPrepared(*lock_, {}, error) ||
            !PrepareOnce(readHead_, db_.connection(),
                         "SELECT headHash FROM DrawLogHead WHERE id = 1", error) ||
            !RunPrepared(*readHead_, {}, error))
            return false;
        head = readHead_.get();
    }
    if (!head->next()) {
        if (error)
            *error = QStringLiteral("抽取记录表 DrawLogHead 缺少链首行，不能记录抽取。");
        return false;
    }
    head_ = head->value(0).toString();
    head->finish();
    locked_ = true;
    return true;
}

bool DrawChain::writeSnapshot(CandidatePool& pool, const QString& billID, const QString& drawKind,
                              std::optional<qlonglong> demandID, const QString& rules,
                              QString* error) {
    if (pool.snapshotRow())
        return true;
    const PoolSnapshot s = PoolSnapshot::of(pool, billID, drawKind, demandID, rules);
    if (!PrepareOnce(insertSnapshot_, db_.connection(),
                     db_.dialect().insertReturningId("DrawPool", PoolSnapshot::columns()), error) ||
        !RunPrepared(*insertSnapshot_, s.insertValues(), error))
        return false;
    if (!insertSnapshot_->next()) {
        if (error)
            *error = QStringLiteral("the database gave no number for the pool snapshot");
        return false;
    }
    pool.setSnapshotRow(insertSnapshot_->value(0).toLongLong(), s.snapshotHash);
    insertSnapshot_->finish();
    return true;
}

bool DrawChain::append(DrawLogEntry& entry, QString* error) {
    if (!locked_) {
        if (error)
            *error = QStringLiteral("audit chain not locked");
        return false;
    }
    entry.prevHash = head_;
    entry.rowHash = entry.computeHash();
    if (!PrepareOnce(insertEntry_, db_.connection(),
                     db_.dialect().insertReturningId("DrawLog", DrawLogEntry::columns()), error) ||
        !RunPrepared(*insertEntry_, entry.insertValues(), error))
        return false;
    if (!insertEntry_->next()) {
        if (error)
            *error = QStringLiteral("the database gave no number for the audit row");
        return false;
    }
    entry.id = insertEntry_->value(0).toLongLong();
    insertEntry_->finish();
    head_ = entry.rowHash;
    return true;
}

void DrawChain::release() {
    locked_ = false;
}
