#pragma once

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <optional>

class CandidatePool;

// A candidate pool as its query gave it, stored once (table DrawPool) before
// the first audit row that refers to it: the expert numbers in pool order,
// who of them was designated, and the rule inputs the pool was built under
// (demand, city, recent-draw window, cap, avoided units and experts, the query
// and its values), as canonical "name=value" lines. Its hash goes into every
// audit row drawn from it, so the snapshot is covered by the chain.
struct PoolSnapshot {
    qlonglong id = 0;
    QString billID;
    QString drawKind;
    std::optional<qlonglong> demandID;
    QString rules;
    QStringList candidates;
    QStringList designated;
    QString snapshotHash;

    static PoolSnapshot of(const CandidatePool& pool, const QString& billID,
                           const QString& drawKind, std::optional<qlonglong> demandID,
                           const QString& rules);
    QString computeHash() const;

    static const QStringList& columns();
    QVariantList insertValues() const;
    static PoolSnapshot fromRecord(const QSqlRecord& record);
};
