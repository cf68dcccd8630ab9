// How the screen fonts draw their cells beyond the cell's size: the VGA's nine-pixel cells and the
// taller-than-wide pixels of its 720x400 text mode on a 4:3 screen. The font generator builds a
// family of font files for each form and the program picks the family by these rules, so the two
// agree on every name and height.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zandor::platform {

struct TScreenCells {
    // Nine pixels per cell: the ninth column repeats the eighth for the line-drawing bytes
    // 0xC0-0xDF and is blank for the others.
    bool NineDots = false;
    // Every row stretched by the DOS aspect, where a cell enlarged two to four times lets whole
    // rows be repeated.
    bool DosAspect = false;
    bool operator==(const TScreenCells&) const = default;
};

// The VGA's 720x400 text mode filled a 4:3 screen: its pixels were 1.35 times taller than wide.
inline constexpr double kDosAspect = 1.35;

// round(rows * 1.35): the height of a cell of `rows` rows stretched to the DOS aspect.
int DosAspectHeight(int rows);

// The row of a cell of `rows` rows that row y of that cell stretched to `stretched` rows shows: the
// nearest one (the row whose middle is nearest to the middle of y).
int StretchedRowSource(int y, int stretched, int rows);

// Whether a nine-pixel cell repeats the byte's eighth column as its ninth.
constexpr bool RepeatsEighthColumn(unsigned char byte) {
    return byte >= 0xC0 && byte <= 0xDF;
}

// The cell heights of the 8-pixel-wide sets a screen face is built from: 8 for "ZandorTiny", 14
// and 16 for "ZandorLarge"; empty for any other face.
const std::vector<int>& ScreenFontBaseCells(std::string_view face);

// The whole enlargements of a base cell that the DOS aspect is built for.
inline constexpr int kLeastDosAspectFactor = 2;
inline constexpr int kMostDosAspectFactor = 4;

// The family whose font files draw the screen face `face` in the given form: the face itself, with
// "9" for nine-pixel cells and "Dos" for the stretched rows ("ZandorLarge9Dos"). Empty for any
// other face.
std::string ScreenFontFamily(std::string_view face, bool nineDots, bool dosAspect);

// Whether a family is one of the forms of a screen face other than the face itself (kept out of the
// lists of fonts the user chooses from).
bool IsScreenFontForm(std::string_view family);

// The pixel height of the stretched font for a screen face shown `pixels` high (a cell the face
// comes in, already enlarged), or 0 when no stretched font is built for that height: the height
// must be a base cell times 2, 3 or 4.
int DosAspectPixels(std::string_view face, int pixels);

} // namespace zandor::platform
