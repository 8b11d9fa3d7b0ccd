#pragma once

#include "DrawKind.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <optional>

class CandidatePool;

// One pick in the audit trail (table DrawLog). The trail is only ever
// appended to: the program updates and deletes none of its rows.
struct DrawLogEntry {
    QDateTime drawTime;
    QString userName;
    QString billID;
    DrawKind kind = DrawKind::Initial;
    // What the pick was for: the demand row's label, or the replaced mobile.
    QString demandRow;
    // Absent for an emergency designation, which has no pool.
    std::optional<int> poolSize;
    QString poolFingerprint;
    // Absent when no random number decided the pick (a designated expert).
    std::optional<int> randomIndex;
    QString expertID;

    // Fills the pool's size and fingerprint as they are at the moment of the pick.
    void describePool(const CandidatePool& pool);
    bool append(QSqlDatabase db, QString* error) const;
};
