#include "SqlDialect.h"

#include "PostgresDialect.h"
#include "SqlServerDialect.h"
#include "SqliteDialect.h"

const SqlDialect& SqlDialect::forEngine(DbEngine engine) {
    static const SqliteDialect sqlite;
    static const PostgresDialect postgres;
    static const SqlServerDialect sqlServer;
    switch (engine) {
    case DbEngine::Postgres:
        return postgres;
    case DbEngine::SqlServer:
        return sqlServer;
    case DbEngine::Sqlite:
        break;
    }
    return sqlite;
}

QString SqlDialect::placeholders(qsizetype count) {
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(", ");
}

QString SqlDialect::insertReturningId(const QString& table, const QStringList& columns) const {
    return "INSERT INTO " + table + " (" + columns.join(", ") + ") VALUES (" +
           placeholders(columns.size()) + ") RETURNING id";
}

// The servers start from the demand's candidates only with an anti-join.
QString SqlDialect::notAmong(const QString& column, const QString& innerColumn,
                             const QString& fromWhere) const {
    return " and not exists (select 1 " + fromWhere + " and " + innerColumn + " = " + column + ")";
}

QString SqlDialect::updateReturning(const QString& update, const QStringList& columns) const {
    return update + " RETURNING " + columns.join(", ");
}

BoundSql SqlDialect::dateTimeBetween(const QString& column, const QDateTime& from,
                                     const QDateTime& to) const {
    return BoundSql(" " + column + " between ? and ? ", {from, to});
}
