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
// SQLite keeps date-times as text, and the writers differ in the text
// ("2026-05-10T10:00:00.000", "2026-05-10 10:00:00", "2026-05-10"), which
// compare wrongly as text. julianday() reads every one of them as a number.
QString SqliteDialect::dateTimeValue(const QString& expression) const {
    return "julianday(" + expression + ")";
}
QString SqliteDialect::qtDriver() const {
    return "QSQLITE";
}
