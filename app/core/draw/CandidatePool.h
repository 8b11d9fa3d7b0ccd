#pragma once

#include "BoundSql.h"
#include "Candidate.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <vector>

class RandomSource;

// The experts one draw may pick from: the rows of one candidate query, read
// once and then narrowed in memory. Removing a candidate only takes it out of
// the pool, never out of the register.
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
    // Removes every candidate whose employer equals the given one (a missing
    // employer equals nothing, as in SQL).
    void removeEmployer(const QString& employer, bool employerIsNull);

    // The candidate under the cursor of the manual draw; -1 when none.
    int currentIndex() const { return current_; }
    const Candidate* current() const;
    void setCurrentIndex(int index);
    void removeCurrent();

    // SHA-256 (hex) of the candidates' expertIDs in pool order, one per line:
    // lets an auditor rebuild the pool from the rules and compare.
    QString fingerprint() const;

private:
    BoundSql sql_;
    std::vector<Candidate> rows_;
    int current_ = -1;
    bool open_ = false;
};
