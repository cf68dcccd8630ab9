#include "app/ConfigSaver.h"

#include "platform/AsciiNames.h"
#include "platform/IniFile.h"
#include "platform/IntegerText.h"
#include "platform/PlatformErrors.h"
#include "platform/RegistryStore.h"

#include <algorithm>

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

bool TConfigSaver::Storable(const std::string& section, const std::string& key) {
    return platform::IniFile::CanStoreSection(section) && platform::IniFile::CanStoreKey(key);
}

template <typename Read>
auto TConfigSaver::Typed(const std::string& section, const std::string& key, Read read) {
    try {
        return read();
    } catch (const platform::RegistryError& e) {
        const bool listed = std::any_of(typeErrors_.begin(), typeErrors_.end(), [&](const TypeError& t) {
            return platform::SameAsciiName(t.Section, section) && platform::SameAsciiName(t.Key, key);
        });
        if (!listed)
            typeErrors_.push_back({section, key, e.what()});
        throw;
    }
}

void TConfigSaver::Written(const std::string& section, const std::string& key) {
    std::erase_if(typeErrors_, [&](const TypeError& t) {
        return platform::SameAsciiName(t.Section, section) && platform::SameAsciiName(t.Key, key);
    });
}

std::string TConfigSaver::ReadString(const std::string& section, const std::string& key,
                                     const std::string& def) {
    if (!Storable(section, key))
        return def;
    if (IniFile)
        return IniFile->Read(section, key).value_or(def);
    return Typed(section, key, [&] { return Registry->ReadString(ValueName(section, key)).value_or(def); });
}

int32_t TConfigSaver::ReadInteger(const std::string& section, const std::string& key, int32_t def) {
    if (!Storable(section, key))
        return def;
    if (IniFile) {
        const auto text = IniFile->Read(section, key);
        int32_t value = def;
        return text && platform::TryStrToInt(*text, value) ? value : def;
    }
    return Typed(section, key, [&] { return Registry->ReadInteger(ValueName(section, key)).value_or(def); });
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
    std::string text;
    try {
        text = ReadString(section, key, FontToString(def));
    } catch (const platform::RegistryError&) {
        // The set belongs to the font: a bad one is listed with it, so both are repaired together.
        try {
            ReadInteger(section, key + "_Charset", 0);
        } catch (const platform::RegistryError&) {
        }
        throw;
    }
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
    if (!Storable(section, key))
        return;
    if (IniFile)
        IniFile->Write(section, key, value);
    else
        Registry->WriteString(ValueName(section, key), value);
    Written(section, key);
}

void TConfigSaver::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
    if (!Storable(section, key))
        return;
    if (IniFile)
        IniFile->Write(section, key, std::to_string(value));
    else
        Registry->WriteInteger(ValueName(section, key), value);
    Written(section, key);
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

void TConfigSaver::DeleteValue(const std::string& section, const std::string& key) {
    if (!Storable(section, key))
        return;
    if (IniFile)
        IniFile->DeleteKey(section, key);
    else
        Registry->DeleteValue(ValueName(section, key));
    Written(section, key);
}

void TConfigSaver::RemoveBadlyTypedValues() {
    const std::vector<TypeError> bad = typeErrors_;
    for (const TypeError& t : bad)
        DeleteValue(t.Section, t.Key);
}

void TConfigSaver::Flush() {
    if (IniFile)
        IniFile->Flush();
}

const std::string& TConfigSaver::LoadError() const {
    return IniFile ? IniFile->LoadError() : Registry->LoadError();
}

TConfigSaver::WriteBatch::WriteBatch(TConfigSaver& store) : store_(store), open_(!store.IniFile) {
    if (open_)
        store_.Registry->BeginUpdate();
}

TConfigSaver::WriteBatch::~WriteBatch() {
    if (open_)
        store_.Registry->CancelUpdate();
}

void TConfigSaver::WriteBatch::Commit() {
    if (!open_)
        return;
    open_ = false;
    store_.Registry->EndUpdate();
}

std::string TConfigSaver::FontToString(const platform::FontValue& font) {
    return platform::FontToString(font);
}

void TConfigSaver::StringToFont(const std::string& text, platform::FontValue& font) {
    platform::StringToFont(text, font);
}

} // namespace zandor
