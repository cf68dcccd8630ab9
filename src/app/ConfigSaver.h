// The one settings store of the process, addressed by section and key, over an INI file in
// portable mode or the per-user key-value store otherwise.
#pragma once

#include "platform/Colors.h"
#include "platform/FontValue.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zandor {

namespace platform {
class IniFile;
class RegistryStore;
} // namespace platform

// Owns both back-ends; the registry object always exists (it touches the disk only when written),
// the INI object only in INI mode.
class TConfigSaver {
public:
    // INI mode when iniPath is not empty; otherwise the registry stand-in in registryPath.
    TConfigSaver(const std::string& iniPath, const std::string& registryPath);
    TConfigSaver(const TConfigSaver&) = delete;
    TConfigSaver& operator=(const TConfigSaver&) = delete;
    ~TConfigSaver();

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def);
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def);
    bool ReadBool(const std::string& section, const std::string& key, bool def);
    platform::TColor ReadColor(const std::string& section, const std::string& key, platform::TColor def);
    void ReadFont(const std::string& section, const std::string& key, const platform::FontValue& def,
                  platform::FontValue& target);

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void WriteColor(const std::string& section, const std::string& key, platform::TColor value);
    void WriteFont(const std::string& section, const std::string& key, const platform::FontValue& font);
    void WriteFontAndFlush(const std::string& section, const std::string& key,
                           const platform::FontValue& font);

    // INI mode: writes the memory copy to the file (throws platform::FileError when it cannot);
    // registry mode: every write already reached the disk.
    void Flush();

    static std::string FontToString(const platform::FontValue& font);
    static void StringToFont(const std::string& text, platform::FontValue& font);

    bool UseIni() const { return static_cast<bool>(IniFile); }

    std::unique_ptr<platform::RegistryStore> Registry;
    std::unique_ptr<platform::IniFile> IniFile;

private:
    static std::string ValueName(const std::string& section, const std::string& key);
};

} // namespace zandor
