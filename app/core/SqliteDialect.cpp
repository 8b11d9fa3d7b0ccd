#include "SqliteDialect.h"

// Booleans are stored as 0/1 integers.
QString SqliteDialect::enabledCondition() const {
    return " and expert.enabled = 1 ";
}
QString SqliteDialect::emptyTable(const QString& table) const {
    return "DELETE FROM " + table;
}
QString SqliteDialect::copyTable(const QString& newName, const QString& table) const {
    return "CREATE TABLE " + newName + " AS SELECT * FROM " + table;
}
QString SqliteDialect::qtDriver() const {
    return "QSQLITE";
}

// Every pick of a draw is committed on its own, together with its audit row,
// so that no pick can be undone by stopping the program. A write-ahead log
// synced at checkpoints keeps those commits cheap; a crash of the program
// loses nothing committed, only a power cut may lose the last moments.
QStringList SqliteDialect::connectionSettings() const {
    return {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL"};
}
