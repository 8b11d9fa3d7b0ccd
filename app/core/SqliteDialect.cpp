#include "SqliteDialect.h"

// Booleans are stored as 0/1 integers.
QString SqliteDialect::enabledCondition() const {
    return " and expert.enabled = 1 ";
}
QString SqliteDialect::emptyTable(const QString& table) const {
    return "DELETE FROM " + table;
}
QString SqliteDialect::copyTable(const QString& newName, const QString& table) const {
    return "CREATE TABLE " + newName + " AS SELECT * FROM " + table;
}
// SQLite runs "not in" over a list it builds once faster than a lookup per row.
QString SqliteDialect::notAmong(const QString& column, const QString& innerColumn,
                                const QString& fromWhere) const {
    return " and " + column + " not in (select " + innerColumn + " " + fromWhere + " and " +
           innerColumn + " is not null)";
}

// SQLite keeps date-times as text, and the writers differ in the text
// ("2026-05-10T10:00:00.000", "2026-05-10 10:00:00", "2026-05-10"), which
// compare wrongly as text within a day. julianday() reads every one of them
// as a number. Every form starts with the date, so a text range over whole
// days comes first: it keeps the column's index in use and leaves julianday()
// only the rows of those days.
BoundSql SqliteDialect::dateTimeBetween(const QString& column, const QDateTime& from,
                                        const QDateTime& to) const {
    const QString firstDay = from.date().toString(QStringLiteral("yyyy-MM-dd"));
    const QString dayAfter = to.date().addDays(1).toString(QStringLiteral("yyyy-MM-dd"));
    return BoundSql(" " + column + " >= ? and " + column + " < ? and julianday(" + column +
                        ") between julianday(?) and julianday(?) ",
                    {firstDay, dayAfter, from, to});
}
QString SqliteDialect::qtDriver() const {
    return "QSQLITE";
}
