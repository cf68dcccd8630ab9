#include "editor/control/LinePainter.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/FormatCodes.h"
#include "editor/engine/LineGeometry.h"
#include "editor/engine/LinesList.h"
#include "editor/engine/ParagraphsList.h"
#include "platform/CodePages.h"
#include "platform/QtTextMeasurer.h"

#include <algorithm>
#include <climits>

namespace zandor {

namespace {

// The marks of non-printing characters are the same three characters in every font: a middle dot
// for a blank, a right-pointing double angle quotation mark for a tab and a pilcrow for a paragraph
// end. Only their bytes differ: 183, 187 and 182 in the ANSI code page, 250, 175 and 20 in code
// page 437, where 183, 187 and 182 are box-drawing characters.
struct TMarks {
    char Blank;
    char Tab;
    char Paragraph;
};

char MarkByte(char16_t mark, int charset) {
    const char16_t* table = platform::CharsetTable(charset);
    for (int byte = 0; byte < 256; ++byte)
        if (table[byte] == mark)
            return char(byte);
    return char(mark); // not reached: both character sets hold all three marks
}

const TMarks& MarksFor(const platform::TCanvasFont& face) {
    static const TMarks oem{MarkByte(u'\u00B7', platform::OemCharset),
                            MarkByte(u'\u00BB', platform::OemCharset),
                            MarkByte(u'\u00B6', platform::OemCharset)};
    static const TMarks ansi{MarkByte(u'\u00B7', 0), MarkByte(u'\u00BB', 0), MarkByte(u'\u00B6', 0)};
    return face.Charset() == platform::OemCharset ? oem : ansi;
}

// Text left of this is only measured: a far scrolled line costs no drawing.
constexpr int kDrawLeftLimit = -16383;

bool ColorSet(int32_t c) {
    return c != platform::kNoColor && c != platform::clNone;
}

QColor ToColor(int32_t c) {
    return ColorSet(c) ? platform::ColorToQColor(c) : QColor();
}

int ClampX(int x) {
    return std::clamp(x, -32768, 32767);
}

} // namespace

TWavyUnderline WavyUnderlineFor(int penWidth, int underlineY, int lineHeight) {
    TWavyUnderline w;
    w.Amplitude = (penWidth * 3) / 2 + 1;
    w.Y = std::min(underlineY, lineHeight - w.Amplitude - 1);
    return w;
}

struct TLinePainter::Line {
    const ParInfo* Par = nullptr;
    LineInfo Info{};
    const char* Text = nullptr;
    int32_t Length = 0;
    bool IsLast = false;
    const TDynInfo* Runs = nullptr;
    int RunCount = 0;
    const TDynInfo* Base = nullptr;
    int32_t ParColor = platform::kNoColor;
    int32_t ParBackColor = platform::kNoColor;
};

void TLinePainter::Record(int32_t offset, int32_t length, int x, int width, uint8_t style, const QColor& text,
                          const QColor& back, char mark) {
    if (FLog)
        FLog->push_back(TPaintedRun{offset, length, x, width, style, text, back, mark});
}

void TLinePainter::ZigZag(platform::TCanvas& canvas, int x1, int x2, int top) const {
    if (x2 <= x1)
        return;
    const int a = std::max(1, S.SpecAmplitude);
    const int y = top + S.SpecUnderlineY;
    std::vector<QPoint> points;
    points.reserve(size_t((x2 - x1) / a + 2));
    // From the low point up and down by the amplitude, the last leg cut where the run ends.
    int x = x1;
    bool low = true;
    points.emplace_back(x, y + a);
    while (x < x2) {
        const int next = std::min(x + a, x2);
        const int rise = (next - x) * (low ? -1 : 1);
        points.emplace_back(next, points.back().y() + rise);
        low = !low;
        x = next;
    }
    canvas.Polyline(points.data(), int(points.size()), S.SpecUnderline);
}

void TLinePainter::Draw(platform::TCanvas& canvas, int32_t parIndex, int lineIndex, int dx, int top) {
    TArtMemoCore& core = *S.Core;
    TParagraphsList& pars = core.Paragraphs();
    ParInfo& par = pars.Par(parIndex);
    TLinesList view(&par);

    Line l;
    l.Par = &par;
    l.Length = ParLength(par);
    l.Text = par.Text;
    l.Info = *view.LineAt(std::clamp(lineIndex, 0, view.LineCount() - 1));
    l.IsLast = lineIndex >= view.LineCount() - 1;
    l.Info.Stop = std::clamp(int32_t(l.Info.Stop), 0, l.Length);
    l.Info.Start = std::clamp(int32_t(l.Info.Start), 0, int32_t(l.Info.Stop));
    l.Base = BaseStyleOf(par);
    if (IsExtended(par)) {
        l.Runs = par.Extra->Runs.data();
        l.RunCount = int(par.Extra->Runs.size());
    }
    l.ParColor = ParColorOf(par);
    l.ParBackColor = ParBackColorOf(par);
    const LineInfo& info = l.Info;

    TLineGeometry geometry(core, par, info);
    const int W = S.TextAreaWidth;
    const int LM = core.LeftMargin();
    const int RM = core.RightMargin();
    const int LO = S.LeftOrigin;
    const int LH = S.LineHeight;
    const int avg = std::max(1, S.AvgCharWidth);
    const int leftEdge = geometry.LeftEdge();
    const int lineX = leftEdge - LO + dx;
    const int baseY = top + S.Baseline;
    const bool staticOn = core.StaticFormat();
    const bool justifiedLine = core.Justified() && info.JustifyFrom < info.Stop;
    const TAlignment align = core.Alignment();

    // ---- where a selection on this line begins and ends
    int lineLeft = LM;
    if (!justifiedLine && align == taRightJustify)
        lineLeft = W - RM - info.TextWidth;
    else if (!justifiedLine && align == taCenter)
        lineLeft = LM + (W - LM - RM - info.TextWidth) / 2;
    int lineRight = lineLeft + info.FullWidth;
    if (justifiedLine)
        lineRight = W - RM + info.FullWidth - info.TextWidth;
    else if (core.ColumnWrap() > 0 && core.WordWrap() && align == taLeftJustify)
        lineRight = info.FullWidth * avg + LM;
    lineLeft += dx - LO;
    lineRight += dx - LO;

    const int32_t parStart = par.Start;
    const int32_t ls = parStart + info.Start;
    const int32_t le = parStart + info.Stop;
    const int32_t parEnd = parStart + l.Length;
    bool hasSel = false;
    bool breakSelected = false;
    int x1 = 0;
    int x2 = 0;
    int32_t selA = 0; // the selected offsets of the paragraph: selA <= i < selB
    int32_t selB = 0;
    auto xAt = [&](int32_t pos) { return geometry.WidthTo(pos - parStart) + lineX; };
    if (S.SelVisible && (S.Block || S.SelLo < S.SelHi)) {
        if (!S.Block) {
            const bool startsHere = S.SelLo >= ls && (S.SelLo < le || (l.IsLast && S.SelLo == le));
            const bool startedBefore = S.SelLo < ls && S.SelHi > ls;
            if (startsHere || startedBefore) {
                hasSel = true;
                x1 = startsHere ? xAt(S.SelLo) : lineLeft;
                const bool endsHere = S.SelHi < le || (l.IsLast && S.SelHi == le);
                if (endsHere)
                    x2 = xAt(S.SelHi);
                else if (S.Options.Has(amoFullLineSelect))
                    x2 = W + dx;
                else
                    x2 = lineRight;
                breakSelected =
                    l.IsLast && parIndex < pars.Count() - 1 && S.SelLo <= parEnd && S.SelHi > parEnd;
            }
            selA = S.SelLo - parStart;
            selB = S.SelHi - parStart;
        } else if (parIndex >= S.BlockParLo && parIndex <= S.BlockParHi) {
            hasSel = true;
            x1 = S.BlockColLo * avg + LM - LO + dx;
            x2 = S.BlockColHi * avg + LM - LO + dx;
            selA = TArtNavigator::OffsetOfColumn(par, S.BlockColLo, core.TabStops(), staticOn);
            selB = TArtNavigator::OffsetOfColumn(par, S.BlockColHi, core.TabStops(), staticOn);
        }
        x1 = ClampX(x1);
        x2 = ClampX(x2);
    }
    const bool winColors = S.Options.Has(amoWindowsSelColors);
    const bool colourSel = hasSel && winColors;
    if (colourSel)
        canvas.FillRect(QRect(x1, top, x2 - x1, LH), S.SelBackColor);

    // ---- the text
    canvas.SetTextJustification(0, 0);
    const int slack = W - LM - RM - info.TextWidth;
    const bool justify = core.Justified() && info.Spaces > 0 && info.JustifyFrom < info.Stop;
    bool justifyPending = justify && info.JustifyFrom > info.Start;
    if (justify && !justifyPending)
        canvas.SetTextJustification(slack, info.Spaces);

    int32_t drawStop = info.Stop;
    const bool blankMarks = (S.NonPrint & amNPSpace) != 0;
    // Blanks at a wrap point belong to the upper line but are not shown there.
    if (!l.IsLast && !blankMarks)
        while (drawStop > info.Start && l.Text[drawStop - 1] == ' ')
            --drawStop;

    int r = 0;
    while (r < l.RunCount && l.Runs[r].Offset <= info.Start)
        ++r;
    uint8_t stat = info.StartStyle;
    const int rightEnd = W + dx;
    const int chunk = std::max(1, S.TextOutputChunk);
    int underlineFrom = INT_MIN;
    int32_t i = info.Start;
    canvas.MoveTo(lineX, baseY);
    const platform::TCanvasFont* face = nullptr;
    uint8_t style = 0;
    QColor text;
    QColor back;

    // Selects font and colours for offset i.
    auto prepare = [&](int32_t at) {
        while (r < l.RunCount && l.Runs[r].Offset <= at)
            ++r;
        const TDynInfo& run = r > 0 ? l.Runs[r - 1] : *l.Base;
        const bool selected = colourSel && at >= selA && at < selB;
        const uint8_t effective = core.EffectiveStyle(run, stat);
        if (!face || effective != style) {
            face = &S.Measurer->FaceFor(effective & platform::kFontStyleMask);
            canvas.SetFont(*face);
        }
        style = effective;
        text = ColorSet(l.ParColor) ? ToColor(l.ParColor) : S.FontColor;
        back = QColor();
        if (stat & sfHighlight) {
            text = S.HighlightColor;
            back = S.HighlightBackgnd;
        }
        if ((run.StyleFlags & sfContext) && (run.Foreground != 0 || run.Background != 0)) {
            if (!ColorSet(l.ParColor) && ColorSet(run.Foreground))
                text = ToColor(run.Foreground);
            if (ColorSet(run.Background) && !(S.Options.Has(amoKeepParBackgnd) && ColorSet(l.ParBackColor)))
                back = ToColor(run.Background);
        }
        if (selected) {
            text = S.SelTextColor;
            back = QColor();
        }
        canvas.SetTextColor(text);
        canvas.SetBackColor(back);
        // The wavy underline runs while the style asks for it.
        if ((style & sfContext) && underlineFrom == INT_MIN)
            underlineFrom = canvas.PenX();
        else if (!(style & sfContext) && underlineFrom != INT_MIN) {
            ZigZag(canvas, underlineFrom, canvas.PenX(), top);
            underlineFrom = INT_MIN;
        }
    };

    bool passedRight = false;
    while (i < drawStop) {
        if (canvas.PenX() > rightEnd) {
            passedRight = true;
            break;
        }
        if (justifyPending && i >= info.JustifyFrom) {
            canvas.SetTextJustification(slack, info.Spaces);
            justifyPending = false;
        }
        const char c = l.Text[i];
        if (staticOn && IsFormatCode(c)) {
            stat ^= FormatCodeBit(c);
            ++i;
            continue;
        }
        prepare(i);
        const int x = canvas.PenX();
        if (c == '\t') {
            int cellEnd = x;
            const int cell = core.TabStops() > 0 ? core.TabStops() * avg : -core.TabStops();
            if (cell > 0) {
                const int origin = leftEdge + dx;
                const int rel = x + LO - origin;
                const int cells = rel >= 0 ? rel / cell : -((-rel + cell - 1) / cell);
                cellEnd = cell * (cells + 1) + origin - LO;
            }
            if (back.isValid())
                canvas.FillRect(QRect(x, baseY - face->Metrics().ascent(), std::min(cellEnd, rightEnd) - x,
                                      face->Metrics().height()),
                                back);
            const char tabMark = (S.NonPrint & amNPTab) ? MarksFor(*face).Tab : 0;
            if (tabMark) {
                canvas.SetBackColor(QColor());
                canvas.CharOut(tabMark, 0);
            }
            Record(i, 1, x, cellEnd - x, style, text, back, tabMark);
            canvas.SetPenX(cellEnd);
            ++i;
            continue;
        }
        if (c == ' ' && blankMarks) {
            const int extra = canvas.Justifying() ? canvas.NextBreakExtra() : 0;
            const char blankMark = MarksFor(*face).Blank;
            canvas.CharOut(blankMark, avg + extra);
            Record(i, 1, x, avg + extra, style, text, back, blankMark);
            ++i;
            continue;
        }
        // A piece ends at the next run, selection end, tab, code, marked blank or justification start.
        int32_t end = std::min(drawStop, i + chunk);
        if (r < l.RunCount)
            end = std::min(end, int32_t(l.Runs[r].Offset));
        if (colourSel) {
            if (i < selA)
                end = std::min(end, selA);
            else if (i < selB)
                end = std::min(end, selB);
        }
        if (justifyPending)
            end = std::min(end, int32_t(info.JustifyFrom));
        int32_t j = i + 1;
        while (j < end) {
            const char d = l.Text[j];
            if (d == '\t' || (staticOn && IsFormatCode(d)) || (blankMarks && d == ' '))
                break;
            ++j;
        }
        const int width =
            x < kDrawLeftLimit ? canvas.SkipText(l.Text + i, j - i) : canvas.TextOut(l.Text + i, j - i);
        Record(i, j - i, x, width, style, text, back, 0);
        i = j;
    }
    if (underlineFrom != INT_MIN)
        ZigZag(canvas, underlineFrom, canvas.PenX(), top);

    // ---- the paragraph end
    bool markShown = false;
    if (!passedRight && i >= drawStop && l.IsLast) {
        if (S.NonPrint & amNPReturn) {
            markShown = true;
            prepare(l.Length);
            const int x = canvas.PenX();
            const char paragraphMark = MarksFor(*face).Paragraph;
            const int markWidth = canvas.TextExtent(&paragraphMark, 1);
            canvas.SetBackColor(QColor());
            if (breakSelected && !S.Options.Has(amoFullLineSelect)) {
                if (winColors) {
                    canvas.FillRect(QRect(x, top, markWidth, LH), S.SelBackColor);
                    canvas.SetTextColor(S.SelTextColor);
                } else {
                    x2 = ClampX(x + markWidth);
                }
            }
            canvas.CharOut(paragraphMark, markWidth);
            Record(l.Length, 0, x, markWidth, style, text, QColor(), paragraphMark);
        }
    }
    if (hasSel && !winColors)
        canvas.InvertRect(QRect(x1, top, x2 - x1, LH));
    if (breakSelected && S.ShowEndParSelected && !S.Options.Has(amoFullLineSelect) && !S.Block &&
        !markShown) {
        const QRect box(x2, top + LH / 3, avg / 2 + 1, 2 * (LH / 3) - LH / 3);
        if (winColors)
            canvas.FillRect(box, S.SelBackColor);
        else
            canvas.InvertRect(box);
    }
}

} // namespace zandor
