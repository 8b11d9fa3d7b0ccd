#pragma once

#include "SqlDialect.h"

class SqliteDialect : public SqlDialect {
public:
    DbEngine engine() const override { return DbEngine::Sqlite; }
    QString enabledCondition() const override;
    QString emptyTable(const QString& table) const override;
    QString copyTable(const QString& newName, const QString& table) const override;
    QString notAmong(const QString& column, const QString& innerColumn,
                     const QString& fromWhere) const override;
    BoundSql dateTimeBetween(const QString& column, const QDateTime& from,
                             const QDateTime& to) const override;
    QString qtDriver() const override;
};
