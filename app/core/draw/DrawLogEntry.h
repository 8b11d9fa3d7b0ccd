#pragma once

#include "DrawKind.h"

#include <QDateTime>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <optional>

class CandidatePool;

// One row of the audit trail (table DrawLog): a pick, a rejected try, a
// candidate left out, or a redraw. Rows are only ever appended; each carries
// the hash of the row before it and its own hash over its canonical content,
// so that changing, removing or inserting a row breaks the chain.
//
// A row made from a pool names the stored snapshot of that pool (DrawPool)
// and the candidates removed from it since, in order: the snapshot minus the
// removed candidates is the pool the row looked at, whose size and
// fingerprint the row also keeps.
struct DrawLogEntry {
    qlonglong id = 0; // given by the database
    QDateTime drawTime;
    QString userName;
    QString billID;
    // As stored: drawKindText() and drawOutcomeText() of the enums.
    QString kind = drawKindText(DrawKind::Initial);
    QString outcome = drawOutcomeText(DrawOutcome::Picked);
    // What the pick was for: the demand row's label, or the replaced mobile.
    QString demandRow;
    // ProjectSpeciality.id of the demand row (initial draw only).
    std::optional<qlonglong> demandID;
    // Absent for rows without a pool (emergency designation, redraw).
    std::optional<qlonglong> poolID;
    QString poolSnapshotHash;
    QStringList poolRemoved;
    std::optional<int> poolSize;
    QString poolFingerprint;
    // Absent when no random number decided (designated expert, a candidate
    // left out, an empty pool).
    std::optional<int> randomIndex;
    QString expertID;
    // Why: the employer of a rejected try, the mobile of a left-out candidate,
    // the number of result rows a redraw removed.
    QString note;
    QString prevHash;
    QString rowHash;

    // Fills the pool fields from the pool as it is now.
    void describePool(const CandidatePool& pool);
    QString computeHash() const;

    static DrawLogEntry fromRecord(const QSqlRecord& record);
    // Columns in the order of insertValues(); the hash covers all of them.
    static const QStringList& columns();
    QVariantList insertValues() const;
};
