#pragma once

#include <QString>
#include <QStringList>

// panelpick-initdb: creates the delivered database.
//   (no arguments)   the SQLite file mdf/db.sqlite in the application home
//   --demo           the same, filled with a small demo register
//   --server FILE    the server database that the data-link file FILE names
// An existing database is never touched. Returns the process exit code and
// writes what happened to out / err.
int runInitDb(const QStringList& arguments, QString* out, QString* err);
