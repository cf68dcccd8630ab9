// The start/stop keys of an editor control: pairs of keys that open and close a context (a comment,
// a string) which may run over many paragraphs. The records live in 32 KB blocks like the
// paragraphs, each with private folded copies of its keys so the parser compares bytes only.
#pragma once

#include "editor/engine/DynArray2.h"
#include "editor/engine/FoldedTextCache.h"
#include "editor/engine/KeywordList.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/StoredValues.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zandor {

#pragma pack(push, 1)

// One key pair. The four pointers are NUL-terminated buffers owned by the list.
struct StartStopInfo {
    uint8_t Options; // koCaseSensitive, koWholeWord, koStoredBits
    uint8_t Style;
    int32_t Context;
    int16_t Cursor;
    int32_t Background;
    int32_t Foreground;
    char* StartKey; // folded unless case-sensitive
    char* StopKey;
    int16_t StartLen;
    int16_t StopLen;
    // Longest start key among this one and the keys before it that begins with this start key.
    int16_t MaxStartLen;
    char* StartText; // the keys as given
    char* StopText;
    int32_t Data1; // Data1-3: stored and written back only
    int32_t Data2;
    int32_t Data3;
    int16_t FirstSame; // first earlier key with the same options and start key; -1 none
    uint8_t KeyFlags;  // bit 0: the context also ends at the end of its paragraph; bits 1-3 stored
    bool StartBoundaryAfter;
    bool StartBoundaryBefore;
    bool StopBoundaryAfter;
    bool StopBoundaryBefore;
};

#pragma pack(pop)

inline constexpr uint8_t kfEndsAtLineEnd = 0x01;

// Owns the blocks and every key buffer of its records.
class TStartStopKeyList : public TDynArray2 {
public:
    // Records sit on 8-byte boundaries inside a block so the pointers in them stay aligned.
    static constexpr int kStride = (sizeof(StartStopInfo) + 7) / 8 * 8;
    static constexpr int kKeysPerBlock = PerBlockFor(kStride);

    TStartStopKeyList();
    ~TStartStopKeyList();

    const StartStopInfo& Key(int i) const { return *static_cast<const StartStopInfo*>(Items(i)); }

    // Appends a key pair and returns its index. Keys longer than 32767 bytes raise "Text too long".
    int AddKey(std::string_view startKey, std::string_view stopKey, uint8_t options, uint8_t style,
               int32_t context, int16_t cursor, int32_t background, int32_t foreground, bool endsAtLineEnd);
    // Frees every key and keeps one block.
    void Clear();

    TamUpperCase UpperCase() const { return FUpperCase; }
    // Folds every key again from its text.
    void SetUpperCase(TamUpperCase kind);

    uint8_t KeyFlags() const { return FKeyFlags; }
    int16_t MaxStartLen() const { return FMaxStartLen; }
    int16_t MaxStopLen() const { return FMaxStopLen; }
    bool Prepared() const { return FPrepared; }
    // Computes the boundary flags of whole-word keys against the given separators.
    void Prepare(const TCharSet& separators);

    // "start|stop=Options,Style,Context,Cursor,Background,Foreground,EndsAtLineEnd[,...]".
    void LoadFromStrings(const std::vector<std::string>& list);
    void SaveToStrings(std::vector<std::string>& list) const;

    // The "Keys" property of a form file (written only when there is a key).
    bool HasStoredKeys() const { return Count() > 0; }
    void WriteKeys(TStoredList& out) const;
    void ReadKeys(const TStoredList& in);

private:
    StartStopInfo& Rec(int i) { return *static_cast<StartStopInfo*>(Items(i)); }
    void FreeKeys();
    void CompareWithEarlier(int i);
    void Recount();

    TamUpperCase FUpperCase = amuAscii;
    uint8_t FKeyFlags = koCaseSensitive;
    int16_t FMaxStartLen = 0;
    int16_t FMaxStopLen = 0;
    bool FPrepared = false;
};

} // namespace zandor
