#include "app/ConfigSaver.h"

#include "platform/IniFile.h"
#include "platform/IntegerText.h"
#include "platform/PlatformErrors.h"
#include "platform/RegistryStore.h"

namespace zandor {

TConfigSaver::TConfigSaver(const std::string& iniPath, const std::string& registryPath)
    : Registry(std::make_unique<platform::RegistryStore>(registryPath)) {
    if (!iniPath.empty())
        IniFile = std::make_unique<platform::IniFile>(iniPath);
}

TConfigSaver::~TConfigSaver() = default;

std::string TConfigSaver::ValueName(const std::string& section, const std::string& key) {
    return section + "_" + key;
}

std::string TConfigSaver::ReadString(const std::string& section, const std::string& key,
                                     const std::string& def) {
    if (IniFile)
        return IniFile->Read(section, key).value_or(def);
    return Registry->ReadString(ValueName(section, key)).value_or(def);
}

int32_t TConfigSaver::ReadInteger(const std::string& section, const std::string& key, int32_t def) {
    if (IniFile) {
        const auto text = IniFile->Read(section, key);
        int32_t value = def;
        return text && platform::TryStrToInt(*text, value) ? value : def;
    }
    return Registry->ReadInteger(ValueName(section, key)).value_or(def);
}

bool TConfigSaver::ReadBool(const std::string& section, const std::string& key, bool def) {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

platform::TColor TConfigSaver::ReadColor(const std::string& section, const std::string& key,
                                         platform::TColor def) {
    const std::string text = ReadString(section, key, platform::ColorToString(def));
    try {
        return platform::StringToColor(text);
    } catch (const platform::ConversionError&) {
        return def;
    }
}

void TConfigSaver::ReadFont(const std::string& section, const std::string& key,
                            const platform::FontValue& def, platform::FontValue& target) {
    const std::string text = ReadString(section, key, FontToString(def));
    try {
        StringToFont(text, target);
        // The set is read with the ANSI default whatever the default font had: a stored font
        // without its set is an ANSI font.
        target.Charset = static_cast<uint8_t>(ReadInteger(section, key + "_Charset", 0));
    } catch (const platform::ConversionError&) {
        target = def;
    }
}

void TConfigSaver::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (IniFile)
        IniFile->Write(section, key, value);
    else
        Registry->WriteString(ValueName(section, key), value);
}

void TConfigSaver::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
    if (IniFile)
        IniFile->Write(section, key, std::to_string(value));
    else
        Registry->WriteInteger(ValueName(section, key), value);
}

void TConfigSaver::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteInteger(section, key, value ? 1 : 0);
}

void TConfigSaver::WriteColor(const std::string& section, const std::string& key, platform::TColor value) {
    WriteString(section, key, platform::ColorToString(value));
}

void TConfigSaver::WriteFont(const std::string& section, const std::string& key,
                             const platform::FontValue& font) {
    WriteString(section, key, FontToString(font));
    WriteInteger(section, key + "_Charset", font.Charset);
}

void TConfigSaver::WriteFontAndFlush(const std::string& section, const std::string& key,
                                     const platform::FontValue& font) {
    WriteFont(section, key, font);
    Flush();
}

void TConfigSaver::Flush() {
    if (IniFile)
        IniFile->Flush();
}

std::string TConfigSaver::FontToString(const platform::FontValue& font) {
    return platform::FontToString(font);
}

void TConfigSaver::StringToFont(const std::string& text, platform::FontValue& font) {
    platform::StringToFont(text, font);
}

} // namespace zandor
