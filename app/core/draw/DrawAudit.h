#pragma once

#include <QString>

class DbContext;

// Checks a project's draws after the fact, from the database alone:
//  1. the whole audit chain, row by row: every row links to the row before it
//     and its content still gives its hash, and the chain's head row names
//     the last row, so that a changed, removed or inserted row shows;
//  2. every row of the project drawn from a pool: the stored snapshot still
//     gives its hash, the pool rebuilt from it (snapshot minus the removed
//     candidates) has the logged size and fingerprint, the chosen expert is
//     the candidate at the logged random index (or the first designated one),
//     and nobody is drawn twice from one pool;
//  3. every result row of the project was written by a logged pick.
// The first row that does not hold is named; the rest is not looked at.
class DrawAudit {
public:
    struct Report {
        bool ok = false;
        int picks = 0;
        // The hash of the project's last audit row: what the printed draw
        // record shows, committing the paper to the whole chain before it.
        QString projectHead;
        QString failure;
    };

    static Report verify(const DbContext& db, const QString& billID);
    // The project's chain head as stored, without checking anything; empty
    // when the project has no audit row.
    static QString projectHead(const DbContext& db, const QString& billID, QString* error);
};
