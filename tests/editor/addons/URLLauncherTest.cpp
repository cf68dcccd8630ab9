// What a clicked address turns into before the desktop sees it: hostile texts reach the opener as
// one address and never a command, and local programs and launchers are asked about first.
#include "editor/addons/URLLauncher.h"

#include "platform/ExternalOpener.h"
#include "support/OpenerLog.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace zandor {
namespace {

std::string MakeFile(const test::ScratchDir& dir, const std::string& name, bool executable) {
    const std::string path = dir.write(name, "#!/bin/sh\ntouch \"$0.ran\"\n");
    ::chmod(path.c_str(), executable ? 0755 : 0644);
    return path;
}

struct Asked {
    std::vector<QString> Questions;
    bool Answer = false;
    TURLLauncher Launcher() {
        TURLLauncher launcher;
        launcher.Confirm = [this](const QString& shown) {
            Questions.push_back(shown);
            return Answer;
        };
        return launcher;
    }
};

TEST(URLLauncher, HostileTextsReachTheOpenerAsOneWebAddress) {
    const std::vector<std::string> hostile = {
        "http://x.org/$(touch /tmp/zandor-pwned)",
        "http://x.org/`id`;rm -rf ~",
        "www.x.org;xterm&",
        "www.x.org\"$(reboot)\"",
        "http://x.org/a|sh",
        "mailto:a@b.org?subject=$(id)&body=`id`",
        "news:comp.lang';touch /tmp/zandor-pwned;'",
        "https://x.org/%24(id)\\n\r\nxterm",
    };
    test::OpenerLog log;
    Asked asked;
    const TURLLauncher launcher = asked.Launcher();

    int opened = 0;
    for (const std::string& text : hostile) {
        log.Opened.clear();
        const bool launched = launcher.Launch(text);
        // Opened as one address of the kind it claims to be, or not at all.
        ASSERT_EQ(log.Opened.size(), launched ? 1u : 0u) << text;
        opened += launched;
        if (launched) {
            EXPECT_TRUE(QStringList({"http", "https", "mailto", "news"}).contains(log.Opened[0].scheme()))
                << text;
        }
    }
    EXPECT_GE(opened, 6);
    EXPECT_TRUE(asked.Questions.empty());
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/zandor-pwned")));
}

// An address that begins with a host name is not read as a scheme when a port follows the name:
// it opens as a web, file or gopher address at once, as the highlighter styled it.
TEST(URLLauncher, HostNamesWithAPortOpenWithTheirSchemeWithoutAQuestion) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"www.port.example.org:8080/index.html", "http://www.port.example.org:8080/index.html"},
        {"WWW.Example.ORG:80", "http://www.example.org:80"},
        {"www.example.org:8080", "http://www.example.org:8080"},
        {"ftp.example.org:21/pub/file.zip", "ftp://ftp.example.org:21/pub/file.zip"},
        {"FTP.example.org:2121", "ftp://ftp.example.org:2121"},
        {"gopher.example.org:70/1/", "gopher://gopher.example.org:70/1/"},
        {"www.example.org/a:b", "http://www.example.org/a:b"},
    };
    test::OpenerLog log;
    Asked asked;
    const TURLLauncher launcher = asked.Launcher();
    for (const auto& [text, expected] : rows) {
        log.Opened.clear();
        EXPECT_TRUE(launcher.Launch(text)) << text;
        ASSERT_EQ(log.Opened.size(), 1u) << text;
        EXPECT_EQ(log.Opened[0], QUrl(QString::fromStdString(expected))) << text;
    }
    EXPECT_TRUE(asked.Questions.empty());
}

TEST(URLLauncher, LocalProgramsAndLaunchersAreAskedAboutFirst) {
    test::ScratchDir dir;
    const std::string script = MakeFile(dir, "run.sh", true);
    const std::string launcherFile = MakeFile(dir, "evil.desktop", false);
    const std::string windowsProgram = MakeFile(dir, "setup.EXE", false);
    const std::string document = MakeFile(dir, "notes.txt", false);
    struct Row {
        std::string Text;
        bool Asks;
    };
    const std::vector<Row> rows = {
        {"file://" + script, true},
        {"FILE://" + launcherFile, true},
        {"file://" + windowsProgram, true},
        {script, true}, // no scheme: an existing local file
        {"file:///bin/sh", true},
        {"file://server/share/x.exe", true},
        {"javascript:alert(1)", true},
        {"apt:xterm", true},
        {"file://" + document, false},
        {"file://" + dir.path(), false},
        {document, false},
        {"file://" + dir.file("missing.sh"), false},
    };
    test::OpenerLog log;
    for (const Row& row : rows) {
        Asked declined;
        log.Opened.clear();
        EXPECT_EQ(declined.Launcher().Launch(row.Text), !row.Asks) << row.Text;
        EXPECT_EQ(declined.Questions.size(), row.Asks ? 1u : 0u) << row.Text;
        EXPECT_EQ(log.Opened.size(), row.Asks ? 0u : 1u) << row.Text;

        Asked agreed{{}, true};
        log.Opened.clear();
        EXPECT_TRUE(agreed.Launcher().Launch(row.Text)) << row.Text;
        ASSERT_EQ(log.Opened.size(), 1u) << row.Text;
        EXPECT_EQ(agreed.Questions.size(), row.Asks ? 1u : 0u);
    }
    // A launcher without a question never starts a program.
    log.Opened.clear();
    EXPECT_FALSE(TURLLauncher().Launch("file://" + script));
    EXPECT_TRUE(log.Opened.empty());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(script + ".ran")));
}

// The desktop's own opener, with the browser replaced by a script that writes down the arguments
// it was started with: the address is one argument, and nothing in it was run.
TEST(URLLauncher, TheDesktopGetsTheAddressAsOneArgument) {
    test::ScratchDir dir;
    const std::string record = dir.file("args");
    const std::string browser = dir.write(
        "browser", QByteArray("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > ") +
                       record.c_str() + ".tmp\nmv " + record.c_str() + ".tmp " + record.c_str() + "\n");
    ::chmod(browser.c_str(), 0755);
    test::EnvGuard env("BROWSER", browser);
    test::EnvGuard env2("DEFAULT_BROWSER", browser);
    const std::string pwned = dir.file("pwned");
    const std::string text = "http://x.org/$(touch " + pwned + ");touch " + pwned + "`touch " + pwned + "`";
    TURLLauncher launcher;
    if (!launcher.Launch(text))
        GTEST_SKIP() << "this platform offers no desktop opener";
    QFile file(QString::fromStdString(record));
    for (int i = 0; i < 500 && !file.exists(); ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the browser stand-in was not started";
    const QList<QByteArray> args = file.readAll().split('\n');
    ASSERT_GE(args.size(), 1);
    EXPECT_EQ(QUrl::fromEncoded(args[0]), TURLLauncher::Plan(text).Url);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(pwned)));
}

} // namespace
} // namespace zandor
