#include "editor/engine/LineGeometry.h"

#include "editor/engine/FormatCodes.h"
#include "editor/engine/MemoCore.h"

#include <algorithm>

namespace zandor {

// The state of a walk along the line: which runs are in effect, the static format state, the font
// they choose, the pixels reached and the share of the justification slack handed out so far.
struct TLineGeometry::Walk {
    explicit Walk(TLineGeometry& g) : Memo(g.FMemo), Base(BaseStyleOf(g.FPar)) {
        if (IsExtended(g.FPar)) {
            Runs = g.FPar.Extra->Runs.data();
            RunCount = static_cast<int>(g.FPar.Extra->Runs.size());
        }
        // The run in effect at the line start is the last one beginning at or before it.
        while (R < RunCount && Runs[R].Offset <= g.FLine.Start)
            ++R;
        StaticOn = Memo.StaticFormat();
        Static = g.FLine.StartStyle;
        Restyle();
        if (g.FJustify) {
            int slack = Memo.ClientWidth() - Memo.LeftMargin() - Memo.RightMargin() - g.FLine.TextWidth;
            Spaces = g.FLine.Spaces;
            Share = slack / Spaces;
            Rest = slack % Spaces;
            Acc = Rest / 2;
        }
    }

    bool RunBeginsAt(int32_t i) const { return R < RunCount && Runs[R].Offset <= i; }

    // Takes in the runs that begin at or before offset i; true when the font changed.
    bool EnterRunsAt(int32_t i) {
        bool moved = false;
        while (RunBeginsAt(i)) {
            ++R;
            moved = true;
        }
        return moved && Restyle();
    }

    bool Toggle(char code) {
        Static ^= FormatCodeBit(code);
        return Restyle();
    }

    bool Restyle() {
        uint8_t font = Memo.EffectiveStyle(R > 0 ? Runs[R - 1] : *Base, Static) & kFontStyleMask;
        bool changed = font != Font;
        Font = font;
        return changed;
    }

    // Extra pixels of the next stretched space: the slack split evenly, the remainder spread from
    // the middle so that both ends of the line stay straight.
    int StretchNext() {
        Acc += Rest;
        int extra = Share;
        if (Acc >= Spaces) {
            ++extra;
            Acc -= Spaces;
        }
        return extra;
    }

    TArtMemoCore& Memo;
    const TDynInfo* Base;
    const TDynInfo* Runs = nullptr;
    int RunCount = 0;
    int R = 0;
    bool StaticOn = false;
    uint8_t Static = 0;
    uint16_t Font = 0xFFFF;
    int X = 0;
    int Spaces = 1;
    int Share = 0;
    int Rest = 0;
    int Acc = 0;
};

TLineGeometry::TLineGeometry(TArtMemoCore& memo, const ParInfo& par, const LineInfo& line)
    : FMemo(memo), FPar(par), FLine(line), FText(par.Text), FLength(ParLength(par)) {
    FLine.Stop = std::clamp(FLine.Stop, 0, FLength);
    FLine.Start = std::clamp(FLine.Start, 0, FLine.Stop);
    FJustify = memo.Justified() && FLine.Spaces > 0 && FLine.JustifyFrom < FLine.Stop;
}

int TLineGeometry::LeftEdge() const {
    if ((FMemo.Justified() && FLine.JustifyFrom < FLine.Stop) || FMemo.Alignment() == taLeftJustify)
        return FMemo.LeftMargin();
    if (FMemo.Alignment() == taRightJustify)
        return FMemo.ClientWidth() - FMemo.RightMargin() - FLine.TextWidth;
    return FMemo.LeftMargin() +
           (FMemo.ClientWidth() - FMemo.LeftMargin() - FMemo.RightMargin() - FLine.TextWidth) / 2;
}

namespace {

// Measures the characters start .. end-1 as whole segments: a segment ends at a run boundary, a
// tab, a format code, a stretched space or after `chunk` characters.
int MeasureSegments(TArtMemoCore& memo, const char* text, int32_t start, int32_t end, int32_t justifyFrom,
                    bool justify, auto& walk) {
    TextMeasurer& measurer = memo.Measurer();
    const int chunk = std::max(1, memo.TextOutputChunk());
    int32_t seg = start;
    auto flush = [&](int32_t to) {
        if (to > seg)
            walk.X += measurer.TextExtent(static_cast<uint8_t>(walk.Font), text + seg, to - seg);
        seg = to;
    };
    for (int32_t i = start; i < end; ++i) {
        if (walk.RunBeginsAt(i)) {
            flush(i);
            walk.EnterRunsAt(i);
        }
        char c = text[i];
        if (c == '\t') {
            flush(i);
            walk.X = memo.NextTabStop(walk.X);
            seg = i + 1;
        } else if (walk.StaticOn && IsFormatCode(c)) {
            flush(i);
            walk.Toggle(c);
            seg = i + 1;
        } else if (justify && c == ' ' && i >= justifyFrom) {
            flush(i + 1);
            walk.X += walk.StretchNext();
        } else if (i + 1 - seg >= chunk) {
            flush(i + 1);
        }
    }
    flush(end);
    return walk.X;
}

} // namespace

int TLineGeometry::WidthTo(int32_t offset) {
    Walk walk(*this);
    int32_t end = std::clamp(offset, FLine.Start, FLine.Stop);
    return MeasureSegments(FMemo, FText, FLine.Start, end, FLine.JustifyFrom, FJustify, walk);
}

int32_t TLineGeometry::ColumnAt(int x) {
    TextMeasurer& measurer = FMemo.Measurer();
    Walk walk(*this);
    // Each character is measured together with the one before it minus that one alone, so that
    // kerning pairs count; after a font change, a tab or the line start it is measured alone.
    int prev = -1;
    for (int32_t i = FLine.Start; i < FLine.Stop; ++i) {
        if (walk.EnterRunsAt(i))
            prev = -1;
        char c = FText[i];
        int width;
        if (c == '\t') {
            width = FMemo.NextTabStop(walk.X) - walk.X;
            prev = -1;
        } else if (walk.StaticOn && IsFormatCode(c)) {
            width = 0;
            if (walk.Toggle(c))
                prev = -1;
        } else {
            auto font = static_cast<uint8_t>(walk.Font);
            if (prev < 0) {
                width = measurer.TextExtent(font, &c, 1);
            } else {
                char pair[2] = {static_cast<char>(prev), c};
                width = measurer.TextExtent(font, pair, 2) - measurer.TextExtent(font, pair, 1);
            }
            if (FJustify && c == ' ' && i >= FLine.JustifyFrom)
                width += walk.StretchNext();
            prev = static_cast<unsigned char>(c);
        }
        if (x < walk.X + width / 2)
            return i - FLine.Start;
        walk.X += width;
    }
    return FLine.Stop - FLine.Start;
}

int TLineGeometry::AdvanceAt(int32_t offset) {
    if (offset < 0 || offset >= FLength)
        return 0;
    Walk walk(*this);
    int32_t start = std::min(FLine.Start, offset);
    MeasureSegments(FMemo, FText, start, offset, FLine.JustifyFrom, FJustify, walk);
    walk.EnterRunsAt(offset);
    char c = FText[offset];
    if (c == '\t')
        return FMemo.NextTabStop(walk.X) - walk.X;
    if (walk.StaticOn && IsFormatCode(c))
        return 0;
    int width = FMemo.Measurer().TextExtent(static_cast<uint8_t>(walk.Font), &c, 1);
    if (FJustify && c == ' ' && offset >= FLine.JustifyFrom)
        width += walk.StretchNext();
    return width;
}

} // namespace zandor
