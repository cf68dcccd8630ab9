#include "editor/engine/FontAdvances.h"

#include <algorithm>
#include <string>

namespace zandor {

void TMeasureCache::Bind(TextMeasurer* measurer, uint32_t generation) {
    if (measurer == FMeasurer && generation == FGeneration)
        return;
    FMeasurer = measurer;
    FGeneration = generation;
    for (auto& font : FFonts)
        font.reset();
    for (TPieceWidths& pieces : FPieces)
        pieces.Clear();
}

void TPieceWidths::Remember(std::string_view piece, int width) {
    if (piece.size() > kLongest)
        return;
    if (FWidths.size() >= kMost)
        FWidths.clear(); // a text of that many distinct words starts over rather than grow on
    FWidths.emplace(piece, width);
}

int64_t TMeasureCache::Measured(uint8_t font, const char* text, int length) const {
    TPieceWidths& pieces = FPieces[font & 0x3F];
    const std::string_view piece(text, static_cast<size_t>(length));
    if (const int known = pieces.Find(piece); known >= 0)
        return known;
    const int width = FMeasurer->TextExtent(font, text, length);
    pieces.Remember(piece, width);
    return width;
}

namespace {

// Pairs that kern in proportional faces and sequences that form ligatures, then every byte value
// that measures alone as in a run, in groups: any difference to the rounded sum of advances shows
// that the face does not add up.
bool MeasuresAsSum(TextMeasurer& m, uint8_t font, const TFontAdvances& a) {
    auto predicted = [&](const std::string& s) {
        int64_t total = 0;
        for (unsigned char c : s)
            total += a.Advance64[c];
        return TMeasureCache::Round64(total);
    };
    auto same = [&](const std::string& s) {
        return m.TextExtent(font, s.data(), static_cast<int>(s.size())) == predicted(s);
    };
    for (const char* probe : {"AVAWAYTaToTeVaWaYaLTLVLYP.F,r.y,", "fiflffffiffl--->=<=!=www"})
        if (!same(probe))
            return false;
    std::string group;
    for (int c = 1; c < 256; ++c) {
        if (a.Fits[static_cast<size_t>(c)])
            group += static_cast<char>(c);
        if (group.size() == 16 || (c == 255 && !group.empty())) {
            if (!same(group))
                return false;
            group.clear();
        }
    }
    return true;
}

} // namespace

const TFontAdvances& TMeasureCache::Of(uint8_t font) {
    std::unique_ptr<TFontAdvances>& slot = FFonts[font & 0x3F];
    if (slot)
        return *slot;
    slot = std::make_unique<TFontAdvances>();
    TFontAdvances& a = *slot;
    for (int c = 0; c < 256; ++c) {
        const auto at = static_cast<size_t>(c);
        const char ch = static_cast<char>(c);
        a.Advance[at] = FMeasurer->TextExtent(font, &ch, 1);
        // Sixty-four in a row give the advance to a 64th of a pixel, the precision text layout
        // positions glyphs with.
        const std::string row(64, ch);
        a.Advance64[at] = FMeasurer->TextExtent(font, row.data(), 64);
        a.Fits[at] = c != 0 && c != '\t' && Round64(a.Advance64[at]) == a.Advance[at];
    }
    // When measuring fails: an advance of 1 and no overhang.
    const char blanks[2] = {' ', ' '};
    const int one = FMeasurer->TextExtent(font, blanks, 1);
    const int two = FMeasurer->TextExtent(font, blanks, 2);
    if (one > 0 && two > 0) {
        a.SpaceAdvance = two - one;
        a.Overhang = std::max(0, 2 * one - two);
    }
    a.Additive = MeasuresAsSum(*FMeasurer, font, a);
    return a;
}

int64_t TMeasureCache::Extent(const TFontAdvances& a, uint8_t font, const char* text, int length) const {
    if (length <= 0)
        return 0;
    if (a.Additive) {
        int64_t total = 0;
        bool fits = true;
        for (int i = 0; i < length; ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            total += a.Advance64[c];
            fits &= a.Fits[c];
        }
        if (fits)
            return Round64(total);
    }
    return Measured(font, text, length);
}

} // namespace zandor
