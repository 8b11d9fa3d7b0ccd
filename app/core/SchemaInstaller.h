#pragma once

#include "DbEngine.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Creates the delivered database: every table, index and view, and the user
// "admin" with the initial password and every right. Used by panelpick-initdb
// and by the tests; the program itself never creates tables.
class SchemaInstaller {
public:
    static bool install(QSqlDatabase& db, DbEngine engine, QString* error);
    // The schema script of the engine (a resource) and its statements, each
    // without its closing semicolon.
    static QString resourceOf(DbEngine engine);
    static QStringList statements(DbEngine engine);

    static inline const QString kAdminUser = QStringLiteral("admin");
    static inline const QString kAdminInitialPassword = QStringLiteral("69081");
};
