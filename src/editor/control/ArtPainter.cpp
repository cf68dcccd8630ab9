#include "editor/control/ArtPainter.h"

#include "editor/control/ArtMemo.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ParagraphsList.h"
#include "platform/QtTextMeasurer.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zandor {

namespace {

// Farther left and right than any line reaches, in the render canvas's units.
constexpr double kFarX = 1e6;

// Whether the font or the alternate font reaches above a line's top or below its bottom.
bool FacesOverflow(platform::QtTextMeasurer& faces, int baseline, int lineHeight) {
    for (const uint8_t style : {uint8_t(0), sfAltFont}) {
        const QFontMetrics& m = faces.FaceFor(style).Metrics();
        if (m.ascent() > baseline || baseline + m.descent() > lineHeight)
            return true;
    }
    return false;
}

int FloorMod(int a, int b) {
    return ((a % b) + b) % b;
}

// A navigator that borrows the control's core for one paint, unregistered.
struct TBorrowedNavigator {
    explicit TBorrowedNavigator(TArtMemoCore& core) { Nav.SetMemo(&core); }
    TArtNavigator Nav;
};

// Steps (par, k) to the display line below: the next line of the paragraph, else the first line of
// the next paragraph that is shown.
void NextDisplayLine(const TParagraphsList& pars, int32_t& par, int& k) {
    if (k + 1 < LineCountOf(pars.Par(par))) {
        ++k;
        return;
    }
    k = 0;
    do
        ++par;
    while (par < pars.Count() && IsHidden(pars.Par(par)));
}

} // namespace

TPaintSettings TArtPainter::Settings(bool render) const {
    TArtMemo& m = FMemo;
    TArtMemoCore& core = m.Core();
    TPaintSettings s;
    s.Core = &core;
    // While printing, the text is drawn in the faces the layout measured with.
    platform::QtTextMeasurer* faces = nullptr;
    if (render)
        faces = dynamic_cast<platform::QtTextMeasurer*>(core.ForeignMeasurer());
    const bool foreign = faces != nullptr;
    if (!faces)
        faces = dynamic_cast<platform::QtTextMeasurer*>(&core.Measurer());
    s.Measurer = faces ? faces : &m.Measurer();
    s.TextAreaWidth = render ? m.RenderWidth() : m.TextAreaWidth();
    // Every length the lines are drawn with belongs to the faces they are drawn in: the screen's
    // are the control's own, a printer's faces give theirs by the same rule.
    TLineMetrics line{m.LinePixels(), m.Baseline(), core.UnderlineY(), m.AvgCharWidth(), m.TextOutputChunk()};
    platform::TPenValue wavyPen = m.SpecUnderline();
    if (foreign) {
        line = core.MetricsFor(*faces);
        // The pen is the screen's in pixels; on larger faces it grows with them.
        const int own = core.Measurer().Metrics(core.FontStyle()).Height;
        const int drawn = faces->Metrics(core.FontStyle()).Height;
        if (own > 0 && wavyPen.Width > 0)
            wavyPen.Width = std::max(1, int(std::lround(double(wavyPen.Width) * drawn / own)));
    }
    s.LineHeight = std::max(1, line.LinePixels);
    s.Baseline = line.Baseline;
    s.AvgCharWidth = std::max(1, line.AvgCharWidth);
    s.TextOutputChunk = line.TextOutputChunk;
    s.LeftOrigin = render ? 0 : m.LeftOrigin();
    s.FontColor = platform::ColorToQColor(m.Font().Color);
    s.HighlightColor = platform::ColorToQColor(m.HighlightColor());
    s.HighlightBackgnd = platform::ColorToQColor(m.HighlightBackgnd());
    s.SelBackColor = platform::ColorToQColor(m.SelBackColor());
    s.SelTextColor = platform::ColorToQColor(m.SelTextColor());
    s.Options = m.Options();
    s.NonPrint = m.ShowNonPrintChars();
    s.ShowEndParSelected = m.ShowEndParSelected();

    TMemoSelection& sel = m.Selection();
    s.Block = sel.BlockMode();
    s.SelVisible = (sel.SelLength() != 0 || s.Block) && (!m.HideSelection() || m.Focused());
    s.SelLo = sel.Lower();
    s.SelHi = sel.Upper();
    if (s.Block && s.SelVisible) {
        s.BlockParLo = sel.StartNav().ParNb();
        s.BlockParHi = sel.EndNav().ParNb();
        s.BlockColLo = sel.BlockLeft();
        s.BlockColHi = sel.BlockRight();
    }
    const TWavyUnderline wavy = WavyUnderlineFor(wavyPen.Width, line.UnderlineY, s.LineHeight);
    s.SpecUnderline = wavyPen;
    s.SpecAmplitude = wavy.Amplitude;
    s.SpecUnderlineY = wavy.Y;
    return s;
}

bool TArtPainter::LayOutLines(int32_t first, int32_t last) {
    TArtMemoCore& core = FMemo.Core();
    TParagraphsList& pars = core.Paragraphs();
    TBorrowedNavigator probe(core);
    auto parOfLine = [&](int32_t line) {
        probe.Nav.SetDisplayLine(std::clamp(line, 0, std::max(0, pars.VisibleLineCount - 1)));
        return probe.Nav.ParNb();
    };
    // Highlighting contexts first: the colours of the top paragraph depend on what precedes it.
    core.ParseUpTo(parOfLine(first));
    bool any = false;
    // Each layout may move the paint range to other paragraphs (line counts change), so the range
    // is looked up again until every paragraph in it is laid out.
    for (int pass = 0; pass < 64; ++pass) {
        const int32_t from = parOfLine(first);
        const int32_t to = parOfLine(last);
        int32_t needed = -1;
        for (int32_t p = from; p <= to && needed < 0; ++p) {
            const ParInfo& par = pars.Par(p);
            if (!IsHidden(par) && !(par.Flags & pfLinesValid))
                needed = p;
        }
        if (needed < 0)
            break;
        // Pending paragraphs are laid out in one range up to the last one painted (on their own
        // when the pending front is far above); a stale one before the front on its own.
        core.FormatForView(needed, needed >= pars.BgNext ? to : needed);
        any = true;
        if (!(pars.Par(needed).Flags & pfLinesValid))
            break; // nothing to lay out with (no window yet)
    }
    return any;
}

void TArtPainter::Background(platform::TCanvas& canvas, const QRect& rect, int32_t par, int documentY) const {
    if (par >= 0) {
        const int32_t own = ParBackColorOf(FMemo.Core().Paragraphs().Par(par));
        if (own != platform::kNoColor && own != platform::clNone) {
            canvas.FillRect(rect, platform::ColorToQColor(own));
            return;
        }
    }
    const QImage& picture = FMemo.BackgroundBmp();
    if (!picture.isNull()) {
        // Tiles are fixed to the document, so they scroll with the text.
        canvas.TileImage(rect, picture, QPoint(FMemo.LeftOrigin() + rect.left(), documentY));
        return;
    }
    canvas.FillRect(rect, platform::ColorToQColor(FMemo.Color()));
}

void TArtPainter::Paint(QPainter& painter, const QRect& dirty) {
    // Inside an update bracket the text may be half changed; the bracket repaints when it closes.
    if (FMemo.UpdateLevel() > 0 || dirty.isEmpty())
        return;
    platform::TCanvas window(painter);
    QImage* bitmap = FMemo.LineBitmap();
    if (!bitmap || bitmap->isNull()) {
        window.FillRect(dirty, platform::ColorToQColor(FMemo.Color()));
        return;
    }
    TArtMemoCore& core = FMemo.Core();
    TParagraphsList& pars = core.Paragraphs();
    const int LH = std::max(1, FMemo.LinePixels());
    const int TO = FMemo.TopOrigin();
    const int32_t first = std::max(0, (TO + dirty.top()) / LH);
    const int32_t last = (dirty.bottom() + TO) / LH;
    const bool laidOut = LayOutLines(first, last);

    const TPaintSettings s = Settings(false);
    TLinePainter lines(s);
    lines.SetLog(FLog);
    const int W = s.TextAreaWidth;

    if (first == 0 && TO < 0)
        Background(window, QRect(0, 0, W, -TO), -1, TO);

    const int32_t visible = pars.VisibleLineCount;
    int32_t line = first;
    int y = first * LH - TO;
    if (line < visible) {
        TBorrowedNavigator nav(core);
        nav.Nav.SetDisplayLine(line);
        int32_t par = nav.Nav.ParNb();
        int k = nav.Nav.LineIndex();
        while (line <= last && line < visible && par < pars.Count()) {
            {
                QPainter composer(bitmap);
                platform::TCanvas canvas(composer);
                Background(canvas, QRect(0, 0, bitmap->width(), LH), par, y + TO);
                lines.Draw(canvas, par, k, 0, 0);
            }
            painter.drawImage(QPoint(0, y), *bitmap, QRect(0, 0, bitmap->width(), LH));
            NextDisplayLine(pars, par, k);
            ++line;
            y += LH;
        }
    }
    if (y <= dirty.bottom())
        Background(window, QRect(0, y, W, dirty.bottom() + 1 - y), -1, y + TO);

    const platform::TPenValue& endMark = FMemo.EndOfTextMark();
    if (endMark.Color != platform::kNoColor && visible >= first && visible <= last) {
        const int ey = endMark.Width / 2 + visible * LH - TO;
        window.Line(QPoint(dirty.left(), ey), QPoint(dirty.right() + 1, ey), endMark);
    }

    if (const int pos = FMemo.RightLinePos(); pos != 0) {
        const platform::TPenValue& pen = FMemo.RightLinePen();
        const int LM = core.LeftMargin();
        const int x = pos > 0 ? pos * s.AvgCharWidth + LM - s.LeftOrigin : LM - s.LeftOrigin - pos;
        if (x >= dirty.left() - pen.Width && x <= dirty.right() + pen.Width) {
            // The pattern starts at a multiple of its period in the document, so the dashes
            // stay with the text while it scrolls.
            const int period = platform::DashPeriod(pen.Style);
            const int y0 = dirty.top() - FloorMod(TO + dirty.top(), period);
            window.Line(QPoint(x, y0), QPoint(x, dirty.bottom() + 1), pen);
        }
    }

    const QRect caret = FMemo.CaretRect() & dirty;
    if (!caret.isEmpty())
        window.InvertRect(caret);
    if (laidOut)
        FMemo.UpdateCaret();
}

void TArtPainter::PaintRender(const TRenderRecord& record) {
    if (platform::TCanvas* canvas = FMemo.RenderCanvas())
        PaintRenderInto(*canvas, record);
}

void TArtPainter::PaintRenderInto(platform::TCanvas& canvas, const TRenderRecord& record) {
    if (!FMemo.RenderCanvas() || FMemo.UpdateLevel() > 0)
        return;
    TArtMemoCore& core = FMemo.Core();
    TParagraphsList& pars = core.Paragraphs();
    const int32_t first = std::max(0, record.FirstLine);
    LayOutLines(first, record.LastLine);
    const TPaintSettings s = Settings(true);
    TLinePainter lines(s);
    lines.SetLog(FLog);
    const int32_t visible = pars.VisibleLineCount;
    if (first >= visible)
        return;
    TBorrowedNavigator nav(core);
    nav.Nav.SetDisplayLine(first);
    int32_t par = nav.Nav.ParNb();
    int k = nav.Nav.LineIndex();
    QPainter& painter = canvas.Painter();
    auto topOf = [&](int32_t line) {
        return int(std::lround(double(line - first) * record.LinePitch)) + record.TopOffset;
    };
    // A face taller than the line (an alternate font of another cell) stays inside its own line,
    // as it does on the screen, instead of covering its neighbours; lines are clipped only then.
    // A line's own band is its line box, or the distance to the next line where that is more, so
    // the glyphs of the font the lines are made for always stay whole.
    auto bandOf = [&](int32_t line) { return std::max(s.LineHeight, topOf(line + 1) - topOf(line)); };
    const bool clip = FacesOverflow(*s.Measurer, s.Baseline, std::max(s.LineHeight, int(record.LinePitch)));
    for (int32_t line = first; line <= record.LastLine && line < visible && par < pars.Count(); ++line) {
        const int top = topOf(line);
        if (clip) {
            painter.save();
            painter.setClipRect(QRectF(-kFarX, top, 2 * kFarX, bandOf(line)), Qt::IntersectClip);
        }
        lines.Draw(canvas, par, k, record.LeftOffset, top);
        if (clip)
            painter.restore();
        NextDisplayLine(pars, par, k);
    }
}

} // namespace zandor
