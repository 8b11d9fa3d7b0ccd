#include "PostgresDialect.h"

QString PostgresDialect::enabledCondition() const {
    return " and expert.enabled = true ";
}
QString PostgresDialect::emptyTable(const QString& table) const {
    return "TRUNCATE TABLE " + table;
}
QString PostgresDialect::copyTable(const QString& newName, const QString& table) const {
    return "SELECT * INTO " + newName + " FROM " + table;
}
QString PostgresDialect::qtDriver() const {
    return "QPSQL";
}
