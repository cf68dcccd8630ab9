// The built program on a virtual X server of its own, driven by real input (xdotool) as a user
// would drive it, and followed through its trace points. A test skips when no X server can be
// started here; the X tools it needs are listed in packages.txt.
#pragma once

#include "support/TestSupport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zandor::test {

class ProgramUnderX : public ::testing::Test {
protected:
    ScratchDir dir;
    QProcess server;
    QString display;
    QProcess program;
    QString window;
    // Trace lines already matched: each wait looks only at what came after them.
    size_t consumed = 0;

    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            GTEST_SKIP() << "no X server can be started here: Xvfb is not installed";
        for (const char* tool : {"xdotool", "xclip"})
            ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                << tool << " is not installed (packages.txt lists it)";
        // The server picks a free display and writes its number once it accepts clients.
        server.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                      QStringLiteral("tcp")});
        if (!server.waitForStarted(10000))
            GTEST_SKIP() << "no X server can be started here: " << server.errorString().toStdString();
        QDeadlineTimer deadline(15000);
        while (!server.canReadLine() && server.state() == QProcess::Running && !deadline.hasExpired())
            server.waitForReadyRead(100);
        if (!server.canReadLine())
            GTEST_SKIP() << "no X server can be started here: Xvfb said "
                         << server.readAllStandardError().toStdString();
        display = QStringLiteral(":") + QString::fromLatin1(server.readLine().trimmed());
        dir.write("run/.keep", "");
        dir.write("config/.keep", "");
        QFile::setPermissions(QString::fromStdString(dir.file("run")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void TearDown() override {
        for (QProcess* p : {&program, &server}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(dir.file("run")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir.file("config")));
        env.insert(QStringLiteral("ZANDOR_TRACE"), QString::fromStdString(dir.file("trace.log")));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        return env;
    }

    // Runs an X tool to its end; its output.
    std::string Tool(const QString& name, const QStringList& args) {
        QProcess tool;
        tool.setProcessEnvironment(Environment());
        tool.start(name, args);
        EXPECT_TRUE(tool.waitForFinished(15000)) << name.toStdString() << " " << args.join(' ').toStdString();
        return tool.readAllStandardOutput().toStdString();
    }

    // The system clipboard's text as another program reads it (line breaks as LF), once it equals
    // `expected` (or whatever it holds when the wait ends).
    std::string Clipboard(const std::string& expected) {
        QDeadlineTimer deadline(10000);
        for (;;) {
            QByteArray text = QByteArray::fromStdString(
                Tool(QStringLiteral("xclip"),
                     {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")}));
            text.replace("\r\n", "\n");
            if (text.toStdString() == expected || deadline.hasExpired())
                return text.toStdString();
            QThread::msleep(50);
        }
    }

    void Keys(const QStringList& keys) {
        Tool(QStringLiteral("xdotool"),
             QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30")} + keys);
    }

    void Type(const QString& text) {
        Tool(QStringLiteral("xdotool"),
             {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
    }

    // A left click at a point of the window, in its own coordinates.
    void Click(int x, int y) {
        Tool(QStringLiteral("xdotool"),
             {QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(x),
              QString::number(y), QStringLiteral("click"), QStringLiteral("1")});
    }

    std::vector<std::string> TraceLines() {
        std::vector<std::string> lines;
        const QByteArray prefix = QByteArray::number(program.processId()) + ' ';
        for (const QByteArray& line : readFile(dir.file("trace.log")).split('\n'))
            if (line.startsWith(prefix))
                lines.push_back(line.mid(prefix.size()).toStdString());
        return lines;
    }

    // Waits for the next trace line that equals `expected`.
    bool WaitForTrace(const std::string& expected, int ms = 20000) {
        QDeadlineTimer deadline(ms);
        for (;;) {
            const std::vector<std::string> lines = TraceLines();
            for (size_t i = consumed; i < lines.size(); ++i) {
                if (lines[i] == expected) {
                    consumed = i + 1;
                    return true;
                }
            }
            if (deadline.hasExpired() || program.state() != QProcess::Running)
                return false;
            QThread::msleep(20);
        }
    }

    std::string WindowName() {
        std::string name = Tool(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window});
        while (!name.empty() && name.back() == '\n')
            name.pop_back();
        return name;
    }

    // Starts the program on a file and gives its window the keyboard and the mouse.
    void Start(const std::string& file) {
        program.setProcessEnvironment(Environment());
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(ZANDOR_BINARY_DIR_BUILT "/zandor"), {QString::fromStdString(file)});
        ASSERT_TRUE(program.waitForStarted(10000));
        ASSERT_TRUE(WaitForTrace("window shown: Zandor - " + file)) << "the window did not show the file";
        window = QString::fromStdString(Tool(QStringLiteral("xdotool"),
                                             {QStringLiteral("search"), QStringLiteral("--sync"),
                                              QStringLiteral("--name"), QStringLiteral("^Zandor - ")}))
                     .section(QLatin1Char('\n'), 0, 0);
        ASSERT_FALSE(window.isEmpty());
        Tool(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        Tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                                         QStringLiteral("300"), QStringLiteral("300")});
    }
};

} // namespace zandor::test
