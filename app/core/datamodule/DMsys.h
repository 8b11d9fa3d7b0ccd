#pragma once

#include "DbContext.h"
#include "DbEngine.h"

#include <QObject>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <memory>

class CandidatePool;
class DrawEngine;
class DrawProgress;
class QSqlQueryModel;
class SqlDialect;

// The central data module: owns the one shared database connection that every
// window uses, the process-wide database type and current user, the helpers
// that many windows share, and the draws, whose work is done by the draw
// engine of app/core/draw; the operations here only show its messages.
class TSysDM : public QObject {
    Q_OBJECT
public:
    explicit TSysDM(QObject* parent = nullptr);
    ~TSysDM() override;

    static inline const QString kConnectionName = QStringLiteral("ADOCon");

    // The shared connection; invalid until a database has been chosen.
    QSqlDatabase ADOCon() const { return context_.connection(); }
    bool isConnected() const;
    const DbContext& context() const { return context_; }
    DbEngine engine() const { return context_.engine(); }
    const SqlDialect& dialect() const { return context_.dialect(); }

    // "0" server database, anything else the desktop file.
    QString dbType() const { return context_.dbType(); }
    void setDbType(const QString& value) { context_.setDbType(value); }
    QString currentUser() const { return context_.currentUser(); }
    void setCurrentUser(const QString& name) { context_.setCurrentUser(name); }

    // Opens the SQLite desktop database below the application home. On failure
    // shows "无法打开数据库，请确定程序安装正确！" with the reason and returns
    // false; the caller then ends the program.
    bool OpenAccessDatabase(const QString& relativePath);
    // Opens the server database that a data-link file names; false with the
    // reason in error.
    bool OpenServerDatabase(const QString& dataLinkPath, QString* error);
    // Opens a connection configured by the caller (tests, tools).
    bool OpenDatabase(DbEngine engine, const std::function<void(QSqlDatabase&)>& configure,
                      QString* error);
    void CloseConnection();

    // Next free code of table.column: prefix followed by at least width
    // digits. Empty result when the query fails (after the error message).
    QString NextSerialCode(const QString& table, const QString& column, const QString& prefix,
                           int width);
    // First column of every row, in row order; false with the reason on error.
    bool FirstColumnValues(const QString& sql, const QVariantList& values, QStringList* out,
                           QString* error);
    // The current user's right, read afresh at every check.
    bool UserHasRight(const QString& rightColumn);

    // The industry list ("select * from specialty"), reloaded on every connect.
    QSqlQueryModel* qrysp() const { return qrysp_; }

    static bool isPlainIdentifier(const QString& name);

    // What the database lacks of the draw's audit tables; empty when complete.
    QString missingAuditTables() const;

    // The draws. A database error or a refusal (another draw running) is
    // shown in a message box.
    // Initial draw over every demand row of the project; false after an error.
    bool RunDraw(const QString& billID);
    // The new expert's mobile, "符合条件专家不足", or empty (switched off,
    // unknown row or class, refused, or after an error).
    QString DrawReplacement(const QString& mobile, const QString& billID);
    bool HasDemand(const QString& billID);
    // Pools of the manual supplementary draw, in qryTypeSeek.
    bool OpenClassPool(const QString& billID, const QString& specialtyClass);
    bool OpenSpecialtyPool(const QString& billID, const QString& typeName);
    void RemoveCurrentCandidate();
    CandidatePool& qryTypeSeek();
    DrawEngine& drawEngine() { return *draw_; }
    // Set by the windows that show the initial draw's progress; not owned.
    void setDrawProgress(DrawProgress* progress);

signals:
    void connected();

private:
    void ADOConAfterConnect(const QStringList& settings);
    // Checks the audit tables of the database just opened and says what lacks.
    void announceMissingAuditTables();

    DbContext context_{kConnectionName};
    QSqlQueryModel* qrysp_;
    std::unique_ptr<DrawEngine> draw_;
};

// The one instance, created at start before any window.
extern TSysDM* SysDM;

bool UserHasRight(const QString& rightColumn);
