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
// A table with triggers takes an OUTPUT clause only into a table variable,
// which the batch then reads.
QString SqlServerDialect::insertReturningId(const QString& table,
                                            const QStringList& columns) const {
    return "SET NOCOUNT ON; DECLARE @ids TABLE (id INT); INSERT INTO " + table + " (" +
           columns.join(", ") + ") OUTPUT INSERTED.id INTO @ids VALUES (" +
           placeholders(columns.size()) + "); SELECT id FROM @ids";
}
QString SqlServerDialect::updateReturning(const QString&, const QStringList&) const {
    return {};
}
QString SqlServerDialect::qtDriver() const {
    return "QODBC";
}
