#pragma once

#include "DbEngine.h"

#include <QString>
#include <QVariantList>
#include <memory>

class TempHome;
class TSysDM;

// A fresh delivered database for one test, opened as the shared connection of
// a new data module: a SQLite file in a temporary home, or a new database on
// the PostgreSQL server named by PANELPICK_TEST_PG (dropped afterwards).
class TestDatabase {
public:
    explicit TestDatabase(DbEngine engine);
    ~TestDatabase();

    // False (with the reason) when the engine is not available here.
    bool ok() const { return ok_; }
    QString error() const { return error_; }
    TSysDM& dm() { return *dm_; }
    TempHome& home() { return *home_; }

    // Runs one statement with bound values; aborts the test's expectations on failure.
    bool exec(const QString& sql, const QVariantList& values = {});
    // The first value of the first row; a failing query fails the test.
    QVariant scalar(const QString& sql, const QVariantList& values = {});

    // Lets a program under test open the same database as the program would
    // (the SQLite file is already where the program looks; for PostgreSQL a
    // conn.udl and DBType 0 are written into the home), with this module's
    // connection closed meanwhile; reopen() takes it up again.
    void handOver();
    bool reopen();

    static bool postgresAvailable();
    // Runs one statement on the test server's maintenance database (CREATE /
    // DROP DATABASE), on a connection of its own.
    static bool postgresAdminExec(const QString& sql, QString* error);
    // A PANELPICK_TEST_PG setting (host, port, user, dbname).
    static QString postgresSetting(const QString& key);
    static QString engineName(DbEngine engine);

private:
    bool open();

    std::unique_ptr<TempHome> home_;
    std::unique_ptr<TSysDM> dm_;
    DbEngine engine_;
    QString pgDatabase_;
    bool ok_ = false;
    QString error_;
};
