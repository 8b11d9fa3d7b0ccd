#pragma once

#include "SqlDialect.h"

class SqlServerDialect : public SqlDialect {
public:
    DbEngine engine() const override { return DbEngine::SqlServer; }
    QString enabledCondition() const override;
    QString emptyTable(const QString& table) const override;
    QString copyTable(const QString& newName, const QString& table) const override;
    QString insertReturningId(const QString& table, const QStringList& columns) const override;
    QString updateReturning(const QString& update, const QStringList& columns) const override;
    QString qtDriver() const override;
};
