// Starts the built program twice as real processes and watches both through their trace files.
#include "platform/FileSystem.h"
#include "support/TestSupport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/stat.h>

using zandor::test::ScratchDir;

namespace {

std::string BuiltProgram() {
    if (const char* dir = std::getenv("ZANDOR_BINARY_DIR"))
        return std::string(dir) + "/zandor";
    return zandor::platform::ExecutableFolder() + "../zandor";
}

class TwoInstances : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string program = dir.file("bin/zandor");
    std::vector<std::unique_ptr<QProcess>> processes;

    void SetUp() override {
        if (!zandor::platform::FileExists(BuiltProgram()))
            GTEST_SKIP() << "the program is not built beside the tests";
        dir.write("bin/usb.dat", "");
        ASSERT_TRUE(QFile::copy(QString::fromStdString(BuiltProgram()), QString::fromStdString(program)));
        chmod(program.c_str(), 0755);
        // The program does not start without its English texts beside it.
        const std::string folder = BuiltProgram().substr(0, BuiltProgram().rfind('/') + 1);
        const QByteArray english = zandor::test::readFile(folder + "languages/English.vlf");
        ASSERT_FALSE(english.isEmpty()) << "no languages folder beside " << BuiltProgram();
        dir.write("bin/languages/English.vlf", english);
        dir.write("run/.keep", "");
        chmod(dir.file("run").c_str(), 0700);
        dir.write("docs/art.nfo", "art");
    }

    void TearDown() override {
        for (auto& p : processes) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    void Settings(bool oneInstance) {
        dir.write("bin/Zandor.ini",
                  oneInstance ? "[Options]\nOneInstance=1\n" : "[Options]\nOneInstance=0\n");
    }

    QProcess* Start(const QStringList& args) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.file("run")));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
        env.insert("ZANDOR_TRACE", QString::fromStdString(dir.file("trace.log")));
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        p->setProcessEnvironment(env);
        p->setWorkingDirectory(QString::fromStdString(dir.file("docs")));
        p->setProcessChannelMode(QProcess::ForwardedChannels);
        p->start(QString::fromStdString(program), args);
        EXPECT_TRUE(p->waitForStarted(10000));
        processes.push_back(std::move(p));
        return processes.back().get();
    }

    // Trace lines of one process (each line starts with its process id).
    std::vector<std::string> Lines(const QProcess* p) {
        std::vector<std::string> lines;
        const std::string prefix = std::to_string(p->processId()) + " ";
        for (const QByteArray& line : zandor::test::readFile(dir.file("trace.log")).split('\n')) {
            if (line.startsWith(QByteArray::fromStdString(prefix)))
                lines.push_back(line.mid(static_cast<qsizetype>(prefix.size())).toStdString());
        }
        return lines;
    }

    bool HasLine(const QProcess* p, const std::string& line) {
        for (const auto& l : Lines(p))
            if (l == line)
                return true;
        return false;
    }

    bool HasLineStarting(const QProcess* p, const std::string& start) {
        for (const auto& l : Lines(p))
            if (l.rfind(start, 0) == 0)
                return true;
        return false;
    }

    // Waits for a condition that another process brings about.
    template <typename Condition> bool WaitFor(Condition condition, int ms = 20000) {
        QDeadlineTimer deadline(ms);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(20);
        }
        return true;
    }
};

} // namespace

TEST_F(TwoInstances, WithOneInstanceTheSecondHandsItsFileToTheFirstAndEnds) {
    Settings(true);
    QProcess* first = Start({});
    ASSERT_TRUE(WaitFor([&] { return HasLineStarting(first, "window shown"); }));
    QProcess* second = Start({"art.nfo"});
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(QProcess::NormalExit, second->exitStatus());
    EXPECT_EQ(0, second->exitCode());
    EXPECT_FALSE(HasLineStarting(second, "window shown"));
    const std::string absolute = dir.file("docs/art.nfo");
    EXPECT_TRUE(WaitFor([&] { return HasLine(first, "caption: Zandor - " + absolute); }));
    EXPECT_EQ(QProcess::Running, first->state());
}

// A running window that is busy (stopped here, as a long Replace All holds its events back) takes
// the file when it gets to it, however late; the second start waits for that and opens no window.
TEST_F(TwoInstances, ABusyFirstWindowTakesTheFileLateAndTheSecondOpensNoWindow) {
    Settings(true);
    QProcess* first = Start({});
    ASSERT_TRUE(WaitFor([&] { return HasLineStarting(first, "window shown"); }));
    ASSERT_EQ(0, ::kill(static_cast<pid_t>(first->processId()), SIGSTOP));
    QProcess* second = Start({"art.nfo"});
    // The window stays busy until the start has waited past its first silence (or has given up and
    // opened a window of its own).
    const bool waited = WaitFor([&] {
        return HasLine(second, "hand-off waits for a busy window") || HasLineStarting(second, "window shown");
    });
    ASSERT_EQ(0, ::kill(static_cast<pid_t>(first->processId()), SIGCONT));
    ASSERT_TRUE(waited);
    EXPECT_TRUE(WaitFor([&] { return HasLine(first, "caption: Zandor - " + dir.file("docs/art.nfo")); }));
    ASSERT_TRUE(second->waitForFinished(20000)) << "the second start opened its own window too";
    EXPECT_EQ(0, second->exitCode());
    EXPECT_FALSE(HasLineStarting(second, "window shown"));
}

TEST_F(TwoInstances, WithoutAnArgumentTheFirstOpensNothing) {
    Settings(true);
    QProcess* first = Start({});
    ASSERT_TRUE(WaitFor([&] { return HasLineStarting(first, "window shown"); }));
    QProcess* second = Start({});
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(0, second->exitCode());
    EXPECT_TRUE(WaitFor([&] { return HasLine(first, "hand-off received: "); }));
    EXPECT_FALSE(HasLineStarting(first, "caption: Zandor - "));
}

TEST_F(TwoInstances, WithOneInstanceOffBothKeepRunning) {
    Settings(false);
    QProcess* first = Start({});
    ASSERT_TRUE(WaitFor([&] { return HasLineStarting(first, "window shown"); }));
    QProcess* second = Start({"art.nfo"});
    EXPECT_TRUE(
        WaitFor([&] { return HasLine(second, "window shown: Zandor - " + dir.file("docs/art.nfo")); }));
    EXPECT_EQ(QProcess::Running, first->state());
    EXPECT_EQ(QProcess::Running, second->state());
    EXPECT_FALSE(HasLineStarting(first, "hand-off received"));
}

// Instances that started while OneInstance was off do not listen while the first one does. When the
// listening one goes, a later start must still reach a window: a remaining instance takes over the
// channel, and when nobody answers at all the start opens its own window.
TEST_F(TwoInstances, AStartReachesAWindowAfterTheListeningInstanceHasGone) {
    Settings(false);
    QProcess* first = Start({});
    ASSERT_TRUE(WaitFor([&] { return HasLineStarting(first, "window shown"); }));
    QProcess* second = Start({});
    ASSERT_TRUE(WaitFor([&] { return HasLineStarting(second, "window shown"); }));
    Settings(true);
    const std::string socket = dir.file("run/zandor/ZandorNewFile");
    ASSERT_TRUE(QFile::exists(QString::fromStdString(socket)));

    // The first window closes: its socket goes with it, and the second takes the channel over.
    first->kill();
    first->waitForFinished(5000);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(socket)));
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(QString::fromStdString(socket)); }));
    QProcess* third = Start({"art.nfo"});
    ASSERT_TRUE(third->waitForFinished(10000));
    EXPECT_EQ(0, third->exitCode());
    EXPECT_TRUE(WaitFor([&] { return HasLine(second, "caption: Zandor - " + dir.file("docs/art.nfo")); }));

    // The second dies without closing its socket: nobody answers, so the next start opens its own
    // window with its file.
    second->kill();
    second->waitForFinished(5000);
    QProcess* fourth = Start({"art.nfo"});
    EXPECT_TRUE(
        WaitFor([&] { return HasLine(fourth, "window shown: Zandor - " + dir.file("docs/art.nfo")); }));
    EXPECT_EQ(QProcess::Running, fourth->state());
}
