#pragma once

#include "DbEngine.h"

#include <QObject>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>
#include <functional>

class QSqlQueryModel;
class SqlDialect;

// The central data module: owns the one shared database connection that every
// window uses, the process-wide database type and current user, and the
// helpers that many windows share.
class TSysDM : public QObject {
    Q_OBJECT
public:
    explicit TSysDM(QObject* parent = nullptr);
    ~TSysDM() override;

    static inline const QString kConnectionName = QStringLiteral("ADOCon");

    // The shared connection; invalid until a database has been chosen.
    QSqlDatabase ADOCon() const;
    bool isConnected() const;
    DbEngine engine() const { return engine_; }
    const SqlDialect& dialect() const;

    // "0" server database, anything else the desktop file.
    QString dbType() const { return dbType_; }
    void setDbType(const QString& value) { dbType_ = value; }
    QString currentUser() const { return currentUser_; }
    void setCurrentUser(const QString& name) { currentUser_ = name; }

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

signals:
    void connected();

private:
    void ADOConAfterConnect();

    DbEngine engine_ = DbEngine::Sqlite;
    QString dbType_ = QStringLiteral("1");
    QString currentUser_;
    QSqlQueryModel* qrysp_;
};

// The one instance, created at start before any window.
extern TSysDM* SysDM;

bool UserHasRight(const QString& rightColumn);
