// The INI file of portable mode read from any bytes: what it reads must read the same after the
// program wrote the file back and read it again, writing it twice gives the same bytes, and values
// the program writes, deletes or erases read back as written, leaving every other value alone.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"

#include "platform/AsciiNames.h"
#include "platform/IniFile.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zandor::fuzz {

namespace {

using platform::IniFile;

std::string Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return std::string(s.substr(first, s.find_last_not_of(" \t") - first + 1));
}

std::string Folded(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = platform::AsciiLower(c);
    return out;
}

// Names worth asking for: what stands inside brackets and before an "=" on the file's lines, and
// a few of the program's own.
struct Names {
    std::vector<std::string> Sections{"", "Options", "a"};
    std::vector<std::string> Keys{"", "WordWrap", "k"};

    void Add(std::vector<std::string>& list, const std::string& name) {
        if (list.size() < 12 && std::find(list.begin(), list.end(), name) == list.end())
            list.push_back(name);
    }
    void AddFrom(std::string_view bytes) {
        size_t start = 0;
        while (start < bytes.size()) {
            size_t end = bytes.find_first_of("\r\n", start);
            if (end == std::string_view::npos)
                end = bytes.size();
            const std::string_view line = bytes.substr(start, end - start);
            if (const auto open = line.find('['); open != std::string_view::npos)
                Add(Sections, Trimmed(line.substr(open + 1, line.find(']', open) - open - 1)));
            if (const auto eq = line.find('='); eq != std::string_view::npos)
                Add(Keys, Trimmed(line.substr(0, eq)));
            start = end + 1;
        }
    }
};

using Snapshot = std::map<std::pair<std::string, std::string>, std::optional<std::string>>;

Snapshot Take(const IniFile& ini, const Names& names) {
    Snapshot s;
    for (const std::string& section : names.Sections)
        for (const std::string& key : names.Keys)
            s[{section, key}] = ini.Read(section, key);
    return s;
}

// Names a program can store as they are: one line, nothing the format gives a meaning to.
std::string StorableSection(std::string s) {
    std::erase_if(s, [](char c) { return c == '\r' || c == '\n' || c == ']'; });
    return Trimmed(s);
}

std::string StorableKey(std::string s) {
    std::erase_if(s, [](char c) { return c == '\r' || c == '\n' || c == '='; });
    s = Trimmed(s);
    while (!s.empty() && (s.front() == ';' || s.front() == '['))
        s.erase(0, 1);
    return Trimmed(s);
}

std::string StorableValue(std::string s) {
    std::erase_if(s, [](char c) { return c == '\r' || c == '\n'; });
    return s;
}

std::string Describe(const std::pair<std::string, std::string>& name,
                     const std::optional<std::string>& value) {
    return "[" + name.first + "] " + name.second + " = " + (value ? "\"" + *value + "\"" : "(none)");
}

bool SameKey(const std::pair<std::string, std::string>& a, const std::string& section,
             const std::string& key) {
    return Folded(a.first) == Folded(section) && Folded(a.second) == Folded(key);
}

} // namespace

int FuzzIni(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const std::string bytes = in.Bytes(4000);
    const std::string path = ScratchPath("Zandor.ini");
    WriteScratchFile(path, bytes);

    Names names;
    names.AddFrom(bytes);
    const IniFile first(path);
    const Snapshot read = Take(first, names);

    IniFile second(path);
    second.Flush();
    const std::string flushed = ReadScratchFile(path);
    const IniFile third(path);
    for (const auto& [name, value] : read)
        if (third.Read(name.first, name.second) != value)
            FuzzFail("a value reads differently after the file was written back: " + Describe(name, value));
    IniFile fourth(path);
    fourth.Flush();
    FuzzCheck(ReadScratchFile(path) == flushed, "writing the file back twice gives other bytes");

    // Changes, each checked at once and against the values it must leave alone.
    Snapshot expected = read;
    for (int step = 0; step < 16 && !in.Empty(); ++step) {
        const std::string section = StorableSection(in.Bytes(12));
        const std::string key = StorableKey(in.Bytes(12));
        names.Add(names.Sections, section);
        names.Add(names.Keys, key);
        const uint32_t kind = in.Below(4);
        if (kind <= 1) {
            const std::string value = StorableValue(in.Bytes(24));
            fourth.Write(section, key, value);
            FuzzCheck(fourth.Read(section, key) == value, "a written value does not read back");
            for (auto& [name, v] : expected)
                if (SameKey(name, section, key))
                    v = value;
            expected[{section, key}] = value;
        } else if (kind == 2) {
            fourth.DeleteKey(section, key);
            FuzzCheck(!fourth.ValueExists(section, key), "a deleted key is still there");
            for (auto& [name, v] : expected)
                if (SameKey(name, section, key))
                    v.reset();
        } else {
            fourth.EraseSection(section);
            FuzzCheck(!fourth.SectionExists(section), "an erased section is still there");
            for (auto& [name, v] : expected)
                if (Folded(name.first) == Folded(section))
                    v.reset();
        }
        for (const auto& [name, v] : expected)
            if (fourth.Read(name.first, name.second) != v)
                FuzzFail("a change touched another value: " + Describe(name, v));
    }
    fourth.Flush();
    const IniFile fifth(path);
    for (const auto& [name, v] : expected)
        if (fifth.Read(name.first, name.second) != v)
            FuzzFail("a changed file reads differently after writing: " + Describe(name, v));
    return 0;
}

} // namespace zandor::fuzz
