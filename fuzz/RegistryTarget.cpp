// The per-user settings file read from any bytes, then changed value by value as the program
// writes its settings (each write rewrites the file): every value reads the same, with the same
// type, in the writing instance, in another instance that shares the file and in a new one that
// reads the file afresh; a written value reads back with any bytes in its name and text.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"

#include "platform/AsciiNames.h"
#include "platform/PlatformErrors.h"
#include "platform/RegistryStore.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace zandor::fuzz {

namespace {

using platform::RegistryStore;

// What a name reads as: nothing, a string, a number, or a value of another type.
struct Reading {
    enum Kind { Absent, String, Number, Other } Type = Absent;
    std::string Text;
    int32_t Value = 0;
    bool operator==(const Reading&) const = default;
};

Reading Read(const RegistryStore& store, const std::string& name) {
    Reading r;
    try {
        if (const auto text = store.ReadString(name)) {
            r.Type = Reading::String;
            r.Text = *text;
        }
        return r;
    } catch (const platform::RegistryError&) {
    }
    try {
        if (const auto value = store.ReadInteger(name)) {
            r.Type = Reading::Number;
            r.Value = *value;
        }
    } catch (const platform::RegistryError&) {
        r.Type = Reading::Other;
    }
    return r;
}

std::string Folded(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = platform::AsciiLower(c);
    return out;
}

// The quoted texts of the file, unescaped as the format does: the names worth asking for.
std::vector<std::string> QuotedTexts(std::string_view bytes) {
    std::vector<std::string> names{"Options_WordWrap", "Find_Text", ""};
    for (size_t i = bytes.find('"'); i != std::string_view::npos && names.size() < 16;
         i = bytes.find('"', i + 1)) {
        std::string name;
        size_t j = i + 1;
        for (; j < bytes.size() && bytes[j] != '"'; ++j) {
            if (bytes[j] == '\\' && j + 1 < bytes.size() && (bytes[j + 1] == '\\' || bytes[j + 1] == '"'))
                ++j;
            name += bytes[j];
        }
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
        i = j;
    }
    return names;
}

} // namespace

int FuzzRegistry(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const std::string bytes = in.Bytes(4000);
    const std::string path = ScratchPath("registry.reg");
    WriteScratchFile(path, bytes);

    std::vector<std::string> names = QuotedTexts(bytes);
    RegistryStore writer(path);
    const RegistryStore other(path);
    std::map<std::string, Reading> expected;
    for (const std::string& name : names)
        expected.emplace(name, Read(writer, name));

    for (int step = 0; step < 12 && !in.Empty(); ++step) {
        std::string name =
            in.Flag() && !names.empty() ? names[in.Below(static_cast<uint32_t>(names.size()))] : in.Bytes(16);
        Reading written;
        try {
            switch (in.Below(3)) {
            case 0:
                written.Type = Reading::String;
                written.Text = in.Bytes(40);
                writer.WriteString(name, written.Text);
                break;
            case 1:
                written.Type = Reading::Number;
                written.Value = static_cast<int32_t>(in.Below(65536) << 16 | in.Below(65536));
                writer.WriteInteger(name, written.Value);
                break;
            default:
                writer.DeleteValue(name);
                break;
            }
        } catch (const platform::FileError&) {
            return 0; // the scratch folder went away: nothing to learn from this run
        }
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
        for (auto& [n, v] : expected)
            if (Folded(n) == Folded(name))
                v = written;
        expected[name] = written;

        const RegistryStore fresh(path);
        for (const auto& [n, v] : expected) {
            const std::string value = "\"" + n + "\" (type " + std::to_string(v.Type) + ") " + v.Text;
            if (Read(writer, n) != v)
                FuzzFail("the writing instance reads a value otherwise: " + value);
            if (Read(other, n) != v)
                FuzzFail("another instance reads a value otherwise: " + value);
            if (Read(fresh, n) != v)
                FuzzFail("the file read afresh gives a value otherwise: " + value);
        }
    }
    return 0;
}

} // namespace zandor::fuzz
