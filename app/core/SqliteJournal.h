#pragma once

#include <QString>
#include <QStringList>

// The journal of the desktop database file. Every pick of a draw is a commit
// of its own, together with its audit row; the write-ahead log (WAL) keeps
// those commits cheap, but it keeps its index in shared memory beside the
// file, which only works while every program using the file runs on one host.
// On a network share several hosts would each see their own memory and
// corrupt the file. So: WAL (synced at checkpoints) only on file systems
// known to be local, the rollback journal synced at every commit everywhere
// else, an unknown kind of file system included. The choice is made at every
// opening, so a file moved to a share goes back to the rollback journal.
class SqliteJournal {
public:
    enum class Mode { Wal, Rollback };

    // The kind of file system (statfs f_type) holding the file or, for a
    // file not yet there, its folder; 0 when it cannot be told.
    static long fileSystemOf(const QString& path);
    static bool isLocalFileSystem(long fileSystemType);
    static Mode modeFor(const QString& path);
    // The statements that set the mode on a new connection.
    static QStringList settings(Mode mode);
};
