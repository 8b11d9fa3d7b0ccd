#pragma once

#include "BoundSql.h"
#include "DbEngine.h"

#include <QDateTime>

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
    // Leaves out the rows whose column (never missing) equals a value of
    // innerColumn in "from ... where ..."; the caller binds the placeholders
    // of fromWhere. The engines' planners differ in which of the two
    // equivalent forms, "not in" or "not exists", they run well.
    virtual QString notAmong(const QString& column, const QString& innerColumn,
                             const QString& fromWhere) const;
    // "column between from and to" compared by time, whatever text form a row
    // holds the date-time in.
    virtual BoundSql dateTimeBetween(const QString& column, const QDateTime& from,
                                     const QDateTime& to) const;
    // INSERT of one row with a placeholder per column that gives back the
    // row's generated id as its only result column.
    virtual QString insertReturningId(const QString& table, const QStringList& columns) const;
    // The UPDATE statement followed by what gives back the named columns of
    // the updated rows; empty where the engine cannot (the caller then reads
    // them with a query of its own).
    virtual QString updateReturning(const QString& update, const QStringList& columns) const;
    // The Qt SQL driver that opens this engine.
    virtual QString qtDriver() const = 0;

    static const SqlDialect& forEngine(DbEngine engine);

protected:
    static QString placeholders(qsizetype count);
};
