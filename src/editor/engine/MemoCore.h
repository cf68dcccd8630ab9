// The non-visual heart of the editor control: the text, the properties that layout and geometry
// read, text measuring and the navigators that walk the text. The widget owns one and translates
// its events into calls on it; engine code and engine tests use it without any window.
#pragma once

#include "editor/engine/FoldedTextCache.h"
#include "editor/engine/NavigatorRegistry.h"
#include "editor/engine/TextMeasurer.h"

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zandor {

class TParagraphsList;
class THighlighting;
class TFormatScheduler;
class TMemoSelection;
class TMemoEditor;
class TUndoList;
struct TDynInfo;

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

// When display lines are laid out: all at once, only as far as something needs them, or in slices
// paced by the control's format thread.
enum TUpdateMode : uint8_t { umImmediate, umOnNeed, umBackground };

// What formatting needs from the control that shows the text. The widget implements it; engine
// tests use a recording fake. Every call happens on the UI thread.
class TFormatHost {
public:
    virtual ~TFormatHost() = default;
    virtual bool InUpdate() const = 0;  // inside BeginUpdate/EndUpdate
    virtual bool HasWindow() const = 0; // the widget exists and can measure
    virtual bool DesignTime() const { return false; }
    // Sets the format thread's event (a no-op without a thread).
    virtual void WakeFormatThread() = 0;
    // After FormatRange/FormatStep changed line counts: keep the top line in place, update scroll
    // bars, caret.
    virtual void AfterFormat(int fromPar, int toPar, int visibleLineDelta) = 0;
    // After UpdateAfterEdit: the display lines [firstLine, ...) changed; lineDelta lines were
    // inserted (>0) or removed (<0) at firstLine; the widget scrolls or repaints.
    virtual void AfterEditFormat(int firstLine, int lastChangedLine, int lineDelta) = 0;
    virtual void Progress() = 0; // the control's OnProgress, when assigned
    virtual bool HasProgressHandler() const = 0;
    virtual void Changed() = 0; // OnChange after an edit
};

// The vertical metrics of a display line and the horizontal units of tabs and block columns, as one
// pair of faces gives them. The screen takes them from the control's own faces; a paint into a
// foreign canvas from the faces it draws with, by the same rule, so the two cannot drift apart.
struct TLineMetrics {
    int LinePixels = 1;
    int Baseline = 0; // from the line's top
    int UnderlineY = 0;
    int AvgCharWidth = 1; // width of a blank
    int TextOutputChunk = 4096;
};

// lineHeightSetting: 0 = automatic (font height + 1); visibleLines: the text's display lines, whose
// pixel total must stay within 32 bits.
TLineMetrics LineMetricsFor(TextMeasurer& measurer, uint8_t fontStyle, int lineHeightSetting,
                            int32_t visibleLines);

// A set of bytes, e.g. the word separators.
using TCharSet = std::bitset<256>;

// Tab, LF, CR, blank and $ % & , . / : ; < = >
TCharSet DefaultSeparators();

// Owns the paragraph store, the measurer, the folded-text cache, the highlighting engine, the
// selection, the undo list, the editor that changes the text, and the navigator registry (which in
// turn owns the navigators handed to it). Holds no window: sizes and scroll origins are told to it
// by the widget.
class TArtMemoCore {
public:
    TArtMemoCore();
    ~TArtMemoCore();
    TArtMemoCore(const TArtMemoCore&) = delete;
    TArtMemoCore& operator=(const TArtMemoCore&) = delete;

    // ---- the text
    TParagraphsList& Paragraphs() { return *FParagraphs; }
    const TParagraphsList& Paragraphs() const { return *FParagraphs; }
    int32_t CharCount() const;
    int32_t ParagraphCount() const;
    int32_t LineCount() const;
    int32_t VisibleLineCount() const;

    TNavigatorRegistry& Navigators() { return FNavigators; }

    // ---- editing: the selection, the replace operation with its update level, undo and redo
    TMemoSelection& Selection() { return *FSelection; }
    const TMemoSelection& Selection() const { return *FSelection; }
    TMemoEditor& Editor() { return *FEditor; }
    TUndoList& Undos() { return *FUndo; }

    // ---- case folding: the rule search and keyword matching compare with, and the control's one
    // cache of a folded paragraph range (kept in step with replacements by ReplaceText)
    TamUpperCase UpperCaseType() const { return FFoldedText.UpperCase(); }
    // Also passed on to the keyword and start/stop key lists.
    void SetUpperCaseType(TamUpperCase value);
    TFoldedTextCache& FoldedText() { return FFoldedText; }

    // ---- highlighting: keywords, start/stop keys and the attached highlighter
    THighlighting& Highlighting() { return *FHighlighting; }

    // ---- layout
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value) { FWordWrap = value; }
    // >= 1 characters, 0 the text area, < 0 pixels (-value); only while WordWrap is on.
    int ColumnWrap() const { return FColumnWrap; }
    void SetColumnWrap(int value) { FColumnWrap = value; }
    const std::string& WordWrapChars() const { return FWordWrapChars; }
    void SetWordWrapChars(std::string value) { FWordWrapChars = std::move(value); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value) { FAlignment = value; }
    bool Justified() const { return FJustified; }
    void SetJustified(bool value) { FJustified = value; }
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int value) { FLeftMargin = value; }
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int value) { FRightMargin = value; }
    // > 0: tab cell in average character widths; < 0: in pixels (-value); 0: tabs take no room.
    int TabStops() const { return FTabStops; }
    void SetTabStops(int value) { FTabStops = value; }
    // Format codes in the text are formatting; mirrored into the store, which the loader and the
    // replacement read.
    bool StaticFormat() const;
    void SetStaticFormat(bool value);

    // ---- words
    const TCharSet& Separators() const { return FSeparators; }
    void SetSeparators(const TCharSet& value) { FSeparators = value; }
    // The separators as a string of their bytes in ascending order, and back.
    std::string SeparatorsText() const;
    void SetSeparatorsText(std::string_view text);

    // ---- fonts and metrics
    TextMeasurer& Measurer() { return *FMeasurer; }
    // Takes the measurer of a new pair of fonts and recomputes the metrics. fontStyle is the style
    // of the control's own font (bits 0-3), which the static format state toggles.
    void SetMeasurer(std::unique_ptr<TextMeasurer> measurer, uint8_t fontStyle = 0);
    uint8_t FontStyle() const { return FFontStyle; }
    // The style whose font draws a character: a run carrying a context decides alone, otherwise the
    // static format state toggles the font's own style.
    uint8_t EffectiveStyle(const TDynInfo& run, uint8_t staticState) const;

    // 0 = automatic (font height + 1); values above 65535 are taken as 65535.
    int LineHeight() const { return FLineHeightSetting; }
    void SetLineHeight(int value);
    // The height in pixels every display line has now.
    int LinePixels() const { return FLinePixels; }
    int Baseline() const { return FBaseline; }
    int UnderlineY() const { return FUnderlineY; }
    // Width of a blank in the control's font: unit of tab stops and block columns.
    int AvgCharWidth() const { return FAvgCharWidth; }
    // No single measurement or text output covers more characters than this.
    int TextOutputChunk() const { return FTextOutputChunk; }
    // Vertical offset of the text inside its line (added to a navigator's y).
    int TextOffsetY() const { return FTextOffsetY; }
    void SetTextOffsetY(int value) { FTextOffsetY = value; }
    // Recomputes line height, baseline, average width and output chunk from the measurer.
    void UpdateFontMetrics();
    // The same metrics for other faces of the control's fonts (a printer's), with the control's
    // line height setting and font style.
    TLineMetrics MetricsFor(TextMeasurer& measurer) const;

    // ---- the window as the widget reports it
    int ClientWidth() const { return FClientWidth; }
    int ClientHeight() const { return FClientHeight; }
    void SetClientSize(int width, int height);
    // Lines that fit the client area, the partly visible last one included.
    int WindowLineCount() const { return FClientHeight / FLinePixels + 1; }
    int LeftOrigin() const { return FLeftOrigin; }
    void SetLeftOrigin(int value) { FLeftOrigin = value; }
    int TopOrigin() const { return FTopOrigin; }
    void SetTopOrigin(int value) { FTopOrigin = value; }

    // Where a tab that starts at x (pixels from the left end of the line) ends.
    int NextTabStop(int x) const;

    // ---- line formatting (the schedule itself lives in TFormatScheduler)
    TFormatHost* FormatHost() const { return FFormatHost; }
    // The host is referred to, not owned; null = no window (engine tests), which formats with the
    // control's own measurer and never wakes a thread.
    void SetFormatHost(TFormatHost* host) { FFormatHost = host; }
    TUpdateMode UpdateMode() const { return FUpdateMode; }
    // umImmediate formats the pending range at once; the widget starts and stops the thread.
    void SetUpdateMode(TUpdateMode mode);
    uint32_t ProgressInterval() const { return FProgressInterval; }
    void SetProgressInterval(uint32_t ms) { FProgressInterval = ms; }
    // The pending format range: BgNext .. BgLast (BgNext = ParagraphCount: nothing pending).
    int32_t BgNext() const;
    int32_t BgLast() const;
    // The widest display line seen while horizontal scrolling applies, and its paragraph (-1: to be
    // recomputed). After a recount only the width is known; the paragraph is looked for when asked.
    int WidestWidth() const { return FWidestWidth; }
    int WidestLine() const;
    // The paragraph as far as it is known without looking: -1 lost, kWidestSomewhere after a recount.
    int KnownWidestLine() const { return FWidestLine; }
    static constexpr int kWidestSomewhere = -2;
    void ForgetWidestLine();
    // The widest width again, from the store's count of line widths.
    void RecountWidest();
    // Lines may be wider than the text area: word wrap off, or wrapping at a column count.
    bool HorizontalScrollApplies() const { return !FWordWrap || FColumnWrap > 0; }
    // Formatting measures with this measurer and text area width instead of the control's (for
    // printing); null goes back to the control's own.
    void SetForeignMeasure(TextMeasurer* measurer, int width);
    TextMeasurer* ForeignMeasurer() const { return FForeignMeasurer; }
    int ForeignWidth() const { return FForeignWidth; }
    // Changes whenever the measurer or the foreign measurer is replaced, so that what was learnt
    // about their fonts is not used for others that happen to live at the same address.
    uint32_t MeasurerGeneration() const { return FMeasurerGeneration; }

    // Formats paragraphs from .. to (see TFormatScheduler).
    void FormatRange(int from, int to, bool withProgress = false, bool force = false);
    // One background slice of at most 25 ms.
    void FormatStep();
    // After a replacement: the changed paragraphs on screen now, the rest queued.
    void UpdateAfterEdit();
    // After a load or a change of a layout property.
    void ScheduleFormatting();
    // Formats from the front of the pending range until paragraph par is formatted.
    void FormatUpTo(int par);
    // Lays out paragraphs from .. to for showing them (see TFormatScheduler::FormatForView).
    void FormatForView(int from, int to);
    // Contexts of every paragraph up to n made valid (highlighting).
    void ParseUpTo(int n);
    TFormatScheduler& Scheduler() { return *FScheduler; }

    // Kept by the formatter: a line wider than any seen so far, and the result of a recount.
    void NoteLineWidth(int width, int par) {
        if (width > FWidestWidth) {
            FWidestWidth = width;
            FWidestLine = par;
        }
    }
    void SetWidest(int width, int par) {
        FWidestWidth = width;
        FWidestLine = par;
    }

private:
    std::unique_ptr<TParagraphsList> FParagraphs;
    std::unique_ptr<TextMeasurer> FMeasurer;
    bool FWordWrap = true;
    int FColumnWrap = 0;
    std::string FWordWrapChars;
    TAlignment FAlignment = taLeftJustify;
    bool FJustified = false;
    int FLeftMargin = 8;
    int FRightMargin = 8;
    int FTabStops = 8;
    TCharSet FSeparators;
    uint8_t FFontStyle = 0;
    int FLineHeightSetting = 0;
    int FLinePixels = 1;
    int FBaseline = 0;
    int FUnderlineY = 0;
    int FAvgCharWidth = 1;
    int FTextOutputChunk = 4096;
    int FTextOffsetY = 0;
    int FClientWidth = 100;
    int FClientHeight = 60;
    int FLeftOrigin = 0;
    int FTopOrigin = 0;
    TFoldedTextCache FFoldedText;
    std::unique_ptr<THighlighting> FHighlighting;
    TFormatHost* FFormatHost = nullptr;
    TUpdateMode FUpdateMode = umBackground;
    uint32_t FProgressInterval = 300;
    int FWidestWidth = 0;
    mutable int FWidestLine = -1;
    TextMeasurer* FForeignMeasurer = nullptr;
    int FForeignWidth = 0;
    uint32_t FMeasurerGeneration = 0;
    std::unique_ptr<TFormatScheduler> FScheduler;
    // Made once the registry exists; they adopt navigators from it.
    std::unique_ptr<TMemoSelection> FSelection;
    std::unique_ptr<TUndoList> FUndo;
    std::unique_ptr<TMemoEditor> FEditor;
    // Last member: destroyed first, so navigators detach while the store still exists.
    TNavigatorRegistry FNavigators;
};

} // namespace zandor
