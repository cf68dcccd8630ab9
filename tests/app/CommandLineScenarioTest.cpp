// The built program on a virtual X server, started from the command line with a file that does not
// exist: its window comes up untitled and a box over it says that the file could not be opened and
// why; the box goes with Enter and the window stays.
#include "support/ProgramUnderX.h"

namespace {

using zandor::test::ProgramUnderX;

using CommandLineScenario = ProgramUnderX;

TEST_F(CommandLineScenario, AMissingFileIsReportedAndTheWindowStartsUntitled) {
    const std::string missing = dir.file("docs/gone.nfo");
    program.setProcessEnvironment(Environment());
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(ZANDOR_BINARY_DIR_BUILT "/zandor"), {QString::fromStdString(missing)});
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(WaitForTrace("window shown: Zandor")) << "the window did not start untitled";
    ASSERT_TRUE(WaitForTrace("error box: The file could not be opened. \"" + missing +
                             "\": No such file or directory."));
    const auto visible = [&](const char* name) {
        return QString::fromStdString(
                   Tool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                    QStringLiteral("--name"), QString::fromLatin1(name)}))
            .section(QLatin1Char('\n'), 0, 0);
    };
    // The box is a window of its own on the screen, as the user sees it.
    QString box;
    QDeadlineTimer deadline(15000);
    while ((box = visible("^Error$")).isEmpty() && !deadline.hasExpired())
        QThread::msleep(50);
    ASSERT_FALSE(box.isEmpty()) << "no box on the screen";
    window = visible("^Zandor$");
    ASSERT_FALSE(window.isEmpty()) << "no untitled window on the screen";

    Tool(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), box});
    Keys({QStringLiteral("Return")});
    while (!visible("^Error$").isEmpty() && !deadline.hasExpired())
        QThread::msleep(50);
    EXPECT_TRUE(visible("^Error$").isEmpty()) << "Enter did not close the box";
    EXPECT_EQ(QProcess::Running, program.state());
    EXPECT_EQ("Zandor", WindowName());
}

} // namespace
