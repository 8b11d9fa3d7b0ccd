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
QString SqliteDialect::qtDriver() const {
    return "QSQLITE";
}
