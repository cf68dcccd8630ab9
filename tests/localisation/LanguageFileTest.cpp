#include "localisation/LanguageFile.h"

#include "LanguageFixture.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace zandor {
namespace {

using test::LanguageFolder;

// The same three lines in every encoding a language file may have.
const QString kSample = QStringLiteral(">$0407\r\n>\u00C4pfel \u20AC\r\n>Stra\u00DFe");

QByteArray Encoded(const char* encoding) {
    const std::string name = encoding;
    if (name == "utf-16le")
        return QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(kSample);
    if (name == "utf-16be")
        return QByteArray("\xFE\xFF") + QStringEncoder(QStringConverter::Utf16BE).encode(kSample);
    if (name == "utf-8")
        return QByteArray("\xEF\xBB\xBF") + kSample.toUtf8();
    // Windows-1252 without a mark, written out by hand: C4 is A-umlaut, 80 the euro sign, DF sharp s.
    return QByteArray(">$0407\r\n>\xC4pfel \x80\r\n>Stra\xDF"
                      "e");
}

class EncodingTest : public ::testing::TestWithParam<const char*> {};

TEST_P(EncodingTest, FileInEveryEncodingGivesTheSameTexts) {
    LanguageFolder folder;
    folder.WriteBytes("English.vlf", Encoded(GetParam()));
    ASSERT_EQ(folder.localisation.LoadLanguage("English"), "English");
    EXPECT_EQ(folder.localisation.LanguageTexts(),
              (QStringList{QStringLiteral(">$0407"), QStringLiteral(">\u00C4pfel \u20AC"),
                           QStringLiteral(">Stra\u00DFe")}));
    // Shown in the ANSI code page: the euro sign is byte 0x80 there.
    EXPECT_EQ(folder.localisation.GetText(1, "x"), "\xC4pfel \x80");
    EXPECT_EQ(folder.localisation.GetText(2, "x"), "Stra\xDF"
                                                   "e");
    EXPECT_TRUE(folder.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Encodings, EncodingTest,
                         ::testing::Values("utf-16le", "utf-16be", "utf-8", "cp1252"));

TEST(DecodeLanguageFile, MarkOnlyAndOddBytesAreHandled) {
    EXPECT_EQ(DecodeLanguageFile(QByteArray("\xFF\xFE")), QString());
    EXPECT_EQ(DecodeLanguageFile(QByteArray("\xEF\xBB\xBF")), QString());
    EXPECT_EQ(DecodeLanguageFile(QByteArray()), QString());
    // Half a character at the end of a UTF-16 file is dropped, not read past.
    EXPECT_EQ(DecodeLanguageFile(QByteArray("\xFF\xFE"
                                            "a\0b",
                                            5)),
              QStringLiteral("a"));
    EXPECT_EQ(DecodeLanguageFile(QByteArray("\xFE\xFF\0a\0", 5)), QStringLiteral("a"));
    // A lone FF or a mark that is only begun is 8-bit text.
    EXPECT_EQ(DecodeLanguageFile(QByteArray("\xFF")), QStringLiteral("\u00FF"));
    EXPECT_EQ(DecodeLanguageFile(QByteArray("\xEF\xBB"
                                            "a")),
              QStringLiteral("\u00EF\u00BB"
                             "a"));
}

struct BreakRow {
    const char* name;
    QString text;
    QStringList lines;
};

class LineBreakTest : public ::testing::TestWithParam<BreakRow> {};

TEST_P(LineBreakTest, SplitsAtEveryBreakKind) {
    EXPECT_EQ(SplitLanguageLines(GetParam().text), GetParam().lines);
}

const QString a = QStringLiteral("a"), b = QStringLiteral("b"), c = QStringLiteral("c"), none;

INSTANTIATE_TEST_SUITE_P(
    Breaks, LineBreakTest,
    ::testing::Values(BreakRow{"CrLf", QStringLiteral("a\r\nb\r\nc"), {a, b, c}},
                      BreakRow{"Lf", QStringLiteral("a\nb\nc"), {a, b, c}},
                      BreakRow{"Cr", QStringLiteral("a\rb\rc"), {a, b, c}},
                      // LF CR is not a pair: each is a break of its own, with an empty line between.
                      BreakRow{"LfCr", QStringLiteral("a\n\rb\n\rc"), {a, none, b, none, c}},
                      BreakRow{"VerticalTab", QStringLiteral("a\vb"), {a, b}},
                      BreakRow{"FormFeed", QStringLiteral("a\fb"), {a, b}},
                      BreakRow{"LineSeparator", QStringLiteral("a\u2028b"), {a, b}},
                      BreakRow{"ParagraphSeparator", QStringLiteral("a\u2029b"), {a, b}},
                      BreakRow{"CrCrLf", QStringLiteral("a\r\r\nb"), {a, none, b}},
                      BreakRow{"Mixed", QStringLiteral("a\r\nb\nc\r"), {a, b, c}},
                      BreakRow{"FinalBreakAddsNoLine", QStringLiteral("a\r\n"), {a}},
                      BreakRow{"EmptyLineKept", QStringLiteral("a\n\nb\n"), {a, none, b}},
                      BreakRow{"OnlyABreak", QStringLiteral("\r\n"), {none}},
                      BreakRow{"Empty", QString(), {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineText, DropsTheLeadInWhateverItIs) {
    EXPECT_EQ(LineText(QString()), QString());
    EXPECT_EQ(LineText(QStringLiteral("#")), QString());
    EXPECT_EQ(LineText(QStringLiteral("xabc")), QStringLiteral("abc"));
    EXPECT_EQ(LineText(QStringLiteral("aa")), QStringLiteral("a"));
    EXPECT_EQ(LineText(QStringLiteral("\U0001F600abc")), QStringLiteral("abc"));
}

struct TextRow {
    const char* name;
    int number;
    std::string expected;
};

class GetTextTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(GetTextTest, MissingTextsFallBackToTheDefault) {
    LanguageFolder folder;
    folder.Write("English.vlf",
                 {QStringLiteral(">$0409"), QStringLiteral(">One"), QStringLiteral(">"), QString(),
                  QStringLiteral(">\u0416uk"), QStringLiteral(">\U0001F600!"), QStringLiteral("> padded ")});
    ASSERT_EQ(folder.localisation.LoadLanguage("English"), "English");
    EXPECT_EQ(folder.localisation.GetText(GetParam().number, "Default"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GetTextTest,
    ::testing::Values(TextRow{"Present", 1, "One"}, TextRow{"LeadInOnly", 2, "Default"},
                      TextRow{"EmptyLine", 3, "Default"},
                      // Characters the ANSI code page lacks are shown as its default character.
                      TextRow{"OutsideCodePage", 4, "?uk"}, TextRow{"OutsideBasicPlane", 5, "?!"},
                      TextRow{"BlanksKept", 6, " padded "}, TextRow{"BeyondLastLine", 7, "Default"},
                      TextRow{"FarBeyond", 100000, "Default"}, TextRow{"Negative", -1, "Default"},
                      TextRow{"HeaderIsLineZero", 0, "$0409"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetText, NothingLoadedGivesEveryDefault) {
    LanguageFolder folder;
    EXPECT_EQ(folder.localisation.GetText(10, "&Copy"), "&Copy");
    EXPECT_EQ(folder.localisation.GetCaption(10, QStringLiteral("&Copy")), QStringLiteral("&Copy"));
}

TEST(GetCaption, ShowsTheCodePageForm) {
    LanguageFolder folder;
    folder.Write("English.vlf", {QStringLiteral(">$0409"), QStringLiteral(">\u00C4 \u20AC \u0416")});
    ASSERT_EQ(folder.localisation.LoadLanguage("English"), "English");
    EXPECT_EQ(folder.localisation.GetCaption(1), QStringLiteral("\u00C4 \u20AC ?"));
}

} // namespace
} // namespace zandor
