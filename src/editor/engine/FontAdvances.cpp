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
}

namespace {

// Pairs that kern in proportional faces and sequences that form ligatures, then every byte value in
// groups: any difference to the sum of advances shows that the face is not additive.
bool MeasuresAsSum(TextMeasurer& m, uint8_t font, const TFontAdvances& a) {
    std::string probes[] = {"AVAWAYTaToTeVaWaYaLTLVLYP.F,r.y,", "fiflffffiffl--->=<=!=www"};
    auto sum = [&](const std::string& s) {
        int64_t total = 0;
        for (unsigned char c : s)
            total += a.Advance[c];
        return total;
    };
    for (const std::string& s : probes)
        if (m.TextExtent(font, s.data(), static_cast<int>(s.size())) != sum(s))
            return false;
    std::string group;
    for (int c = 1; c < 256; ++c) {
        group += static_cast<char>(c);
        if (group.size() == 16 || c == 255) {
            if (m.TextExtent(font, group.data(), static_cast<int>(group.size())) != sum(group))
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
        const char ch = static_cast<char>(c);
        a.Advance[static_cast<size_t>(c)] = FMeasurer->TextExtent(font, &ch, 1);
    }
    // When measuring fails: an advance of 1 and no overhang.
    const char blanks[2] = {' ', ' '};
    const int one = FMeasurer->TextExtent(font, blanks, 1);
    const int two = FMeasurer->TextExtent(font, blanks, 2);
    if (one > 0 && two > 0) {
        a.SpaceAdvance = two - one;
        a.Overhang = std::max(0, 2 * one - two);
    }
    a.Additive = a.Overhang == 0 && MeasuresAsSum(*FMeasurer, font, a);
    return a;
}

int64_t TMeasureCache::Extent(const TFontAdvances& a, uint8_t font, const char* text, int length) const {
    if (length <= 0)
        return 0;
    if (!a.Additive)
        return FMeasurer->TextExtent(font, text, length);
    int64_t total = 0;
    for (int i = 0; i < length; ++i)
        total += a.Advance[static_cast<unsigned char>(text[i])];
    return total;
}

} // namespace zandor
