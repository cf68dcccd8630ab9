// Case folding for searching and keyword matching: the three upper-casing rules a control can
// choose, and the per-control cache of one folded paragraph range, so that a paragraph is folded
// once per search and not once per candidate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zandor {

struct ParInfo;
struct TReplacedRange;

enum TamUpperCase : uint8_t {
    amuAscii,       // only 'a' .. 'z'
    amuAnsi,        // the upper-casing of the system's ANSI code page
    amuUserDefined, // UserUpperCaseProc, or the ASCII rule while it is unset
};

// Upper-cases a NUL-terminated byte string in place without changing its length. Process-wide;
// the application may set it for amuUserDefined.
using TUpperCaseProc = void (*)(char* text);
extern TUpperCaseProc UserUpperCaseProc;

// Folds n bytes in place by the given rule. The user procedure sees the bytes NUL-terminated.
void UpperCaseText(TamUpperCase kind, char* text, size_t n);
std::string UpperCased(TamUpperCase kind, std::string_view text);

// Refers to nothing outside itself: it copies the bytes it folds, so a caller must drop or adjust
// it when paragraphs change (AdjustAfterReplace, Clear after a load).
class TFoldedTextCache {
public:
    TamUpperCase UpperCase() const { return FKind; }
    // A new rule invalidates what was folded by the old one.
    void SetUpperCase(TamUpperCase kind);

    // The folded copy of bytes offset .. offset + length - 1 of par (paragraph number parIndex),
    // NUL-terminated; valid until the next call. A request that touches or overlaps the cached
    // range of the same paragraph grows the cache and folds only the added bytes. The range is
    // clamped to the paragraph.
    const char* FoldedText(const ParInfo& par, int32_t parIndex, int32_t length, int32_t offset);

    // After a text replacement: a cached paragraph after the range follows the renumbering, one
    // inside it is dropped.
    void AdjustAfterReplace(const TReplacedRange& range);
    void Clear();

    int32_t ParIndex() const { return FParIndex; } // -1 = empty
    int32_t Start() const { return FStart; }
    int32_t Length() const { return static_cast<int32_t>(FBytes.size()); }

private:
    TamUpperCase FKind = amuAscii;
    int32_t FParIndex = -1;
    int32_t FStart = 0;
    std::string FBytes; // the folded range; std::string keeps the terminator behind it
};

} // namespace zandor
