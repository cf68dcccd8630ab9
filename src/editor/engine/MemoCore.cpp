#include "editor/engine/MemoCore.h"

#include "editor/engine/FormatScheduler.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/MemoSelection.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/UndoList.h"

#include <algorithm>
#include <climits>

namespace zandor {

TCharSet DefaultSeparators() {
    TCharSet set;
    for (unsigned char c : std::string_view("\t\n\r $%&,./:;<=>"))
        set.set(c);
    return set;
}

TArtMemoCore::TArtMemoCore()
    : FParagraphs(std::make_unique<TParagraphsList>()), FMeasurer(std::make_unique<TFixedTextMeasurer>()),
      FSeparators(DefaultSeparators()), FHighlighting(std::make_unique<THighlighting>(*this)),
      FScheduler(std::make_unique<TFormatScheduler>(*this)) {
    // A new control holds one empty paragraph with one display line.
    TParagraphsList& pars = *FParagraphs;
    ParInfo empty{};
    pars.Add(&empty);
    pars.LineCount = 1;
    pars.VisibleLineCount = 1;
    pars.BgNext = pars.Count();
    pars.ResetDirty();
    UpdateFontMetrics();
    FSelection = std::make_unique<TMemoSelection>(*this);
    FUndo = std::make_unique<TUndoList>();
    FEditor = std::make_unique<TMemoEditor>(*this, *FSelection, *FUndo);
}

TArtMemoCore::~TArtMemoCore() = default;

void TArtMemoCore::SetUpperCaseType(TamUpperCase value) {
    FFoldedText.SetUpperCase(value);
    FHighlighting->SetUpperCaseType(value);
}

int32_t TArtMemoCore::CharCount() const {
    return FParagraphs->TextLength;
}

int32_t TArtMemoCore::ParagraphCount() const {
    return FParagraphs->Count();
}

int32_t TArtMemoCore::LineCount() const {
    return FParagraphs->LineCount;
}

int32_t TArtMemoCore::VisibleLineCount() const {
    return FParagraphs->VisibleLineCount;
}

int32_t TArtMemoCore::BgNext() const {
    return FParagraphs->BgNext;
}

int32_t TArtMemoCore::BgLast() const {
    return FParagraphs->BgLast;
}

void TArtMemoCore::SetUpdateMode(TUpdateMode mode) {
    FUpdateMode = mode;
    if (mode == umImmediate)
        FScheduler->FormatPending();
}

void TArtMemoCore::ForgetWidestLine() {
    FWidestWidth = 0;
    FWidestLine = -1;
}

void TArtMemoCore::RecountWidest() {
    FWidestWidth = FParagraphs->Widths.Widest();
    FWidestLine = kWidestSomewhere;
}

int TArtMemoCore::WidestLine() const {
    if (FWidestLine != kWidestSomewhere)
        return FWidestLine;
    // Only asked for by whoever wants to know which line it is: one walk, then remembered.
    int found = -1;
    int p = 0;
    const int width = FWidestWidth;
    FParagraphs->ForEachPar(0, FParagraphs->Count(), [&](ParInfo& par) {
        if (found < 0 && width > 0) {
            bool here = LoadFirstLine(par).TextWidth == width;
            if (!here && IsExtended(par))
                for (const LineInfo& line : par.Extra->Lines)
                    here = here || line.TextWidth == width;
            if (here)
                found = p;
        }
        ++p;
    });
    FWidestLine = std::max(found, 0);
    return FWidestLine;
}

void TArtMemoCore::SetForeignMeasure(TextMeasurer* measurer, int width) {
    FForeignMeasurer = measurer;
    FForeignWidth = measurer ? width : 0;
    ++FMeasurerGeneration;
}

void TArtMemoCore::FormatRange(int from, int to, bool withProgress, bool force) {
    FScheduler->FormatRange(from, to, withProgress, force);
}

void TArtMemoCore::FormatStep() {
    FScheduler->FormatStep();
}

void TArtMemoCore::UpdateAfterEdit() {
    FScheduler->UpdateAfterEdit();
}

void TArtMemoCore::ScheduleFormatting() {
    FScheduler->ScheduleFormatting();
}

void TArtMemoCore::FormatUpTo(int par) {
    FScheduler->FormatUpTo(par);
}

void TArtMemoCore::FormatForView(int from, int to) {
    FScheduler->FormatForView(from, to);
}

void TArtMemoCore::ParseUpTo(int n) {
    FHighlighting->ParseUpTo(n);
}

bool TArtMemoCore::StaticFormat() const {
    return FParagraphs->StaticFormat;
}

void TArtMemoCore::SetStaticFormat(bool value) {
    FParagraphs->StaticFormat = value;
}

std::string TArtMemoCore::SeparatorsText() const {
    std::string text;
    for (int c = 0; c < 256; ++c)
        if (FSeparators.test(static_cast<size_t>(c)))
            text.push_back(static_cast<char>(c));
    return text;
}

void TArtMemoCore::SetSeparatorsText(std::string_view text) {
    FSeparators.reset();
    for (unsigned char c : text)
        FSeparators.set(c);
}

void TArtMemoCore::SetMeasurer(std::unique_ptr<TextMeasurer> measurer, uint8_t fontStyle) {
    if (measurer)
        FMeasurer = std::move(measurer);
    ++FMeasurerGeneration;
    FFontStyle = fontStyle & 0x0F;
    UpdateFontMetrics();
}

uint8_t TArtMemoCore::EffectiveStyle(const TDynInfo& run, uint8_t staticState) const {
    if (run.StyleFlags & sfContext) {
        // Strike-out plus highlight is the wavy underline: it keeps bit 7 and drops both.
        if ((run.StyleFlags & (sfStrikeOut | sfHighlight)) == (sfStrikeOut | sfHighlight))
            return run.StyleFlags & 0xA7;
        return run.StyleFlags & 0x3F;
    }
    return staticState ^ FFontStyle;
}

void TArtMemoCore::SetLineHeight(int value) {
    FLineHeightSetting = value <= 0 ? 0 : std::min(value, 65535);
    UpdateFontMetrics();
}

TLineMetrics LineMetricsFor(TextMeasurer& measurer, uint8_t fontStyle, int lineHeightSetting,
                            int32_t visibleLines) {
    TLineMetrics l;
    const TFontMetricsInfo m = measurer.Metrics(fontStyle);
    int height = lineHeightSetting > 0 ? lineHeightSetting : m.Height + 1;
    // Pixel totals over the whole text must stay within 32 bits.
    if (visibleLines > 65535)
        height = std::min(INT_MAX / visibleLines + 1, height);
    l.LinePixels = std::max(1, height);

    int leading = std::max(0, m.InternalLeading);
    int c = l.LinePixels - m.Height + 1;
    int baseline = l.LinePixels - m.Descent - c / 2;
    int lowest = m.Height - leading - m.Descent;
    if (baseline < lowest) {
        baseline = l.LinePixels - leading;
        if (baseline < lowest)
            baseline = l.LinePixels;
    }
    l.Baseline = baseline;
    l.UnderlineY = baseline + m.Descent;

    char blank = ' ';
    l.AvgCharWidth = std::max(1, measurer.TextExtent(fontStyle, &blank, 1));
    l.TextOutputChunk = m.MaxCharWidth > 0 ? std::max(1, 16384 / m.MaxCharWidth) : 256;
    return l;
}

TLineMetrics TArtMemoCore::MetricsFor(TextMeasurer& measurer) const {
    return LineMetricsFor(measurer, FFontStyle, FLineHeightSetting, FParagraphs->VisibleLineCount);
}

void TArtMemoCore::UpdateFontMetrics() {
    const TLineMetrics l = MetricsFor(*FMeasurer);
    FLinePixels = l.LinePixels;
    FBaseline = l.Baseline;
    FUnderlineY = l.UnderlineY;
    FAvgCharWidth = l.AvgCharWidth;
    FTextOutputChunk = l.TextOutputChunk;
}

void TArtMemoCore::SetClientSize(int width, int height) {
    FClientWidth = std::max(0, width);
    FClientHeight = std::max(0, height);
}

int TArtMemoCore::NextTabStop(int x) const {
    int cell = FTabStops > 0 ? FTabStops * FAvgCharWidth : -FTabStops;
    if (cell <= 0)
        return x;
    int cells = x >= 0 ? x / cell : -((-x + cell - 1) / cell);
    return (cells + 1) * cell;
}

} // namespace zandor
