// One display line drawn onto a canvas: its runs with their colours and fonts, tabs and their
// cells, format codes, the marks of non-printing characters, the wavy underline, the selection
// (filled or inverted) and the box of a selected paragraph end. The screen and printing both draw
// their lines through it.
#pragma once

#include "editor/engine/MemoCore.h"
#include "editor/engine/MemoOptions.h"
#include "platform/Canvas.h"

#include <QColor>

#include <cstdint>
#include <vector>

namespace zandor {

namespace platform {
class QtTextMeasurer;
}

// What was drawn for one piece of a line, kept when a log is asked for, so that tests can read
// the runs of a painted line as data.
struct TPaintedRun {
    int32_t Offset = 0; // in the paragraph
    int32_t Length = 0;
    int X = 0;
    int Width = 0;
    uint8_t Style = 0; // the effective style byte the piece was drawn in
    QColor Text;
    QColor Back;   // invalid: transparent
    char Mark = 0; // the mark character drawn instead of the text (blank, tab, paragraph end)
};

// Where the wavy underline of a line runs: its amplitude follows the pen's width, and the whole
// zigzag stays inside the line, above its last row.
struct TWavyUnderline {
    int Amplitude = 1;
    int Y = 0; // from the line's top
};
TWavyUnderline WavyUnderlineFor(int penWidth, int underlineY, int lineHeight);

// Everything the line painter reads, gathered from the control once per paint.
struct TPaintSettings {
    TArtMemoCore* Core = nullptr;
    platform::QtTextMeasurer* Measurer = nullptr; // the faces the text is drawn in
    int TextAreaWidth = 0;
    int LineHeight = 1;
    int Baseline = 0;
    int AvgCharWidth = 1;
    int TextOutputChunk = 4096;
    int LeftOrigin = 0;
    QColor FontColor;
    QColor HighlightColor;
    QColor HighlightBackgnd;
    QColor SelBackColor;
    QColor SelTextColor;
    TArtMemoOptions Options;
    TamNonPrintChars NonPrint = 0;
    bool ShowEndParSelected = true;
    // The selection as it is shown: stream ends (positions) or a block of paragraphs and columns.
    bool SelVisible = false;
    int32_t SelLo = 0;
    int32_t SelHi = 0;
    bool Block = false;
    int32_t BlockParLo = 0;
    int32_t BlockParHi = -1;
    int BlockColLo = 0;
    int BlockColHi = 0;
    platform::TPenValue SpecUnderline;
    int SpecAmplitude = 1;
    int SpecUnderlineY = 0;
};

// Refers to the settings it is given; holds nothing between lines but an optional log.
class TLinePainter {
public:
    explicit TLinePainter(const TPaintSettings& settings) : S(settings) {}

    // Draws line `lineIndex` of paragraph `par` with its top at `top` and every x shifted by dx.
    // The background is the caller's.
    void Draw(platform::TCanvas& canvas, int32_t par, int lineIndex, int dx, int top);

    // Pieces drawn since the log was set (null: none kept).
    void SetLog(std::vector<TPaintedRun>* log) { FLog = log; }

private:
    struct Line;
    void ZigZag(platform::TCanvas& canvas, int x1, int x2, int top) const;
    void Record(int32_t offset, int32_t length, int x, int width, uint8_t style, const QColor& text,
                const QColor& back, char mark);

    const TPaintSettings& S;
    std::vector<TPaintedRun>* FLog = nullptr;
};

} // namespace zandor
