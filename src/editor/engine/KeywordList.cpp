#include "editor/engine/KeywordList.h"

#include "editor/engine/EngineErrors.h"
#include "editor/engine/ParagraphsList.h"
#include "platform/IntegerText.h"

#include <algorithm>
#include <atomic>

namespace zandor {

bool SplitKeyValues(const std::string& s, std::string& key, std::vector<std::string>& values) {
    // An "=" in the first place belongs to the key, so "==1,..." defines the keyword "=".
    const size_t eq = s.size() > 1 ? s.find('=', 1) : std::string::npos;
    if (eq == std::string::npos)
        return false;
    key = s.substr(0, eq);
    values.clear();
    size_t from = eq + 1;
    for (;;) {
        const size_t comma = s.find(',', from);
        values.push_back(s.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
        if (comma == std::string::npos)
            return true;
        from = comma + 1;
    }
}

void TKeywordList::CheckIndex(int i) const {
    if (i < 0 || i >= Count())
        throw ERangeError();
}

int TKeywordList::AddKeyWord(std::string_view keyword, uint8_t options, uint8_t style, int32_t context,
                             int16_t cursor, int32_t background, int32_t foreground) {
    TKeyInfoLen k;
    k.Options = options;
    k.Style = style;
    k.Context = context;
    k.Cursor = cursor;
    k.Background = background;
    k.Foreground = foreground;
    k.Keyword = keyword;
    FKeys.push_back(std::move(k));
    Changed();
    return Count() - 1;
}

void TKeywordList::Insert(int i, std::string_view s) {
    if (i < 0 || i > Count())
        throw ERangeError();
    TKeyInfoLen k;
    k.Background = k.Foreground = kColorNone;
    k.Keyword = s;
    FKeys.insert(FKeys.begin() + i, std::move(k));
    Changed();
}

int TKeywordList::Add(std::string_view s) {
    Insert(Count(), s);
    return Count() - 1;
}

const std::string& TKeywordList::Get(int i) const {
    CheckIndex(i);
    return FKeys[static_cast<size_t>(i)].Keyword;
}

void TKeywordList::Delete(int i) {
    CheckIndex(i);
    FKeys.erase(FKeys.begin() + i);
    Changed();
}

void TKeywordList::Clear() {
    FKeys.clear();
    Changed();
}

void TKeywordList::Assign(const TKeywordList& source) {
    if (&source == this)
        return;
    BeginUpdate();
    FKeys = source.FKeys;
    EndUpdate();
}

void TKeywordList::Assign(const std::vector<std::string>& source) {
    BeginUpdate();
    FKeys.clear();
    for (const std::string& s : source)
        Add(s);
    EndUpdate();
}

void TKeywordList::GetKeyInfo(int i, TKeyInfo& out) const {
    const TKeyInfoLen& k = Key(i);
    out.Options = k.Options;
    out.Style = k.Style;
    out.Context = k.Context;
    out.Cursor = k.Cursor;
    out.Background = k.Background;
    out.Foreground = k.Foreground;
}

const TKeyInfoLen& TKeywordList::Key(int i) const {
    CheckIndex(i);
    return FKeys[static_cast<size_t>(i)];
}

void TKeywordList::SetUpperCase(TamUpperCase kind) {
    FUpperCase = kind;
    Refresh();
}

void TKeywordList::BeginUpdate() {
    if (FUpdateCount++ == 0)
        SetUpdateState(true);
}

void TKeywordList::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        SetUpdateState(false);
}

void TKeywordList::SetUpdateState(bool updating) {
    FUpdating = updating;
    if (!updating)
        Refresh();
}

void TKeywordList::Changed() {
    if (!FUpdating)
        Refresh();
}

void TKeywordList::Refresh() {
    uint8_t flags = koCaseSensitive;
    int32_t longest = 0;
    for (TKeyInfoLen& k : FKeys) {
        if (!(k.Options & koCaseSensitive))
            flags &= ~koCaseSensitive;
        flags |= k.Options & koStoredBits;
        k.Length = static_cast<int32_t>(k.Keyword.size());
        k.MatchText = (k.Options & koCaseSensitive) ? k.Keyword : UpperCased(FUpperCase, k.Keyword);
        longest = std::max(longest, k.Length);
    }
    FKeyFlags = flags;
    FMaxLength = longest;
    // Unique across lists, so a matcher never mistakes a new list at an old address for one it knows.
    static std::atomic<uint32_t> generations{0};
    FGeneration = ++generations;
}

void TKeywordList::LoadFromStrings(const std::vector<std::string>& list) {
    BeginUpdate();
    try {
        FKeys.clear();
        std::string key;
        std::vector<std::string> values;
        for (const std::string& s : list) {
            if (!SplitKeyValues(s, key, values))
                continue;
            int32_t v[6];
            for (size_t j = 0; j < 6; ++j)
                v[j] = platform::StrToInt(j < values.size() ? values[j] : std::string());
            AddKeyWord(key, static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), v[2],
                       static_cast<int16_t>(v[3]), v[4], v[5]);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TKeywordList::SaveToStrings(std::vector<std::string>& list) const {
    list.clear();
    for (const TKeyInfoLen& k : FKeys) {
        std::string s = k.Keyword + "=";
        for (int32_t v : {int32_t(k.Options), int32_t(k.Style), k.Context, int32_t(k.Cursor), k.Background,
                          k.Foreground, k.Data1, k.Data2})
            s += std::to_string(v) + ",";
        list.push_back(std::move(s));
    }
}

void TKeywordList::WriteStrings(TStoredList& out) const {
    for (const TKeyInfoLen& k : FKeys) {
        out.emplace_back(k.Keyword);
        // Bit 7 of the options tells a reader that the three data values follow.
        for (int32_t v : {int32_t(k.Options | 0x80), int32_t(k.Style), k.Context, int32_t(k.Cursor),
                          k.Background, k.Foreground, k.Data1, k.Data2, k.Data3})
            out.emplace_back(v);
    }
}

void TKeywordList::ReadStrings(const TStoredList& in) {
    TStoredReader r(in);
    BeginUpdate();
    try {
        FKeys.clear();
        while (!r.AtEnd()) {
            TKeyInfoLen k;
            k.Keyword = r.ReadString();
            const int32_t options = r.ReadInteger();
            k.Options = static_cast<uint8_t>(options & 0x7F);
            k.Style = static_cast<uint8_t>(r.ReadInteger());
            k.Context = r.ReadInteger();
            k.Cursor = static_cast<int16_t>(r.ReadInteger());
            k.Background = r.ReadInteger();
            k.Foreground = r.ReadInteger();
            if (options & 0x80) {
                k.Data1 = r.ReadInteger();
                k.Data2 = r.ReadInteger();
                k.Data3 = r.ReadInteger();
            } else if (r.NextIsInteger()) {
                k.Data1 = r.ReadInteger();
                k.Data2 = r.ReadInteger();
            }
            FKeys.push_back(std::move(k));
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

} // namespace zandor
