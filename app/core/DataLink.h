#pragma once

#include "DbEngine.h"

#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// A data-link file (conn.udl): an OLE DB-style init string
//   Provider=...;Data Source=host[,port];Initial Catalog=db;User ID=u;Password=p
// in UTF-8 or UTF-16 (with or without BOM), optionally after the "[oledb]"
// header and its comment line.
class DataLink {
public:
    static std::optional<DataLink> fromFile(const QString& path, QString* error);
    // The contents of such a file.
    static std::optional<DataLink> fromBytes(const QByteArray& bytes, QString* error);
    static std::optional<DataLink> fromInitString(const QString& initString, QString* error);

    DbEngine engine() const { return engine_; }
    QString host() const { return host_; }
    int port() const { return port_; }
    QString database() const { return database_; }
    QString user() const { return user_; }
    QString password() const { return password_; }

    // Sets driver options on a database of the engine's Qt driver.
    void configure(QSqlDatabase& db) const;

private:
    DbEngine engine_ = DbEngine::Postgres;
    QString host_;
    int port_ = 0;
    QString database_;
    QString user_;
    QString password_;
};
