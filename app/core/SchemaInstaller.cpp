#include "SchemaInstaller.h"

#include "Clock.h"
#include "PasswordHash.h"
#include "Services.h"
#include "SqlRun.h"
#include "draw/RegisterGenerator.h"

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

bool SchemaInstaller::install(QSqlDatabase& db, DbEngine engine, QString* error) {
    const QString resource =
        engine == DbEngine::Postgres ? ":/schema/postgres.sql" : ":/schema/sqlite.sql";
    if (engine == DbEngine::SqlServer) {
        if (error)
            *error = "creating a SQL Server database is not supported; create it with the server's "
                     "tools";
        return false;
    }
    QFile f(resource);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = "schema resource missing: " + resource;
        return false;
    }
    const QStringList statements = statementsOf(QString::fromUtf8(f.readAll()));
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
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

bool SchemaInstaller::installDemoData(QSqlDatabase& db, QString* error) {
    return RegisterGenerator::fill(db, RegisterGenerator::demo(Services::clock().now().date()),
                                   error);
}
