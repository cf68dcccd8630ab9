// The value types of the editor control's published properties: the option set, the non-printing
// marks, the border and scroll-bar styles.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace zandor {

// Declaration order is the storage order: member k is bit k of the three stored bytes.
enum TArtMemoOption : uint8_t {
    amoKeepColumnPos,
    amoPutExtraSpaces,
    amoWrapCaret,
    amoInsertKeyActive,
    amoWideOverwriteCaret,
    amoLargeWordSelect,
    amoAutoScrollBars,
    amoNoDragnDrop,
    amoAutoIndent,
    amoBackIndent,
    amoWindowsSelColors,
    amoFullLineSelect,
    amoDiscardTrailingSpaces,
    amoNoFineScroll,
    amoNoLineSelection,
    amoNoDefaultPopup,
    amoBlockSelection,
    amoAutoLineBreak,
    amoPlainClipboard,
    amoPersistentBlocks,
    amoNoOverwriteBlocks,
    amoSmartTabs,
    amoKeepParBackgnd,
};
inline constexpr int kArtMemoOptionCount = 23;

// A set of options. Bits(): the three stored bytes as one number (bit k = member k).
class TArtMemoOptions {
public:
    constexpr TArtMemoOptions() = default;
    constexpr TArtMemoOptions(std::initializer_list<TArtMemoOption> members) {
        for (TArtMemoOption m : members)
            FBits |= Bit(m);
    }
    static constexpr TArtMemoOptions FromBits(uint32_t bits) {
        TArtMemoOptions set;
        set.FBits = bits & kAll;
        return set;
    }

    constexpr bool Has(TArtMemoOption m) const { return (FBits & Bit(m)) != 0; }
    constexpr TArtMemoOptions With(TArtMemoOption m) const { return FromBits(FBits | Bit(m)); }
    constexpr TArtMemoOptions Without(TArtMemoOption m) const { return FromBits(FBits & ~Bit(m)); }
    constexpr uint32_t Bits() const { return FBits; }
    constexpr bool operator==(const TArtMemoOptions&) const = default;

private:
    static constexpr uint32_t kAll = (1u << kArtMemoOptionCount) - 1;
    static constexpr uint32_t Bit(TArtMemoOption m) { return 1u << m; }
    uint32_t FBits = 0;
};

// What a new control starts with.
inline constexpr TArtMemoOptions kDefaultArtMemoOptions{amoPutExtraSpaces, amoWrapCaret, amoInsertKeyActive,
                                                        amoWideOverwriteCaret, amoAutoScrollBars};

// Marks drawn for characters that print nothing.
enum TamNonPrintChar : uint8_t { amNPSpace = 1, amNPTab = 2, amNPReturn = 4 };
using TamNonPrintChars = uint8_t;

enum TBorderStyle : uint8_t { bsNone, bsSingle };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

} // namespace zandor
