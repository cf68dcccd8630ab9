#include "editor/engine/StartStopKeyList.h"

#include "editor/engine/EngineErrors.h"
#include "platform/IntegerText.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace zandor {

namespace {

// The list's key buffers: NUL-terminated copies, never null.
char* CopyText(std::string_view s) {
    auto buffer = std::make_unique<char[]>(s.size() + 1);
    std::memcpy(buffer.get(), s.data(), s.size());
    buffer[s.size()] = '\0';
    return buffer.release();
}

// Takes the pointer by value: the records are packed, so their fields cannot bind to references.
void FreeText(char* p) {
    std::unique_ptr<char[]> owned(p);
}

char* FoldedCopy(std::string_view s, uint8_t options, TamUpperCase kind) {
    return CopyText((options & koCaseSensitive) ? std::string(s) : UpperCased(kind, s));
}

// A key may hold any byte, a NUL too: its buffers are read by the length, never to a terminator.
std::string_view Bytes(const char* key, int16_t length) {
    return std::string_view(key, static_cast<size_t>(length));
}

} // namespace

TStartStopKeyList::TStartStopKeyList() : TDynArray2(sizeof(StartStopInfo), kStride) {}

TStartStopKeyList::~TStartStopKeyList() {
    FreeKeys();
}

void TStartStopKeyList::FreeKeys() {
    for (int i = 0; i < Count(); ++i) {
        StartStopInfo& k = Rec(i);
        FreeText(k.StartKey);
        k.StartKey = nullptr;
        FreeText(k.StopKey);
        k.StopKey = nullptr;
        FreeText(k.StartText);
        k.StartText = nullptr;
        FreeText(k.StopText);
        k.StopText = nullptr;
    }
}

void TStartStopKeyList::Clear() {
    FreeKeys();
    SetCount(0);
    SetCapacity(0);
    FKeyFlags = koCaseSensitive;
    FMaxStartLen = FMaxStopLen = 0;
    FPrepared = false;
}

int TStartStopKeyList::AddKey(std::string_view startKey, std::string_view stopKey, uint8_t options,
                              uint8_t style, int32_t context, int16_t cursor, int32_t background,
                              int32_t foreground, bool endsAtLineEnd) {
    // The lengths are 16-bit fields of the records and of every run a key opens.
    if (startKey.size() > INT16_MAX || stopKey.size() > INT16_MAX)
        throw ETextTooLong();
    StartStopInfo k{};
    k.Options = options;
    k.Style = style;
    k.Context = context;
    k.Cursor = cursor;
    k.Background = background;
    k.Foreground = foreground;
    k.StartLen = static_cast<int16_t>(startKey.size());
    k.StopLen = static_cast<int16_t>(stopKey.size());
    k.KeyFlags = endsAtLineEnd ? kfEndsAtLineEnd : 0;
    k.FirstSame = -1;
    k.StartKey = FoldedCopy(startKey, options, FUpperCase);
    k.StopKey = FoldedCopy(stopKey, options, FUpperCase);
    k.StartText = CopyText(startKey);
    k.StopText = CopyText(stopKey);
    const int index = Add(&k);
    CompareWithEarlier(index);
    return index;
}

// FirstSame and MaxStartLen look only at the keys before each one, so a key's values do not change
// when later keys are added; the list's maxima and flags cover all keys.
void TStartStopKeyList::CompareWithEarlier(int i) {
    StartStopInfo& k = Rec(i);
    k.FirstSame = -1;
    k.MaxStartLen = k.StartLen;
    for (int j = 0; j < i; ++j) {
        const StartStopInfo& e = Rec(j);
        const std::string_view earlier = Bytes(e.StartKey, e.StartLen), key = Bytes(k.StartKey, k.StartLen);
        if (k.FirstSame < 0 && e.Options == k.Options && earlier == key)
            k.FirstSame = static_cast<int16_t>(j);
        if (e.StartLen > k.MaxStartLen && earlier.starts_with(key))
            k.MaxStartLen = e.StartLen;
    }
    if (!(k.Options & koCaseSensitive))
        FKeyFlags &= ~koCaseSensitive;
    FKeyFlags |= k.Options & koStoredBits;
    FMaxStartLen = std::max(FMaxStartLen, k.StartLen);
    FMaxStopLen = std::max<int16_t>(FMaxStopLen, k.StopLen);
    if (k.KeyFlags & kfEndsAtLineEnd)
        FMaxStopLen = std::max<int16_t>(FMaxStopLen, 2);
    FPrepared = false;
}

void TStartStopKeyList::Recount() {
    FKeyFlags = koCaseSensitive;
    FMaxStartLen = FMaxStopLen = 0;
    for (int i = 0; i < Count(); ++i)
        CompareWithEarlier(i);
    FPrepared = false;
}

void TStartStopKeyList::SetUpperCase(TamUpperCase kind) {
    FUpperCase = kind;
    for (int i = 0; i < Count(); ++i) {
        StartStopInfo& k = Rec(i);
        FreeText(k.StartKey);
        k.StartKey = nullptr;
        FreeText(k.StopKey);
        k.StopKey = nullptr;
        k.StartKey = FoldedCopy(Bytes(k.StartText, k.StartLen), k.Options, kind);
        k.StopKey = FoldedCopy(Bytes(k.StopText, k.StopLen), k.Options, kind);
    }
    Recount();
}

void TStartStopKeyList::Prepare(const TCharSet& separators) {
    auto sep = [&](char c) { return separators.test(static_cast<unsigned char>(c)); };
    for (int i = 0; i < Count(); ++i) {
        StartStopInfo& k = Rec(i);
        const bool whole = (k.Options & koWholeWord) != 0;
        k.StartBoundaryBefore = whole && k.StartLen > 0 && !sep(k.StartText[0]);
        k.StartBoundaryAfter = whole && k.StartLen > 0 && !sep(k.StartText[k.StartLen - 1]);
        k.StopBoundaryBefore = whole && k.StopLen > 0 && !sep(k.StopText[0]);
        k.StopBoundaryAfter = whole && k.StopLen > 0 && !sep(k.StopText[k.StopLen - 1]);
    }
    FPrepared = true;
}

void TStartStopKeyList::LoadFromStrings(const std::vector<std::string>& list) {
    Clear();
    std::string key;
    std::vector<std::string> values;
    for (const std::string& s : list) {
        if (!SplitKeyValues(s, key, values))
            continue;
        const size_t bar = key.find('|');
        const std::string start = key.substr(0, bar);
        const std::string stop = bar == std::string::npos ? std::string() : key.substr(bar + 1);
        int32_t v[7];
        for (size_t j = 0; j < 7; ++j)
            v[j] = platform::StrToInt(j < values.size() ? values[j] : std::string());
        AddKey(start, stop, static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), v[2],
               static_cast<int16_t>(v[3]), v[4], v[5], (v[6] & 1) != 0);
    }
}

void TStartStopKeyList::SaveToStrings(std::vector<std::string>& list) const {
    list.clear();
    for (int i = 0; i < Count(); ++i) {
        const StartStopInfo& k = Key(i);
        std::string s(Bytes(k.StartText, k.StartLen));
        s.append("|").append(Bytes(k.StopText, k.StopLen)).append("=");
        for (int32_t v : {int32_t(k.Options), int32_t(k.Style), k.Context, int32_t(k.Cursor), k.Background,
                          k.Foreground, int32_t(k.KeyFlags), k.Data1, k.Data2})
            s += std::to_string(v) + ",";
        list.push_back(std::move(s));
    }
}

void TStartStopKeyList::WriteKeys(TStoredList& out) const {
    for (int i = 0; i < Count(); ++i) {
        const StartStopInfo& k = Key(i);
        out.emplace_back(std::string(Bytes(k.StartText, k.StartLen)));
        out.emplace_back(std::string(Bytes(k.StopText, k.StopLen)));
        for (int32_t v : {int32_t(k.Options | 0x80), int32_t(k.Style), k.Context, int32_t(k.Cursor),
                          k.Background, k.Foreground})
            out.emplace_back(v);
        out.emplace_back((k.KeyFlags & kfEndsAtLineEnd) != 0);
        out.emplace_back(+k.Data1);
        out.emplace_back(+k.Data2);
        // The four flag bits and Data3 share one integer. Computed on the unsigned pattern so that
        // a negative Data3 reads back as written.
        out.emplace_back(static_cast<int32_t>((static_cast<uint32_t>(k.Data3) << 4) | (k.KeyFlags & 0x0F)));
    }
}

void TStartStopKeyList::ReadKeys(const TStoredList& in) {
    TStoredReader r(in);
    Clear();
    while (!r.AtEnd()) {
        const std::string start = r.ReadString();
        const std::string stop = r.ReadString();
        const int32_t options = r.ReadInteger();
        const int32_t style = r.ReadInteger();
        const int32_t context = r.ReadInteger();
        const int32_t cursor = r.ReadInteger();
        const int32_t background = r.ReadInteger();
        const int32_t foreground = r.ReadInteger();
        int32_t data1 = 0, data2 = 0, data3 = 0;
        bool endsAtLineEnd;
        uint8_t keyFlags;
        if (options & 0x80) {
            endsAtLineEnd = r.ReadBoolean();
            data1 = r.ReadInteger();
            data2 = r.ReadInteger();
            const int32_t last = r.ReadInteger();
            data3 = last >> 4; // arithmetic: the inverse of the write above
            keyFlags = static_cast<uint8_t>(last & 0x0F);
        } else {
            if (r.NextIsInteger()) {
                data1 = r.ReadInteger();
                data2 = r.ReadInteger();
            }
            endsAtLineEnd = r.ReadBoolean();
            keyFlags = 0;
        }
        if (endsAtLineEnd)
            keyFlags |= kfEndsAtLineEnd;
        const int i = AddKey(start, stop, static_cast<uint8_t>(options & 0x7F), static_cast<uint8_t>(style),
                             context, static_cast<int16_t>(cursor), background, foreground, endsAtLineEnd);
        StartStopInfo& k = Rec(i);
        k.KeyFlags = keyFlags;
        k.Data1 = data1;
        k.Data2 = data2;
        k.Data3 = data3;
    }
}

} // namespace zandor
