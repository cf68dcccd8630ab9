// What the formatter keeps of a measurer's fonts between batches: the space advance and overhang
// of each font, and each byte's advance in 64ths of a pixel. A font whose runs of characters
// measure exactly as their advances added up and rounded once (no kerning, no ligatures: every
// screen font, and monospaced faces in general, fractional advances included) is measured from the
// table, which spares a platform call per word.
#pragma once

#include "editor/engine/TextMeasurer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zandor {

struct TFontAdvances {
    // Runs of bytes marked in Fits measure as the rounded sum of their Advance64.
    bool Additive = false;
    int SpaceAdvance = 1;
    int Overhang = 0;
    std::array<int32_t, 256> Advance{};   // a single byte measured alone
    std::array<int32_t, 256> Advance64{}; // in 64ths of a pixel
    std::array<bool, 256> Fits{};         // the byte measures the same alone as in a run
};

// The widths of the pieces of text (words, mostly) measured so far in one font. A face that does not
// add up (kerning, ligatures: most proportional faces) is measured by the platform piece by piece,
// which costs microseconds each; a text repeats its words, so each is asked for once.
class TPieceWidths {
public:
    // -1 when the piece was not measured yet.
    int Find(std::string_view piece) const {
        const auto it = FWidths.find(piece);
        return it == FWidths.end() ? -1 : it->second;
    }
    void Remember(std::string_view piece, int width);
    void Clear() { FWidths.clear(); }

    // Pieces longer than this are not kept (they rarely come again), nor more than this many.
    static constexpr size_t kLongest = 32;
    static constexpr size_t kMost = 1 << 16;

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, int, Hash, std::equal_to<>> FWidths;
};

// Refers to the measurer it was bound to (not owned); owns the tables of the fonts asked for.
class TMeasureCache {
public:
    // Forgets every table when the measurer or its generation (bumped when the control's fonts
    // change) is another than before.
    void Bind(TextMeasurer* measurer, uint32_t generation);
    TextMeasurer* Measurer() const { return FMeasurer; }
    const TFontAdvances& Of(uint8_t font);
    // Width of text[0 .. length) in font, whose tables are a.
    int64_t Extent(const TFontAdvances& a, uint8_t font, const char* text, int length) const;
    static int64_t Round64(int64_t v) { return (v + 32) >> 6; }

private:
    // The platform's width of a piece, remembered per font.
    int64_t Measured(uint8_t font, const char* text, int length) const;

    TextMeasurer* FMeasurer = nullptr;
    uint32_t FGeneration = 0;
    std::array<std::unique_ptr<TFontAdvances>, 64> FFonts;
    mutable std::array<TPieceWidths, 64> FPieces;
};

} // namespace zandor
