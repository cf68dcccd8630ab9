// Replacing a file never loses it: whatever step fails (a full disk midway, a failing flush, a
// rename that cannot be done, a folder or file the user may not write), the old bytes stay and no
// temporary file is left behind; a file that is replaced keeps its permission bits, its owner and the
// symbolic link that leads to it. A file written over in place (its folder takes no new file, it has
// other hard links) keeps its inode and gets its old bytes back when the write fails.
#include "platform/ReplacingFile.h"
#include "platform/PlatformErrors.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zandor::test {
namespace {

using platform::FileError;
using platform::TFileCalls;
using platform::TReplacingFile;

void Replace(const std::string& path, const std::string& bytes, TReplacingFile::TOptions options = {},
             const TFileCalls& calls = TFileCalls::System()) {
    TReplacingFile file(path, options, calls);
    // In pieces, as the editor writes its paragraphs.
    for (size_t at = 0; at < bytes.size(); at += 1000)
        file.Write(bytes.data() + at, std::min<size_t>(1000, bytes.size() - at));
    file.Commit();
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

QStringList FolderEntries(const std::string& folder) {
    return QDir(QString::fromStdString(folder))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

TEST(ReplacingFile, KeepsTheModeAndOwnerOfTheOldFileAndGivesANewOneExactlyItsMode) {
    ScratchDir dir;
    const mode_t oldMask = umask(077);
    Replace(dir.file("new.txt"), "new", {0664, true, false});
    umask(oldMask);
    EXPECT_EQ(0664u, ModeOf(dir.file("new.txt")));

    const std::string kept = dir.write("kept.txt", "old");
    ASSERT_EQ(0, chmod(kept.c_str(), 0640));
    if (geteuid() == 0) {
        ASSERT_EQ(0, chown(kept.c_str(), 65534, 65534));
    }
    Replace(kept, "replaced");
    EXPECT_EQ("replaced", readFile(kept).toStdString());
    EXPECT_EQ(0640u, ModeOf(kept));
    struct stat st {};
    ASSERT_EQ(0, stat(kept.c_str(), &st));
    if (geteuid() == 0) {
        EXPECT_EQ(65534u, st.st_uid);
    }
}

TEST(ReplacingFile, ThroughSymbolicLinksReplacesTheTargetAndKeepsTheLinks) {
    ScratchDir dir;
    const std::string target = dir.write("real/art.nfo", "old art");
    ASSERT_EQ(0, chmod(target.c_str(), 0600));
    ASSERT_EQ(0, symlink("real/art.nfo", dir.file("near.nfo").c_str()));
    ASSERT_EQ(0, symlink(dir.file("near.nfo").c_str(), dir.file("far.nfo").c_str()));
    Replace(dir.file("far.nfo"), "new art");
    struct stat st {};
    ASSERT_EQ(0, lstat(dir.file("far.nfo").c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(0, lstat(dir.file("near.nfo").c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ("new art", readFile(target).toStdString());
    EXPECT_EQ(0600u, ModeOf(target));
    EXPECT_EQ(QStringList({QStringLiteral("art.nfo")}), FolderEntries(dir.file("real")));

    // A link to nothing yet: the file it names is created.
    ASSERT_EQ(0, symlink("later.txt", dir.file("dangling.txt").c_str()));
    Replace(dir.file("dangling.txt"), "created");
    EXPECT_EQ("created", readFile(dir.file("later.txt")).toStdString());
    ASSERT_EQ(0, symlink("loop-b", dir.file("loop-a").c_str()));
    ASSERT_EQ(0, symlink("loop-a", dir.file("loop-b").c_str()));
    EXPECT_THROW(Replace(dir.file("loop-a"), "x"), FileError);
}

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_ino;
}

// Written in place: the old bytes kept in memory, or (for a larger file than the limit) in a backup
// file of the given folder.
TReplacingFile::TOptions InPlace(const std::string& backupFolder = {}) {
    TReplacingFile::TOptions options;
    options.RequireWritable = true;
    options.InPlaceWhereNeeded = true;
    if (!backupFolder.empty()) {
        options.InMemoryBackupLimit = 0;
        options.BackupFolders = {backupFolder};
    }
    return options;
}

enum class Kept { Replaced, InMemory, InBackupFile };

struct FailingStep {
    const char* Name;
    // Number of writes that succeed before one fails (-1: writes never fail).
    int WritesBeforeFailure;
    int WriteError;   // errno of the failing write; 0: the write reports 0 bytes
    bool FsyncFails;  // EIO
    bool RenameFails; // EXDEV
    // In place rows give the file a second hard link, which a rename would cut off.
    Kept How = Kept::Replaced;
};

class ReplacingFileFailure : public ::testing::TestWithParam<FailingStep> {};

TEST_P(ReplacingFileFailure, LeavesTheOldBytesAndNoTemporaryFile) {
    const FailingStep& step = GetParam();
    ScratchDir dir;
    const std::string old = std::string(3000, 'o') + "\r\nthe old end";
    const std::string path = dir.write("doc.txt", QByteArray::fromStdString(old));
    int writes = 0;
    TFileCalls calls = TFileCalls::System();
    calls.Write = [&](int fd, const void* data, size_t n) -> ssize_t {
        if (step.WritesBeforeFailure >= 0 && writes++ == step.WritesBeforeFailure) {
            errno = step.WriteError;
            return step.WriteError ? -1 : 0;
        }
        // Short writes, so that a failure can come in the middle of the text.
        return ::write(fd, data, std::min<size_t>(n, 256 * 1024));
    };
    if (step.FsyncFails)
        calls.Fsync = [](int) {
            errno = EIO;
            return -1;
        };
    if (step.RenameFails)
        calls.Rename = [](const char*, const char*) {
            errno = EXDEV;
            return -1;
        };
    // Larger than the writer's buffer, so that the text takes several writes.
    const std::string text(3u << 20, 'n');
    ScratchDir backups;
    const bool inPlace = step.How != Kept::Replaced;
    if (inPlace) {
        ASSERT_EQ(0, link(path.c_str(), dir.file("link.txt").c_str()));
    }
    try {
        Replace(path, text,
                inPlace ? InPlace(step.How == Kept::InBackupFile ? backups.path() : "")
                        : TReplacingFile::TOptions{0644, true, true},
                calls);
        FAIL() << "the replacement did not fail";
    } catch (const FileError& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find(path)) << e.what();
        if (inPlace) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find("keeps its old contents")) << e.what();
        }
    }
    EXPECT_EQ(old, readFile(path).toStdString());
    if (inPlace) {
        EXPECT_EQ(old, readFile(dir.file("link.txt")).toStdString());
        EXPECT_EQ(InodeOf(path), InodeOf(dir.file("link.txt")));
        EXPECT_TRUE(FolderEntries(backups.path()).isEmpty());
    }
    EXPECT_EQ(inPlace ? QStringList({QStringLiteral("doc.txt"), QStringLiteral("link.txt")})
                      : QStringList({QStringLiteral("doc.txt")}),
              FolderEntries(dir.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ReplacingFileFailure,
    ::testing::Values(FailingStep{"DiskFullAtOnce", 0, ENOSPC, false, false},
                      FailingStep{"DiskFullMidway", 5, ENOSPC, false, false},
                      FailingStep{"NothingWritten", 3, 0, false, false},
                      FailingStep{"DeviceFailsMidway", 2, EIO, false, false},
                      FailingStep{"FlushFails", -1, 0, true, false},
                      FailingStep{"RenameFails", -1, 0, false, true},
                      FailingStep{"InPlaceDiskFullAtOnce", 0, ENOSPC, false, false, Kept::InMemory},
                      FailingStep{"InPlaceDiskFullMidway", 5, ENOSPC, false, false, Kept::InBackupFile},
                      FailingStep{"InPlaceNothingWritten", 3, 0, false, false, Kept::InMemory},
                      FailingStep{"InPlaceDeviceFailsMidway", 2, EIO, false, false, Kept::InBackupFile},
                      FailingStep{"InPlaceFlushFails", -1, 0, true, false, Kept::InMemory}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ReplacingFile, AFolderOrFileTheUserMayNotWriteIsLeftAsItWas) {
    ScratchDir dir;
    const std::string locked = dir.write("locked/doc.txt", "old");
    const std::string readOnly = dir.write("open/read-only.txt", "old");
    ASSERT_EQ(0, chmod(readOnly.c_str(), 0444));
    AsOrdinaryUser user(dir);
    ASSERT_EQ(0, chmod(dir.file("locked").c_str(), 0555));
    EXPECT_THROW(Replace(locked, "new", {0644, true, true}), FileError);
    EXPECT_EQ("old", readFile(locked).toStdString());
    EXPECT_EQ(QStringList({QStringLiteral("doc.txt")}), FolderEntries(dir.file("locked")));
    // A read-only document stays read-only; the folder would have let the rename through.
    EXPECT_THROW(Replace(readOnly, "new", {0644, true, true}), FileError);
    EXPECT_EQ("old", readFile(readOnly).toStdString());
    EXPECT_EQ(QStringList({QStringLiteral("read-only.txt")}), FolderEntries(dir.file("open")));
    ASSERT_EQ(0, chmod(dir.file("locked").c_str(), 0755));
}

// A shared folder the user may not add files to, and a file with a second name: both are written
// over in place and stay the same file; what cannot be written is named in the message.
TEST(ReplacingFile, WhereNoReplacementCanBeMadeTheFileIsWrittenInPlace) {
    ScratchDir dir;
    ScratchDir backups;
    const std::string linked = dir.write("linked/doc.txt", QByteArray(5000, 'o'));
    ASSERT_EQ(0, link(linked.c_str(), dir.file("linked/other-name.txt").c_str()));
    const ino_t inode = InodeOf(linked);
    for (const std::string& text : {std::string(9000, 'L'), std::string("short")}) {
        Replace(linked, text, InPlace(backups.path()));
        EXPECT_EQ(text, readFile(dir.file("linked/other-name.txt")).toStdString());
        EXPECT_EQ(inode, InodeOf(linked));
    }
    EXPECT_EQ(2, FolderEntries(dir.file("linked")).size());
    EXPECT_TRUE(FolderEntries(backups.path()).isEmpty());
    {
        // Abandoned halfway (the writer of the text threw): the old bytes come back.
        TReplacingFile file(linked, InPlace());
        const std::string half(2u << 20, 'h');
        file.Write(half.data(), half.size());
    }
    EXPECT_EQ("short", readFile(dir.file("linked/other-name.txt")).toStdString());

    const std::string shared = dir.write("shared/doc.txt", "old");
    const std::string readOnly = dir.write("shared/read-only.txt", "old");
    ASSERT_EQ(0, chmod(shared.c_str(), 0640));
    ASSERT_EQ(0, chmod(readOnly.c_str(), 0444));
    AsOrdinaryUser user(dir);
    ASSERT_EQ(0, chmod(dir.file("shared").c_str(), 0555));
    Replace(shared, "new", InPlace());
    EXPECT_EQ("new", readFile(shared).toStdString());
    EXPECT_EQ(0640u, ModeOf(shared));
    const auto failure = [&](const std::string& path) {
        try {
            Replace(path, "new", InPlace());
        } catch (const FileError& e) {
            return std::string(e.what());
        }
        return std::string("no failure");
    };
    const std::string folderRefuses = "folder \"" + dir.file("shared") + "\" does not let a ";
    const std::string created = failure(dir.file("shared/new.txt"));
    EXPECT_EQ(0u, created.rfind("Cannot create file \"" + dir.file("shared/new.txt") + "\". Its " +
                                    folderRefuses + "new file be made in it (Permission denied)",
                                0))
        << created;
    const std::string written = failure(readOnly);
    EXPECT_EQ(0u, written.rfind("Cannot write file \"" + readOnly + "\". Permission denied", 0)) << written;
    EXPECT_EQ("old", readFile(readOnly).toStdString());
    EXPECT_EQ(QStringList({QStringLiteral("doc.txt"), QStringLiteral("read-only.txt")}),
              FolderEntries(dir.file("shared")));
    ASSERT_EQ(0, chmod(dir.file("shared").c_str(), 0755));
}

TEST(ReplacingFile, ANameThatHoldsNoRegularFileIsNotReplaced) {
    ScratchDir dir;
    ASSERT_EQ(0, mkdir(dir.file("folder").c_str(), 0755));
    ASSERT_EQ(0, mkfifo(dir.file("pipe").c_str(), 0644));
    for (const char* name : {"folder", "pipe"}) {
        EXPECT_THROW(Replace(dir.file(name), "text"), FileError) << name;
        struct stat st {};
        ASSERT_EQ(0, lstat(dir.file(name).c_str(), &st));
        EXPECT_FALSE(S_ISREG(st.st_mode)) << name;
    }
    EXPECT_EQ(2, FolderEntries(dir.path()).size());
}

// A real full file system: a small tmpfs, where the superuser's writes stop too.
TEST(ReplacingFile, AFullFileSystemLeavesTheOldFile) {
    ScratchDir dir;
    const std::string mountPoint = dir.file("small");
    ASSERT_EQ(0, mkdir(mountPoint.c_str(), 0755));
    if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "a tmpfs cannot be mounted here (needs root)";
    struct Unmount {
        std::string Path;
        ~Unmount() { umount2(Path.c_str(), MNT_DETACH); }
    } unmount{mountPoint};
    const std::string old(100 * 1024, 'o');
    const std::string path = mountPoint + "/doc.txt";
    Replace(path, old);
    try {
        Replace(path, std::string(200 * 1024, 'n'));
        FAIL() << "the disk did not fill";
    } catch (const FileError& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("No space left")) << e.what();
    }
    EXPECT_EQ(old, readFile(path).toStdString());
    EXPECT_EQ(QStringList({QStringLiteral("doc.txt")}), FolderEntries(mountPoint));
}

} // namespace
} // namespace zandor::test
