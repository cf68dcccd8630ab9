#include "app/Settings.h"
#include "app/ConfigSaver.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace zandor;
using namespace zandor::platform;
using zandor::test::ScratchDir;

TEST(SettingsTable, DefaultsAreTheProgramDefaults) {
    const TSettings s = DefaultSettings();
    EXPECT_EQ("Automatic", s.Language);
    EXPECT_EQ(0x004A0000, s.BackColor);
    EXPECT_EQ(clLime, s.HLColor);
    EXPECT_EQ(clBlack, s.HLBColor);
    EXPECT_EQ("Courier New,9,0000,clWindowText", FontToString(s.PrintFont));
    EXPECT_EQ(ANSI_CHARSET, s.PrintFont.Charset);
    EXPECT_TRUE(s.AskChanges && s.Buttons && s.DragDrop && s.Trim && s.AutoWidth && s.HighLight && s.Launch &&
                s.Convert && s.WordWrap);
    EXPECT_FALSE(s.AddTxt || s.SameDim || s.ExitFocus || s.Spaces || s.Returns || s.LineNumbers || s.OnTop ||
                 s.OneInstance || s.AutoHeight || s.SelectCopy || s.DonationDoNotBother);
    EXPECT_EQ(-1, s.SelectedChar);
    EXPECT_EQ(0.75, s.MarginLeft);
    EXPECT_EQ(0.5, s.MarginRight);
    EXPECT_EQ(0.75, s.MarginTop);
    EXPECT_EQ(0.75, s.MarginBottom);
    EXPECT_EQ("4.8", s.Version);
    EXPECT_EQ(TodayAsDays(), s.InstallDate);
    EXPECT_GT(s.InstallDate, 45000); // a date after 2023
}

TEST(SettingsTable, NamesEverySettingOnce) {
    std::set<std::string> seen;
    for (const Setting& e : SettingsTable())
        EXPECT_TRUE(seen.insert(std::string(e.Section) + "/" + e.Key).second) << e.Section << "/" << e.Key;
    EXPECT_EQ(40u, seen.size());
}

struct MarginRow {
    const char* stored;
    char separator;
};

class MarginText : public ::testing::TestWithParam<MarginRow> {};

TEST_P(MarginText, ReadsAsHalfAnInchUnderEitherSeparator) {
    EXPECT_EQ(0.5, MarginFromString(GetParam().stored).value());
    EXPECT_EQ(0.5, MarginFromString(MarginToString(0.5, GetParam().separator)).value());
}

INSTANTIATE_TEST_SUITE_P(Rows, MarginText,
                         ::testing::Values(MarginRow{"0,5", ','}, MarginRow{"0.5", ','},
                                           MarginRow{"0,5", '.'}, MarginRow{"0.5", '.'},
                                           MarginRow{" 0.50 ", '.'}));

TEST(MarginText, IsWrittenInGeneralFormatWithTheGivenSeparator) {
    EXPECT_EQ("0,75", MarginToString(0.75, ','));
    EXPECT_EQ("0.75", MarginToString(0.75, '.'));
    EXPECT_EQ("1", MarginToString(1.0, '.'));
    EXPECT_EQ("0.333333333333333", MarginToString(1.0 / 3.0, '.'));
}

TEST(MarginText, TextThatIsNoNumberIsRejected) {
    EXPECT_FALSE(MarginFromString("").has_value());
    EXPECT_FALSE(MarginFromString("half").has_value());
    EXPECT_FALSE(MarginFromString("0.5in").has_value());
}

namespace {

TSettings Changed() {
    TSettings s = DefaultSettings();
    s.Language = "German";
    s.BackColor = clNavy;
    s.HLColor = 0x123456;
    s.PrintFont.Name = "DejaVu Sans Mono";
    s.PrintFont.Size = 11;
    s.PrintFont.Charset = OEM_CHARSET;
    s.AskChanges = false;
    s.OnTop = true;
    s.SelectedChar = 219;
    s.WordWrap = false;
    s.FindText = "needle";
    s.ReplaceText = "thread";
    s.MarginLeft = 1.25;
    s.InstallDate = 45000;
    for (int i = 0; i < 9; ++i)
        s.RecentFiles.push_back("/art/" + std::to_string(i) + ".nfo");
    return s;
}

} // namespace

class SettingsRoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(SettingsRoundTrip, WhatIsSavedIsLoadedAgain) {
    ScratchDir dir;
    const std::string ini = GetParam() ? dir.file("Zandor.ini") : "";
    const TSettings saved = Changed();
    {
        TConfigSaver store(ini, dir.file("registry.reg"));
        SaveSettings(store, saved);
        store.Flush();
    }
    TConfigSaver store(ini, dir.file("registry.reg"));
    TSettings loaded = DefaultSettings();
    LoadSettings(store, loaded);
    EXPECT_EQ(saved.Language, loaded.Language);
    EXPECT_EQ(saved.BackColor, loaded.BackColor);
    EXPECT_EQ(saved.HLColor, loaded.HLColor);
    EXPECT_EQ(saved.PrintFont, loaded.PrintFont);
    EXPECT_EQ(saved.AskChanges, loaded.AskChanges);
    EXPECT_EQ(saved.OnTop, loaded.OnTop);
    EXPECT_EQ(saved.SelectedChar, loaded.SelectedChar);
    EXPECT_EQ(saved.WordWrap, loaded.WordWrap);
    EXPECT_EQ(saved.FindText, loaded.FindText);
    EXPECT_EQ(saved.ReplaceText, loaded.ReplaceText);
    EXPECT_EQ(saved.MarginLeft, loaded.MarginLeft);
    EXPECT_EQ(saved.InstallDate, loaded.InstallDate);
    EXPECT_EQ(saved.RecentFiles, loaded.RecentFiles);
}

TEST_P(SettingsRoundTrip, SavingNineRecentFilesTwiceWritesKeysZeroToEight) {
    ScratchDir dir;
    const std::string ini = GetParam() ? dir.file("Zandor.ini") : "";
    TConfigSaver store(ini, dir.file("registry.reg"));
    const TSettings s = Changed();
    SaveSettings(store, s);
    SaveSettings(store, s);
    store.Flush();
    for (int n = 0; n < 9; ++n)
        EXPECT_EQ("/art/" + std::to_string(n) + ".nfo",
                  store.ReadString("Recent Files", std::to_string(n), ""));
    EXPECT_EQ("", store.ReadString("Recent Files", "9", ""));
}

TEST_P(SettingsRoundTrip, WriteOnlyValuesAreNotReadBack) {
    ScratchDir dir;
    const std::string ini = GetParam() ? dir.file("Zandor.ini") : "";
    TConfigSaver store(ini, dir.file("registry.reg"));
    store.WriteBool("Options", "OneInstance", true);
    store.WriteString("Info", "Version", "1.0");
    store.WriteString("Find", "LastDir", "/somewhere");
    TSettings s = DefaultSettings();
    LoadSettings(store, s);
    EXPECT_FALSE(s.OneInstance); // the start-up reads it, not the window
    EXPECT_EQ("4.8", s.Version);
    EXPECT_EQ("", s.LastDir);
}

TEST_P(SettingsRoundTrip, BoundsAreWrittenBeforeTheMargins) {
    ScratchDir dir;
    const std::string ini = GetParam() ? dir.file("Zandor.ini") : "";
    TConfigSaver store(ini, dir.file("registry.reg"));
    bool marginsWrittenFirst = false;
    SaveSettings(store, DefaultSettings(), [&] {
        marginsWrittenFirst = store.ReadString("Options", "MarginLeft", "") != "";
        store.WriteInteger("Other", "Width", 640);
    });
    EXPECT_FALSE(marginsWrittenFirst);
    EXPECT_EQ(640, store.ReadInteger("Other", "Width", 0));
    EXPECT_NE("", store.ReadString("Options", "MarginBottom", ""));
}

INSTANTIATE_TEST_SUITE_P(Backends, SettingsRoundTrip, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Ini" : "Registry"; });
