// The selection of an editor control as plain state: its two ends, the caret among them, the
// column block, the blanks pending beyond a line end, the remembered caret x and the marks that
// tell the control what to report. The rules that move them live in TMemoEditor, which owns the
// repaint and event side; this class keeps the state consistent and answers questions about it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace zandor {

class TArtMemoCore;
class TArtNavigator;

// Refers to its control's core; the navigators it uses are adopted by the core's registry, which
// frees them.
class TMemoSelection {
public:
    // The remembered caret x when there is none.
    static constexpr int kNoX = INT32_MIN;

    explicit TMemoSelection(TArtMemoCore& core);
    TMemoSelection(const TMemoSelection&) = delete;
    TMemoSelection& operator=(const TMemoSelection&) = delete;

    // ---- the ends (positions count every paragraph break as two characters)
    // The lower and the upper end; the edit replaces the text between them.
    TArtNavigator& StartNav() { return *FStart; }
    TArtNavigator& EndNav() { return *FEnd; }
    int32_t Lower() const;
    int32_t Upper() const;
    // Signed: the anchor is the caret + SelLength.
    int32_t SelLength() const { return FLength; }
    // The caret: the lower end for a positive length, the upper end for a negative one, or the
    // free caret while it stands apart from a persistent block.
    TArtNavigator& Caret();
    const TArtNavigator& Caret() const;
    int32_t SelStart() const;
    int32_t Anchor() const { return Lower() == SelStart() ? Upper() : Lower(); }

    // Caret at `caret`, anchor at caret + length (both inside the text); the caret becomes one of
    // the ends again. Block mode is left as it is.
    void SetEnds(int32_t caret, int32_t length);
    // No selection: both ends at pos, block mode off.
    void Collapse(int32_t pos);
    // No selection: the lower end joins the upper one (after a replacement put new text between
    // them), block mode off.
    void CollapseAtEnd();
    // The length from the two ends as they stand now, keeping its sign (after an end moved).
    void RecountLength();

    // ---- the free caret (persistent blocks): moves while the block stays
    TArtNavigator& FreeCaret() { return *FFreeCaret; }
    // Only while there is a selection to stand apart from.
    bool FreeCaretActive() const { return FFreeCaretActive && (FLength != 0 || FBlockMode); }
    void SetFreeCaretActive(bool value) { FFreeCaretActive = value; }

    // ---- column blocks: paragraphs Lower's .. Upper's between two columns counted in average
    // character widths from the left margin
    bool BlockMode() const { return FBlockMode; }
    void SetBlockMode(bool value) { FBlockMode = value; }
    int BlockAnchorColumn() const { return FBlockAnchorColumn; }
    int BlockColumn() const { return FBlockColumn; }
    void SetBlockColumns(int anchor, int current) {
        FBlockAnchorColumn = anchor;
        FBlockColumn = current;
    }
    void SetBlockColumn(int current) { FBlockColumn = current; }
    int BlockLeft() const { return FBlockAnchorColumn < FBlockColumn ? FBlockAnchorColumn : FBlockColumn; }
    int BlockRight() const { return FBlockAnchorColumn < FBlockColumn ? FBlockColumn : FBlockAnchorColumn; }
    // The positions where paragraph par's row of the block begins and ends: each column turned
    // into the characters that end at or before it (tabs expanded, format codes skipped).
    std::pair<int32_t, int32_t> BlockRow(int32_t par) const;
    // The block's rows, each followed by CR LF; a paragraph shorter than the left column gives an
    // empty row.
    std::string BlockText() const;

    // ---- caret state
    // Blanks (and tabs) beyond the end of the caret's line: they move the caret without being text.
    const std::string& PendingBlanks() const { return FPendingBlanks; }
    void SetPendingBlanks(std::string value) { FPendingBlanks = std::move(value); }
    // Pixel x (LeftOrigin included) that vertical moves keep; kNoX = none.
    int RememberedX() const { return FRememberedX; }
    void SetRememberedX(int value) { FRememberedX = value; }
    // Display line of a line selection started in the left margin; -1 = none.
    int32_t LineAnchor() const { return FLineAnchor; }
    void SetLineAnchor(int32_t value) { FLineAnchor = value; }
    // The selection or the caret moved since OnSelMove last fired.
    bool Moved() const { return FMoved; }
    void SetMoved(bool value) { FMoved = value; }

private:
    TArtMemoCore& FCore;
    TArtNavigator* FStart;
    TArtNavigator* FEnd;
    TArtNavigator* FFreeCaret;
    TArtNavigator* FScratch;
    int32_t FLength = 0;
    bool FFreeCaretActive = false;
    bool FBlockMode = false;
    int FBlockAnchorColumn = 0;
    int FBlockColumn = 0;
    std::string FPendingBlanks;
    int FRememberedX = kNoX;
    int32_t FLineAnchor = -1;
    bool FMoved = false;
};

} // namespace zandor
