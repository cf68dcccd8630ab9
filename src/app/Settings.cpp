#include "app/Settings.h"

#include "app/ConfigSaver.h"
#include "platform/PlatformErrors.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace zandor {

using namespace platform;

namespace {

FontValue DefaultPrintFont() {
    FontValue font;
    font.Name = "Courier New";
    font.Size = 9;
    font.Style = 0;
    font.Color = clWindowText;
    font.Charset = ANSI_CHARSET;
    return font;
}

// The editor font before any stored font applies (the main editor's own design-time font).
FontValue DefaultEditorFont() {
    FontValue font;
    font.Name = "ZandorLarge";
    font.Height = 19;
    font.Style = fsBold;
    font.Color = clWhite;
    font.Charset = OEM_CHARSET;
    return font;
}

constexpr TColor kDarkBlue = 0x004A0000;

// Save order. Font5 is read here but written only by the font commands; OneInstance is read by
// the start-up sequence; "Info" and the find dialog's folder and position are written only.
const Setting kTable[] = {
    {"Options", "DonationDoNotBother", SettingType::Bool, &TSettings::DonationDoNotBother, false, true, true},
    {"Options", "DonationShownCount", SettingType::Integer, &TSettings::DonationShownCount, int32_t(0), true,
     true},
    {"Options", "InstallDate", SettingType::Integer, &TSettings::InstallDate, int32_t(0), true, true},
    {"Info", "Version", SettingType::String, &TSettings::Version, std::string("4.8"), false, true},
    {"Options", "Language", SettingType::String, &TSettings::Language, std::string("Automatic"), true, true},
    {"Options", "PrintFont", SettingType::Font, &TSettings::PrintFont, DefaultPrintFont(), true, true},
    {"Options", "BackColor", SettingType::Color, &TSettings::BackColor, kDarkBlue, true, true},
    {"Options", "HLColor", SettingType::Color, &TSettings::HLColor, clLime, true, true},
    {"Options", "HLBColor", SettingType::Color, &TSettings::HLBColor, clBlack, true, true},
    {"Options", "AskChanges", SettingType::Bool, &TSettings::AskChanges, true, true, true},
    {"Options", "AddTxt", SettingType::Bool, &TSettings::AddTxt, false, true, true},
    {"Options", "SameDim", SettingType::Bool, &TSettings::SameDim, false, true, true},
    {"Options", "ExitFocus", SettingType::Bool, &TSettings::ExitFocus, false, true, true},
    {"Options", "Spaces", SettingType::Bool, &TSettings::Spaces, false, true, true},
    {"Options", "Returns", SettingType::Bool, &TSettings::Returns, false, true, true},
    {"Options", "Buttons", SettingType::Bool, &TSettings::Buttons, true, true, true},
    {"Options", "LineNumbers", SettingType::Bool, &TSettings::LineNumbers, false, true, true},
    {"Options", "DragDrop", SettingType::Bool, &TSettings::DragDrop, true, true, true},
    {"Options", "SelectedChar", SettingType::Integer, &TSettings::SelectedChar, int32_t(-1), true, true},
    {"Options", "OnTop", SettingType::Bool, &TSettings::OnTop, false, true, true},
    {"Options", "Trim", SettingType::Bool, &TSettings::Trim, true, true, true},
    {"Options", "OneInstance", SettingType::Bool, &TSettings::OneInstance, false, false, true},
    {"Options", "AutoWidth", SettingType::Bool, &TSettings::AutoWidth, true, true, true},
    {"Options", "AutoHeight", SettingType::Bool, &TSettings::AutoHeight, false, true, true},
    {"Options", "SelectCopy", SettingType::Bool, &TSettings::SelectCopy, false, true, true},
    {"Options", "HighLight", SettingType::Bool, &TSettings::HighLight, true, true, true},
    {"Options", "Launch", SettingType::Bool, &TSettings::Launch, true, true, true},
    {"Options", "Convert", SettingType::Bool, &TSettings::Convert, true, true, true},
    {"Options", "WordWrap", SettingType::Bool, &TSettings::WordWrap, true, true, true},
    {"Options", "LastPrinter", SettingType::Integer, &TSettings::LastPrinter, int32_t(0), true, true},
    {"Find", "Text", SettingType::String, &TSettings::FindText, std::string(), true, true},
    {"Find", "ReplaceText", SettingType::String, &TSettings::ReplaceText, std::string(), true, true},
    {"Find", "LastDir", SettingType::String, &TSettings::LastDir, std::string(), false, true},
    {"Find", "Left", SettingType::Integer, &TSettings::FindLeft, int32_t(0), false, true},
    {"Find", "Top", SettingType::Integer, &TSettings::FindTop, int32_t(0), false, true},
    {"Options", "MarginLeft", SettingType::Margin, &TSettings::MarginLeft, 0.75, true, true},
    {"Options", "MarginRight", SettingType::Margin, &TSettings::MarginRight, 0.5, true, true},
    {"Options", "MarginTop", SettingType::Margin, &TSettings::MarginTop, 0.75, true, true},
    {"Options", "MarginBottom", SettingType::Margin, &TSettings::MarginBottom, 0.75, true, true},
    {"Options", "Font5", SettingType::Font, &TSettings::Font5, DefaultEditorFont(), true, false},
};

template <typename T> T& Field(TSettings& s, const SettingMember& member) {
    return s.*std::get<T TSettings::*>(member);
}

template <typename T> const T& Field(const TSettings& s, const SettingMember& member) {
    return s.*std::get<T TSettings::*>(member);
}

} // namespace

std::span<const Setting> SettingsTable() {
    return kTable;
}

int32_t TodayAsDays() {
    return static_cast<int32_t>(QDate(1899, 12, 30).daysTo(QDate::currentDate()));
}

TSettings DefaultSettings() {
    TSettings s;
    for (const Setting& e : kTable) {
        std::visit(
            [&](const auto& member) {
                using M = std::decay_t<decltype(s.*member)>;
                s.*member = std::get<M>(e.Default);
            },
            e.Member);
    }
    s.InstallDate = TodayAsDays();
    return s;
}

char LocaleDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 128 ? static_cast<char>(point[0].unicode()) : '.';
}

std::string MarginToString(double inches, char decimalSeparator) {
    // to_chars ignores the C locale, which the toolkit sets from the environment.
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, inches, std::chars_format::general, 15);
    std::string text(buf, result.ptr);
    std::replace(text.begin(), text.end(), '.', decimalSeparator);
    return text;
}

std::string MarginToString(double inches) {
    return MarginToString(inches, LocaleDecimalSeparator());
}

std::optional<double> MarginFromString(const std::string& text) {
    std::string normal = text;
    std::replace(normal.begin(), normal.end(), ',', '.');
    while (!normal.empty() && std::isspace(static_cast<unsigned char>(normal.back())))
        normal.pop_back();
    size_t first = 0;
    while (first < normal.size() && std::isspace(static_cast<unsigned char>(normal[first])))
        ++first;
    double value = 0;
    const auto [end, ec] = std::from_chars(normal.data() + first, normal.data() + normal.size(), value);
    if (ec != std::errc() || end != normal.data() + normal.size() || first == normal.size())
        return std::nullopt;
    return value;
}

namespace {

void LoadSetting(TConfigSaver& store, const Setting& e, TSettings& s) {
    switch (e.Type) {
    case SettingType::String:
        Field<std::string>(s, e.Member) = store.ReadString(e.Section, e.Key, Field<std::string>(s, e.Member));
        break;
    case SettingType::Integer:
        Field<int32_t>(s, e.Member) = store.ReadInteger(e.Section, e.Key, Field<int32_t>(s, e.Member));
        break;
    case SettingType::Bool:
        Field<bool>(s, e.Member) = store.ReadBool(e.Section, e.Key, Field<bool>(s, e.Member));
        break;
    case SettingType::Color:
        Field<TColor>(s, e.Member) = store.ReadColor(e.Section, e.Key, Field<TColor>(s, e.Member));
        break;
    case SettingType::Font: {
        FontValue& font = Field<FontValue>(s, e.Member);
        const FontValue def = font;
        store.ReadFont(e.Section, e.Key, def, font);
        break;
    }
    case SettingType::Margin: {
        double& margin = Field<double>(s, e.Member);
        // A stored margin that is no number keeps the current one.
        margin =
            MarginFromString(store.ReadString(e.Section, e.Key, MarginToString(margin))).value_or(margin);
        break;
    }
    }
}

} // namespace

void LoadSettings(TConfigSaver& store, TSettings& s) {
    // One value of the wrong type (a hand-edited registry file) costs that value only.
    std::optional<RegistryError> firstError;
    for (const Setting& e : kTable) {
        if (!e.Loaded)
            continue;
        try {
            LoadSetting(store, e, s);
        } catch (const RegistryError& error) {
            if (!firstError)
                firstError = error;
        }
    }
    for (int n = kMaxRecentFiles - 1; n >= 0; --n) {
        std::string name;
        std::string encoding;
        try {
            name = store.ReadString("Recent Files", std::to_string(n), "");
            encoding = store.ReadString("Recent Encodings", std::to_string(n), "");
        } catch (const RegistryError& error) {
            if (!firstError)
                firstError = error;
        }
        if (!name.empty())
            AddRecentFile(s.RecentFiles, name);
        if (!name.empty() && !encoding.empty())
            s.RecentEncodings[name] = encoding;
    }
    if (firstError)
        throw *firstError;
}

void SaveSettings(TConfigSaver& store, const TSettings& s, const std::function<void()>& writeBounds) {
    bool boundsWritten = false;
    for (const Setting& e : kTable) {
        if (!e.Saved)
            continue;
        if (e.Type == SettingType::Margin && !boundsWritten) {
            boundsWritten = true;
            if (writeBounds)
                writeBounds();
        }
        switch (e.Type) {
        case SettingType::String:
            store.WriteString(e.Section, e.Key, Field<std::string>(s, e.Member));
            break;
        case SettingType::Integer:
            store.WriteInteger(e.Section, e.Key, Field<int32_t>(s, e.Member));
            break;
        case SettingType::Bool:
            store.WriteBool(e.Section, e.Key, Field<bool>(s, e.Member));
            break;
        case SettingType::Color:
            store.WriteColor(e.Section, e.Key, Field<TColor>(s, e.Member));
            break;
        case SettingType::Font:
            store.WriteFont(e.Section, e.Key, Field<FontValue>(s, e.Member));
            break;
        case SettingType::Margin:
            store.WriteString(e.Section, e.Key, MarginToString(Field<double>(s, e.Member)));
            break;
        }
    }
    for (size_t i = 0; i < s.RecentFiles.size(); ++i) {
        store.WriteString("Recent Files", std::to_string(i), s.RecentFiles[i]);
        const auto chosen = s.RecentEncodings.find(s.RecentFiles[i]);
        if (chosen != s.RecentEncodings.end())
            store.WriteString("Recent Encodings", std::to_string(i), chosen->second);
        else
            store.DeleteValue("Recent Encodings", std::to_string(i));
    }
}

} // namespace zandor
