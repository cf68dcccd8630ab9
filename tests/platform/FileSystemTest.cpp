#include "platform/FileSystem.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zandor::platform;
using zandor::test::ScratchDir;

TEST(FileSystem, FileExistsIsFalseForFoldersAndMissingNames) {
    ScratchDir dir;
    const std::string file = dir.write("usb.dat", "");
    ASSERT_EQ(0, mkdir(dir.file("folder.dat").c_str(), 0700));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.file("folder.dat")));
    EXPECT_FALSE(FileExists(dir.file("missing")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(FolderExists(dir.file("folder.dat")));
    EXPECT_FALSE(FolderExists(file));
}

TEST(FileSystem, ForceFoldersCreatesEveryMissingParent) {
    ScratchDir dir;
    const std::string deep = dir.file("a/b/c/");
    ForceFolders(deep);
    EXPECT_TRUE(FolderExists(dir.file("a/b/c")));
    ForceFolders(deep); // an existing folder is fine
    EXPECT_TRUE(FolderExists(dir.file("a/b/c")));
}

TEST(FileSystem, ForceFoldersIgnoresFailures) {
    ScratchDir dir;
    const std::string file = dir.write("plain", "x");
    ForceFolders(file + "/below/");
    EXPECT_FALSE(FolderExists(file + "/below"));
}

TEST(FileSystem, MoveFileReplacingReplacesTheTarget) {
    ScratchDir dir;
    const std::string source = dir.write("old/Zandor.ini", "new contents");
    const std::string target = dir.write("data/Zandor.ini", "old contents");
    EXPECT_TRUE(MoveFileReplacing(source, target));
    EXPECT_FALSE(FileExists(source));
    EXPECT_EQ("new contents", zandor::test::readFile(target));
}

TEST(FileSystem, MoveFileReplacingFailsForAMissingSource) {
    ScratchDir dir;
    EXPECT_FALSE(MoveFileReplacing(dir.file("missing"), dir.file("target")));
    EXPECT_FALSE(FileExists(dir.file("target")));
}

TEST(FileSystem, HasWriteAccessFollowsThePermissionsOfTheEffectiveUser) {
    ScratchDir dir;
    EXPECT_TRUE(HasWriteAccess(dir.path()));
    EXPECT_FALSE(HasWriteAccess(dir.file("missing")));
    if (geteuid() != 0) {
        ASSERT_EQ(0, chmod(dir.path().c_str(), 0500));
        EXPECT_FALSE(HasWriteAccess(dir.path()));
        chmod(dir.path().c_str(), 0700);
        return;
    }
    // Root may write everywhere, so ask as an ordinary user in a child process.
    ASSERT_EQ(0, chmod(dir.path().c_str(), 0755));
    ASSERT_EQ(0, mkdir(dir.file("open").c_str(), 0777));
    ASSERT_EQ(0, chmod(dir.file("open").c_str(), 0777));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(10);
        const bool readOnly = !HasWriteAccess(dir.path());
        const bool open = HasWriteAccess(dir.file("open"));
        _exit(readOnly && open ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
}

struct LongPathRow {
    const char* argument;
    const char* cwd;
    const char* expected;
};

class LongPathNameRows : public ::testing::TestWithParam<LongPathRow> {};

TEST_P(LongPathNameRows, GivesTheAbsoluteCleanedPath) {
    const auto& row = GetParam();
    EXPECT_EQ(row.expected, zandor::platform::LongPathName(row.argument, row.cwd));
}

INSTANTIATE_TEST_SUITE_P(Rows, LongPathNameRows,
                         ::testing::Values(LongPathRow{"art.nfo", "/home/u", "/home/u/art.nfo"},
                                           LongPathRow{"./x/../art.nfo", "/home/u/", "/home/u/art.nfo"},
                                           LongPathRow{"/a//b/./c.txt", "/ignored", "/a/b/c.txt"},
                                           LongPathRow{"../../../../x", "/a", "/x"},
                                           LongPathRow{"", "/a", ""}));

TEST(FileSystem, UserConfigFolderFollowsXdgConfigHome) {
    {
        zandor::test::EnvGuard xdg("XDG_CONFIG_HOME", std::string("/somewhere/config"));
        EXPECT_EQ("/somewhere/config/", UserConfigFolder());
    }
    zandor::test::EnvGuard xdg("XDG_CONFIG_HOME", std::nullopt);
    zandor::test::EnvGuard home("HOME", std::string("/home/someone"));
    EXPECT_EQ("/home/someone/.config/", UserConfigFolder());
}

TEST(FileSystem, ExecutableFolderHoldsThisTestProgram) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ('/', folder.back());
    EXPECT_TRUE(FileExists(folder + "test_platform"));
}
