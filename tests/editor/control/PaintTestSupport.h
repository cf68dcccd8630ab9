// Helpers of the painting tests: the screen fonts, texts loaded into a bare core with hand-made
// line tables, and pixel questions about painted images.
#pragma once

#include "editor/engine/ByteStream.h"
#include "editor/engine/LineGeometry.h"
#include "editor/engine/LinesList.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphStreams.h"
#include "editor/engine/ParagraphsList.h"
#include "platform/ScreenFonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QImage>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace zandor::test {

inline std::string ScreenFontsFolder() {
    if (const char* build = std::getenv("ZANDOR_BINARY_DIR"))
        return std::string(build) + "/fonts";
    return QDir(QCoreApplication::applicationDirPath() + "/../fonts").absolutePath().toStdString();
}

inline bool RegisterTestFonts() {
    static const bool registered = platform::RegisterScreenFonts(ScreenFontsFolder());
    return registered;
}

inline QFont PixelFont(const char* face, int pixels) {
    QFont font(face);
    font.setPixelSize(pixels);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

// Replaces the core's text by `text` (paragraphs split at CR LF) without laying anything out.
inline void LoadBare(TArtMemoCore& core, std::string_view text) {
    TParagraphsList& pars = core.Paragraphs();
    pars.ClearAll();
    TMemoryStream stream(text);
    TArtLineBreak kind = pbCRLF;
    LoadParagraphs(pars, stream, 1000, {}, kind, false, 0);
}

// Gives paragraph `par` the lines that end at `wraps` (empty: one line), measured with the core's
// measurer: trailing blanks count in FullWidth only; blanks before a wrap stretch when justified.
inline void SetLines(TArtMemoCore& core, int par, const std::vector<int32_t>& wraps = {}) {
    ParInfo& rec = core.Paragraphs().Par(par);
    const int32_t length = ParLength(rec);
    TLinesList lines(&rec);
    lines.SetLineCount(int(wraps.size()) + 1);
    for (size_t k = 0; k <= wraps.size(); ++k) {
        LineInfo line{};
        line.Start = k == 0 ? 0 : wraps[k - 1];
        line.Stop = k == wraps.size() ? length : wraps[k];
        line.JustifyFrom = line.Stop;
        lines.PutLine(int(k), line);
        int32_t end = line.Stop;
        while (end > line.Start && rec.Text[end - 1] == ' ')
            --end;
        TLineGeometry geometry(core, rec, line);
        line.TextWidth = geometry.WidthTo(end);
        line.FullWidth = geometry.WidthTo(line.Stop);
        if (k < wraps.size()) {
            for (int32_t i = line.Start; i < end; ++i)
                if (rec.Text[i] == ' ')
                    ++line.Spaces;
            line.JustifyFrom = line.Start;
            for (int32_t i = line.Start; i < end; ++i)
                if (rec.Text[i] == '\t') {
                    line.JustifyFrom = i;
                    line.Spaces = 0;
                    for (int32_t j = i; j < end; ++j)
                        line.Spaces += rec.Text[j] == ' ';
                }
        }
        lines.PutLine(int(k), line);
    }
    rec.Flags |= pfLinesValid;
    TParagraphsList& pars = core.Paragraphs();
    int32_t first = 0;
    for (int p = 0; p < pars.Count(); ++p) {
        pars.Par(p).FirstLine = first;
        first += LineCountOf(pars.Par(p));
    }
    pars.LineCount = pars.VisibleLineCount = first;
    pars.BgNext = pars.Count();
    pars.BgLast = -1;
}

inline void SetAllLines(TArtMemoCore& core) {
    for (int p = 0; p < core.Paragraphs().Count(); ++p)
        SetLines(core, p);
}

// Columns x0 .. x1-1 of the rows y0 .. y1-1 that differ from `background`.
inline int InkIn(const QImage& image, QRgb background, int x0, int x1, int y0 = 0, int y1 = -1) {
    if (y1 < 0)
        y1 = image.height();
    int ink = 0;
    for (int y = std::max(0, y0); y < std::min(y1, image.height()); ++y)
        for (int x = std::max(0, x0); x < std::min(x1, image.width()); ++x)
            ink += image.pixel(x, y) != background;
    return ink;
}

// The rectangle that holds every pixel differing from `background`.
inline QRect InkBounds(const QImage& image, QRgb background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace zandor::test
