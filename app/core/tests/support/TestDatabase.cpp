#include "TestDatabase.h"

#include "DMsys.h"
#include "SchemaInstaller.h"
#include "TempHome.h"

#include <QDir>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// PANELPICK_TEST_PG is a libpq-style "key=value ..." string.
QMap<QString, QString> pgSettings() {
    QMap<QString, QString> out;
    for (const QString& part :
         qEnvironmentVariable("PANELPICK_TEST_PG").split(' ', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf('=');
        if (eq > 0)
            out.insert(part.left(eq), part.mid(eq + 1));
    }
    return out;
}

void configurePg(QSqlDatabase& db, const QString& database) {
    const auto s = pgSettings();
    db.setHostName(s.value("host", "127.0.0.1"));
    db.setPort(s.value("port", "5432").toInt());
    db.setUserName(s.value("user", "postgres"));
    db.setPassword(s.value("password"));
    db.setDatabaseName(database);
}

bool adminExec(const QString& sql, QString* error) {
    const QString name = "pp-test-admin-" + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", name);
        configurePg(db, pgSettings().value("dbname", "postgres"));
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(sql);
            if (!ok && error)
                *error = q.lastError().text();
        } else if (error) {
            *error = db.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace

bool TestDatabase::postgresAdminExec(const QString& sql, QString* error) {
    return adminExec(sql, error);
}

QString TestDatabase::postgresSetting(const QString& key) {
    return pgSettings().value(key);
}

bool TestDatabase::postgresAvailable() {
    return qEnvironmentVariableIsSet("PANELPICK_TEST_PG");
}

QString TestDatabase::engineName(DbEngine engine) {
    return engine == DbEngine::Postgres    ? "Postgres"
           : engine == DbEngine::SqlServer ? "SqlServer"
                                           : "Sqlite";
}

TestDatabase::TestDatabase(DbEngine engine)
    : home_(std::make_unique<TempHome>()), dm_(std::make_unique<TSysDM>()), engine_(engine) {
    if (engine == DbEngine::Postgres) {
        if (!postgresAvailable()) {
            error_ = "PANELPICK_TEST_PG is not set";
            return;
        }
        pgDatabase_ = QStringLiteral("pp_%1_%2")
                          .arg(getpid())
                          .arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
        if (!adminExec("CREATE DATABASE " + pgDatabase_ + " ENCODING 'UTF8' TEMPLATE template0",
                       &error_))
            return;
    } else {
        QDir(home_->dir()).mkpath("mdf");
    }
    ok_ = open();
    if (ok_) {
        QSqlDatabase db = dm_->ADOCon();
        ok_ = SchemaInstaller::install(db, engine, &error_);
    }
}

bool TestDatabase::open() {
    if (engine_ == DbEngine::Postgres) {
        dm_->setDbType("0");
        return dm_->OpenDatabase(
            DbEngine::Postgres, [&](QSqlDatabase& db) { configurePg(db, pgDatabase_); }, &error_);
    }
    const QString file = home_->path("mdf/db.sqlite");
    dm_->setDbType("1");
    return dm_->OpenDatabase(
        DbEngine::Sqlite, [&](QSqlDatabase& db) { db.setDatabaseName(file); }, &error_);
}

void TestDatabase::handOver() {
    dm_->CloseConnection();
    if (engine_ != DbEngine::Postgres)
        return;
    const auto s = pgSettings();
    home_->write("conn.udl", QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB "
                                            "initstring\r\nProvider=PostgreSQL;Data Source=%1,%2;"
                                            "Initial Catalog=%3;User ID=%4;Password=%5\r\n")
                                 .arg(s.value("host", "127.0.0.1"), s.value("port", "5432"),
                                      pgDatabase_, s.value("user", "postgres"), s.value("password"))
                                 .toUtf8());
    home_->write("Config.Ini", "[Login]\r\nDBType=0\r\n");
}

bool TestDatabase::reopen() {
    return open();
}

TestDatabase::~TestDatabase() {
    dm_.reset();
    if (!pgDatabase_.isEmpty())
        adminExec("DROP DATABASE IF EXISTS " + pgDatabase_ + " WITH (FORCE)", nullptr);
}

bool TestDatabase::exec(const QString& sql, const QVariantList& values) {
    QSqlQuery q(dm_->ADOCon());
    if (!q.prepare(sql)) {
        error_ = q.lastError().text();
        return false;
    }
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        error_ = q.lastError().text() + "\n" + sql;
        return false;
    }
    return true;
}

QVariant TestDatabase::scalar(const QString& sql, const QVariantList& values) {
    QSqlQuery q(dm_->ADOCon());
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec() || !q.next()) {
        ADD_FAILURE() << q.lastError().text().toStdString() << "\n" << sql.toStdString();
        return {};
    }
    return q.value(0);
}
