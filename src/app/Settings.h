// The settings of the program as values, and the one table that says where each lives in the
// settings store, its type and its default. The main window's LoadConfig and SaveConfig walk the
// table; what a value does to the window and the editor is theirs to apply.
#pragma once

#include "documents/RecentFiles.h"
#include "platform/Colors.h"
#include "platform/FontValue.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace zandor {

class TConfigSaver;

// The values behind the "Options", "Info" and "Find" sections and the recent files.
struct TSettings {
    std::string Language;
    platform::TColor BackColor = 0;
    platform::TColor HLColor = 0;
    platform::TColor HLBColor = 0;
    platform::FontValue Font5;
    platform::FontValue PrintFont;
    int32_t InstallDate = 0;
    bool DonationDoNotBother = false;
    int32_t DonationShownCount = 0;
    int32_t LastPrinter = 0;
    bool AskChanges = false;
    bool AddTxt = false;
    bool SameDim = false;
    bool ExitFocus = false;
    bool Spaces = false;
    bool Returns = false;
    bool Buttons = false;
    bool LineNumbers = false;
    bool DragDrop = false;
    int32_t SelectedChar = 0;
    bool OnTop = false;
    bool Trim = false;
    bool OneInstance = false;
    bool AutoWidth = false;
    bool AutoHeight = false;
    bool SelectCopy = false;
    bool HighLight = false;
    bool Launch = false;
    bool Convert = false;
    bool WordWrap = false;
    std::string Version;
    std::string FindText;
    std::string ReplaceText;
    std::string LastDir;
    int32_t FindLeft = 0;
    int32_t FindTop = 0;
    double MarginLeft = 0;
    double MarginRight = 0;
    double MarginTop = 0;
    double MarginBottom = 0;
    // Most recent first; at most nine names.
    std::vector<std::string> RecentFiles;
    // The encoding chosen for a recent file ("Reopen with encoding"), by its name; stored under
    // "Recent Encodings" with the key of the name's place in "Recent Files".
    std::map<std::string, std::string> RecentEncodings;
};

// How a value is stored. Margin is a number kept as text with the locale's decimal separator.
enum class SettingType { String, Integer, Bool, Color, Font, Margin };

// Colours are 32-bit integers and share the integer alternative.
using SettingMember = std::variant<std::string TSettings::*, int32_t TSettings::*, bool TSettings::*,
                                   platform::FontValue TSettings::*, double TSettings::*>;
using SettingDefault = std::variant<std::string, int32_t, bool, platform::FontValue, double>;

struct Setting {
    const char* Section;
    const char* Key;
    SettingType Type;
    SettingMember Member;
    SettingDefault Default;
    bool Loaded; // read when the window is created
    bool Saved;  // written when the settings are saved
};

// The table in the order SaveConfig writes it.
std::span<const Setting> SettingsTable();

// A TSettings holding every default of the table ("today" for the install date).
TSettings DefaultSettings();

// Reads every loaded setting of the table (missing values keep their defaults) and the recent files.
// A value stored with another type than its setting's keeps the default; every other value is still
// read, and then the first such type error is thrown (platform::RegistryError).
void LoadSettings(TConfigSaver& store, TSettings& settings);
// Writes every saved setting of the table and then the recent files, in table order; no flush.
// writeBounds runs where the window bounds of the current file type belong (before the margins).
void SaveSettings(TConfigSaver& store, const TSettings& settings,
                  const std::function<void()>& writeBounds = {});

// Days since 30 December 1899 of today's local date.
int32_t TodayAsDays();

// The stored text of a margin ("0.75", or "0,75" under a decimal comma) and back. Both separators
// are accepted whatever the locale says; a text that is no number gives std::nullopt.
std::string MarginToString(double inches, char decimalSeparator);
std::string MarginToString(double inches); // with the locale's separator
char LocaleDecimalSeparator();
std::optional<double> MarginFromString(const std::string& text);

} // namespace zandor
