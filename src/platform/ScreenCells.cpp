#include "platform/ScreenCells.h"

#include "platform/ScreenFonts.h"

#include <cmath>

namespace zandor::platform {

int DosAspectHeight(int rows) {
    return int(std::lround(rows * kDosAspect));
}

int StretchedRowSource(int y, int stretched, int rows) {
    if (stretched <= 0 || rows <= 0)
        return 0;
    // The middle of row y, (y + 1/2) / stretched of the cell, falls in row floor(that * rows).
    const long long source = (2LL * y + 1) * rows / (2LL * stretched);
    return int(source < 0 ? 0 : source >= rows ? rows - 1 : source);
}

const std::vector<int>& ScreenFontBaseCells(std::string_view face) {
    static const std::vector<int> large{14, 16};
    static const std::vector<int> tiny{8};
    static const std::vector<int> none;
    return face == LargeScreenFontFace ? large : face == TinyScreenFontFace ? tiny : none;
}

std::string ScreenFontFamily(std::string_view face, bool nineDots, bool dosAspect) {
    if (!IsScreenFontFace(face))
        return {};
    std::string family(face);
    if (nineDots)
        family += "9";
    if (dosAspect)
        family += "Dos";
    return family;
}

bool IsScreenFontForm(std::string_view family) {
    for (std::string_view face : {LargeScreenFontFace, TinyScreenFontFace})
        for (bool nine : {false, true})
            for (bool dos : {false, true})
                if ((nine || dos) && family == ScreenFontFamily(face, nine, dos))
                    return true;
    return false;
}

int DosAspectPixels(std::string_view face, int pixels) {
    for (int base : ScreenFontBaseCells(face))
        if (pixels % base == 0 && pixels / base >= kLeastDosAspectFactor &&
            pixels / base <= kMostDosAspectFactor)
            return DosAspectHeight(pixels);
    return 0;
}

} // namespace zandor::platform
