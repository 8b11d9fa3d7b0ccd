#include "SqliteJournal.h"
#include "TempHome.h"

#include <gtest/gtest.h>

struct FileSystemCase {
    const char* name;
    long type;
    bool local;
};

TEST(SqliteJournal, WriteAheadLogOnlyOnFileSystemsKnownToBeLocal) {
    const FileSystemCase cases[] = {
        {"ext4", 0xEF53, true},
        {"xfs", 0x58465342, true},
        {"btrfs", 0x9123683E, true},
        {"tmpfs", 0x01021994, true},
        {"overlayfs", 0x794C7630, true},
        {"nfs", 0x6969, false},
        {"cifs", 0xFF534D42, false},
        {"smb2", 0xFE534D42, false},
        {"fuse (sshfs)", 0x65735546, false},
        {"9p", 0x01021997, false},
        {"unknown", 0x12345678, false},
        {"not told", 0, false},
    };
    for (const FileSystemCase& c : cases)
        EXPECT_EQ(SqliteJournal::isLocalFileSystem(c.type), c.local) << c.name;
}

TEST(SqliteJournal, RollbackJournalIsSyncedAtEveryCommit) {
    EXPECT_EQ(SqliteJournal::settings(SqliteJournal::Mode::Rollback),
              QStringList({"PRAGMA journal_mode=DELETE", "PRAGMA synchronous=FULL"}));
    EXPECT_EQ(SqliteJournal::settings(SqliteJournal::Mode::Wal),
              QStringList({"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL"}));
}

TEST(SqliteJournal, FileNotYetThereIsJudgedByItsFolder) {
    TempHome home;
    const long folder = SqliteJournal::fileSystemOf(home.dir());
    ASSERT_NE(folder, 0);
    EXPECT_EQ(SqliteJournal::fileSystemOf(home.path("mdf.sqlite")), folder);
    EXPECT_EQ(SqliteJournal::modeFor(home.path("mdf.sqlite")),
              SqliteJournal::isLocalFileSystem(folder) ? SqliteJournal::Mode::Wal
                                                       : SqliteJournal::Mode::Rollback);
}
