#include "InitDbCommand.h"

#include "AppHome.h"
#include "DMsys.h"
#include "DataLink.h"
#include "RegisterGenerator.h"
#include "SchemaInstaller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace {

constexpr char kUsage[] = "usage: panelpick-initdb [--demo] [--server DATA-LINK-FILE]\n";

int createDesktopDatabase(bool demo, QString* out, QString* err) {
    const QString file = AppHome::path("mdf/db.sqlite");
    if (QFileInfo::exists(file)) {
        *err = QStringLiteral("%1 already exists; it is left as it is.\n").arg(file);
        return 1;
    }
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
        *err = QStringLiteral("cannot create the folder of %1\n").arg(file);
        return 1;
    }
    // Built under a temporary name and renamed when complete, so that a failure
    // never leaves a half-made database where the program looks for one. The
    // file is the owner's alone.
    const QString partial = file + ".partial";
    QFile::remove(partial);
    {
        QFile f(partial);
        if (!f.open(QIODevice::WriteOnly) ||
            !f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
            *err = QStringLiteral("cannot create %1: %2\n").arg(partial, f.errorString());
            return 1;
        }
    }
    QString error;
    bool ok = false;
    {
        TSysDM dm;
        ok = dm.OpenDatabase(
            DbEngine::Sqlite, [&](QSqlDatabase& db) { db.setDatabaseName(partial); }, &error);
        QSqlDatabase db = dm.ADOCon();
        ok = ok && SchemaInstaller::install(db, DbEngine::Sqlite, &error);
        ok = ok && (!demo || RegisterGenerator::fillDemo(db, &error));
    }
    if (!ok || !QFile::rename(partial, file)) {
        QFile::remove(partial);
        *err = QStringLiteral("cannot create %1: %2\n").arg(file, error);
        return 1;
    }
    *out = QStringLiteral("created %1%2\n").arg(file, demo ? " with demo data" : "");
    return 0;
}

int createServerDatabase(const QString& dataLink, bool demo, QString* out, QString* err) {
    QString error;
    const auto link = DataLink::fromFile(dataLink, &error);
    if (!link) {
        *err = error + "\n";
        return 1;
    }
    TSysDM dm;
    if (!dm.OpenDatabase(
            link->engine(), [&](QSqlDatabase& db) { link->configure(db); }, &error)) {
        *err = QStringLiteral("cannot connect: %1\n").arg(error);
        return 1;
    }
    QSqlQuery probe(dm.ADOCon());
    if (probe.exec("SELECT COUNT(*) FROM UserName")) {
        *err = QStringLiteral("database %1 already holds the tables; it is left as it is.\n")
                   .arg(link->database());
        return 1;
    }
    QSqlDatabase db = dm.ADOCon();
    if (!SchemaInstaller::install(db, link->engine(), &error) ||
        (demo && !RegisterGenerator::fillDemo(db, &error))) {
        *err = QStringLiteral("cannot create the tables: %1\n").arg(error);
        return 1;
    }
    *out = QStringLiteral("created the tables in database %1 on %2\n")
               .arg(link->database(), link->host());
    return 0;
}

} // namespace

int runInitDb(const QStringList& arguments, QString* out, QString* err) {
    bool demo = false;
    QString server;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == "--demo") {
            demo = true;
        } else if (a == "--server" && i + 1 < arguments.size()) {
            server = arguments[++i];
        } else if (a == "--help" || a == "-h") {
            *out = kUsage;
            return 0;
        } else {
            *err = QStringLiteral("unknown argument %1\n").arg(a) + kUsage;
            return 2;
        }
    }
    return server.isEmpty() ? createDesktopDatabase(demo, out, err)
                            : createServerDatabase(server, demo, out, err);
}
