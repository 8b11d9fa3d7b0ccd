#pragma once

#include "DbEngine.h"

#include <QSqlDatabase>
#include <QString>

// Creates the delivered database: every table, index and view, and the user
// "admin" with the initial password and every right. Used by panelpick-initdb
// and by the tests; the program itself never creates tables.
class SchemaInstaller {
public:
    static bool install(QSqlDatabase& db, DbEngine engine, QString* error);
    // A few specialties, experts and a project, for trying the program out.
    static bool installDemoData(QSqlDatabase& db, QString* error);

    static inline const QString kAdminUser = QStringLiteral("admin");
    static inline const QString kAdminInitialPassword = QStringLiteral("69081");
};
