#include "app/Startup.h"

#include "platform/FileSystem.h"
#include "platform/NewFileChannel.h"
#include "support/TestSupport.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSemaphore>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zandor;
using zandor::platform::FileExists;
using zandor::test::EnvGuard;
using zandor::test::readFile;
using zandor::test::ScratchDir;

namespace {

struct Folders {
    ScratchDir dir;
    std::string exe = dir.file("bin/");
    std::string config = dir.file("config/");
    Folders() {
        platform::ForceFolders(exe);
        platform::ForceFolders(config);
    }
};

} // namespace

TEST(ChooseSettingsLocation, UsbDatBesideTheProgramSelectsPortableMode) {
    Folders f;
    f.dir.write("bin/usb.dat", "");
    f.dir.write("bin/highlight.dat", "keywords");
    TStartup s;
    ChooseSettingsLocation(s, f.exe, f.config);
    EXPECT_TRUE(s.PortableMode);
    EXPECT_EQ(f.exe, s.DataFolder);
    EXPECT_EQ(f.exe + "Zandor.ini", s.SettingsFile);
    EXPECT_TRUE(FileExists(f.exe + "highlight.dat")); // nothing moves in portable mode
    EXPECT_FALSE(platform::FolderExists(f.config + "Veltrane"));
}

TEST(ChooseSettingsLocation, AFolderNamedUsbDatDoesNotCount) {
    Folders f;
    platform::ForceFolders(f.exe + "usb.dat/");
    TStartup s;
    ChooseSettingsLocation(s, f.exe, f.config);
    EXPECT_FALSE(s.PortableMode);
    EXPECT_EQ(f.config + "Veltrane/Zandor/", s.DataFolder);
    EXPECT_EQ("", s.SettingsFile);
    EXPECT_TRUE(platform::FolderExists(s.DataFolder));
}

TEST(ChooseSettingsLocation, OldFilesMoveIntoTheDataFolderReplacingWhatIsThere) {
    Folders f;
    f.dir.write("bin/Zandor.ini", "[Options]\nOnTop=1\n");
    f.dir.write("bin/highlight.dat", "new keywords");
    f.dir.write("config/Veltrane/Zandor/highlight.dat", "old keywords");
    TStartup s;
    ChooseSettingsLocation(s, f.exe, f.config);
    EXPECT_FALSE(FileExists(f.exe + "Zandor.ini"));
    EXPECT_FALSE(FileExists(f.exe + "highlight.dat"));
    EXPECT_EQ("[Options]\nOnTop=1\n", readFile(s.DataFolder + "Zandor.ini"));
    EXPECT_EQ("new keywords", readFile(s.DataFolder + "highlight.dat"));
}

TEST(ChooseSettingsLocation, NothingMovesOutOfAReadOnlyProgramFolder) {
    Folders f;
    f.dir.write("bin/highlight.dat", "keywords");
    if (geteuid() != 0) {
        ASSERT_EQ(0, chmod(f.exe.c_str(), 0555));
        TStartup s;
        ChooseSettingsLocation(s, f.exe, f.config);
        chmod(f.exe.c_str(), 0755);
        EXPECT_TRUE(FileExists(f.exe + "highlight.dat"));
        EXPECT_FALSE(FileExists(s.DataFolder + "highlight.dat"));
        return;
    }
    // As root every folder is writable; start as an ordinary user whose data folder is its own.
    ASSERT_EQ(0, chmod(f.dir.path().c_str(), 0755));
    ASSERT_EQ(0, chmod(f.exe.c_str(), 0755));
    ASSERT_EQ(0, chown(f.config.c_str(), 65534, 65534));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(10);
        TStartup s;
        ChooseSettingsLocation(s, f.exe, f.config);
        _exit(platform::FolderExists(s.DataFolder) ? 0 : 11);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_TRUE(FileExists(f.exe + "highlight.dat"));
    EXPECT_FALSE(FileExists(f.config + "Veltrane/Zandor/highlight.dat"));
}

namespace {

// The channel of a running instance, answered on a thread of its own, so that a start on the
// test's thread can wait for the answer as a second process would.
class AnsweringInstance {
public:
    AnsweringInstance() {
        thread_.reset(QThread::create([this] {
            platform::NewFileListener listener({}, [this](const std::string&) { ++told; });
            listening = listener.Listen(kNewFileChannel);
            ready_.release();
            QEventLoop loop;
            loop.exec();
        }));
        thread_->start();
        ready_.acquire();
    }
    ~AnsweringInstance() {
        thread_->quit();
        thread_->wait();
    }

    std::atomic<int> told = 0;
    bool listening = false;

private:
    std::unique_ptr<QThread> thread_;
    QSemaphore ready_;
};

// One "running instance" (its lock, block and listener) and the start-up state of a second one,
// all in a private runtime folder.
struct HandOff : ::testing::Test {
    ScratchDir dir;
    EnvGuard runtime{"XDG_RUNTIME_DIR", dir.path()};
    std::unique_ptr<platform::InstanceLock> firstInstance = std::make_unique<platform::InstanceLock>();
    std::unique_ptr<AnsweringInstance> firstWindow;
    TStartup second;
    std::vector<std::string> errors;

    void SetUp() override {
        chmod(dir.path().c_str(), 0700);
        ASSERT_TRUE(firstInstance->Acquire(kInstanceLockName));
        firstWindow = std::make_unique<AnsweringInstance>();
        ASSERT_TRUE(firstWindow->listening);
        Prepare(second);
    }

    // A starting instance with OneInstance on; each hands off at most once.
    void Prepare(TStartup& s) {
        s.DataFolder = dir.path() + "/";
        CreateSettingsStore(s);
        PrepareHandOff(s);
        s.OneInstance = true;
    }

    void Run(const std::string& argument, const std::string& cwd = "/") { Run(second, argument, cwd); }

    void Run(TStartup& s, const std::string& argument, const std::string& cwd) {
        ProcessOneInstance(s, argument, cwd, [this](const std::string& e) { errors.push_back(e); });
    }

    std::string Handed() {
        TSharedMem reader;
        reader.Name = kSharedBlockName;
        reader.Size = kSharedBlockSize;
        return GetSharedFilename(reader);
    }
};

} // namespace

TEST_F(HandOff, ARelativeArgumentIsHandedOverAsItsAbsolutePath) {
    dir.write("docs/art.nfo", "x");
    Run("docs/./art.nfo", dir.path());
    EXPECT_TRUE(second.HandedOff);
    EXPECT_EQ(dir.path() + "/docs/art.nfo", Handed());
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(nullptr, second.Config); // released before the process ends
}

TEST_F(HandOff, AMissingFileOrNoArgumentHandsOverAnEmptyName) {
    Run(dir.path() + "/missing.nfo");
    EXPECT_TRUE(second.HandedOff);
    EXPECT_EQ("", Handed());
    TStartup third;
    Prepare(third);
    Run(third, "", "/");
    EXPECT_TRUE(third.HandedOff);
    EXPECT_EQ("", Handed());
}

TEST_F(HandOff, ANameThatDoesNotFitTheBlockIsNotHandedOver) {
    // Build a folder deep enough that a file name in it is 4095 bytes long: with its zero byte it
    // fills the block exactly. A name one byte longer only exists relative to its folder.
    std::string folder = dir.path();
    while (folder.size() < 4095 - 250)
        folder += "/" + std::string(200, 'd');
    platform::ForceFolders(folder + "/");
    ASSERT_TRUE(platform::FolderExists(folder));
    const std::string fitsName(4095 - folder.size() - 1, 'a');
    const std::string longName(fitsName.size() + 1, 'b');
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folderFd, 0);
    for (const std::string& name : {fitsName, longName}) {
        const int fd = openat(folderFd, name.c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        close(fd);
    }
    close(folderFd);

    const std::string fits = folder + "/" + fitsName;
    ASSERT_EQ(4095u, fits.size());
    Run(fits);
    EXPECT_EQ(fits, Handed());
    TStartup third;
    Prepare(third);
    Run(third, longName, folder);
    EXPECT_TRUE(third.HandedOff);
    EXPECT_EQ("", Handed());
    EXPECT_TRUE(errors.empty());
}

TEST_F(HandOff, TheRunningInstanceIsToldAndAnswers) {
    dir.write("art.nfo", "x");
    Run(dir.path() + "/art.nfo");
    EXPECT_TRUE(second.HandedOff);
    // The answer comes first; the message reaches the window right after it.
    QDeadlineTimer deadline(10000);
    while (firstWindow->told == 0 && !deadline.hasExpired())
        QThread::msleep(5);
    EXPECT_EQ(1, firstWindow->told);
    EXPECT_EQ(dir.path() + "/art.nfo", Handed());
}

TEST_F(HandOff, WithOneInstanceOffTheSecondStartsNormally) {
    second.OneInstance = false;
    dir.write("art.nfo", "x");
    Run(dir.path() + "/art.nfo");
    EXPECT_FALSE(second.HandedOff);
    EXPECT_NE(nullptr, second.Config);
}

TEST_F(HandOff, TheFirstInstanceNeverHandsOff) {
    firstInstance.reset();
    Run("");
    EXPECT_FALSE(second.HandedOff);
}

TEST_F(HandOff, AnUnmappedBlockReportsTheErrorAndStartsNormally) {
    second.SharedMem->CloseMapping();
    Run("");
    EXPECT_FALSE(second.HandedOff);
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ("Internal Error #1, please report!", errors[0]);
}

TEST(SharedMem, RefusesWithoutNameOrSize) {
    TSharedMem block;
    EXPECT_FALSE(block.CreateMapping());
    block.Name = "X";
    EXPECT_FALSE(block.OpenMapping());
    EXPECT_TRUE(block.CloseMapping()); // nothing to close is no failure
}
