#include "editor/engine/Formatter.h"

#include "editor/engine/FormatCodes.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/LinesList.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/RunState.h"

#include <algorithm>
#include <climits>

namespace zandor {

namespace {

// Wider than any text can be measured, and still far from overflowing when widths are added.
constexpr int64_t kUnlimited = INT64_MAX / 4;

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, 0, INT32_MAX));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

TLineFormatter::TLineFormatter(TArtMemoCore& memo, TextMeasurer* canvas, int textAreaWidth,
                               TMeasureCache& fonts)
    : FMemo(memo), FCanvas(canvas), FTextAreaWidth(textAreaWidth), FFonts(fonts) {
    if (canvas) {
        int avg = memo.AvgCharWidth();
        if (canvas != &memo.Measurer()) {
            // Tab cells count blanks of the font the text is measured in.
            char blank = ' ';
            avg = std::max(1, canvas->TextExtent(memo.FontStyle(), &blank, 1));
        }
        const int t = memo.TabStops();
        FTabCell = t > 0 ? t * avg : -t;
    }
    // Pieces stay short enough that a word far wider than the line is given up on early.
    FPieceLimit = std::clamp(memo.TextOutputChunk(), 1, 256);
}

int64_t TLineFormatter::WrapWidth(const ParInfo& par) const {
    if (par.Flags & pfNoWrap)
        return kUnlimited;
    if (!FMemo.WordWrap() && FMemo.Alignment() == taLeftJustify)
        return int64_t(INT32_MAX) - FMemo.RightMargin();
    const int c = FMemo.ColumnWrap();
    int64_t w;
    if (c >= 1)
        w = c;
    else if (c == 0)
        w = int64_t(FTextAreaWidth) - FMemo.LeftMargin() - FMemo.RightMargin();
    else
        w = -int64_t(c);
    return std::max<int64_t>(1, w);
}

bool TLineFormatter::ColumnMode(const ParInfo& par) const {
    if (par.Flags & pfNoWrap)
        return false;
    if (!FMemo.WordWrap() && FMemo.Alignment() == taLeftJustify)
        return false;
    return FMemo.ColumnWrap() >= 1;
}

// The walk over one paragraph: the cursor (offset, static format state, runs entered, font), the
// line being built and the line before it, which blanks and words may still join.
struct TLineFormatter::Layout {
    struct Cursor {
        int32_t Pos;
        uint8_t Static;
        int R;
        uint8_t Font;
    };
    struct Word {
        int32_t End = 0;
        int64_t Width = 0;
        bool Exceeded = false;
    };

    Layout(TLineFormatter& f, ParInfo& par, int firstLine, int stopFrom, bool mayStopEarly)
        : F(f), Memo(f.FMemo), Par(par), Text(par.Text), Len(ParLength(par)), Base(BaseStyleOf(par)),
          StaticOn(f.FMemo.StaticFormat()), Columns(f.ColumnMode(par)), W(f.WrapWidth(par)),
          MayStopEarly(mayStopEarly), First(firstLine), StopAt(stopFrom) {
        if (IsExtended(par)) {
            Runs = par.Extra->Runs.data();
            RunCount = static_cast<int>(par.Extra->Runs.size());
        }
        for (unsigned char c : Memo.WordWrapChars())
            WrapAfter[c] = true;
    }

    // ---- the cursor

    uint8_t FontNow() const {
        return Memo.EffectiveStyle(C.R > 0 ? Runs[C.R - 1] : *Base, C.Static) & kFontStyleMask;
    }
    void Refont() {
        const uint8_t font = FontNow();
        if (font != C.Font) {
            C.Font = font;
            if (!Columns)
                M = &F.FFonts.Of(font);
        }
    }
    bool RunBeginsAt(int32_t i) const { return C.R < RunCount && Runs[C.R].Offset <= i; }
    void EnterRuns(int32_t i) {
        if (!RunBeginsAt(i))
            return;
        while (RunBeginsAt(i))
            ++C.R;
        Refont();
    }
    void Toggle(char code) {
        C.Static ^= FormatCodeBit(code);
        Refont();
    }
    bool IsCode(char c) const { return StaticOn && IsFormatCode(c); }
    int64_t Extent(int32_t from, int32_t to) const {
        if (to <= from)
            return 0;
        return Columns ? to - from : F.FFonts.Extent(*M, C.Font, Text + from, to - from);
    }
    int64_t SpaceWidth() const { return Columns ? 1 : M->SpaceAdvance; }
    int64_t NextTab(int64_t x) const {
        const int64_t cell = Columns ? std::max(0, Memo.TabStops()) : F.FTabCell;
        return cell > 0 ? (x / cell + 1) * cell : x;
    }

    // ---- lines

    bool HasPrev() const { return !F.FNew.empty() || First >= 1; }
    const LineInfo& PeekPrev() const { return F.FNew.empty() ? KeptPrev : F.FNew.back(); }
    LineInfo& Prev() {
        if (!F.FNew.empty())
            return F.FNew.back();
        PrevChanged = true;
        return KeptPrev;
    }
    void StartLine(int32_t at) {
        L.Start = at;
        L.X = 0;
        L.S = 0;
        L.J = at;
        L.StartStyle = C.Static;
        L.RunIndex = RunsBefore(Par, at);
    }
    // Ends the current line; true when the old lines from here on are still right.
    bool EndLine(int32_t stop, int64_t textWidth, int64_t fullWidth, int32_t spaces, int32_t justifyFrom) {
        Push(LineInfo{L.Start, stop, Clamp32(textWidth), Clamp32(fullWidth), spaces, justifyFrom,
                      L.StartStyle, L.RunIndex});
        OnFirstRelaid = false;
        if (!MayStopEarly)
            return false;
        const std::vector<LineInfo>& old = F.FOld;
        const int n = static_cast<int>(old.size());
        while (StopAt < n && old[StopAt].Stop < stop)
            ++StopAt;
        if (StopAt < n - 1 && old[StopAt].Stop == stop && old[StopAt + 1].StartStyle == C.Static) {
            Stopped = true;
            return true;
        }
        return false;
    }
    void Push(const LineInfo& line) { F.FNew.push_back(line); }
    // Blanks at the end of a line that become stretchable when a word joins it.
    int32_t TrailingSpaces(const LineInfo& line) const {
        int32_t n = 0;
        for (int32_t i = line.Stop - 1; i >= line.Start; --i) {
            if (Text[i] == ' ')
                ++n;
            else if (!IsCode(Text[i]))
                break;
        }
        return n;
    }

    // ---- words

    // Measures the word at the cursor and moves past it, unless it turns out wider than limit
    // (then the cursor stands somewhere inside it and the caller goes back).
    Word MeasureWord(int64_t limit) {
        Word w;
        const int64_t overhang = Columns ? 0 : M->Overhang;
        int64_t acc = 0;
        int32_t piece = C.Pos;
        int32_t i = C.Pos;
        while (i < Len) {
            if (RunBeginsAt(i)) {
                acc += Extent(piece, i);
                piece = i;
                EnterRuns(i);
            }
            const char c = Text[i];
            if (IsBlank(c))
                break;
            if (IsCode(c)) {
                acc += Extent(piece, i);
                Toggle(c);
                piece = ++i;
            } else {
                ++i;
                if (i - piece >= F.FPieceLimit) {
                    acc += Extent(piece, i);
                    piece = i;
                }
                if (WrapAfter[static_cast<unsigned char>(c)])
                    break;
            }
            if (acc - overhang > limit) {
                w.Exceeded = true;
                return w;
            }
        }
        acc += Extent(piece, i);
        w.End = i;
        w.Width = acc - overhang;
        w.Exceeded = w.Width > limit;
        C.Pos = i;
        return w;
    }

    // A word wider than the line, beginning it: as many characters as fit, at least one.
    bool BreakWord() {
        // Widths in 64ths of a pixel: a face that adds up measures the part laid out so far as
        // exactly as the platform would.
        int64_t acc = 0;
        bool any = false;
        int32_t i = C.Pos;
        while (i < Len) {
            EnterRuns(i);
            const char c = Text[i];
            if (IsBlank(c))
                break;
            if (IsCode(c)) {
                Toggle(c);
                ++i;
                continue;
            }
            const auto b = static_cast<unsigned char>(c);
            const int64_t w = Columns                     ? 64
                              : M->Additive && M->Fits[b] ? M->Advance64[b]
                                                          : int64_t(M->Advance[b]) * 64;
            if (TMeasureCache::Round64(acc + w) > W) {
                // The character moves to the next line, except the only one, or one right before a
                // format code or a run.
                const bool keep = !any || (i + 1 < Len && IsCode(Text[i + 1])) || RunBeginsAt(i + 1);
                if (keep) {
                    acc += w;
                    ++i;
                }
                break;
            }
            acc += w;
            any = true;
            ++i;
            if (WrapAfter[b])
                break;
        }
        C.Pos = i;
        EnterRuns(i);
        const int64_t width = TMeasureCache::Round64(acc);
        if (EndLine(i, width, width, 0, i))
            return true;
        StartLine(i);
        return false;
    }

    void Run() {
        const std::vector<LineInfo>& old = F.FOld;
        const LineInfo& from = old[First];
        if (First >= 1)
            KeptPrev = old[First - 1];
        OnFirstRelaid = First >= 1;
        C.Pos = from.Start;
        C.Static = from.StartStyle;
        C.R = RunsBefore(Par, from.Start);
        C.Font = 0xFF;
        Refont();
        if (!Columns && !M)
            M = &F.FFonts.Of(C.Font);
        StartLine(from.Start);

        while (true) {
            // Blanks, tabs and format codes before the next word. At the start of a line that is
            // not the paragraph's first they hang at the end of the line above, measured on from
            // its end as if the break came after them.
            const int32_t wsStart = C.Pos;
            const bool hang = L.Start == wsStart && HasPrev();
            const int64_t xBeforeBlanks = hang ? 0 : L.X;
            int64_t x = hang ? int64_t(PeekPrev().FullWidth) : L.X;
            int32_t blanks = 0;
            int32_t lastTab = -1;
            while (C.Pos < Len) {
                EnterRuns(C.Pos);
                const char c = Text[C.Pos];
                if (c == ' ') {
                    x += SpaceWidth();
                    ++blanks;
                } else if (c == '\t') {
                    x = NextTab(x);
                    lastTab = C.Pos;
                    blanks = 0;
                } else if (IsCode(c)) {
                    Toggle(c);
                } else {
                    break;
                }
                ++C.Pos;
            }
            if (hang && C.Pos > wsStart) {
                LineInfo& prev = Prev();
                prev.Stop = C.Pos;
                prev.FullWidth = Clamp32(x);
                if (lastTab >= 0) {
                    prev.Spaces = 0;
                    prev.JustifyFrom = lastTab;
                }
                StartLine(C.Pos);
                blanks = 0;
            } else if (!hang) {
                if (lastTab >= 0) {
                    L.S = 0;
                    L.J = lastTab;
                }
                L.X = x;
                L.S += blanks;
            }
            const int64_t xAfterBlanks = L.X;
            if (C.Pos >= Len)
                break;

            const Cursor atWord = C;
            const int32_t wordStart = C.Pos;
            const Word word = MeasureWord(W - L.X);
            const bool beginsLine = L.Start == wordStart;
            if (OnFirstRelaid && beginsLine && HasPrev() && !word.Exceeded) {
                if (int64_t(PeekPrev().FullWidth) + word.Width <= W) {
                    // The word joins the line above, whose trailing blanks now stand between words.
                    LineInfo& prev = Prev();
                    prev.Spaces += TrailingSpaces(prev);
                    prev.Stop = word.End;
                    prev.FullWidth = Clamp32(int64_t(prev.FullWidth) + word.Width);
                    prev.TextWidth = prev.FullWidth;
                    StartLine(word.End);
                    continue;
                }
            }
            if (!word.Exceeded) {
                L.X += word.Width;
                continue;
            }
            C = atWord;
            if (!Columns)
                M = &F.FFonts.Of(C.Font);
            if (beginsLine) {
                if (BreakWord())
                    return;
                continue;
            }
            if (EndLine(wordStart, xBeforeBlanks, xAfterBlanks, L.S - blanks, L.J))
                return;
            StartLine(wordStart);
        }
        // The last line, unless it would be empty after lines already produced or kept; then the
        // line above is the last one and, like any last line, is never stretched.
        if (L.Start < Len || !HasPrev()) {
            Push(LineInfo{L.Start, Len, Clamp32(L.X), Clamp32(L.X), 0, Len, L.StartStyle, L.RunIndex});
            return;
        }
        LineInfo& last = Prev();
        last.Spaces = 0;
        last.JustifyFrom = Len;
        last.TextWidth = last.FullWidth;
    }

    TLineFormatter& F;
    TArtMemoCore& Memo;
    ParInfo& Par;
    const char* Text;
    int32_t Len;
    const TDynInfo* Base;
    const TDynInfo* Runs = nullptr;
    int RunCount = 0;
    bool StaticOn;
    bool Columns;
    int64_t W;
    bool MayStopEarly;
    int First;
    int StopAt;
    bool Stopped = false;
    bool PrevChanged = false;
    bool OnFirstRelaid = false;
    bool WrapAfter[256] = {};
    const TFontAdvances* M = nullptr;
    Cursor C{};
    struct {
        int32_t Start;
        int64_t X;
        int32_t S;
        int32_t J;
        uint8_t StartStyle;
        int32_t RunIndex;
    } L{};
    LineInfo KeptPrev{};
};

void TLineFormatter::FormatWithoutCanvas(ParInfo& par, TParFormat& f) {
    const int oldCount = LineCountOf(par);
    if (IsExtended(par)) {
        FMemo.Paragraphs().Widths.RemoveLines(par);
        ParExtraInfo& extra = *par.Extra;
        extra.Lines.clear();
        LineInfo& line = extra.FirstLineInfo;
        line.Start = 0;
        line.Stop = ParLength(par);
        line.TextWidth = line.FullWidth = line.Spaces = line.JustifyFrom = 0;
        line.RunIndex = 0;
    }
    f.LineCount = 1;
    f.LineDelta = 1 - oldCount;
    f.FirstLine = 0;
    f.StopLine = oldCount - 1;
}

void TLineFormatter::FormatParagraph(int parIndex, TParFormat& f) {
    ParInfo& par = FMemo.Paragraphs().Par(parIndex);
    if (!(par.Flags & pfKeywords)) {
        THighlighting& h = FMemo.Highlighting();
        // Keywords may restyle text before the first line laid out again: lay out all of it.
        if ((h.ApplyKeyWords() && h.Keywords().Count() > 0) || h.Highlighter()) {
            f.FirstLine = 0;
            f.MayStopEarly = false;
        }
        h.ApplyKeywordsIfNeeded(parIndex);
    }
    par.Flags |= pfLinesValid | pfKeywords;
    if (!FCanvas) {
        FormatWithoutCanvas(par, f);
        return;
    }

    TLinesList lines(&par);
    const int oldCount = lines.LineCount();
    FOld.resize(static_cast<size_t>(oldCount));
    for (int k = 0; k < oldCount; ++k)
        FOld[static_cast<size_t>(k)] = *lines.LineAt(k);
    FNew.clear();
    FMemo.Paragraphs().Widths.RemoveLines(par);

    int first = std::clamp(f.FirstLine, 0, oldCount - 1);
    // A line that ends inside a word was broken by characters: the word it belongs to may fit
    // whole now, so its layout starts where the word's first line does.
    const int32_t length = ParLength(par);
    const bool staticOn = FMemo.StaticFormat();
    const std::string& wrapChars = FMemo.WordWrapChars();
    while (first >= 1) {
        const int32_t stop = FOld[static_cast<size_t>(first - 1)].Stop;
        if (stop <= 0 || stop > length)
            break;
        const char c = par.Text[stop - 1];
        if (IsBlank(c) || (staticOn && IsFormatCode(c)) || wrapChars.find(c) != std::string::npos)
            break;
        --first;
    }

    // Old lines from the requested one on are the edited line and those after it: only their breaks
    // can show that the rest of the old table still holds.
    const int requested = std::clamp(f.FirstLine, 0, oldCount - 1);
    Layout layout(*this, par, first, requested, f.MayStopEarly);
    layout.Run();

    if (FMemo.HorizontalScrollApplies()) {
        for (const LineInfo& line : FNew)
            FMemo.NoteLineWidth(line.TextWidth, parIndex);
        if (layout.PrevChanged)
            FMemo.NoteLineWidth(layout.KeptPrev.TextWidth, parIndex);
    }
    const int stop = layout.Stopped ? layout.StopAt : oldCount - 1;
    if (layout.PrevChanged)
        FOld[static_cast<size_t>(first - 1)] = layout.KeptPrev;
    // The new table: kept lines, new lines, old lines after the early stop.
    FNew.insert(FNew.begin(), FOld.begin(), FOld.begin() + first);
    FNew.insert(FNew.end(), FOld.begin() + stop + 1, FOld.end());
    const int newCount = static_cast<int>(FNew.size());
    TLineWidths& widths = FMemo.Paragraphs().Widths;
    for (const LineInfo& line : FNew)
        widths.Add(line.TextWidth);
    if (newCount == 1) {
        if (IsExtended(par))
            par.Extra->Lines.clear();
        StoreFirstLine(par, FNew.front());
    } else {
        ParExtraInfo& extra = ExtendPar(par);
        extra.FirstLineInfo = FNew.front();
        extra.Lines.assign(FNew.begin() + 1, FNew.end());
    }
    f.FirstLine = layout.PrevChanged ? first - 1 : first;
    f.StopLine = stop;
    f.LineCount = newCount;
    f.LineDelta = newCount - oldCount;
}

} // namespace zandor
