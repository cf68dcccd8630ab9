// The engine's cursor: a position in the text of one control together with everything that is
// expensive to find again (paragraph, offset, run and display-line indexes). Small steps move from
// the cached state; far jumps start from a proportional estimate.
#pragma once

#include "editor/engine/LinesList.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zandor {

struct TPoint {
    int X = 0;
    int Y = 0;
};

// Refers to its control (not owned). Registers itself with the control it is created for and
// leaves the registry when it ends. Owns its line view.
class TArtNavigator {
public:
    // A navigator created with a control is registered with it. One created without may borrow a
    // control with SetMemo for one operation; it is not registered then and must not outlive it.
    explicit TArtNavigator(TArtMemoCore* memo = nullptr);
    ~TArtNavigator();
    TArtNavigator(const TArtNavigator&) = delete;
    TArtNavigator& operator=(const TArtNavigator&) = delete;

    // When the text around the position is replaced: move to the end of the new text (else to
    // its start).
    bool StickToEnd = false;
    // When the text around the position is deleted, the navigator goes away (see the registry).
    bool FreeWithText = false;
    // Called with the navigator when it ends or is dropped from the text.
    std::function<void(TArtNavigator*)> OnFree;

    TArtMemoCore* Memo() const { return FMemo; }
    void SetMemo(TArtMemoCore* memo);

    // ---- positions and paragraphs
    int32_t Pos() const { return FPos; }
    void SetPos(int32_t p);
    int32_t GetParNb();
    int32_t ParNb() { return GetParNb(); }
    ParInfo* Par();
    int32_t ParOffset();
    void SetParNb(int32_t n);
    void SetParOffset(int32_t n);
    void Assign(const TArtNavigator& other);
    void Invalidate();
    uint8_t CurrentChar();
    // Copies up to n characters from the position (breaks as CR LF) and a terminating NUL into
    // buffer (n + 1 bytes); returns the number of characters copied, fewer at the end of the text.
    int32_t GetText(char* buffer, int32_t n);
    std::string GetText(int32_t n);

    // ---- display lines
    int32_t LineIndex();
    TLinesList& Lines();
    int32_t DisplayLine();
    int32_t LineNb();
    bool ParVisible();
    std::string LineText();
    int32_t LineOffset();
    // To column n of the current line, clamped to its end. The end of a line that is not its
    // paragraph's last is also where the next line starts; put there, the navigator stays on this
    // line (after its last character) until it is moved again.
    int32_t SetLineOffset(int32_t n);
    // Whether the position is the end of a display line that the next line starts at too, taken
    // as the end of the earlier line (SetLineOffset put it there).
    bool EndsLine() const { return FEndsLine; }
    void SetLineNb(int32_t n);
    void SetDisplayLine(int32_t n);

    // ---- runs
    int32_t RunIndex();
    void SetRunIndex(int32_t i);
    void SkipRunsHere();
    // A known run index counted again by its plain rule (runs before the position), dropping the
    // runs at the position that SkipRunsHere, SetRunIndex or InsertRun had counted as passed.
    void RecountRuns();
    const TDynInfo* CurrentRun();
    void GetRun(TDynInfo& out);
    int32_t CurrentContext();
    void InsertRun(const TDynInfo& rec);
    void DeleteRun();
    bool NextRun(int32_t limit);
    bool PrevRun(int32_t limit);
    bool BackRun();
    uint8_t StaticStyle();

    // ---- words
    void WordLeft(const TCharSet& set);
    void WordRight(const TCharSet& set);
    void WordEnd(const TCharSet& set);
    void WordStart(const TCharSet& set);

    // ---- columns (a tab moves to the next multiple of t; with t <= 0 it counts 1; format codes
    // count 0 when staticFormat is set)
    static int32_t ColumnOf(const ParInfo& par, int32_t n, int t, bool staticFormat);
    static int32_t OffsetOfColumn(const ParInfo& par, int32_t column, int t, bool staticFormat);
    static int32_t ColumnShortfall(const ParInfo& par, int32_t column, int t, bool staticFormat);

    // ---- screen geometry (client pixels)
    int GetX();
    int GetY();
    TPoint GetXY();
    void SetXY(TPoint point);
    void SetX(int x);
    int CharWidth();

private:
    friend class TNavigatorRegistry;

    TParagraphsList& Store() const;
    void Resolve();
    int32_t FindPar(int32_t pos, int32_t guess) const;
    int32_t FindParOfLine(int32_t line, int32_t guess) const;
    void PointAt(int32_t parNb);
    // The record of the resolved paragraph with its Start and FirstLine up to date.
    ParInfo& Here();
    void FinishAtLine(int32_t parNb, int32_t lineIndex);
    int32_t CountRunsBefore(int32_t offset);
    void AdvanceLineIndex();
    // One character to the right or left, crossing breaks; false at the ends of the text.
    bool StepRight();
    bool StepLeft();
    uint8_t CharBefore();

    TArtMemoCore* FMemo = nullptr;
    bool FRegistered = false;
    bool FAdopted = false;
    int FRegistryIndex = -1;
    int32_t FPos = 0;
    ParInfo* FPar = nullptr;
    int32_t FParNb = -1;
    int32_t FParOffset = -1;
    int32_t FRunIndex = -1;
    int32_t FLineIndex = -1;
    // At a wrap point: the position ends the earlier line. Every other placement clears it.
    bool FEndsLine = false;
    // The paragraph last left by a step out of it: where resolving looks first.
    int32_t FHint = -1;
    std::unique_ptr<TLinesList> FLines;
};

} // namespace zandor
