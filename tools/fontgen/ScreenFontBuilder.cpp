#include "ScreenFontBuilder.h"

#include "DrawnGlyphs.h"
#include "platform/CodePages.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <stdexcept>
#include <vector>

namespace zandor::fontgen {

namespace {

// Line weights of the four arms of a box-drawing character: 0 none, 1 single, 2 double.
struct Arms {
    char32_t codePoint;
    int up, down, left, right;
};

// clang-format off
constexpr Arms kBoxArms[] = {
    {0x2502, 1, 1, 0, 0}, {0x2524, 1, 1, 1, 0}, {0x2561, 1, 1, 2, 0}, {0x2562, 2, 2, 1, 0},
    {0x2556, 0, 2, 1, 0}, {0x2555, 0, 1, 2, 0}, {0x2563, 2, 2, 2, 0}, {0x2551, 2, 2, 0, 0},
    {0x2557, 0, 2, 2, 0}, {0x255D, 2, 0, 2, 0}, {0x255C, 2, 0, 1, 0}, {0x255B, 1, 0, 2, 0},
    {0x2510, 0, 1, 1, 0}, {0x2514, 1, 0, 0, 1}, {0x2534, 1, 0, 1, 1}, {0x252C, 0, 1, 1, 1},
    {0x251C, 1, 1, 0, 1}, {0x2500, 0, 0, 1, 1}, {0x253C, 1, 1, 1, 1}, {0x255E, 1, 1, 0, 2},
    {0x255F, 2, 2, 0, 1}, {0x255A, 2, 0, 0, 2}, {0x2554, 0, 2, 0, 2}, {0x2569, 2, 0, 2, 2},
    {0x2566, 0, 2, 2, 2}, {0x2560, 2, 2, 0, 2}, {0x2550, 0, 0, 2, 2}, {0x256C, 2, 2, 2, 2},
    {0x2567, 1, 0, 2, 2}, {0x2568, 2, 0, 1, 1}, {0x2564, 0, 1, 2, 2}, {0x2565, 0, 2, 1, 1},
    {0x2559, 2, 0, 0, 1}, {0x2558, 1, 0, 0, 2}, {0x2552, 0, 1, 0, 2}, {0x2553, 0, 2, 0, 1},
    {0x256B, 2, 2, 1, 1}, {0x256A, 1, 1, 2, 2}, {0x2518, 1, 0, 1, 0}, {0x250C, 0, 1, 0, 1},
};
// clang-format on

// Scales a picture on the unit grid up to the cell.
GlyphBitmap ScaleUp(const GlyphBitmap& base, const CellGrid& grid) {
    GlyphBitmap cell(grid.width, grid.height);
    for (int y = 0; y < base.height(); ++y)
        for (int x = 0; x < base.width(); ++x)
            if (base.at(x, y))
                cell.fill(x * grid.unitX, y * grid.unitY, (x + 1) * grid.unitX, (y + 1) * grid.unitY);
    return cell;
}

int BaseHeight(const CellGrid& grid) {
    return grid.height / grid.unitY;
}

// Draws the box character on the unit grid. Every line of an arm runs from the cell edge to the
// line it meets: a single line crosses all lines of the other direction; each line of a double
// arm stops at the nearer line of the arm on its own side, runs through when the opposite arm is
// double as well, and otherwise closes the corner at the far line.
GlyphBitmap DrawBox(const Arms& arms, const CellGrid& grid) {
    const int rows = BaseHeight(grid), cols = 8, r = grid.lineRow;
    GlyphBitmap base(cols, rows);
    auto rowsOf = [&](int weight) {
        return weight == 1 ? std::vector<int>{r} : std::vector<int>{r - 1, r + 1};
    };
    auto colsOf = [&](int weight) {
        return weight == 1 ? std::vector<int>{grid.lineCol0, grid.lineCol1}
                           : std::vector<int>{grid.lineCol0 - 1, grid.lineCol1 + 1};
    };
    std::vector<int> hRows, vCols;
    for (int weight : {arms.left, arms.right})
        if (weight)
            for (int row : rowsOf(weight))
                hRows.push_back(row);
    for (int weight : {arms.up, arms.down})
        if (weight)
            for (int col : colsOf(weight))
                vCols.push_back(col);
    auto lowest = [](const std::vector<int>& v, int none) {
        return v.empty() ? none : *std::min_element(v.begin(), v.end());
    };
    auto highest = [](const std::vector<int>& v, int none) {
        return v.empty() ? none : *std::max_element(v.begin(), v.end());
    };

    // Vertical arms: lines are column ranges; a double arm's first line is on the left.
    for (int down = 0; down < 2; ++down) {
        const int weight = down ? arms.down : arms.up, opposite = down ? arms.up : arms.down;
        if (!weight)
            continue;
        const std::vector<int> cols = colsOf(weight);
        for (int line = 0; line < (weight == 1 ? 1 : 2); ++line) {
            const int c0 = weight == 1 ? cols[0] : cols[line], c1 = weight == 1 ? cols[1] : cols[line];
            const int side = line == 0 ? arms.left : arms.right;
            int reach; // the row the line reaches from its edge, inclusive
            if (weight == 2 && side)
                reach = down ? highest(rowsOf(side), 0) : lowest(rowsOf(side), rows - 1);
            else if (weight == 2 && opposite == 2)
                reach = down ? 0 : rows - 1;
            else
                reach = down ? lowest(hRows, 0) : highest(hRows, rows - 1);
            if (down)
                base.fill(c0, reach, c1 + 1, rows);
            else
                base.fill(c0, 0, c1 + 1, reach + 1);
        }
    }
    // Horizontal arms: lines are rows; a double arm's first line is the upper one.
    for (int right = 0; right < 2; ++right) {
        const int weight = right ? arms.right : arms.left, opposite = right ? arms.left : arms.right;
        if (!weight)
            continue;
        const std::vector<int> lineRows = rowsOf(weight);
        for (size_t line = 0; line < lineRows.size(); ++line) {
            const int side = line == 0 ? arms.up : arms.down;
            int reach;
            if (weight == 2 && side)
                reach = right ? highest(colsOf(side), 0) : lowest(colsOf(side), cols - 1);
            else if (weight == 2 && opposite == 2)
                reach = right ? 0 : cols - 1;
            else
                reach = right ? lowest(vCols, 0) : highest(vCols, cols - 1);
            if (right)
                base.fill(reach, lineRows[line], cols, lineRows[line] + 1);
            else
                base.fill(0, lineRows[line], reach + 1, lineRows[line] + 1);
        }
    }
    return ScaleUp(base, grid);
}

// Halves the rows of a picture, keeping every pixel of each pair.
GlyphBitmap HalveRows(const GlyphBitmap& picture) {
    GlyphBitmap half(picture.width(), (picture.height() + 1) / 2);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.at(x, y))
                half.set(x, y / 2);
    return half;
}

std::set<char32_t> Cp437CodePoints() {
    std::set<char32_t> all;
    for (int b = 0; b < 256; ++b)
        all.insert(platform::Cp437ToUnicode(static_cast<unsigned char>(b)));
    return all;
}

// The console font's own picture, when it has one that really is this character: a glyph that the
// font lists first under another code page 437 character only stands in for this one (the Debian
// fonts show the triangles as arrows), and a blank glyph for a visible character is no picture.
const GlyphBitmap* ConsolePicture(const ConsoleFont& font, char32_t codePoint,
                                  const std::set<char32_t>& cp437) {
    auto it = font.glyphOf.find(codePoint);
    if (it == font.glyphOf.end())
        return nullptr;
    const int glyph = it->second;
    for (char32_t listed : font.codePoints[glyph])
        if (cp437.count(listed)) {
            if (listed != codePoint)
                return nullptr;
            break;
        }
    const GlyphBitmap& picture = font.glyphs[glyph];
    return picture.hasInk() ? &picture : nullptr;
}

// On the 8-row grid our drawings come before the console font's glyphs: the Debian 8-row fonts
// show most Greek letters with other characters' glyphs (Γ as ├, Ω as ┘, δ as Σ).
std::optional<GlyphBitmap> SmallGridPicture(char32_t codePoint, const CellGrid& grid) {
    if (BaseHeight(grid) >= 12)
        return std::nullopt;
    if (auto small = DrawnGlyph(codePoint, kSmallGrid))
        return FitToCell(*small, kSmallGrid.baseline, grid);
    return std::nullopt;
}

std::optional<GlyphBitmap> DrawnPicture(char32_t codePoint, const CellGrid& grid) {
    if (BaseHeight(grid) < 12) {
        if (auto tall = DrawnGlyph(codePoint, kTallGrid))
            return FitToCell(HalveRows(*tall), kTallGrid.baseline / 2, grid);
        return std::nullopt;
    }
    if (auto tall = DrawnGlyph(codePoint, kTallGrid))
        return FitToCell(*tall, kTallGrid.baseline, grid);
    return std::nullopt;
}

int InkColumn(const GlyphBitmap& g, bool last) {
    int found = -1;
    for (int x = 0; x < g.width(); ++x)
        for (int y = 0; y < g.height(); ++y)
            if (g.at(x, y)) {
                if (!last)
                    return x;
                found = x;
                break;
            }
    return found;
}

} // namespace

CellGrid MeasureGrid(const ConsoleFont& font) {
    CellGrid grid;
    grid.width = font.width;
    grid.height = font.height;
    auto glyph = [&](char32_t cp) -> const GlyphBitmap& {
        auto it = font.glyphOf.find(cp);
        if (it == font.glyphOf.end())
            throw std::runtime_error("console font lacks the character needed to measure its grid");
        return font.glyphs[it->second];
    };
    if (font.width % 8 != 0)
        throw std::runtime_error("console font cell is not a multiple of 8 columns wide");
    grid.unitX = font.width / 8;
    const auto [hTop, hBottom] = glyph(U'─').inkRows();
    const auto [letterTop, letterBottom] = glyph(U'H').inkRows();
    const int vLeft = InkColumn(glyph(U'│'), false), vRight = InkColumn(glyph(U'│'), true);
    if (hTop < 0 || letterBottom < 0 || vLeft < 0)
        throw std::runtime_error("console font has blank line or letter glyphs");
    grid.unitY = hBottom - hTop + 1;
    grid.ascent = letterBottom + 1;
    grid.lineRow = hTop / grid.unitY;
    grid.lineCol0 = vLeft / grid.unitX;
    grid.lineCol1 = vRight / grid.unitX;
    // Double lines are drawn one unit beside the single ones, so those must stay inside the cell.
    if (font.height % grid.unitY != 0 || grid.lineRow < 1 || grid.lineRow > BaseHeight(grid) - 2 ||
        grid.lineCol0 < 1 || grid.lineCol1 > 6)
        throw std::runtime_error("console font box-drawing lines do not fit our grid");
    return grid;
}

GlyphBitmap BoxGlyph(char32_t codePoint, const CellGrid& grid) {
    for (const Arms& arms : kBoxArms)
        if (arms.codePoint == codePoint)
            return DrawBox(arms, grid);
    return {};
}

GlyphBitmap BlockGlyph(char32_t codePoint, const CellGrid& grid) {
    GlyphBitmap cell(grid.width, grid.height);
    const int w = grid.width, h = grid.height;
    switch (codePoint) {
    case U'█':
        cell.fill(0, 0, w, h);
        return cell;
    case U'▀':
        cell.fill(0, 0, w, h / 2);
        return cell;
    case U'▄':
        cell.fill(0, h / 2, w, h);
        return cell;
    case U'▌':
        cell.fill(0, 0, w / 2, h);
        return cell;
    case U'▐':
        cell.fill(w / 2, 0, w, h);
        return cell;
    default:
        break;
    }
    // Shades repeat every two unit rows, so stacked cells continue the pattern.
    std::uint8_t even, odd;
    switch (codePoint) {
    case U'░':
        even = 0x22, odd = 0x88;
        break;
    case U'▒':
        even = 0x55, odd = 0xAA;
        break;
    case U'▓':
        even = 0xDD, odd = 0x77;
        break;
    default:
        return {};
    }
    GlyphBitmap base(8, BaseHeight(grid));
    for (int y = 0; y < base.height(); ++y)
        for (int x = 0; x < 8; ++x)
            base.set(x, y, ((y % 2 ? odd : even) >> (7 - x)) & 1);
    return ScaleUp(base, grid);
}

GlyphBitmap FitToCell(const GlyphBitmap& picture, int baseline, const CellGrid& grid) {
    const int rows = BaseHeight(grid);
    GlyphBitmap base(8, rows);
    const auto [top, bottom] = picture.inkRows();
    if (top < 0)
        return ScaleUp(base, grid);
    if (bottom - top + 1 > rows) {
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < 8; ++x)
                base.set(x, y, picture.at(x, y * picture.height() / rows));
        return ScaleUp(base, grid);
    }
    int shift = grid.ascent / grid.unitY - baseline;
    shift = std::clamp(shift, -top, rows - 1 - bottom);
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < 8; ++x)
            base.set(x, y + shift, picture.at(x, y));
    return ScaleUp(base, grid);
}

ScreenFont BuildScreenFont(const ConsoleFont& font, const std::string& family) {
    const CellGrid grid = MeasureGrid(font);
    const std::set<char32_t> cp437 = Cp437CodePoints();
    ScreenFont screen;
    screen.family = family;
    screen.width = grid.width;
    screen.height = grid.height;
    screen.ascent = grid.ascent;
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = platform::Cp437ToUnicode(static_cast<unsigned char>(b));
        GlyphBitmap picture;
        GlyphSource source = GlyphSource::Generated;
        if (cp == 0 || cp == U' ' || cp == 0xA0) {
            picture = GlyphBitmap(grid.width, grid.height);
            source = GlyphSource::Blank;
        } else if (GlyphBitmap box = BoxGlyph(cp, grid); box.width() > 0) {
            picture = std::move(box);
        } else if (GlyphBitmap block = BlockGlyph(cp, grid); block.width() > 0) {
            picture = std::move(block);
        } else if (auto small = SmallGridPicture(cp, grid)) {
            picture = std::move(*small);
            source = GlyphSource::Drawn;
        } else if (const GlyphBitmap* console = ConsolePicture(font, cp, cp437)) {
            picture = *console;
            source = GlyphSource::Console;
        } else if (auto drawn = DrawnPicture(cp, grid)) {
            picture = std::move(*drawn);
            source = GlyphSource::Drawn;
        } else {
            char message[96];
            std::snprintf(message, sizeof message, "no picture for byte 0x%02X (U+%04X)", b,
                          static_cast<unsigned>(cp));
            throw std::runtime_error(message);
        }
        screen.glyphs.emplace(cp, std::move(picture));
        screen.sources[b] = source;
    }
    return screen;
}

} // namespace zandor::fontgen
