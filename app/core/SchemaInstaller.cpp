#include "SchemaInstaller.h"

#include "PasswordHash.h"
#include "SqlRun.h"

#include <QDate>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

QStringList statementsOf(const QString& script) {
    QStringList out;
    QString current;
    for (const QString& line : script.split('\n')) {
        const QString t = line.trimmed();
        if (t.startsWith("--") || (t.isEmpty() && current.isEmpty()))
            continue;
        current += line + '\n';
        if (t.endsWith(';')) {
            current = current.trimmed();
            current.chop(1);
            out << current;
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

bool exec(QSqlQuery& q, const QString& sql, QString* error) {
    if (q.exec(sql))
        return true;
    if (error)
        *error = q.lastError().text() + "\n" + sql;
    return false;
}

bool execBound(QSqlDatabase& db, const QString& sql, const QVariantList& values, QString* error) {
    QSqlQuery q(db);
    return RunBound(q, sql, values, error);
}

} // namespace

QString SchemaInstaller::resourceOf(DbEngine engine) {
    switch (engine) {
    case DbEngine::Postgres:
        return QStringLiteral(":/schema/postgres.sql");
    case DbEngine::SqlServer:
        return QStringLiteral(":/schema/sqlserver.sql");
    case DbEngine::Sqlite:
        break;
    }
    return QStringLiteral(":/schema/sqlite.sql");
}

QStringList SchemaInstaller::statements(DbEngine engine) {
    QFile f(resourceOf(engine));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return statementsOf(QString::fromUtf8(f.readAll()));
}

bool SchemaInstaller::install(QSqlDatabase& db, DbEngine engine, QString* error) {
    const QString resource = resourceOf(engine);
    QFile f(resource);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = "schema resource missing: " + resource;
        return false;
    }
    const QStringList statements = statementsOf(QString::fromUtf8(f.readAll()));
    if (!BeginTransaction(db, error))
        return false;
    QSqlQuery q(db);
    bool ok = true;
    for (const QString& sql : statements)
        ok = ok && exec(q, sql, error);
    ok = ok &&
         execBound(
             db,
             "INSERT INTO UserName (UserName, PassWord, ChkUserM, ChkProjectTouch, "
             "chkProjectM, chkExcept, chkBase, chkShow, ICNO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
             {kAdminUser, ScramblePassword(kAdminUser, kAdminInitialPassword), true, true, true,
              true, true, true, QString()},
             error);
    return FinishTransaction(db, ok, error);
}
