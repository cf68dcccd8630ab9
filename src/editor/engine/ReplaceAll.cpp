#include "editor/engine/ReplaceAll.h"

#include "editor/engine/FoldedTextCache.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/UndoList.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace zandor {

namespace {

constexpr size_t npos = std::string_view::npos;

// Stretches without an occurrence narrower than this are replaced with their neighbours.
constexpr int32_t kMinSkippedGap = 4096;
constexpr size_t kMaxPieces = 64;

struct THit {
    int32_t Par;
    int32_t Offset;
};

bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}

// Collects the occurrences paragraph by paragraph, in the order the repeated searches meet them.
class THitCollector {
public:
    THitCollector(TArtMemoCore& core, std::string_view replacement, TReplaceAllOptions options,
                  std::string_view needle)
        : FList(core.Paragraphs()), FSeparators(core.Separators()), FKind(core.UpperCaseType()),
          FReplacement(replacement), FOptions(options), FNeedle(needle) {}

    std::vector<THit> Collect() {
        const int32_t count = FList.Count();
        if (FOptions.Down)
            for (int32_t p = 0; p < count; ++p)
                CollectDown(p);
        else
            for (int32_t p = count - 1; p >= 0; --p)
                CollectUp(p);
        return std::move(FHits);
    }

private:
    // The paragraph as the search compares it, folded when case does not matter.
    std::string_view Haystack(int32_t p) {
        const ParInfo& par = FList.Par(p);
        const auto length = static_cast<size_t>(std::max(ParLength(par), 0));
        FText = length > 0 ? std::string_view(par.Text, length) : std::string_view();
        if (FOptions.MatchCase || length < FNeedle.size())
            return FText;
        FFolded.assign(FText);
        UpperCaseText(FKind, FFolded.data(), FFolded.size());
        return FFolded;
    }

    bool IsSeparator(char c) const { return FSeparators.test(static_cast<uint8_t>(c)); }

    // Whether a replacement edge byte lets a word end or begin there; an empty replacement passes
    // the verdict of what stood beyond the replaced occurrence.
    bool EdgeOk(char c) const { return IsBreak(c) || IsSeparator(c); }

    void CollectDown(int32_t p) {
        const std::string_view hay = Haystack(p);
        const size_t n = FNeedle.size();
        size_t previousEnd = npos;
        bool beforeAtPreviousEnd = true; // whether a word may begin behind the last replacement
        for (size_t at = hay.find(FNeedle); at != npos;) {
            bool accepted = true;
            if (FOptions.WholeWord) {
                const bool before =
                    at == previousEnd ? beforeAtPreviousEnd : at == 0 || IsSeparator(FText[at - 1]);
                const bool after = at + n == FText.size() || IsSeparator(FText[at + n]);
                accepted = before && after;
                if (accepted)
                    beforeAtPreviousEnd = FReplacement.empty() ? before : EdgeOk(FReplacement.back());
            }
            if (!accepted) {
                at = hay.find(FNeedle, at + 1);
                continue;
            }
            FHits.push_back({p, static_cast<int32_t>(at)});
            previousEnd = at + n;
            at = hay.find(FNeedle, previousEnd);
        }
    }

    void CollectUp(int32_t p) {
        const std::string_view hay = Haystack(p);
        const size_t n = FNeedle.size();
        size_t limit = hay.size(); // an occurrence must end here or before
        size_t laterStart = npos;
        bool afterAtLaterStart = true; // whether a word may end before the last replacement
        while (limit >= n) {
            size_t at = hay.rfind(FNeedle, limit - n);
            for (; at != npos; at = at == 0 ? npos : hay.rfind(FNeedle, at - 1)) {
                if (!FOptions.WholeWord)
                    break;
                const bool after = at + n == laterStart
                                       ? afterAtLaterStart
                                       : at + n == FText.size() || IsSeparator(FText[at + n]);
                if (after && (at == 0 || IsSeparator(FText[at - 1]))) {
                    afterAtLaterStart = FReplacement.empty() ? after : EdgeOk(FReplacement.front());
                    break;
                }
            }
            if (at == npos)
                return;
            FHits.push_back({p, static_cast<int32_t>(at)});
            laterStart = limit = at;
        }
    }

    TParagraphsList& FList;
    const TCharSet& FSeparators;
    TamUpperCase FKind;
    std::string_view FReplacement;
    TReplaceAllOptions FOptions;
    std::string_view FNeedle;
    std::string_view FText; // the raw paragraph, for the word test
    std::string FFolded;
    std::vector<THit> FHits;
};

// Positions a lone CR or LF (or a CR LF / LF CR pair) of inserted text takes up once it has become
// a paragraph break: every break counts two.
int32_t PositionsOf(std::string_view text) {
    int32_t positions = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsBreak(text[i]) && i + 1 < text.size() && IsBreak(text[i + 1]) && text[i + 1] != text[i])
            ++i;
        positions += IsBreak(text[i]) ? 2 : 1;
    }
    return positions;
}

} // namespace

TReplaceAllPlan PlanReplaceAll(TArtMemoCore& core, std::string_view text, std::string_view replacement,
                               TReplaceAllOptions options, int64_t sliceBytes) {
    TReplaceAllPlan plan;
    if (text.empty())
        return plan;
    const std::string folded = options.MatchCase ? std::string() : UpperCased(core.UpperCaseType(), text);
    std::vector<THit> hits =
        THitCollector(core, replacement, options, options.MatchCase ? text : std::string_view(folded))
            .Collect();
    if (hits.empty())
        return plan;
    if (!options.Down)
        std::reverse(hits.begin(), hits.end());
    plan.Count = static_cast<int64_t>(hits.size());

    TParagraphsList& list = core.Paragraphs();
    const auto n = static_cast<int32_t>(text.size());
    auto position = [&](const THit& hit) { return list.Par(hit.Par).Start + hit.Offset; };

    // The widest stretches without an occurrence stay out of the edit, so that the undo record
    // holds little more than the occurrences when they stand in a few clusters; each piece is one
    // more pass over the paragraph records, so there are few of them.
    std::vector<std::pair<int32_t, size_t>> gaps; // (width, index of the hit before it)
    for (size_t i = 0; i + 1 < hits.size(); ++i) {
        const int32_t width = position(hits[i + 1]) - position(hits[i]) - n;
        if (width >= kMinSkippedGap)
            gaps.emplace_back(width, i);
    }
    if (gaps.size() > kMaxPieces - 1) {
        std::nth_element(gaps.begin(), gaps.begin() + (kMaxPieces - 1), gaps.end(), std::greater<>());
        gaps.resize(kMaxPieces - 1);
    }
    std::vector<size_t> lastOfPiece;
    for (const auto& gap : gaps)
        lastOfPiece.push_back(gap.second);
    std::sort(lastOfPiece.begin(), lastOfPiece.end());
    lastOfPiece.push_back(hits.size() - 1);
    if (sliceBytes > 0) {
        // A slice ends at the occurrence that brings it to sliceBytes of old and new text.
        std::vector<size_t> sliceEnds;
        size_t first = 0;
        for (const size_t last : lastOfPiece) {
            for (size_t h = first; h < last; ++h) {
                const int64_t bytes = int64_t(position(hits[h])) + n - position(hits[first]) +
                                      int64_t(h - first + 1) * int64_t(replacement.size());
                if (bytes >= sliceBytes) {
                    sliceEnds.push_back(h);
                    first = h + 1;
                }
            }
            sliceEnds.push_back(last);
            first = last + 1;
        }
        lastOfPiece = std::move(sliceEnds);
    }

    size_t firstHit = 0;
    for (const size_t lastHit : lastOfPiece) {
        TReplaceAllPiece& piece = plan.Pieces.emplace_back();
        piece.Start = position(hits[firstHit]);
        piece.Stop = position(hits[lastHit]) + n;
        const int64_t grown =
            static_cast<int64_t>(lastHit - firstHit + 1) * (static_cast<int64_t>(replacement.size()) - n);
        piece.Text.reserve(static_cast<size_t>(std::max<int64_t>(0, piece.Stop - piece.Start + grown)));
        // The text between the occurrences, paragraph by paragraph with CR LF between them.
        int32_t par = hits[firstHit].Par;
        int32_t from = hits[firstHit].Offset;
        for (size_t h = firstHit; h <= lastHit; ++h) {
            for (; par < hits[h].Par; ++par, from = 0) {
                const ParInfo& info = list.Par(par);
                piece.Text.append(info.Text + from, static_cast<size_t>(ParLength(info) - from));
                piece.Text += "\r\n";
            }
            piece.Text.append(list.Par(par).Text + from, static_cast<size_t>(hits[h].Offset - from));
            piece.Text.append(replacement);
            from = hits[h].Offset + n;
        }
        firstHit = lastHit + 1;
    }

    if (options.Down) {
        // Behind the last piece once the pieces before it have changed their lengths.
        const TReplaceAllPiece& last = plan.Pieces.back();
        plan.Caret = last.Start + PositionsOf(last.Text);
        for (size_t i = 0; i + 1 < plan.Pieces.size(); ++i)
            plan.Caret += PositionsOf(plan.Pieces[i].Text) - (plan.Pieces[i].Stop - plan.Pieces[i].Start);
    } else {
        plan.Caret = plan.Pieces.front().Start + PositionsOf(replacement);
    }
    return plan;
}

int64_t ReplaceAll(TMemoEditor& editor, std::string_view text, std::string_view replacement,
                   TReplaceAllOptions options, const TReplaceAllProgress& progress, int64_t sliceBytes) {
    const TReplaceAllPlan plan =
        PlanReplaceAll(editor.Core(), text, replacement, options, progress ? sliceBytes : 0);
    if (plan.Count == 0)
        return 0;
    const auto bytesOf = [](const TReplaceAllPiece& piece) {
        return int64_t(piece.Stop) - piece.Start + int64_t(piece.Text.size());
    };
    int64_t total = 0;
    for (const TReplaceAllPiece& piece : plan.Pieces)
        total += bytesOf(piece);
    const bool told = progress && (total > 2 * sliceBytes || plan.Count > kLargeReplaceAllCount);
    // The text is only ever seen whole: the bracket keeps it from being painted until the last
    // slice is in, and the undo list keeps the step whatever its size.
    const TUndoList::TKeptGroup kept(editor.Undos());
    TUpdateBracket bracket(editor);
    if (told)
        progress(0);
    int64_t done = 0;
    // From the last piece to the first, so the positions of the pieces still to come hold.
    for (auto piece = plan.Pieces.rbegin(); piece != plan.Pieces.rend(); ++piece) {
        editor.Select(piece->Start, piece->Stop);
        editor.SetSelTextBuf(piece->Text.c_str());
        done += bytesOf(*piece);
        if (told)
            progress(static_cast<int>(done * 100 / std::max<int64_t>(total, 1)));
    }
    editor.SetSelStart(plan.Caret);
    return plan.Count;
}

} // namespace zandor
