#pragma once

#include "DbEngine.h"

#include <QSqlDatabase>
#include <QString>

class SqlDialect;

// What every store and engine needs to work on the shared connection: the
// connection, its engine and SQL dialect, the process-wide database type and
// the current user. The data module owns the one instance; the draw engine,
// the stores and the tools keep a reference to it.
class DbContext {
public:
    explicit DbContext(QString connectionName) : connectionName_(std::move(connectionName)) {}

    QString connectionName() const { return connectionName_; }
    // The open connection, or an invalid one before a database was opened.
    QSqlDatabase connection() const { return QSqlDatabase::database(connectionName_, false); }

    DbEngine engine() const { return engine_; }
    void setEngine(DbEngine engine) { engine_ = engine; }
    const SqlDialect& dialect() const;

    // "0" server database, anything else the desktop file.
    QString dbType() const { return dbType_; }
    void setDbType(const QString& value) { dbType_ = value; }
    QString currentUser() const { return currentUser_; }
    void setCurrentUser(const QString& name) { currentUser_ = name; }

private:
    QString connectionName_;
    DbEngine engine_ = DbEngine::Sqlite;
    QString dbType_ = QStringLiteral("1");
    QString currentUser_;
};
