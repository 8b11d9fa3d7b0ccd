#pragma once

#include "BoundSql.h"
#include "Candidate.h"

#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class RandomSource;

// The experts one draw may pick from: the rows of one candidate query, read
// once and then narrowed in memory. Removing a candidate only takes it out of
// the pool, never out of the register.
//
// The pool remembers what the query gave (its snapshot) and every candidate
// taken out since, in order, so that the audit trail can state exactly which
// pool each pick was made from: the snapshot minus the removed candidates.
class CandidatePool {
public:
    // Runs the query and replaces the pool with its rows; on failure the pool
    // is closed and empty and error holds the database's reason.
    bool open(QSqlDatabase db, const BoundSql& sql, QString* error);
    void close();

    bool isOpen() const { return open_; }
    const BoundSql& sql() const { return sql_; }
    int size() const { return static_cast<int>(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    const Candidate& at(int index) const { return rows_.at(static_cast<size_t>(index)); }
    const std::vector<Candidate>& rows() const { return rows_; }

    // A uniform index over every candidate, 0 .. size()-1; the pool must not be empty.
    int randomIndex(RandomSource& random) const;
    // Position of the first designated candidate in pool order.
    std::optional<int> firstDesignated() const;
    void removeAt(int index);
    // Removes every candidate of the employer. A missing employer counts as
    // the empty one, as the draw's text comparison does.
    void removeEmployer(const QString& employer);
    // Removes every candidate whose mobile number is one of the given ones
    // (trimmed, empty numbers never match); returns the removed candidates.
    std::vector<Candidate> removeMobiles(const QSet<QString>& mobiles);

    // The candidate under the cursor of the manual draw; -1 when none.
    int currentIndex() const { return current_; }
    const Candidate* current() const;
    void setCurrentIndex(int index);
    void removeCurrent();

    // SHA-256 (hex) of the candidates' expertIDs in pool order, one per line:
    // lets an auditor rebuild the pool from the rules and compare.
    QString fingerprint() const;
    static QString fingerprintOf(const QStringList& expertIDs);

    // What the query gave, in its order, and who of them was designated.
    const QStringList& snapshotIDs() const { return snapshot_; }
    const QStringList& snapshotDesignated() const { return snapshotDesignated_; }
    // Candidates taken out since the pool was opened, in the order they went.
    const QStringList& removedIDs() const { return removed_; }
    // The snapshot minus the removed candidates, in snapshot order: what an
    // auditor rebuilds the pool at a pick from.
    static QStringList rebuild(const QStringList& snapshot, const QStringList& removed);

    // The audit trail's number of the stored snapshot, once it is written.
    std::optional<qlonglong> snapshotRow() const { return snapshotRow_; }
    QString snapshotHash() const { return snapshotHash_; }
    void setSnapshotRow(qlonglong id, const QString& hash) {
        snapshotRow_ = id;
        snapshotHash_ = hash;
    }
    void clearSnapshotRow() {
        snapshotRow_.reset();
        snapshotHash_.clear();
    }

private:
    void noteRemoved(const Candidate& c) { removed_ << c.expertID; }
    void clampCurrent();

    BoundSql sql_;
    std::vector<Candidate> rows_;
    QStringList snapshot_;
    QStringList snapshotDesignated_;
    QStringList removed_;
    std::optional<qlonglong> snapshotRow_;
    QString snapshotHash_;
    int current_ = -1;
    bool open_ = false;
};
