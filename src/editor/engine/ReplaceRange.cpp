#include "editor/engine/ReplaceRange.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/EngineErrors.h"
#include "editor/engine/FoldedTextCache.h"
#include "editor/engine/FormatCodes.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace zandor {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TextOf(const ParInfo& par) {
    const int32_t length = ParLength(par);
    return length > 0 ? std::string_view(par.Text, static_cast<size_t>(length)) : std::string_view();
}

// The new text cut at its breaks: CR, LF, CR LF or LF CR. n breaks give n + 1 pieces.
std::vector<std::string_view> SplitPieces(const char* text) {
    std::vector<std::string_view> pieces;
    if (!text) {
        pieces.emplace_back();
        return pieces;
    }
    const char* from = text;
    const char* p = text;
    for (;;) {
        const char c = *p;
        if (c == '\0')
            break;
        if (c == '\r' || c == '\n') {
            pieces.emplace_back(from, static_cast<size_t>(p - from));
            const char other = c == '\r' ? '\n' : '\r';
            p += p[1] == other ? 2 : 1;
            from = p;
        } else {
            ++p;
        }
    }
    pieces.emplace_back(from, static_cast<size_t>(p - from));
    return pieces;
}

std::string_view TrimTrailingBlanks(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1]))
        --n;
    return s.substr(0, n);
}

// Paragraph records built for a replacement before the store is touched. Until they are handed to
// the store, this owns their buffers and extensions and frees them if the replacement is abandoned.
struct PendingRecords {
    std::vector<ParInfo> Records;
    bool Committed = false;
    ~PendingRecords() {
        if (!Committed)
            for (ParInfo& par : Records)
                ReleasePar(par);
    }
};

// Copies parts into a new owned buffer with the usual slack.
char* BuildText(std::initializer_list<std::string_view> parts, int32_t length) {
    if (length == 0)
        return nullptr;
    char* buffer = AllocParText(TextBufferSizeFor(length));
    char* out = buffer;
    for (std::string_view part : parts) {
        if (!part.empty())
            std::memcpy(out, part.data(), part.size());
        out += part.size();
    }
    *out = '\0';
    return buffer;
}

int32_t CheckedLength(int64_t n) {
    TextBufferSizeFor(n); // raises "Text too long" when the buffer would not fit
    return static_cast<int32_t>(n);
}

struct Endpoints {
    int32_t SPar, SOff, EPar, EOff;
};

// Walks the removed text: its format codes toggle the compensation state, and any run at or
// after S in S's paragraph or in a later paragraph of the range means runs are lost.
void ScanRemoved(const TParagraphsList& list, const Endpoints& at, bool staticFormat, uint8_t& toggled,
                 bool& runsRemoved) {
    for (int32_t p = at.SPar; p <= at.EPar; ++p) {
        const ParInfo& par = list.Par(p);
        const std::string_view text = TextOf(par);
        const size_t from = p == at.SPar ? static_cast<size_t>(at.SOff) : 0;
        const size_t to = p == at.EPar ? static_cast<size_t>(at.EOff) : text.size();
        if (staticFormat && to > from)
            toggled ^= ToggledBits(text.substr(from, to - from));
        if (!runsRemoved && IsExtended(par)) {
            const TRunArray& runs = par.Extra->Runs;
            if (p == at.SPar)
                runsRemoved = !runs.empty() && runs.back().Offset >= at.SOff;
            else
                runsRemoved = !runs.empty();
        }
    }
}

LineInfo SingleLine(int32_t length, uint8_t startStyle) {
    return LineInfo{0, length, 0, 0, 0, length, startStyle, 0};
}

// ---- in place: S and E in one paragraph, no break in the new text ------------------------------

struct InPlaceResult {
    int32_t LineDelta = 0;
};

InPlaceResult ReplaceInParagraph(TParagraphsList& list, ParInfo& par, const Endpoints& at, int32_t sLine,
                                 int32_t eLine, std::string_view piece, std::string_view codes,
                                 bool runsRemoved) {
    const int32_t length = ParLength(par);
    const int32_t inserted = static_cast<int32_t>(piece.size() + codes.size());
    const int32_t delta = inserted - (at.EOff - at.SOff);
    const int32_t m = CheckedLength(int64_t(length) + delta);

    // A new text that lives inside this very buffer must be copied before the buffer moves.
    std::string aliasCopy;
    char* old = par.Text;
    const bool owned = (par.Flags & pfOwnText) && old;
    const int32_t bufferBytes = owned ? ParTextCapacity(old) : 0;
    if (owned && !piece.empty() && piece.data() >= old && piece.data() < old + bufferBytes) {
        aliasCopy.assign(piece);
        piece = aliasCopy;
    }
    // Typing moves the tail inside the buffer; a buffer is only replaced when it overflows or when
    // more than an eighth of it would stand empty.
    const bool inPlace = owned && m + 1 <= bufferBytes && bufferBytes - (m + 1) <= bufferBytes / 8;
    char* fresh = nullptr;
    if (!inPlace) {
        const std::string_view text = TextOf(par);
        fresh = BuildText({text.substr(0, static_cast<size_t>(at.SOff)), piece, codes,
                           text.substr(static_cast<size_t>(at.EOff))},
                          m);
    }
    // From here on nothing can fail.
    list.Modified = true;
    list.MarkDirty(at.SPar, sLine, at.EPar);
    list.Widths.RemoveLines(par);
    if (inPlace) {
        std::memmove(old + at.SOff + inserted, old + at.EOff, static_cast<size_t>(length - at.EOff) + 1);
        if (!piece.empty())
            std::memcpy(old + at.SOff, piece.data(), piece.size());
        if (!codes.empty())
            std::memcpy(old + at.SOff + piece.size(), codes.data(), codes.size());
    } else {
        if (owned)
            FreeParText(old);
        par.Text = fresh;
        par.Flags |= pfOwnText;
    }
    par.Flags &= static_cast<uint8_t>(~pfLinesValid);
    SetParLength(par, m);

    InPlaceResult result;
    if (!IsExtended(par)) {
        list.Widths.AddLines(par);
        list.LinesReusable = true;
        return result;
    }
    ParExtraInfo& extra = *par.Extra;
    // Runs that began inside the removed text go; later ones follow their characters.
    TRunArray& runs = extra.Runs;
    auto first = std::lower_bound(runs.begin(), runs.end(), at.SOff,
                                  [](const TDynInfo& r, int32_t o) { return r.Offset < o; });
    auto last = std::lower_bound(first, runs.end(), at.EOff,
                                 [](const TDynInfo& r, int32_t o) { return r.Offset < o; });
    first = runs.erase(first, last);
    for (auto it = first; it != runs.end(); ++it)
        it->Offset += delta;

    // The line table is kept: the lines from S's to E's merge into one, later lines follow the
    // text, so the formatter can stop at the first line break it finds unchanged.
    TLinesList lines(&par);
    const int count = lines.LineCount();
    sLine = std::clamp(sLine, 0, count - 1);
    eLine = std::clamp(eLine, sLine, count - 1);
    LineInfo merged = *lines.LineAt(sLine);
    if (runsRemoved) {
        result.LineDelta = -(count - 1 - sLine);
        extra.Lines.resize(static_cast<size_t>(sLine));
        merged.Stop = m;
        list.LinesReusable = false;
    } else {
        const LineInfo endLine = *lines.LineAt(eLine);
        merged.Stop = endLine.Stop + delta;
        if (merged.JustifyFrom > at.SOff)
            merged.JustifyFrom =
                endLine.JustifyFrom >= at.EOff ? endLine.JustifyFrom + delta : at.SOff + inserted;
        for (int k = eLine + 1; k < count; ++k) {
            LineInfo& line = extra.Lines[static_cast<size_t>(k - 1)];
            line.Start += delta;
            line.Stop += delta;
            line.JustifyFrom += delta;
        }
        if (eLine > sLine)
            extra.Lines.erase(extra.Lines.begin() + sLine, extra.Lines.begin() + eLine);
        result.LineDelta = -(eLine - sLine);
        list.LinesReusable = true;
    }
    merged.JustifyFrom = std::clamp(merged.JustifyFrom, merged.Start, merged.Stop);
    lines.PutLine(sLine, merged);
    list.Widths.AddLines(par);
    return result;
}

// ---- across paragraphs, or with breaks in the new text ----------------------------------------

// The run state in force at S: what the paragraphs after the first new one start in.
struct StateAtS {
    const TDynInfo* Run = nullptr;  // a run of S's paragraph carrying a context: copied once
    const TDynInfo* Base = nullptr; // S's paragraph's own base style: shared
};

StateAtS StateAt(const ParInfo& sPar, int32_t sOff) {
    StateAtS state;
    if (!IsExtended(sPar) || sPar.Extra->Runs.empty() || sPar.Extra->Runs.front().Offset >= sOff) {
        state.Base = BaseStyleOf(sPar);
        return state;
    }
    const TRunArray& runs = sPar.Extra->Runs;
    auto it = std::lower_bound(runs.begin(), runs.end(), sOff,
                               [](const TDynInfo& r, int32_t o) { return r.Offset < o; });
    const TDynInfo& run = *(it - 1);
    if (run.StyleFlags & sfContext)
        state.Run = &run;
    return state;
}

// Case A: the records that replace paragraphs S .. E, built before the store is touched. The first
// is S's paragraph up to S plus the first piece, the middle pieces stand alone, the last is the last
// piece, the compensation codes and E's paragraph from E on; each has its own buffer and one line.
void BuildNewParagraphs(const TParagraphsList& list, const Endpoints& at,
                        const std::vector<std::string_view>& pieces, const std::string& codes,
                        PendingRecords& pending) {
    const int32_t breaks = static_cast<int32_t>(pieces.size()) - 1;
    const ParInfo& sRec = list.Par(at.SPar);
    const bool sHidden = IsHidden(sRec);
    const ParInfo& eRec = list.Par(at.EPar);
    const std::string_view sText = TextOf(sRec);
    const std::string_view eText = TextOf(eRec);
    const std::string_view head = sText.substr(0, static_cast<size_t>(at.SOff));
    const std::string_view tail = eText.substr(static_cast<size_t>(at.EOff));
    const StateAtS stateAtS = StateAt(sRec, at.SOff);
    const LineInfo sLine0 = LoadFirstLine(sRec);

    pending.Records.reserve(static_cast<size_t>(breaks) + 1);
    uint8_t style = sLine0.StartStyle;
    int32_t start = sRec.Start;
    int32_t firstLine = sRec.FirstLine;
    for (int32_t k = 0; k <= breaks; ++k) {
        const bool isFirst = k == 0, isLast = k == breaks;
        const std::string_view piece = pieces[static_cast<size_t>(k)];
        const std::string_view before = isFirst ? head : std::string_view();
        const std::string_view after = isLast ? tail : std::string_view();
        const std::string_view extra = isLast ? std::string_view(codes) : std::string_view();
        const int32_t length = CheckedLength(int64_t(before.size()) + int64_t(piece.size()) +
                                             int64_t(extra.size()) + int64_t(after.size()));
        pending.Records.push_back(ParInfo{});
        ParInfo& rec = pending.Records.back();
        rec.Start = start;
        rec.FirstLine = firstLine;
        rec.Level = sRec.Level;
        rec.Flags = static_cast<uint8_t>(pfOwnText | (sRec.Flags & pfHidden) |
                                         (isFirst ? sRec.Flags & (pfParsed | pfKeywords) : 0));
        rec.Text = BuildText({before, piece, extra, after}, length);
        SetParLength(rec, length);

        // Runs: S's before S stay with the first paragraph, E's from E on follow the last one.
        const bool keepHeadRuns = isFirst && IsExtended(sRec) && !sRec.Extra->Runs.empty() &&
                                  sRec.Extra->Runs.front().Offset < at.SOff;
        const TRunArray* eRuns = IsExtended(eRec) ? &eRec.Extra->Runs : nullptr;
        const bool takeTailRuns = isLast && eRuns && !eRuns->empty() && eRuns->back().Offset >= at.EOff;
        const bool sExtended = IsExtended(sRec);
        const bool carriesOutline =
            sExtended && (sRec.Extra->CollapseBits || sRec.Extra->CollapseFrom || sRec.Extra->CollapseTo);
        if (isFirst && sExtended) {
            const ParExtraInfo& from = *sRec.Extra;
            if (keepHeadRuns || takeTailRuns || carriesOutline || !from.BaseStyle.IsDefault() ||
                from.ParColor != kColorUnset || from.ParBackColor != kColorUnset || from.Obj != 0) {
                ParExtraInfo& to = ExtendPar(rec);
                to.ParColor = from.ParColor;
                to.ParBackColor = from.ParBackColor;
                to.Obj = from.Obj;
                to.BaseStyle.Assign(from.BaseStyle.Get(), false);
            }
        } else if (!isFirst) {
            if (stateAtS.Run) {
                if (k == 1)
                    SetBaseStyle(rec, stateAtS.Run, true);
                else
                    SetBaseStyle(rec, BaseStyleOf(pending.Records[1]), false);
            } else {
                SetBaseStyle(rec, stateAtS.Base, false);
            }
        }
        if (carriesOutline) {
            ParExtraInfo& to = ExtendPar(rec);
            to.CollapseBits = sRec.Extra->CollapseBits;
            to.CollapseFrom = sRec.Extra->CollapseFrom;
            to.CollapseTo = sRec.Extra->CollapseTo;
        }
        if (keepHeadRuns) {
            const TRunArray& runs = sRec.Extra->Runs;
            auto end = std::lower_bound(runs.begin(), runs.end(), at.SOff,
                                        [](const TDynInfo& r, int32_t o) { return r.Offset < o; });
            ExtendPar(rec).Runs.assign(runs.begin(), end);
        }
        if (takeTailRuns) {
            auto from = std::lower_bound(eRuns->begin(), eRuns->end(), at.EOff,
                                         [](const TDynInfo& r, int32_t o) { return r.Offset < o; });
            TRunArray& runs = ExtendPar(rec).Runs;
            const int32_t moveBy = length - static_cast<int32_t>(after.size()) - at.EOff;
            for (auto it = from; it != eRuns->end(); ++it) {
                runs.push_back(*it);
                runs.back().Offset += moveBy;
            }
        }
        StoreFirstLine(rec, SingleLine(length, style));
        // No paragraph follows the last one: its end plus a break may lie beyond 32 bits when the
        // text reaches the limit.
        if (isLast)
            break;
        if (list.StaticFormat)
            style = ApplyFormatCodes(style, TextOf(rec));
        else
            style = 0;
        start += length + 2;
        if (!sHidden)
            ++firstLine;
    }
}

} // namespace

int32_t DiscardedStartOffset(TArtNavigator& S, const char* text) {
    const int32_t offset = S.ParOffset();
    const char* p = text ? text : "";
    while (IsBlank(*p))
        ++p;
    if (*p != '\r' && *p != '\n')
        return offset;
    const std::string_view sText = TextOf(*S.Par());
    if (offset > static_cast<int32_t>(sText.size()))
        return offset; // on the LF of a break: no blanks before it
    int32_t start = offset;
    while (start > 0 && IsBlank(sText[static_cast<size_t>(start - 1)]))
        --start;
    return start;
}

void ReplaceRange(TParagraphsList& paragraphs, const char* text, TArtNavigator& S, bool& runsRemoved,
                  int32_t& lineDelta, int32_t& lengthDelta, bool reinsertCodes, bool discardTrailing,
                  TArtNavigator& E, TReplacedRange* range) {
    TParagraphsList& list = paragraphs;
    if (!S.Memo() || &S.Memo()->Paragraphs() != &list || E.Memo() != S.Memo() || &S == &E)
        throw EInternalError();
    if (S.Pos() > E.Pos())
        throw EInternalError();

    // A break counts as two positions but is one thing: an end between its CR and LF is moved off
    // it so that no half break is replaced (an insertion there goes before the CR).
    if (S.ParOffset() > ParLength(*S.Par())) {
        if (S.Pos() == E.Pos())
            S.SetParOffset(ParLength(*S.Par()));
        else
            S.SetPos(S.Pos() + 1);
    }
    if (E.ParOffset() > ParLength(*E.Par()))
        E.SetParOffset(ParLength(*E.Par()));

    std::vector<std::string_view> pieces = SplitPieces(text);
    const int32_t breaks = static_cast<int32_t>(pieces.size()) - 1;
    Endpoints at{S.GetParNb(), S.ParOffset(), E.GetParNb(), E.ParOffset()};
    ParInfo& sRec = list.Par(at.SPar);
    const int32_t eLen = ParLength(list.Par(at.EPar));

    if (discardTrailing && breaks > 0) {
        at.SOff = DiscardedStartOffset(S, text);
        if (at.SOff != S.ParOffset())
            S.SetParOffset(at.SOff);
        for (int32_t k = 0; k <= breaks; ++k)
            if (k < breaks || at.EOff >= eLen)
                pieces[static_cast<size_t>(k)] = TrimTrailingBlanks(pieces[static_cast<size_t>(k)]);
    }

    const int32_t a = S.Pos();
    const int32_t e = E.Pos();
    uint8_t toggled = 0;
    runsRemoved = false;
    ScanRemoved(list, at, list.StaticFormat, toggled, runsRemoved);
    int64_t pieceBytes = 0;
    for (std::string_view piece : pieces) {
        if (list.StaticFormat)
            toggled ^= ToggledBits(piece);
        pieceBytes += static_cast<int64_t>(piece.size());
    }
    const std::string codes = list.StaticFormat && reinsertCodes ? CompensationCodes(toggled) : std::string();
    const int64_t insertedPositions = pieceBytes + static_cast<int64_t>(codes.size()) + 2 * int64_t(breaks);
    const int64_t newLength = int64_t(list.TextLength) + insertedPositions - (e - a);
    if (newLength > kMaxTextLength || pieceBytes > kMaxTextLength)
        throw ETextTooLong();
    const int32_t delta = static_cast<int32_t>(newLength - list.TextLength);

    const int32_t sLine = S.LineIndex();
    const int32_t eLine = E.LineIndex();
    const bool sHidden = IsHidden(sRec);
    const int32_t oldCount = list.Count();
    int32_t dLines = 0;
    int32_t dVisible = 0;
    int32_t parDelta = 0;

    if (at.SPar == at.EPar && breaks == 0) {
        const InPlaceResult r =
            ReplaceInParagraph(list, sRec, at, sLine, eLine, pieces.front(), codes, runsRemoved);
        dLines = r.LineDelta;
        dVisible = sHidden ? 0 : dLines;
    } else {
        const int32_t oldPars = at.EPar - at.SPar + 1;
        parDelta = breaks + 1 - oldPars;
        if (int64_t(oldCount) + parDelta > kMaxTextLength)
            throw ETextTooLong();
        PendingRecords pending;
        BuildNewParagraphs(list, at, pieces, codes, pending);

        int32_t oldLines = 0, oldVisible = 0;
        for (int32_t p = at.SPar; p <= at.EPar; ++p) {
            const ParInfo& par = list.Par(p);
            oldLines += LineCountOf(par);
            if (!IsHidden(par))
                oldVisible += LineCountOf(par);
        }
        dLines = breaks + 1 - oldLines;
        dVisible = (sHidden ? 0 : breaks + 1) - oldVisible;

        list.Modified = true;
        list.MarkDirty(at.SPar, sLine, at.EPar);
        // The last step that may fail: room for the added records.
        if (parDelta > 0)
            list.SetCount(oldCount + parDelta);

        // From here on nothing can fail.
        const int32_t tailFrom = at.EPar + 1;
        const int32_t tailCount = oldCount - tailFrom;
        if (parDelta > 0)
            list.MoveRecords(tailFrom, tailFrom + parDelta, tailCount);
        for (int32_t p = at.SPar; p <= at.EPar; ++p) {
            list.Widths.RemoveLines(list.Par(p));
            ReleasePar(list.Par(p));
        }
        for (int32_t k = 0; k <= breaks; ++k)
            std::memcpy(&list.Par(at.SPar + k), &pending.Records[static_cast<size_t>(k)], sizeof(ParInfo));
        pending.Committed = true;
        if (parDelta < 0) {
            list.MoveRecords(tailFrom, tailFrom + parDelta, tailCount);
            list.SetCount(oldCount + parDelta);
        }
        if (parDelta != 0)
            list.ShrinkAfterReplace();
    }

    // Everything after the change follows it.
    const int32_t after = at.SPar + breaks + 1;
    if (dVisible != 0)
        list.ShiftStartsAndLines(after, delta, dVisible);
    else if (delta != 0)
        list.ShiftStarts(after, delta);

    list.DirtyLineDelta += dVisible;
    list.VisibleLineCount += dVisible;
    list.LineCount += dLines;
    list.TextLength += delta;
    list.DirtyTo += parDelta;
    if (list.BgNext > at.EPar)
        list.BgNext += parDelta;
    else if (list.BgNext >= at.SPar)
        list.BgNext = at.SPar;
    if (list.BgLast > at.EPar)
        list.BgLast += parDelta;
    else if (list.BgLast >= at.SPar)
        list.BgLast = at.SPar + breaks;

    // S keeps its place at the start. Edited in place, its runs before it and its line stay as they
    // were; a rebuilt paragraph has one line and may have fewer runs.
    if (breaks > 0 || at.SPar != at.EPar)
        S.SetParOffset(at.SOff);
    else
        S.RecountRuns(); // runs it had passed at its own offset were removed or moved on
    const int32_t insertedHere = static_cast<int32_t>(pieces.back().size() + codes.size());
    if (breaks == 0) {
        E.Assign(S);
        E.SetPos(a + insertedHere);
    } else {
        E.SetParNb(at.SPar + breaks);
        E.SetParOffset(insertedHere);
    }

    lineDelta = dLines;
    lengthDelta = delta;
    if (range) {
        range->OldStart = a;
        range->OldEnd = e;
        range->LengthDelta = delta;
        range->FirstPar = at.SPar;
        range->OldLastPar = at.EPar;
        range->ParDelta = parDelta;
    }
}

TReplaceResult ReplaceText(TArtMemoCore& memo, TArtNavigator& S, TArtNavigator& E, const char* text,
                           bool reinsertCodes, bool discardTrailing) {
    TReplaceResult result;
    ReplaceRange(memo.Paragraphs(), text, S, result.RunsRemoved, result.LineDelta, result.LengthDelta,
                 reinsertCodes, discardTrailing, E, &result.Range);
    memo.Navigators().AdjustAfterReplace(result.Range, S, E);
    memo.FoldedText().AdjustAfterReplace(result.Range);
    return result;
}

} // namespace zandor
