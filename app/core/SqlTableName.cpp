#include "SqlTableName.h"

#include <QStringList>

QString SqlTableName::resolve(const QSqlDatabase& db, const QString& name) {
    const QStringList tables = db.tables(QSql::AllTables);
    if (tables.contains(name))
        return name;
    for (const QString& t : tables)
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    return name;
}
