#pragma once

#include "DbEngine.h"

#include <QString>
#include <QStringList>

// The few SQL texts that differ between the engines. Everything else is the
// same text on every engine, and every value is a bound parameter.
class SqlDialect {
public:
    virtual ~SqlDialect() = default;
    virtual DbEngine engine() const = 0;
    // Appended to a WHERE clause: only experts that may be drawn.
    virtual QString enabledCondition() const = 0;
    virtual QString emptyTable(const QString& table) const = 0;
    virtual QString copyTable(const QString& newName, const QString& table) const = 0;
    // Statements run once on every new connection, before any other.
    virtual QStringList connectionSettings() const { return {}; }
    // The Qt SQL driver that opens this engine.
    virtual QString qtDriver() const = 0;

    static const SqlDialect& forEngine(DbEngine engine);
};
