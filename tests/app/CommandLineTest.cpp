// The command line: what its first argument asks for, and a file named there that does not exist,
// which the window reports and then starts without.
#include "WindowFixture.h"

#include "app/CommandLine.h"

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
