// The command line: what its first arguments ask for, the built program's answers to help and
// version, and a file named there that does not exist, which the window reports and then starts
// without.
#include "WindowFixture.h"

#include "app/CommandLine.h"
#include "periphery/ProgramVersion.h"

#include <QProcess>

using namespace zandor;
using zandor::test::WindowFixture;

namespace {

struct ParseRow {
    const char* Name;
    std::vector<std::string> Args;
    TCommandLineAction Action;
};

void PrintTo(const ParseRow& row, std::ostream* os) {
    *os << row.Name;
}

class CommandLineParse : public ::testing::TestWithParam<ParseRow> {};

TEST_P(CommandLineParse, TheFirstArgumentDecidesWhatRuns) {
    const TCommandLine line = ParseCommandLine(GetParam().Args);
    EXPECT_EQ(GetParam().Action, line.Action) << line.Error;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandLineParse,
    ::testing::Values(ParseRow{"ShortHelp", {"-h"}, TCommandLineAction::Help},
                      ParseRow{"ShortVersion", {"-v"}, TCommandLineAction::Version},
                      ParseRow{"LongHelp", {"--help"}, TCommandLineAction::Help},
                      ParseRow{"LongVersion", {"--version"}, TCommandLineAction::Version},
                      ParseRow{"AFile", {"art.nfo"}, TCommandLineAction::OpenWindow},
                      ParseRow{"AFileNamedLikeAShortOption", {"./-h"}, TCommandLineAction::OpenWindow},
                      ParseRow{"AnotherDashedName", {"-x.txt"}, TCommandLineAction::OpenWindow},
                      ParseRow{"AnUnknownLongOption", {"--hlep"}, TCommandLineAction::Error}),
    [](const auto& info) { return std::string(info.param.Name); });

// The built program, as a user runs it from a terminal: no window, the answer on standard output.
TEST(CommandLineProgram, ShortAndLongFormsOfHelpAndVersionAnswerAlike) {
    const QString program = QStringLiteral(ZANDOR_BINARY_DIR_BUILT "/zandor");
    const auto run = [&](const QString& arg) {
        QProcess zandor;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        zandor.setProcessEnvironment(env);
        zandor.start(program, {arg});
        EXPECT_TRUE(zandor.waitForFinished(30000)) << arg.toStdString();
        EXPECT_EQ(0, zandor.exitCode()) << arg.toStdString();
        return zandor.readAllStandardOutput().toStdString();
    };
    const std::string help = run("-h");
    EXPECT_EQ(0u, help.rfind("Usage: zandor [FILE]\n", 0)) << help;
    EXPECT_EQ(help, run("--help"));
    const std::string version = run("-v");
    EXPECT_EQ("Zandor " + ProgramVersion() + "\n", version);
    EXPECT_EQ(version, run("--version"));
}

using MissingFile = WindowFixture;

TEST_F(MissingFile, NamedOnTheCommandLineIsReportedAndTheWindowStartsUntitled) {
    const std::string missing = dir.file("docs/gone.nfo");
    auto w = Create(missing);
    ASSERT_TRUE(ProcessUntil([&] { return !errors.empty(); })) << "nothing was said";
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ("Error\nThe file could not be opened.\n\n\"" + missing + "\": No such file or directory.",
              errors[0]);
    EXPECT_EQ("", w->CurrentFile);
    EXPECT_EQ("Zandor", w->windowTitle().toStdString());
    EXPECT_TRUE(w->Settings.RecentFiles.empty()) << "a name that holds no file is not offered again";
}

} // namespace
