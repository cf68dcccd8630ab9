// The keyword list of an editor control: words and phrases that get their own style, colours,
// context number and mouse cursor wherever they stand in a paragraph. The list is a string list of
// the keywords with one record of options per entry; it keeps the folded match texts current so
// the matcher never folds a keyword itself.
#pragma once

#include "editor/engine/FoldedTextCache.h"
#include "editor/engine/StoredValues.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zandor {

// Keyword and start/stop key option bits.
inline constexpr uint8_t koCaseSensitive = 0x01;
inline constexpr uint8_t koWholeWord = 0x02;
inline constexpr uint8_t koStoredBits = 0x0C; // bits 2-3: kept and written back, no effect

// The part of a keyword record that callers read and set as a whole.
struct TKeyInfo {
    uint8_t Options = 0;
    uint8_t Style = 0;
    int32_t Context = 0;
    int16_t Cursor = 0;
    int32_t Background = 0;
    int32_t Foreground = 0;
};

// One keyword.
struct TKeyInfoLen {
    uint8_t Options = 0;
    uint8_t Style = 0;   // style byte of its runs
    int32_t Context = 0; // 0: never matched
    int16_t Cursor = 0;
    int32_t Background = 0;
    int32_t Foreground = 0;
    std::string Keyword;
    std::string MatchText; // Keyword, folded unless case-sensitive
    int32_t Length = 0;
    int32_t Data1 = 0; // Data1-3: stored and written back only
    int32_t Data2 = 0;
    int32_t Data3 = 0;
};

// Owns its records. Every change made outside an update bracket refreshes the derived values
// (match texts, lengths, KeyFlags, MaxLength) at once; inside a bracket they are refreshed when
// the outermost bracket closes.
class TKeywordList {
public:
    TKeywordList() = default;
    TKeywordList(const TKeywordList&) = delete;
    TKeywordList& operator=(const TKeywordList&) = delete;

    // Appends a keyword (Data1-3 zero); returns its index.
    int AddKeyWord(std::string_view keyword, uint8_t options, uint8_t style, int32_t context, int16_t cursor,
                   int32_t background, int32_t foreground);
    // The string-list insert: Options, Style, Context, Cursor 0 and both colours clNone. A keyword
    // with Context 0 is never matched until its record is filled in.
    void Insert(int i, std::string_view s);
    int Add(std::string_view s);
    const std::string& Get(int i) const;
    int GetCount() const { return static_cast<int>(FKeys.size()); }
    int Count() const { return GetCount(); }
    void Delete(int i);
    void Clear();
    // From another keyword list the records are copied whole; from plain strings each becomes a
    // keyword with the Insert defaults.
    void Assign(const TKeywordList& source);
    void Assign(const std::vector<std::string>& source);

    void GetKeyInfo(int i, TKeyInfo& out) const;
    // The whole record (ERangeError outside 0 .. Count-1), and all of them for the matcher.
    const TKeyInfoLen& Key(int i) const;
    const std::vector<TKeyInfoLen>& Keys() const { return FKeys; }

    TamUpperCase UpperCase() const { return FUpperCase; }
    void SetUpperCase(TamUpperCase kind);

    void BeginUpdate();
    void EndUpdate();
    void SetUpdateState(bool updating);
    bool Updating() const { return FUpdating; }

    // Bit 0: every keyword is case-sensitive; bits 2-3: union of the keywords' stored bits.
    uint8_t KeyFlags() const { return FKeyFlags; }
    int32_t MaxLength() const { return FMaxLength; }
    // Changes whenever the derived values are refreshed (a matcher built from the list is stale
    // then); no two refreshes of any lists give the same value.
    uint32_t Generation() const { return FGeneration; }

    // "keyword=Options,Style,Context,Cursor,Background,Foreground[,...]" per string; strings without
    // "=" are skipped. A missing or non-numeric value raises the platform's conversion error; the
    // keywords read before it stay.
    void LoadFromStrings(const std::vector<std::string>& list);
    void SaveToStrings(std::vector<std::string>& list) const;

    // The "Strings" property of a form file (written only when there is a keyword). Reading
    // accepts the older layout without Data3, in which Data1 and Data2 are optional.
    bool HasStoredStrings() const { return !FKeys.empty(); }
    void WriteStrings(TStoredList& out) const;
    void ReadStrings(const TStoredList& in);

private:
    void Changed();
    void Refresh();
    void CheckIndex(int i) const;

    std::vector<TKeyInfoLen> FKeys;
    uint8_t FKeyFlags = koCaseSensitive;
    bool FUpdating = false;
    int FUpdateCount = 0;
    TamUpperCase FUpperCase = amuAscii;
    int32_t FMaxLength = 0;
    uint32_t FGeneration = 0;
};

// The integers of "key=1,2,3": the text after the first "=" that is not the first character,
// split at commas; the key part comes back in key. False when the string has no such "=".
bool SplitKeyValues(const std::string& s, std::string& key, std::vector<std::string>& values);

} // namespace zandor
