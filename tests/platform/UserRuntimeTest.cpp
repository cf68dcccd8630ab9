#include "platform/UserRuntime.h"
#include "platform/NewFileChannel.h"

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace zandor::platform;
using zandor::test::EnvGuard;
using zandor::test::ScratchDir;

namespace {

// A private runtime folder for one test, as a login session would provide.
struct RuntimeFixture : ::testing::Test {
    ScratchDir dir;
    EnvGuard runtime{"XDG_RUNTIME_DIR", dir.path()};
    void SetUp() override { ASSERT_EQ(0, chmod(dir.path().c_str(), 0700)); }
};

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_mode & 0777;
}

} // namespace

using UserRuntime = RuntimeFixture;

TEST_F(UserRuntime, FolderIsPrivateToTheUser) {
    const std::string folder = UserRuntimeFolder();
    EXPECT_EQ(dir.path() + "/zandor", folder);
    EXPECT_EQ(0700u, ModeOf(folder));
}

TEST_F(UserRuntime, AWorldReadableSessionFolderIsNotUsed) {
    ASSERT_EQ(0, chmod(dir.path().c_str(), 0755));
    const std::string folder = UserRuntimeFolder();
    EXPECT_NE(dir.path() + "/zandor", folder);
    if (!folder.empty()) {
        EXPECT_EQ(0700u, ModeOf(folder));
    }
}

TEST_F(UserRuntime, InstanceLockTellsTheFirstHolderFromLaterOnes) {
    InstanceLock first;
    ASSERT_TRUE(first.Acquire("Zandor"));
    EXPECT_FALSE(first.AlreadyExisted());
    {
        InstanceLock second;
        ASSERT_TRUE(second.Acquire("Zandor"));
        EXPECT_TRUE(second.AlreadyExisted());
        InstanceLock third;
        ASSERT_TRUE(third.Acquire("Zandor"));
        EXPECT_TRUE(third.AlreadyExisted());
    }
    EXPECT_EQ(0600u, ModeOf(dir.path() + "/zandor/Zandor.lock"));
}

TEST_F(UserRuntime, InstanceLockIsFreeAgainWhenTheHolderGoes) {
    {
        InstanceLock first;
        ASSERT_TRUE(first.Acquire("Zandor"));
    }
    InstanceLock next;
    ASSERT_TRUE(next.Acquire("Zandor"));
    EXPECT_FALSE(next.AlreadyExisted());
}

// The first start's exclusive hold becomes a shared one in two steps, so for a moment it holds
// nothing. A start that comes in that moment must wait for the deciding one, not call itself first.
TEST_F(UserRuntime, AStartWaitsForOneThatIsStillDecidingAndComesSecond) {
    auto deciding = std::make_unique<RuntimeTurn>("Race"); // a start between its two steps
    ASSERT_TRUE(deciding->Held());
    std::atomic<bool> decided = false;
    InstanceLock second;
    std::thread start([&] {
        second.Acquire("Race");
        decided = true;
    });
    QDeadlineTimer deadline(300);
    while (!decided && !deadline.hasExpired())
        QThread::msleep(5);
    EXPECT_FALSE(decided) << "decided while another start was still deciding";
    // The deciding start ends its turn holding the lock shared, as every running instance does.
    const int held = open(RuntimeObjectPath("Race.lock").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(0, flock(held, LOCK_SH));
    deciding.reset();
    start.join();
    EXPECT_TRUE(second.AlreadyExisted());
    close(held);
}

TEST_F(UserRuntime, SharedBlockIsSeenByEveryMapping) {
    const SharedHandle created = CreateSharedBlock("Block", 4096);
    ASSERT_GE(created.Fd, 0);
    EXPECT_FALSE(created.Existed);
    EXPECT_EQ(0600u, ModeOf(dir.path() + "/zandor/Block"));
    auto* writer = static_cast<char*>(MapSharedBlock(created.Fd, 4096, true));
    ASSERT_NE(nullptr, writer);
    std::strcpy(writer, "/home/u/art.nfo");

    const SharedHandle again = CreateSharedBlock("Block", 4096);
    EXPECT_TRUE(again.Existed);
    const int reader = OpenSharedBlock("Block", 4096);
    ASSERT_GE(reader, 0);
    auto* view = static_cast<const char*>(MapSharedBlock(reader, 4096, false));
    ASSERT_NE(nullptr, view);
    EXPECT_STREQ("/home/u/art.nfo", view);
    writer[4095] = 'x'; // the whole block is writable

    EXPECT_TRUE(UnmapSharedBlock(const_cast<char*>(view), 4096));
    EXPECT_TRUE(UnmapSharedBlock(writer, 4096));
    EXPECT_TRUE(CloseSharedHandle(reader));
    EXPECT_TRUE(CloseSharedHandle(again.Fd));
    EXPECT_TRUE(CloseSharedHandle(created.Fd));
}

TEST_F(UserRuntime, OpeningAMissingBlockFails) {
    EXPECT_LT(OpenSharedBlock("Nothing", 4096), 0);
}

TEST_F(UserRuntime, ABlockPlantedWithLooseModeIsRefused) {
    const std::string folder = UserRuntimeFolder();
    FILE* f = std::fopen((folder + "/Planted").c_str(), "w");
    ASSERT_NE(nullptr, f);
    std::fputs("/etc/passwd", f);
    std::fclose(f);
    ASSERT_EQ(0, chmod((folder + "/Planted").c_str(), 0666));
    EXPECT_LT(CreateSharedBlock("Planted", 4096).Fd, 0);
    EXPECT_LT(OpenSharedBlock("Planted", 4096), 0);
}

TEST_F(UserRuntime, NewFileMessageReachesTheListenerAndIsAnswered) {
    int received = 0;
    NewFileListener listener({}, [&](const std::string&) { ++received; });
    ASSERT_TRUE(listener.Listen("ZandorNewFile"));
    EXPECT_EQ(0700u, ModeOf(dir.path() + "/zandor") & 0777u);

    // The sender blocks until answered, so it runs beside the event loop that answers it.
    bool answered = false;
    std::thread sender([&] { answered = SendNewFileMessage("ZandorNewFile", 5000); });
    QDeadlineTimer deadline(10000);
    while (received == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    sender.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(1, received);
}

// A request is decided by its sender alone: one that gave up while the window was busy is dropped
// when the window gets to it, and one whose sender waits is taken however late, each exactly once
// and with the name read when it came.
TEST_F(UserRuntime, AWithdrawnRequestIsDroppedAndAWaitingOneIsTakenOnce) {
    std::vector<std::string> claims = {"withdrawn.nfo", "waited.nfo"};
    std::vector<std::string> taken;
    NewFileListener listener(
        [&] {
            const std::string name = claims.front();
            claims.erase(claims.begin());
            return name;
        },
        [&](const std::string& name) { taken.push_back(name); });
    ASSERT_TRUE(listener.Listen("ZandorNewFile"));

    // This thread runs no events meanwhile, as a window in a long Replace All does not.
    bool gaveUpAnswered = true;
    std::thread impatient([&] { gaveUpAnswered = SendNewFileMessage("ZandorNewFile", 300); });
    impatient.join();
    EXPECT_FALSE(gaveUpAnswered);
    QDeadlineTimer late(20000);
    while (claims.size() == 2 && !late.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(1u, claims.size()) << "the window got to the withdrawn request";

    std::atomic<bool> done = false;
    bool waitedAnswered = false;
    std::thread patient([&] {
        waitedAnswered = SendNewFileMessage("ZandorNewFile", 60000);
        done = true;
    });
    QDeadlineTimer deadline(20000);
    while ((!done || taken.empty()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    patient.join();
    EXPECT_TRUE(waitedAnswered);
    EXPECT_EQ(std::vector<std::string>({"waited.nfo"}), taken);
    EXPECT_TRUE(claims.empty()) << "each request is claimed when it comes";
}

TEST_F(UserRuntime, SendingWithoutAListenerGoesNowhere) {
    EXPECT_FALSE(SendNewFileMessage("ZandorNewFile", 500));
}

TEST_F(UserRuntime, ASecondListenerLeavesTheLiveOneInCharge) {
    NewFileListener first({}, {});
    ASSERT_TRUE(first.Listen("ZandorNewFile"));
    // The kernel queues the probe's connection for the live listener, so no event loop is needed.
    NewFileListener other({}, {});
    EXPECT_FALSE(other.Listen("ZandorNewFile"));
    EXPECT_TRUE(first.IsListening());
}

TEST_F(UserRuntime, AListenerReplacesTheSocketOfAnInstanceThatDied) {
    {
        NewFileListener dead({}, {});
        ASSERT_TRUE(dead.Listen("ZandorNewFile"));
    }
    // Leave a stale socket file behind, as a crashed instance would.
    FILE* f = std::fopen((dir.path() + "/zandor/ZandorNewFile").c_str(), "w");
    if (f)
        std::fclose(f);
    NewFileListener next({}, {});
    EXPECT_TRUE(next.Listen("ZandorNewFile"));
}
