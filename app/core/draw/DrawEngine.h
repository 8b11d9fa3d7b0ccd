#pragma once

#include "CandidatePool.h"
#include "DrawKind.h"

#include <QString>
#include <optional>

class DrawProgress;
class TSysDM;
struct DemandRow;
struct DrawProject;
struct ResultRow;

// The draws that write a project's result: the initial draw over every demand
// row, the automatic replacement of one expert, and the pools of the manual
// supplementary draw. Every pick is uniform over the whole pool and comes from
// the random service; each one is recorded in the audit trail together with
// its result row.
class DrawEngine {
public:
    explicit DrawEngine(const TSysDM& dm);

    // Not owned; nullptr draws without showing progress.
    void setProgress(DrawProgress* progress) { progress_ = progress; }

    // RunDraw: false with the database's reason when a query fails; rows
    // written before the failure stay.
    bool runDraw(const QString& billID, QString* error);
    // DrawReplacement: result is the new expert's mobile, kShortOfExperts, or
    // empty (replacement switched off, or the row's class is none of the
    // three). False with the reason on a database error.
    bool drawReplacement(const QString& mobile, const QString& billID, QString* result,
                         QString* error);
    bool hasDemand(const QString& billID, bool* has, QString* error);

    // Manual pools. A pool that cannot be opened writes its SQL with the bound
    // values to log/error_jj.txt (class) or log/error_bc.txt (specialty) and
    // shows the matching message; the pool is then closed and empty.
    bool openClassPool(const QString& billID, const QString& specialtyClass);
    bool openSpecialtyPool(const QString& billID, const QString& typeName);
    // The manual draw's spin: puts the cursor on a uniformly chosen candidate.
    int moveToRandomCandidate();
    void removeCurrentCandidate() { typeSeek_.removeCurrent(); }
    // Audit rows for picks that the manual windows write themselves.
    bool recordManualPick(const QString& billID, const QString& label, QString* error);
    bool recordEmergencyPick(const QString& billID, const QString& expertID, QString* error);

    CandidatePool& qryTypeSeek() { return typeSeek_; }
    const CandidatePool& qryBC() const { return bc_; }

    static inline const QString kShortOfExperts = QStringLiteral("符合条件专家不足");
    static inline const QString kClassPoolLog = QStringLiteral("log/error_jj.txt");
    static inline const QString kSpecialtyPoolLog = QStringLiteral("log/error_bc.txt");
    static inline const int kPacingMs = 1000;

private:
    bool pickForDemandRow(const DemandRow& row, const QString& label, const DrawProject& project,
                          bool* drawn, QString* error);
    bool countEmployerRows(const QString& billID, const Candidate& c, int* count, QString* error);
    // Writes the result row and its audit row as one unit.
    bool commitPick(const ResultRow& row, DrawKind kind, const QString& demandLabel,
                    const CandidatePool* pool, std::optional<int> randomIndex, QString* error);
    bool openManualPool(const QString& billID, const QString& specialtyClass,
                        std::optional<int> typeName, const QString& logFile);

    const TSysDM& dm_;
    DrawProgress* progress_ = nullptr;
    CandidatePool typeSeek_;
    CandidatePool bc_;
};
