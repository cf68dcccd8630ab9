// What the formatter keeps of a measurer's fonts between batches: the space advance and overhang
// of each font, and each byte's advance in 64ths of a pixel. A font whose runs of characters
// measure exactly as their advances added up and rounded once (no kerning, no ligatures: every
// screen font, and monospaced faces in general, fractional advances included) is measured from the
// table, which spares a platform call per word.
#pragma once

#include "editor/engine/TextMeasurer.h"

#include <array>
#include <cstdint>
#include <memory>

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
    TextMeasurer* FMeasurer = nullptr;
    uint32_t FGeneration = 0;
    std::array<std::unique_ptr<TFontAdvances>, 64> FFonts;
};

} // namespace zandor
