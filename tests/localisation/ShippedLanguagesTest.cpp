// The language files that ship with the program, read from the source tree.
#include "localisation/AnsiText.h"
#include "localisation/LanguageFile.h"
#include "localisation/Localisation.h"

#include "LanguageFixture.h"

#include <QSet>

#include <cstdlib>
#include <map>

#include <gtest/gtest.h>

namespace zandor {
namespace {

// Every number the program asks for, with the English caption its windows carry (empty: the
// program has none and relies on the file).
const std::map<int, std::string> kTexts = {
    {10, "&Copy"},
    {11, "C&ut"},
    {12, "&Paste"},
    {13, "E&xit"},
    {14, "Insert character from ASCII table..."},
    {15, "Capitalize"},
    {16, "Show current Font..."},
    {17, "File"},
    {18, "New"},
    {19, "Open..."},
    {20, "Recent files"},
    {21, "&Save"},
    {22, "Save as..."},
    {23, "Print..."},
    {24, "Print Preview..."},
    {25, "Exit"},
    {26, "Save as GIF image..."},
    {27, "Properties..."},
    {28, "ASCII table - double click or enter to insert"},
    {29, "Edit"},
    {30, "Undo"},
    {31, "Cut"},
    {32, "Copy"},
    {33, "Paste"},
    {34, "Find/Replace..."},
    {35, "Find/Replace Next"},
    {36, "Find Previous"},
    {37, "Select All"},
    {38, "Drag && Drop"},
    {41, ""},
    {42, "Options"},
    {43, "Set Background Color..."},
    {44, "Set default Font Style and Color..."},
    {45, "Set Print Font..."},
    {46, "Edit Highlight List..."},
    {47, "Highlight Keywords"},
    {48, "Set Highlight Background Color..."},
    {49, "Set Highlight Foreground Color..."},
    {50, "Auto-Copy Selection to Clipboard"},
    {51, "Trim Selection before Copy"},
    {52, "Ask to save changes on load/exit"},
    {53, "Convert Unix files to Windows"},
    {54, "Launch URLs on click"},
    {55, "Show Spaces/Tabs"},
    {56, "Wordwrap"},
    {57, "Allow only one Zandor instance"},
    {58, "Always on Top"},
    {59, "Initial Focus"},
    {60, "Exit button"},
    {61, "Edit area"},
    {63, "Window Dimensions"},
    {64, "Set width according to widest line (on load)"},
    {65, "Set height according to number of lines (on load)"},
    {66, "Same dimensions for all file types"},
    {67, "Individual dimensions"},
    {68, "Format"},
    {69, "Join Lines"},
    {70, "Add .txt to files without extension"},
    {71, "Lowercase"},
    {72, "Uppercase"},
    {73, "Charset to UTF-8"},
    {74, "UTF-8 to Charset"},
    {75, "Decimal"},
    {76, "Hex"},
    {77, "Character"},
    {79, "Donate"},
    {80, "Help"},
    {81, "Contents"},
    {82, "Donate (Paypal USD)"},
    {83, "Donate (Paypal EUR)"},
    {84, ""},
    {85, "Other Veltrane Software"},
    {86, "About..."},
    {87, "You have been using Zandor for more than 100 days!"},
    {88, "Please consider a Paypal donation to support Zandor development."},
    {89, "This way you help to improve it in the future!"},
    {90, "Reminder me in another 100 days."},
    {91, "Do not bother me with donation requests anymore."},
    {92, "I have already donated."},
    {93, "Highlighted keywords (one keyword per line)"},
    {96, "About"},
    {97, "Visit homepage"},
    {98, "Ok"},
    {101, ""},
    {102, ""},
    {103, ""},
    {104, ""},
    {108, ""},
    {109, ""},
    {110, ""},
    {112, ""},
    {115, "Redo"},
    {116, "Delete line"},
    {117, "Date/Time"},
    {118, "Show Line Numbers"},
    {119, "Show Buttons"},
    {120, "Show Carriage Returns"},
    {121, "No program could be started to show this page."},
    {122, "The help pages are missing."}};

// The source tree as CTest names it, else as this file's own path shows it.
std::string SourceDir() {
    if (const char* dir = std::getenv("ZANDOR_SOURCE_DIR"); dir && *dir)
        return std::string(dir) + "/";
    const std::string self = __FILE__;
    const std::string tail = "tests/localisation/ShippedLanguagesTest.cpp";
    if (self.size() > tail.size() && self.compare(self.size() - tail.size(), tail.size(), tail) == 0)
        return self.substr(0, self.size() - tail.size());
    return {};
}

// The letter after a single '&' (an accelerator), or 0.
QChar Accelerator(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1].toLower();
    }
    return QChar();
}

struct ShippedRow {
    const char* name;
    std::vector<std::uint16_t> identifiers;
};

class ShippedLanguageTest : public ::testing::TestWithParam<ShippedRow> {
protected:
    void SetUp() override {
        if (SourceDir().empty())
            GTEST_SKIP() << "source tree not found: set ZANDOR_SOURCE_DIR";
        localisation.ShowMessage = [this](const QString& text, const QString&) { messages << text; };
        localisation.Halt = [] { FAIL() << "English.vlf missing from the source tree"; };
        ASSERT_EQ(localisation.LoadLanguage(GetParam().name), GetParam().name);
    }

    TLocalisation localisation{SourceDir()};
    QStringList messages;
};

TEST_P(ShippedLanguageTest, HasEveryTextShowableInTheCodePage) {
    for (const auto& [number, english] : kTexts) {
        ASSERT_LT(number, localisation.LanguageTexts().size()) << GetParam().name;
        const QString text = LineText(localisation.LanguageTexts().at(number));
        EXPECT_FALSE(text.isEmpty()) << GetParam().name << " lacks text " << number;
        EXPECT_EQ(FromAnsi(ToAnsi(text)), text) << GetParam().name << " text " << number;
        EXPECT_EQ(text.trimmed(), text) << GetParam().name << " text " << number;
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_P(ShippedLanguageTest, KeepsTheMarkersTheProgramRelieson) {
    // The bottom buttons share one panel, so their accelerators must differ.
    QSet<QChar> letters;
    for (const int number : {10, 11, 12, 13, 21}) {
        const QChar letter = Accelerator(localisation.GetCaption(number));
        EXPECT_FALSE(letter.isNull()) << GetParam().name << " text " << number;
        letters.insert(letter);
    }
    EXPECT_EQ(letters.size(), 5) << GetParam().name;
    // A literal ampersand is doubled in a menu caption.
    EXPECT_TRUE(localisation.GetCaption(38).contains(QStringLiteral("&&"))) << GetParam().name;
    // The donation reminder puts the real day count where "100" stands.
    EXPECT_TRUE(localisation.GetCaption(87).contains(QStringLiteral("100"))) << GetParam().name;
}

TEST_P(ShippedLanguageTest, IsDetectedForEachOfItsRegions) {
    for (const std::uint16_t id : GetParam().identifiers) {
        localisation.UserLanguageId = [id] { return id; };
        EXPECT_EQ(localisation.DetectLanguage(), GetParam().name) << std::hex << id;
    }
    EXPECT_TRUE(messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, ShippedLanguageTest,
    ::testing::Values(ShippedRow{"English", {0x0409, 0x0809, 0x0c09, 0x1009, 0x1409, 0x1809, 0x1c09, 0x4009}},
                      ShippedRow{"German", {0x0407, 0x0807, 0x0c07, 0x1007, 0x1407}},
                      ShippedRow{"French", {0x040c, 0x080c, 0x0c0c, 0x100c, 0x140c, 0x180c}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShippedEnglish, MatchesTheCaptionsBuiltIntoTheWindows) {
    if (SourceDir().empty())
        GTEST_SKIP() << "source tree not found: set ZANDOR_SOURCE_DIR";
    TLocalisation localisation(SourceDir());
    ASSERT_EQ(localisation.LoadLanguage("English"), "English");
    for (const auto& [number, english] : kTexts) {
        if (!english.empty()) {
            EXPECT_EQ(localisation.GetText(number, ""), english) << "text " << number;
        }
    }
}

} // namespace
} // namespace zandor
