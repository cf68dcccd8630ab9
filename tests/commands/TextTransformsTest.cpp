// The text commands' rewrites as pure functions: golden files for every command over texts of our
// own (letters of the Western code page, OEM art bytes, runs of blanks, UTF-8 with characters the
// code page lacks), UTF-8 that is refused whole, and the round trip through UTF-8 over random texts.
#include "commands/TextTransforms.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <string>

namespace zandor::test {
namespace {

std::string FixturesFolder() {
    return std::string(ZANDOR_SOURCE_DIR_BUILT) + "/tests/fixtures/commands/";
}

// Every golden output is named <case>.<command>.out beside its <case>.in.
std::vector<std::string> GoldenOutputs() {
    std::vector<std::string> names;
    const QDir folder(QString::fromStdString(FixturesFolder()));
    for (const QString& file : folder.entryList({QStringLiteral("*.out")}, QDir::Files, QDir::Name))
        names.push_back(file.chopped(4).toStdString());
    return names;
}

std::string FromUtf8OrProblem(std::string_view text) {
    const TUtf8Decoding decoding = Utf8ToCharset(text);
    return decoding.Ok() ? decoding.Text : "refused";
}

const std::map<std::string, std::function<std::string(std::string_view)>> kCommands = {
    {"lower", LowercasedText},
    {"upper", UppercasedText},
    {"capitalize", CapitalizedText},
    {"join", JoinedLines},
    {"toutf8", [](std::string_view t) { return CharsetToUtf8(t); }},
    {"fromutf8", FromUtf8OrProblem},
};

class GoldenTransform : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenTransform, GivesTheGoldenBytes) {
    const std::string name = GetParam();
    const size_t dot = name.rfind('.');
    const std::string input = readFile(FixturesFolder() + name.substr(0, dot) + ".in").toStdString();
    const std::string expected = readFile(FixturesFolder() + name + ".out").toStdString();
    ASSERT_FALSE(input.empty());
    const auto command = kCommands.find(name.substr(dot + 1));
    ASSERT_NE(command, kCommands.end()) << name;
    EXPECT_EQ(expected, command->second(input));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, GoldenTransform, ::testing::ValuesIn(GoldenOutputs()),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

struct Refusal {
    const char* Name;
    std::string Bytes;
    TUtf8Decoding::TStatus Status;
    size_t Offset;
};

class RefusedUtf8 : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedUtf8, IsNotConvertedInPart) {
    const TUtf8Decoding decoding = Utf8ToCharset(GetParam().Bytes);
    EXPECT_EQ(GetParam().Status, decoding.Status);
    EXPECT_EQ(GetParam().Offset, decoding.ErrorOffset);
    EXPECT_EQ("", decoding.Text) << "nothing half-converted";
}

using S = TUtf8Decoding::TStatus;
INSTANTIATE_TEST_SUITE_P(Rows, RefusedUtf8,
                         ::testing::Values(Refusal{"CutAfterLead", "caf\xC3", S::CutOff, 3},
                                           Refusal{"CutInsideThreeBytes", "x\xE2\x82", S::CutOff, 1},
                                           Refusal{"LoneContinuation",
                                                   "ab\x80"
                                                   "cd",
                                                   S::Invalid, 2},
                                           Refusal{"LeadBeforeAscii", "\xC3(x", S::Invalid, 0},
                                           Refusal{"Overlong", "a\xC0\xAF", S::Invalid, 1},
                                           Refusal{"OverlongThreeBytes", "\xE0\x80\xAF", S::Invalid, 0},
                                           Refusal{"SurrogateHalf", "\xED\xA0\x80", S::Invalid, 0},
                                           Refusal{"BeyondLastCodePoint", "\xF4\x90\x80\x80", S::Invalid, 0},
                                           // What the end cuts off could never have been a character.
                                           Refusal{"OverlongCutOff", "\xE0\x80", S::Invalid, 0},
                                           Refusal{"SurrogateHalfCutOff", "x\xED\xA0", S::Invalid, 1},
                                           Refusal{"OemArtIsNoUtf8", "\xC9\xCD\xBB", S::Invalid, 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(TextTransforms, CharsetToUtf8AndBackRestoresAnyTextOfTheCodePage) {
    std::mt19937 rng(19);
    for (int round = 0; round < 500; ++round) {
        // Every byte but zero, which the editor never holds, in either character set.
        std::string text(rng() % 200, '\0');
        for (char& c : text)
            c = static_cast<char>(1 + rng() % 255);
        const int charset = round % 2 ? platform::OemCharset : platform::AnsiCodePage;
        const std::string utf8 = CharsetToUtf8(text, charset);
        const TUtf8Decoding back = Utf8ToCharset(utf8, charset);
        ASSERT_TRUE(back.Ok()) << round;
        ASSERT_EQ(text, back.Text) << round;
        // Letter case keeps the length and is settled after one pass.
        ASSERT_EQ(text.size(), LowercasedText(text).size());
        ASSERT_EQ(UppercasedText(text), UppercasedText(UppercasedText(text)));
    }
}

TEST(TextTransforms, ArtInTheScreenFontsCharacterSetConvertsToItsBoxCharacters) {
    EXPECT_EQ("\xE2\x95\x94\xE2\x95\x90\xE2\x96\x88 \xC3\xA9",
              CharsetToUtf8("\xC9\xCD\xDB \x82", platform::OemCharset));
    const TUtf8Decoding art =
        Utf8ToCharset("\xE2\x95\x94\xE2\x95\x90\xE2\x96\x88 \xC3\xA9", platform::OemCharset);
    ASSERT_TRUE(art.Ok());
    EXPECT_EQ("\xC9\xCD\xDB \x82", art.Text);
    // The ANSI code page has none of them.
    EXPECT_EQ("??? \xE9", Utf8ToCharset("\xE2\x95\x94\xE2\x95\x90\xE2\x96\x88 \xC3\xA9").Text);
}

TEST(TextTransforms, TrimmingTakesEveryCodeUpToBlankAtBothEnds) {
    EXPECT_EQ("abc", TrimmedText("  abc  \r\n"));
    EXPECT_EQ("x \r\n\x7F", TrimmedText("\x01\t x \r\n\x7F "));
    EXPECT_EQ("", TrimmedText(" \t\r\n"));
}

} // namespace
} // namespace zandor::test
