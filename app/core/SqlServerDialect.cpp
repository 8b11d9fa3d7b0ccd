#include "SqlServerDialect.h"

// bit columns compare with 1.
QString SqlServerDialect::enabledCondition() const {
    return " and expert.enabled = 1 ";
}
QString SqlServerDialect::emptyTable(const QString& table) const {
    return "TRUNCATE TABLE " + table;
}
QString SqlServerDialect::copyTable(const QString& newName, const QString& table) const {
    return "select * into " + newName + " FROM " + table;
}
QString SqlServerDialect::insertReturningId(const QString& table,
                                            const QStringList& columns) const {
    return "INSERT INTO " + table + " (" + columns.join(", ") + ") OUTPUT INSERTED.id VALUES (" +
           placeholders(columns.size()) + ")";
}
QString SqlServerDialect::qtDriver() const {
    return "QODBC";
}
