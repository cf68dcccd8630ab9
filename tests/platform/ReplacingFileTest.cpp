// Replacing a file never loses it: whatever step fails (a full disk midway, a failing flush, a
// rename that cannot be done, a folder or file the user may not write), the old bytes stay and no
// temporary file is left behind; a file that is replaced keeps its permission bits, its owner and the
// symbolic link that leads to it.
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

struct FailingStep {
    const char* Name;
    // Number of writes that succeed before one fails (-1: writes never fail).
    int WritesBeforeFailure;
    int WriteError;   // errno of the failing write; 0: the write reports 0 bytes
    bool FsyncFails;  // EIO
    bool RenameFails; // EXDEV
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
    try {
        Replace(path, text, {0644, true, true}, calls);
        FAIL() << "the replacement did not fail";
    } catch (const FileError& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find(path)) << e.what();
    }
    EXPECT_EQ(old, readFile(path).toStdString());
    EXPECT_EQ(QStringList({QStringLiteral("doc.txt")}), FolderEntries(dir.path()));
}

INSTANTIATE_TEST_SUITE_P(Steps, ReplacingFileFailure,
                         ::testing::Values(FailingStep{"DiskFullAtOnce", 0, ENOSPC, false, false},
                                           FailingStep{"DiskFullMidway", 5, ENOSPC, false, false},
                                           FailingStep{"NothingWritten", 3, 0, false, false},
                                           FailingStep{"DeviceFailsMidway", 2, EIO, false, false},
                                           FailingStep{"FlushFails", -1, 0, true, false},
                                           FailingStep{"RenameFails", -1, 0, false, true}),
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
