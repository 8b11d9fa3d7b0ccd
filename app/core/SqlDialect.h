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
    // A date-time column as a value that compares by time, whatever text form
    // a row holds it in; a bound date-time is wrapped the same way.
    virtual QString dateTimeValue(const QString& expression) const { return expression; }
    // INSERT of one row with a placeholder per column that gives back the
    // row's generated id as its only result column.
    virtual QString insertReturningId(const QString& table, const QStringList& columns) const;
    // The Qt SQL driver that opens this engine.
    virtual QString qtDriver() const = 0;

    static const SqlDialect& forEngine(DbEngine engine);

protected:
    static QString placeholders(qsizetype count);
};
