#pragma once

#include <QSqlDatabase>
#include <QString>

// Qt's table models quote the table name they are given, and a quoted name is
// matched letter for letter: PostgreSQL keeps unquoted names in lower case, so
// "UserName" finds nothing there. The program writes its names in any case
// (they are matched without regard to case), so a model is set on the name as
// the database itself spells it.
class SqlTableName {
public:
    // The database's own spelling of the table, or the name unchanged when
    // the database has no such table.
    static QString resolve(const QSqlDatabase& db, const QString& name);
};
