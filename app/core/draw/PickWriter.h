#pragma once

#include "DrawChain.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QString>
#include <memory>

class DbContext;
class CandidatePool;
struct DrawLogEntry;
struct ResultRow;

// Writes what one draw decides, one batch at a time: a pick together with
// the audit rows that explain it is one transaction, which locks the audit
// chain, reads the project's result as it now stands, writes the result row
// and the audit rows and commits. The statements are prepared once for all
// the batches of a draw, so that a server sees one round trip per statement.
class PickWriter {
public:
    // The project's result as the batch found it.
    struct Result {
        int rows = 0;
        // Trimmed mobile numbers, empty ones left out.
        QSet<QString> mobiles;
        // Rows per employer; a missing employer counts as the empty one.
        QHash<QString, int> employers;
    };

    explicit PickWriter(const DbContext& db);
    ~PickWriter();

    // Locks the chain; with result, also reads the project's result.
    bool begin(const QString& billID, Result* result, QString* error);
    bool writeSnapshot(CandidatePool& pool, const QString& billID, const QString& drawKind,
                       std::optional<qlonglong> demandID, const QString& rules, QString* error);
    bool appendResult(const ResultRow& row, QString* error);
    bool appendEntry(DrawLogEntry& entry, QString* error);
    // Commits when ok, else rolls back; false when anything failed.
    bool finish(bool ok, QString* error);

    // Reads the result outside any batch (the manual pools).
    static bool readResult(const DbContext& db, const QString& billID, Result* result,
                           QString* error);

private:
    static bool collect(QSqlQuery& q, Result* result);

    const DbContext& db_;
    DrawChain chain_;
    std::unique_ptr<QSqlQuery> readResult_, insertRow_;
    CandidatePool* newSnapshot_ = nullptr;
    bool open_ = false;
};
