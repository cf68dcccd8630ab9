#include "localisation/Localisation.h"

#include "LanguageFixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace zandor {
namespace {

using test::LanguageFolder;
using test::Message;

const Message kDetectFailed{QStringLiteral("Couldn't open the language setting file --> Language: English"),
                            QStringLiteral("File missing?")};
const Message kNotFound{QStringLiteral("Language file not found!"),
                        QStringLiteral("Zandor Error information")};

// English, a German file serving three countries, and a file whose header is written in capitals.
void WriteThreeLanguages(const LanguageFolder& folder) {
    folder.Write("English.vlf", {QStringLiteral(">English $0409 $0809"), QStringLiteral(">Copy")});
    folder.Write("German.vlf", {QStringLiteral(">Deutsch $0407,$0807;$0c07"), QStringLiteral(">Kopieren")});
    folder.Write("Swahili.vlf", {QStringLiteral(">$0441 $0C1A"), QStringLiteral(">Nakili")});
}

struct DetectRow {
    std::uint16_t languageId;
    std::string expected;
};

class DetectLanguageTest : public ::testing::TestWithParam<DetectRow> {};

TEST_P(DetectLanguageTest, ChoosesTheFileWhoseHeaderNamesTheLocale) {
    LanguageFolder folder;
    WriteThreeLanguages(folder);
    folder.userLanguageId = GetParam().languageId;
    EXPECT_EQ(folder.localisation.DetectLanguage(), GetParam().expected);
    EXPECT_TRUE(folder.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Locales, DetectLanguageTest,
                         ::testing::Values(DetectRow{0x0407, "German"}, DetectRow{0x0807, "German"},
                                           DetectRow{0x0c07, "German"}, DetectRow{0x0409, "English"},
                                           DetectRow{0x0809, "English"},
                                           // Undeclared locales get English; so do identifiers with letters
                                           // that a header spells in capitals, since the key is lower case.
                                           DetectRow{0x1407, "English"}, DetectRow{0x0419, "English"},
                                           DetectRow{0x0c1a, "English"}, DetectRow{0x0441, "Swahili"}),
                         [](const auto& info) { return "Id" + std::to_string(info.param.languageId); });

TEST(DetectLanguage, UnreadableHeaderStopsTheSearchWithEnglish) {
    LanguageFolder folder;
    WriteThreeLanguages(folder);
    // An empty file has no header line; it sorts before German, which is therefore never reached.
    folder.WriteBytes("Empty.vlf", QByteArray());
    folder.userLanguageId = 0x0407;
    EXPECT_EQ(folder.localisation.DetectLanguage(), "English");
    EXPECT_EQ(folder.messages, std::vector<Message>{kDetectFailed});
}

TEST(DetectLanguage, FoldersAndOtherExtensionsAreNotLanguages) {
    LanguageFolder folder;
    WriteThreeLanguages(folder);
    folder.dir.write("languages/Aaa.vlf/inner.txt", "x");
    folder.WriteBytes("Aab.txt", QByteArray());
    folder.userLanguageId = 0x0407;
    EXPECT_EQ(folder.localisation.DetectLanguage(), "German");
    EXPECT_TRUE(folder.messages.empty());
}

TEST(LoadLanguage, AutomaticAndEmptyLoadTheDetectedLanguage) {
    for (const std::string name : {"Automatic", ""}) {
        LanguageFolder folder;
        WriteThreeLanguages(folder);
        folder.userLanguageId = 0x0c07;
        EXPECT_EQ(folder.localisation.LoadLanguage(name), "German") << name;
        EXPECT_EQ(folder.localisation.GetText(1, ""), "Kopieren");
    }
}

TEST(LoadLanguage, AutomaticIsMatchedExactly) {
    LanguageFolder folder;
    WriteThreeLanguages(folder);
    folder.userLanguageId = 0x0407;
    // "automatic" is a language name like any other, and there is no such file.
    EXPECT_EQ(folder.localisation.LoadLanguage("automatic"), "");
    EXPECT_EQ(folder.messages, std::vector<Message>{kNotFound});
}

TEST(LoadLanguage, MissingFileKeepsTheTextsLoadedBefore) {
    LanguageFolder folder;
    WriteThreeLanguages(folder);
    ASSERT_EQ(folder.localisation.LoadLanguage("German"), "German");
    EXPECT_EQ(folder.localisation.LoadLanguage("Klingon"), "");
    EXPECT_EQ(folder.messages, std::vector<Message>{kNotFound});
    EXPECT_EQ(folder.localisation.GetText(1, ""), "Kopieren");
    EXPECT_EQ(folder.halts, 0);
}

TEST(LoadLanguage, LoadingReplacesEveryLine) {
    LanguageFolder folder;
    folder.Write("English.vlf", {QStringLiteral(">$0409")});
    folder.Write("Long.vlf", {QStringLiteral(">$0000"), QStringLiteral(">one"), QStringLiteral(">two")});
    ASSERT_EQ(folder.localisation.LoadLanguage("Long"), "Long");
    ASSERT_EQ(folder.localisation.LoadLanguage("English"), "English");
    // The shorter file leaves no texts of the longer one behind.
    EXPECT_EQ(folder.localisation.GetText(2, "Default"), "Default");
}

TEST(LoadLanguage, WithoutEnglishTheProgramEndsWithItsMessage) {
    LanguageFolder folder;
    folder.Write("German.vlf", {QStringLiteral(">$0407"), QStringLiteral(">Kopieren")});
    folder.userLanguageId = 0x0407;
    EXPECT_EQ(folder.localisation.LoadLanguage("German"), "");
    EXPECT_EQ(folder.halts, 1);
    const Message expected{QStringLiteral("Critical Error - File ") +
                               QString::fromStdString(folder.ExeFolder()) +
                               QStringLiteral("languages/English.vlf not found !"),
                           QStringLiteral("Zandor Error information")};
    EXPECT_EQ(folder.messages, std::vector<Message>{expected});
    EXPECT_TRUE(folder.localisation.LanguageTexts().isEmpty());
}

TEST(LoadLanguage, EnglishMustBeAFileNotAFolder) {
    LanguageFolder folder;
    folder.dir.write("languages/English.vlf/inner.txt", "x");
    EXPECT_EQ(folder.localisation.LoadLanguage("English"), "");
    EXPECT_EQ(folder.halts, 1);
}

TEST(ListLanguages, AutomaticTakesItsPlaceAmongNamesSortedWithoutCase) {
    LanguageFolder folder;
    for (const char* name : {"german.vlf", "English.vlf", "Zulu.vlf", "Alpha.vlf", "Pt.BR.vlf"})
        folder.WriteBytes(name, ">$0000\n");
    folder.WriteBytes("notes.txt", "");
    folder.WriteBytes("Upper.VLF", "");
    folder.dir.write("languages/Dir.vlf/inner.txt", "x");
    std::vector<std::string> target{"stale"};
    EXPECT_TRUE(folder.localisation.ListLanguages(target));
    EXPECT_EQ(target, (std::vector<std::string>{"Alpha", "Automatic", "English", "german", "Pt.BR", "Zulu"}));
    EXPECT_TRUE(folder.messages.empty());
}

TEST(ListLanguages, UnreadableFolderLeavesTheTargetAndSaysSo) {
    LanguageFolder folder;
    // A file where the folder should be cannot be listed.
    folder.dir.write("languages", "not a folder");
    std::vector<std::string> target{"stale"};
    EXPECT_FALSE(folder.localisation.ListLanguages(target));
    EXPECT_EQ(target, std::vector<std::string>{"stale"});
    EXPECT_EQ(folder.messages,
              (std::vector<Message>{{QStringLiteral("Couldn't list the languages  --> Language: English"),
                                     QStringLiteral("File missing?")}}));
}

} // namespace
} // namespace zandor
