#pragma once

#include "SqlDialect.h"

class SqliteDialect : public SqlDialect {
public:
    DbEngine engine() const override { return DbEngine::Sqlite; }
    QString enabledCondition() const override;
    QString emptyTable(const QString& table) const override;
    QString copyTable(const QString& newName, const QString& table) const override;
    QString dateTimeValue(const QString& expression) const override;
    QString qtDriver() const override;
};
