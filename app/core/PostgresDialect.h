#pragma once

#include "SqlDialect.h"

class PostgresDialect : public SqlDialect {
public:
    DbEngine engine() const override { return DbEngine::Postgres; }
    QString enabledCondition() const override;
    QString emptyTable(const QString& table) const override;
    QString copyTable(const QString& newName, const QString& table) const override;
    QString qtDriver() const override;
};
