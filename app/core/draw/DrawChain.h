#pragma once

#include <QSqlQuery>
#include <QString>
#include <memory>
#include <optional>

class CandidatePool;
class DbContext;
struct DrawLogEntry;
struct PoolSnapshot;

// Appends to the audit trail inside the caller's transaction. The trail is
// one hash chain over every row of every project, from a fixed genesis value:
// each row stores the hash of the row before it. The one-row table
// DrawLogHead holds the chain's last row number and hash, moved by the
// database itself at every insert; updating it first is what serialises
// writers, so two users drawing at the same moment on a server cannot both
// link to the same row.
//
// Use: lock(), then any number of writeSnapshot() and append(), then
// release(), all before the transaction commits.
class DrawChain {
public:
    static inline const QString kGenesis = QString(64, QLatin1Char('0'));

    explicit DrawChain(const DbContext& db);
    ~DrawChain();

    bool lock(QString* error);
    // Stores the pool's snapshot once; later calls for the same pool do nothing.
    bool writeSnapshot(CandidatePool& pool, const QString& billID, const QString& drawKind,
                       std::optional<qlonglong> demandID, const QString& rules, QString* error);
    // Links the entry to the chain, computes its hash and stores it.
    bool append(DrawLogEntry& entry, QString* error);
    // The batch is done; the database moved the head with every row.
    void release();

private:
    const DbContext& db_;
    std::unique_ptr<QSqlQuery> lock_, readHead_, insertSnapshot_, insertEntry_;
    QString head_;
    bool locked_ = false;
};
