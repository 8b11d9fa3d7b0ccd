#pragma once

#include "CandidatePool.h"
#include "DrawKind.h"
#include "DrawLogEntry.h"

#include <QString>
#include <optional>
#include <vector>

class DbContext;
class DrawProgress;
class PickWriter;
struct DemandRow;
struct DrawProject;

// The draws that write a project's result: the initial draw over every demand
// row, the automatic replacement of one expert, and the pools of the manual
// supplementary draw. Every pick is uniform over the whole pool and comes from
// the random service; each one is committed together with its audit rows, so
// that no pick can be undone by stopping the program and none can be made
// without leaving its trace (see DrawChain).
//
// A draw waits between picks with the event loop running, so a window may ask
// for another draw meanwhile; every operation that would touch the pools or
// the result is refused until the running one has ended.
class DrawEngine {
public:
    explicit DrawEngine(const DbContext& db);
    ~DrawEngine();

    enum class Status { Done, Refused, Failed };
    // Refused: nothing was changed, the message says why. Failed: a database
    // error, the message holds its reason; rows committed before it stay.
    struct Outcome {
        Status status = Status::Done;
        QString message;
        bool ok() const { return status == Status::Done; }
    };

    // Not owned; nullptr draws without showing progress.
    void setProgress(DrawProgress* progress) { progress_ = progress; }

    // Checks that the database has the audit trail's tables and columns; the
    // draws refuse until it has. Empty when complete, else what is missing.
    // Done at the first draw on a connection, or when asked.
    QString checkAuditTables();
    // The connection changed: check again at the next draw.
    void forgetAuditCheck() {
        auditChecked_ = false;
        missingAuditTables_.clear();
    }
    static QString missingAuditTablesMessage(const QString& missing);
    // What the last check found missing; empty when complete or not checked.
    QString missingAuditTables() const { return missingAuditTables_; }

    bool isBusy() const { return busy_; }

    // RunDraw.
    Outcome runDraw(const QString& billID);
    // DrawReplacement: result is the new expert's mobile, kShortOfExperts, or
    // empty (replacement switched off, or the row's class is none of the three).
    Outcome drawReplacement(const QString& mobile, const QString& billID, QString* result);
    Outcome hasDemand(const QString& billID, bool* has);
    // The redraw's first step: empties the project's result, audited.
    Outcome clearResult(const QString& billID);

    // Manual pools. A pool that cannot be opened writes its SQL with the bound
    // values to log/error_jj.txt (class) or log/error_bc.txt (specialty); the
    // pool is then closed and empty and the message names the file.
    Outcome openClassPool(const QString& billID, const QString& specialtyClass);
    Outcome openSpecialtyPool(const QString& billID, const QString& typeName);
    // The manual draw's spin: puts the cursor on a uniformly chosen candidate;
    // -1 when the pool is empty or a draw is running.
    int moveToRandomCandidate();
    // Takes the candidate under the cursor out of the pool; after a recorded
    // manual pick also everyone else with the picked expert's mobile number.
    void removeCurrentCandidate();
    // Audit rows for picks that the manual windows write themselves.
    Outcome recordManualPick(const QString& billID, const QString& label);
    Outcome recordEmergencyPick(const QString& billID, const QString& expertID);

    CandidatePool& qryTypeSeek() { return typeSeek_; }
    const CandidatePool& qryBC() const { return bc_; }

    static inline const QString kShortOfExperts = QStringLiteral("符合条件专家不足");
    static inline const QString kClassPoolLog = QStringLiteral("log/error_jj.txt");
    static inline const QString kSpecialtyPoolLog = QStringLiteral("log/error_bc.txt");
    static inline const QString kBusy =
        QStringLiteral("正在抽取专家，请等本次抽取完成后再进行其他抽取操作。");
    static inline const int kPacingMs = 1000;

private:
    class BusyScope;

    bool pickForDemandRow(PickWriter& writer, const DemandRow& row, const QString& label,
                          const DrawProject& project, const QString& rules, bool* drawn,
                          QString* error);
    bool openManualPool(const QString& billID, const QString& specialtyClass,
                        std::optional<int> typeName, const QString& logFile, QString* message);
    DrawLogEntry entryFor(const QString& billID, DrawKind kind, DrawOutcome outcome) const;
    std::optional<Outcome> refusal();

    const DbContext& db_;
    DrawProgress* progress_ = nullptr;
    CandidatePool typeSeek_;
    CandidatePool bc_;
    // Rows about the manual pool that wait for its first recorded pick:
    // candidates left out for their mobile number when the pool was opened.
    std::vector<DrawLogEntry> manualPending_;
    QString manualRules_;
    // The manual pick just recorded, until the window takes it out of the pool.
    QString manualPickedMobile_;
    QString manualLabel_;
    QString manualBill_;
    QString missingAuditTables_;
    bool auditChecked_ = false;
    bool busy_ = false;
};
