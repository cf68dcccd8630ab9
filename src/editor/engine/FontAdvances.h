// What the formatter keeps of a measurer's fonts between batches: the space advance and overhang
// of each font, and each byte's advance. A font whose runs of characters measure exactly as the sum
// of their advances (no kerning, no ligatures: every screen font, and monospaced fonts in general)
// is measured from the table, which spares a platform call per word.
#pragma once

#include "editor/engine/TextMeasurer.h"

#include <array>
#include <cstdint>
#include <memory>

namespace zandor {

struct TFontAdvances {
    bool Additive = false;
    int SpaceAdvance = 1;
    int Overhang = 0;
    std::array<int32_t, 256> Advance{};
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

private:
    TextMeasurer* FMeasurer = nullptr;
    uint32_t FGeneration = 0;
    std::array<std::unique_ptr<TFontAdvances>, 64> FFonts;
};

} // namespace zandor
