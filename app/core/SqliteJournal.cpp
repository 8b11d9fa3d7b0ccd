#include "SqliteJournal.h"

#include <QFileInfo>
#include <sys/vfs.h>

namespace {

// Linux file system magic numbers (linux/magic.h) of file systems on a disk
// or in memory of this host.
constexpr long kLocal[] = {
    0xEF53,     // ext2, ext3, ext4
    0x58465342, // xfs
    0x9123683E, // btrfs
    0x01021994, // tmpfs
    0x858458F6, // ramfs
    0xF2F52010, // f2fs
    0x2FC12FC1, // zfs
    0x794C7630, // overlayfs
    0x3153464A, // jfs
    0x52654973, // reiserfs
    0xCA451A4E, // bcachefs
    0x3434,     // nilfs2
    0x4D44,     // vfat, msdos
    0x2011BAB0, // exfat
    0x5346544E, // ntfs
    0x7366746E, // ntfs3
    0xF15F,     // ecryptfs
};

} // namespace

long SqliteJournal::fileSystemOf(const QString& path) {
    QFileInfo info(path);
    const QString probe = info.exists() ? info.absoluteFilePath() : info.absolutePath();
    struct statfs fs {};
    if (statfs(QFile::encodeName(probe).constData(), &fs) != 0)
        return 0;
    return static_cast<long>(fs.f_type);
}

bool SqliteJournal::isLocalFileSystem(long type) {
    for (long local : kLocal)
        if (type == local)
            return true;
    return false;
}

SqliteJournal::Mode SqliteJournal::modeFor(const QString& path) {
    return isLocalFileSystem(fileSystemOf(path)) ? Mode::Wal : Mode::Rollback;
}

QStringList SqliteJournal::settings(Mode mode) {
    if (mode == Mode::Wal)
        return {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL"};
    return {"PRAGMA journal_mode=DELETE", "PRAGMA synchronous=FULL"};
}
