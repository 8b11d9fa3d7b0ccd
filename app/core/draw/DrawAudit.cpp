#include "DrawAudit.h"

#include "CandidatePool.h"
#include "DbContext.h"
#include "DrawChain.h"
#include "DrawLogEntry.h"
#include "PoolSnapshot.h"
#include "SqlRun.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <map>

namespace {

QString rowName(const DrawLogEntry& e) {
    return QStringLiteral("DrawLog row %1").arg(e.id);
}

// Checks one row of the project against the pool it names.
class PoolCheck {
public:
    explicit PoolCheck(const DbContext& db) : db_(db) {}

    QString check(const DrawLogEntry& e) {
        const bool picked = e.outcome == drawOutcomeText(DrawOutcome::Picked);
        if (!e.poolID) {
            if (e.kind == drawKindText(DrawKind::Emergency) ||
                e.kind == drawKindText(DrawKind::Redraw))
                return {};
            return rowName(e) + ": names no pool";
        }
        const PoolSnapshot* s = snapshot(*e.poolID);
        if (!s)
            return rowName(e) + QStringLiteral(": its pool snapshot %1 is missing").arg(*e.poolID);
        if (s->computeHash() != s->snapshotHash || s->snapshotHash != e.poolSnapshotHash ||
            counts_.value(s->id) != s->candidates.size())
            return rowName(e) +
                   QStringLiteral(": pool snapshot %1 was changed after the draw").arg(s->id);
        if (s->billID != e.billID)
            return rowName(e) +
                   QStringLiteral(": pool snapshot %1 belongs to another project").arg(s->id);
        const QStringList pool = CandidatePool::rebuild(s->candidates, e.poolRemoved);
        if (pool.size() + e.poolRemoved.size() != s->candidates.size())
            return rowName(e) + ": removes candidates that were not in the pool";
        if (!e.poolSize || *e.poolSize != pool.size() ||
            CandidatePool::fingerprintOf(pool) != e.poolFingerprint)
            return rowName(e) + ": the pool rebuilt from its snapshot differs from the logged one";
        QSet<QString>& taken = picked_[s->id];
        for (const QString& id : taken)
            if (pool.contains(id))
                return rowName(e) +
                       QStringLiteral(": expert %1 was already drawn from this pool").arg(id);
        if (e.randomIndex) {
            if (*e.randomIndex < 0 || *e.randomIndex >= pool.size() ||
                pool[*e.randomIndex] != e.expertID)
                return rowName(e) + QStringLiteral(": expert %1 is not the candidate at index %2")
                                        .arg(e.expertID)
                                        .arg(*e.randomIndex);
        } else if (picked) {
            const QSet<QString> designated(s->designated.begin(), s->designated.end());
            QString first;
            for (const QString& id : pool)
                if (designated.contains(id)) {
                    first = id;
                    break;
                }
            if (first.isEmpty() || first != e.expertID)
                return rowName(e) + QStringLiteral(": expert %1 was taken without a random pick "
                                                   "but is not the first designated candidate")
                                        .arg(e.expertID);
        } else if (e.outcome == drawOutcomeText(DrawOutcome::Nobody)) {
            if (!pool.isEmpty())
                return rowName(e) + ": logs an empty pool that was not empty";
        } else if (!pool.contains(e.expertID)) {
            return rowName(e) + QStringLiteral(": expert %1 was not in the pool").arg(e.expertID);
        }
        if (picked)
            taken.insert(e.expertID);
        return {};
    }

    QString error() const { return error_; }

private:
    const PoolSnapshot* snapshot(qlonglong id) {
        auto it = snapshots_.find(id);
        if (it != snapshots_.end())
            return &it->second;
        QSqlQuery q(db_.connection());
        q.setForwardOnly(true);
        if (!RunBound(q, "SELECT * FROM DrawPool WHERE id = ?", {id}, &error_) || !q.next())
            return nullptr;
        const QSqlRecord rec = q.record();
        counts_[id] = rec.value("candidateCount").toInt();
        return &snapshots_.emplace(id, PoolSnapshot::fromRecord(rec)).first->second;
    }

    const DbContext& db_;
    std::map<qlonglong, PoolSnapshot> snapshots_;
    QHash<qlonglong, qsizetype> counts_;
    QHash<qlonglong, QSet<QString>> picked_;
    QString error_;
};

} // namespace

DrawAudit::Report DrawAudit::verify(const DbContext& db, const QString& billID) {
    Report report;
    QString error;
    // 1. The whole chain.
    std::vector<DrawLogEntry> project;
    QString prev = DrawChain::kGenesis;
    qlonglong lastID = 0;
    {
        QSqlQuery q(db.connection());
        q.setForwardOnly(true);
        if (!RunBound(q, "SELECT * FROM DrawLog ORDER BY id", {}, &error)) {
            report.failure = error;
            return report;
        }
        while (q.next()) {
            DrawLogEntry e = DrawLogEntry::fromRecord(q.record());
            if (e.prevHash != prev) {
                report.failure = rowName(e) + ": does not follow the row before it (a row before "
                                              "it was removed, inserted or changed)";
                return report;
            }
            if (e.computeHash() != e.rowHash) {
                report.failure = rowName(e) + ": its content no longer gives its hash (it was "
                                              "changed after it was written)";
                return report;
            }
            prev = e.rowHash;
            lastID = e.id;
            if (e.billID == billID)
                project.push_back(std::move(e));
        }
    }
    {
        QSqlQuery q(db.connection());
        if (!RunBound(q, "SELECT lastId, headHash FROM DrawLogHead WHERE id = 1", {}, &error) ||
            !q.next()) {
            report.failure =
                error.isEmpty() ? QStringLiteral("DrawLogHead has no head row") : error;
            return report;
        }
        if (q.value(0).toLongLong() != lastID || q.value(1).toString() != prev) {
            report.failure = QStringLiteral("DrawLogHead names row %1, but the chain ends at row "
                                            "%2: rows at the end of the chain were removed")
                                 .arg(q.value(0).toLongLong())
                                 .arg(lastID);
            return report;
        }
    }
    // 2. The project's rows against their pools.
    PoolCheck pools(db);
    QSet<QString> pickedExperts;
    for (const DrawLogEntry& e : project) {
        const QString failure = pools.check(e);
        if (!failure.isEmpty()) {
            report.failure = failure;
            return report;
        }
        if (e.outcome == drawOutcomeText(DrawOutcome::Picked)) {
            ++report.picks;
            pickedExperts.insert(e.expertID);
        }
        report.projectHead = e.rowHash;
    }
    // 3. The project's result rows.
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    if (!RunBound(q, "SELECT id, expertID FROM ProjectList WHERE billid = ? ORDER BY id", {billID},
                  &error)) {
        report.failure = error;
        return report;
    }
    while (q.next())
        if (!pickedExperts.contains(q.value(1).toString())) {
            report.failure = QStringLiteral("result row %1 (expert %2) was written by no logged "
                                            "pick")
                                 .arg(q.value(0).toLongLong())
                                 .arg(q.value(1).toString());
            return report;
        }
    report.ok = true;
    return report;
}

QString DrawAudit::projectHead(const DbContext& db, const QString& billID, QString* error) {
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    if (!RunBound(q, "SELECT rowHash FROM DrawLog WHERE billid = ? ORDER BY id DESC", {billID},
                  error) ||
        !q.next())
        return {};
    return q.value(0).toString();
}
