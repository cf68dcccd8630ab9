// The one settings store of the process, addressed by section and key, over an INI file in
// portable mode or the per-user key-value store otherwise.
#pragma once

#include "platform/Colors.h"
#include "platform/FontValue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zandor {

namespace platform {
class IniFile;
class RegistryStore;
} // namespace platform

// Owns both back-ends; the registry object always exists (it touches the disk only when written),
// the INI object only in INI mode. Section and key names that an INI file could not give back as
// they are (see platform::IniFile::CanStore...) are never stored, in either mode: their reads give
// the default and their writes are skipped, so a hostile name cannot add lines or sections.
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

    void DeleteValue(const std::string& section, const std::string& key);

    // INI mode: writes the memory copy to the file (throws platform::FileError when it cannot);
    // registry mode: every write already reached the disk.
    void Flush();

    // Registry mode: the writes made while a batch lives reach the file in one rewrite at Commit
    // (which throws platform::FileError as a write would), or not at all when the batch ends
    // without it. INI mode: nothing changes, writes wait for Flush as always.
    class WriteBatch {
    public:
        explicit WriteBatch(TConfigSaver& store);
        WriteBatch(const WriteBatch&) = delete;
        WriteBatch& operator=(const WriteBatch&) = delete;
        ~WriteBatch();
        void Commit();

    private:
        TConfigSaver& store_;
        bool open_ = false;
    };

    // A value a read found stored with another type than it asked for (registry mode), with the
    // read's message. Each value is listed once, in the order found; writing it takes it off.
    struct TypeError {
        std::string Section;
        std::string Key;
        std::string Message;
    };
    const std::vector<TypeError>& TypeErrors() const { return typeErrors_; }
    // Removes the values still listed, so that those nothing writes anew read as their defaults at
    // the next start instead of failing again.
    void RemoveBadlyTypedValues();

    // Why the existing settings file could not be read; empty when it was read or is new. The store
    // then holds defaults only and never writes over the file: Flush (and in registry mode every
    // write) throws FileError with this text.
    const std::string& LoadError() const;

    static std::string FontToString(const platform::FontValue& font);
    static void StringToFont(const std::string& text, platform::FontValue& font);

    bool UseIni() const { return static_cast<bool>(IniFile); }

    std::unique_ptr<platform::RegistryStore> Registry;
    std::unique_ptr<platform::IniFile> IniFile;

private:
    static std::string ValueName(const std::string& section, const std::string& key);
    static bool Storable(const std::string& section, const std::string& key);
    // Runs a read of the registry; a type error is listed before it goes on to the caller.
    template <typename Read> auto Typed(const std::string& section, const std::string& key, Read read);
    void Written(const std::string& section, const std::string& key);

    std::vector<TypeError> typeErrors_;
};

} // namespace zandor
