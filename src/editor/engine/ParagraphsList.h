// The paragraph store: one packed record per paragraph in 32 KB blocks, with the per-paragraph
// extension (display lines, runs, colours) allocated only for paragraphs that need it.
#pragma once

#include "editor/engine/BlockShifts.h"
#include "editor/engine/ContextStack.h"
#include "editor/engine/DynArray2.h"
#include "editor/engine/LineWidths.h"
#include "editor/engine/RunArray.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace zandor {

// ---- records ---------------------------------------------------------------------------------
// The records are packed: their fields may sit at any address. Copy a field into a value before a
// reference binds to it (std::min, std::swap, a test's EXPECT_EQ(+par.Start, ...)), and never take
// a field's address.

#pragma pack(push, 1)

// One display line of a paragraph.
struct LineInfo {
    int32_t Start;       // offset of the line's first character in the paragraph
    int32_t Stop;        // offset after its last character
    int32_t TextWidth;   // width without trailing blanks (alignment)
    int32_t FullWidth;   // width with trailing blanks (appending to the line)
    int32_t Spaces;      // spaces that stretch when justified
    int32_t JustifyFrom; // spaces before this offset keep their width
    uint8_t StartStyle;  // static format style at the line start
    int32_t RunIndex;    // runs of the paragraph whose Offset lies before the line start
};

// A run: style and context state from Offset up to the next run. In a shared base-style copy the
// Offset word is the reference count instead.
struct TDynInfo {
    int32_t Offset;
    uint8_t StyleFlags; // style bits 0-5; bit 6+7: keyed run with valid Depth; bit 7: carries a context
    int8_t Depth;       // index in Stack of the innermost context, -1 = none
    uint8_t Level;      // outline level
    uint8_t RunFlags;   // bit 0: context opens a collapsible section; bit 1: collapsed
    int32_t Background; // -1 or clNone = none
    int32_t Foreground; // -1 or clNone = none
    int32_t Context;    // 0 = none
    int16_t Cursor;
    TContextStack Stack; // entries: >= 0 keyword index; < 0 start/stop key index - 32768
    int16_t StartLen;
    int16_t StopLen;
};

struct ParExtraInfo;

// The paragraph record. The last eight bytes hold either the compact Length/Width16 pair or, once
// the paragraph is extended (Flags bit 0), the pointer to its ParExtraInfo.
struct ParInfo {
    char* Text; // NUL-terminated; may be null when the length is 0
    int32_t Start;
    int32_t FirstLine;
    uint8_t Flags;
    uint8_t Level;
    union {
        struct {
            uint16_t Length;
            uint16_t Width16;
        } Compact;
        ParExtraInfo* Extra;
    };
};

#pragma pack(pop)

static_assert(sizeof(LineInfo) == 29);
static_assert(sizeof(TDynInfo) == 30);
static_assert(sizeof(ParInfo) == 2 * sizeof(void*) + 10, "Text, Start, FirstLine, Flags, Level, Extra");

using TDynInfoArray = std::vector<TDynInfo>;
// A paragraph's runs; see TLentArray.
using TRunArray = TLentArray<TDynInfo>;

// ParInfo::Flags
inline constexpr uint8_t pfExtended = 0x01;   // Extra is valid
inline constexpr uint8_t pfOwnText = 0x02;    // Text is a buffer of this paragraph (else shared)
inline constexpr uint8_t pfLinesValid = 0x04; // display lines are up to date
inline constexpr uint8_t pfParsed = 0x08;     // contexts parsed
inline constexpr uint8_t pfKeywords = 0x10;   // keywords applied
inline constexpr uint8_t pfReparse = 0x20;    // re-parse the whole paragraph at the next edit
inline constexpr uint8_t pfNoWrap = 0x40;
inline constexpr uint8_t pfHidden = 0x80; // collapsed away: no display lines of its own

// ParInfo::Level
inline constexpr uint8_t plLevelMask = 0x1F;
inline constexpr uint8_t plCollapsed1 = 0x20;
inline constexpr uint8_t plCollapseToUsed = 0x40;
inline constexpr uint8_t plCollapseFromUsed = 0x80;

// Style byte (runs, LineInfo::StartStyle, static format state) and TDynInfo::StyleFlags.
inline constexpr uint8_t sfBold = 0x01;
inline constexpr uint8_t sfItalic = 0x02;
inline constexpr uint8_t sfUnderline = 0x04;
inline constexpr uint8_t sfStrikeOut = 0x08;
inline constexpr uint8_t sfHighlight = 0x10;
inline constexpr uint8_t sfAltFont = 0x20;
inline constexpr uint8_t sfKeyed = 0x40;   // with sfContext: the run comes from a key and Depth is valid
inline constexpr uint8_t sfContext = 0x80; // the run carries a context

inline constexpr int32_t kColorUnset = -1;
inline constexpr int32_t kColorNone = 0x1FFFFFFF; // clNone

// A compact paragraph's Length must stay below this; 65535 itself needs the extended form.
inline constexpr int32_t kCompactLengthLimit = 65535;

// The run state of every compact paragraph: all zero except the two colours. A single constant that
// is never counted or freed.
inline constexpr TDynInfo kDefaultRunState{0, 0, 0, 0, 0, kColorUnset, kColorUnset, 0, 0, {}, 0, 0};

// One counted reference to a paragraph's base style. Empty means the default run state; otherwise
// it holds a heap copy whose Offset word counts its holders, and the last holder frees it.
class BaseStyleRef {
public:
    BaseStyleRef() = default;
    ~BaseStyleRef() { Reset(); }
    BaseStyleRef(const BaseStyleRef&) = delete;
    BaseStyleRef& operator=(const BaseStyleRef&) = delete;

    const TDynInfo* Get() const { return FState ? FState : &kDefaultRunState; }
    bool IsDefault() const { return FState == nullptr; }
    // state: null or a record without sfContext means the default. copy = true makes a fresh copy
    // (count 1); copy = false shares state, which must then be a base style that another paragraph
    // holds (never a run inside a Runs array).
    void Assign(const TDynInfo* state, bool copy);
    void Reset();

private:
    TDynInfo* FState = nullptr;
};

// The extended part of a paragraph; owned by its ParInfo through the paragraph list. Made by
// ExtendPar, possibly with room for runs right behind it, and freed by ReleasePar.
struct ParExtraInfo {
    ParExtraInfo() = default;
    ParExtraInfo(TDynInfo* lentRuns, uint32_t room) : Runs(lentRuns, room) {}
    ParExtraInfo(const ParExtraInfo&) = delete;
    ParExtraInfo& operator=(const ParExtraInfo&) = delete;

    int32_t ParColor = kColorUnset;
    int32_t ParBackColor = kColorUnset;
    int32_t Length = 0;
    LineInfo FirstLineInfo{};
    BaseStyleRef BaseStyle;
    std::vector<LineInfo> Lines; // display lines 1 .. n-1
    TRunArray Runs;              // sorted by Offset
    uint32_t CollapseBits = 0;   // bit k: outline level k+2 collapsed
    int32_t Obj = 0;
    uint8_t CollapseFrom = 0;
    uint8_t CollapseTo = 0;
};

// A buffer filled by the stream loader; paragraphs that do not own their text point into it.
struct LoadBlock {
    std::unique_ptr<char[]> Block;
};

// ---- owned text buffers ----------------------------------------------------------------------
// Buffers that paragraphs own (pfOwnText) come from here and nowhere else, so that the store can
// free them and an in-place edit can ask how much room a buffer has.

// Usual size of a buffer for n characters: 1/64 slack plus the terminator. ETextTooLong when it
// does not fit a signed 32-bit size.
int32_t TextBufferSizeFor(int64_t n);
// An uninitialised buffer of `bytes` usable bytes (at least 1). ETextTooLong beyond 32 bits.
char* AllocParText(int64_t bytes);
// Usable bytes of a buffer from AllocParText.
int32_t ParTextCapacity(const char* text);
void FreeParText(char* text);

// ---- per-paragraph helpers -------------------------------------------------------------------

inline bool IsExtended(const ParInfo& par) {
    return (par.Flags & pfExtended) != 0;
}
inline bool IsHidden(const ParInfo& par) {
    return (par.Flags & pfHidden) != 0;
}

inline int32_t ParLength(const ParInfo& par) {
    return IsExtended(par) ? par.Extra->Length : par.Compact.Length;
}
// Keeps the compact form for n < 65535, else extends.
void SetParLength(ParInfo& par, int32_t n);
// Converts to the extended form (one way); returns the extension. runRoom: runs about to be added;
// the run array then has room for that many more (a new extension gets it in the same allocation).
ParExtraInfo& ExtendPar(ParInfo& par, size_t runRoom = 0);
int LineCountOf(const ParInfo& par);
inline int RunCount(const ParInfo& par) {
    return IsExtended(par) ? static_cast<int>(par.Extra->Runs.size()) : 0;
}
// Extends a compact paragraph only when n > 0; new runs are zeroed.
void SetRunCount(ParInfo& par, int n);
inline const TDynInfo* BaseStyleOf(const ParInfo& par) {
    return IsExtended(par) ? par.Extra->BaseStyle.Get() : &kDefaultRunState;
}
// See BaseStyleRef::Assign. Only a state with sfContext extends a compact paragraph.
void SetBaseStyle(ParInfo& par, const TDynInfo* state, bool copy);
// Stays compact when the compact form can hold info, else extends and copies it.
void StoreFirstLine(ParInfo& par, const LineInfo& info);
LineInfo LoadFirstLine(const ParInfo& par);
// Gives the paragraph its own copy of its text (Length + 1 bytes; none for an empty paragraph).
void OwnText(ParInfo& par);
int32_t ParColorOf(const ParInfo& par);
int32_t ParBackColorOf(const ParInfo& par);
// Frees what the record owns (its text buffer, its extension with the base-style reference) and
// leaves it an empty compact paragraph at level 0; Start, FirstLine and the other flags stay.
void ReleasePar(ParInfo& par);

// ---- the list --------------------------------------------------------------------------------

// Owns the blocks, every ParExtraInfo and every owned text buffer of the records 0 .. Count-1 (the
// raw pointers inside the packed records are slots of this one owner), the LoadBlocks and one
// reference of each non-default base style. Records beyond Count own nothing. Whoever stores a
// record with pfOwnText or pfExtended hands its buffer or extension to the list.
class TParagraphsList : public TDynArray2 {
public:
    static constexpr int kParsPerBlock = PerBlockFor(sizeof(ParInfo));

    TParagraphsList();
    ~TParagraphsList();

    // Paragraph record i; ERangeError "List index out of bounds" outside 0 .. Count-1. Its Start
    // and FirstLine are up to date (a shift still owed to its block is applied first); a reference
    // kept across a later shift may see them stale, so take the record again after a shift.
    // The records lie packed in their blocks, so the block of a paragraph is found by a division
    // the compiler knows the divisor of (the general array's is only known when it runs).
    ParInfo& Par(int i) { return const_cast<ParInfo&>(std::as_const(*this).Par(i)); }
    const ParInfo& Par(int i) const {
        if (i < 0 || i >= Count())
            ThrowRange();
        const int b = i / kParsPerBlock;
        if (FShifts.Owes(b))
            PayBlock(b);
        return reinterpret_cast<const ParInfo*>(Block(b))[i % kParsPerBlock];
    }
    // Start and FirstLine of paragraph i without bringing its block up to date (for searches that
    // look at many far-apart records once). ERangeError outside 0 .. Count-1.
    int32_t StartOf(int i) const;
    int32_t FirstLineOf(int i) const;
    // Brings the block of paragraph i up to date (any i >= 0).
    void Settle(int i) const {
        const int b = i / kParsPerBlock;
        if (FShifts.Owes(b))
            PayBlock(b);
    }

    // Add a delta to Start and/or FirstLine of paragraphs from .. Count-1; nothing when from >= Count.
    // The records of the block of `from` change at once, later blocks when they are next read.
    void ShiftStarts(int from, int32_t delta);
    void ShiftFirstLines(int from, int32_t delta);
    void ShiftStartsAndLines(int from, int32_t dStart, int32_t dLines);

    // The record operations of the array, keeping owed shifts where their records are.
    int Add(const void* rec) {
        Settle(Count());
        return TDynArray2::Add(rec);
    }
    void PutRec(int i, const void* rec) {
        Par(i);
        TDynArray2::PutRec(i, rec);
    }
    void GetRec(int i, void* out) const {
        Par(i);
        TDynArray2::GetRec(i, out);
    }
    void MoveRecords(int from, int to, int n);
    void SetCapacity(int n);

    // Records that paragraphs firstPar .. lastPar changed, from line lineInPar of firstPar on.
    // ERangeError, with nothing changed, when firstPar is not a paragraph.
    void MarkDirty(int firstPar, int lineInPar, int lastPar);
    // Empties the dirty range after a repaint; returns true when Modified was set (and clears it),
    // i.e. when the control has a change to report.
    bool ResetDirty();
    // Every paragraph needs new display lines; the whole text becomes the pending format range.
    void InvalidateFormat();
    // Releases every paragraph, every load block and all but one block.
    void ClearAll();
    // After a text replacement: gives back blocks when more than 1/16 (+ 8) of the capacity is free.
    void ShrinkAfterReplace();
    // A new uninitialised load block of `bytes` bytes, kept until ClearAll.
    char* AddLoadBlock(size_t bytes);

    // Calls f(ParInfo&) for paragraphs from .. to-1, walking block by block.
    template <class F> void ForEachPar(int from, int to, F&& f) {
        if (from < 0)
            from = 0;
        if (to > Count())
            to = Count();
        while (from < to) {
            Settle(from);
            int inBlock = from % kParsPerBlock;
            int n = std::min(to - from, kParsPerBlock - inBlock);
            auto* rec = reinterpret_cast<ParInfo*>(Block(from / kParsPerBlock)) + inBlock;
            for (ParInfo* end = rec + n; rec != end; ++rec)
                f(*rec);
            from += n;
        }
    }

    std::vector<LoadBlock> LoadBlocks;
    bool StaticFormat = false;
    bool Modified = false;
    int32_t TextLength = 0;
    int32_t LineCount = 0;
    int32_t VisibleLineCount = 0;
    int32_t DirtyFirstLine = 0;
    int32_t DirtyFrom = 0;
    int32_t DirtyTo = 0;
    int32_t DirtyLineDelta = 0;
    int32_t ParsedTo = -1;
    int32_t BgNext = 0;
    int32_t BgLast = -1;
    bool LinesReusable = false;
    int32_t LoadProgress = 0;
    int32_t SaveProgress = 0;
    // The widths of the display lines in the line tables; whoever changes a table keeps it.
    TLineWidths Widths;

private:
    void ReleaseAll();
    void Shift(int from, const TShift& shift);
    void PayBlock(int b) const;

    mutable TBlockShifts FShifts;
};

} // namespace zandor
