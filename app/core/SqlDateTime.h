#pragma once

#include <QDateTime>
#include <QVariant>

// Date-times as the database gives them back. A server returns a date-time
// value; a SQLite file holds text, and not every writer writes the same text:
// the program binds "yyyy-MM-ddTHH:mm:ss.zzz", an import or the sqlite3 shell
// writes "yyyy-MM-dd HH:mm:ss" or a date alone. All of these read as the
// same value.
class SqlDateTime {
public:
    // Invalid for a missing value or text that is no date.
    static QDateTime parse(const QVariant& value);
    // The time without its milliseconds: what the audit trail stores and hashes.
    static QDateTime toSeconds(const QDateTime& time);
};
