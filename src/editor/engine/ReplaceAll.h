// Replace All as one edit: every occurrence is found in one pass over the paragraphs, the new text
// of the stretch from the first occurrence to the last is built at once, and that stretch is
// replaced through the editor's one replace operation, so a million replacements cost one
// replacement, one undo step and one layout instead of a million. The widest stretches without an
// occurrence are left out (a few pieces instead of one), so the undo record does not hold them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zandor {

class TArtMemoCore;
class TMemoEditor;

struct TReplaceAllOptions {
    bool Down = true;
    bool MatchCase = false;
    bool WholeWord = false;
};

// Positions Start .. Stop of the text before the Replace All become Text.
struct TReplaceAllPiece {
    int32_t Start = 0;
    int32_t Stop = 0;
    std::string Text;
};

// What one Replace All changes: the pieces in text order, none overlapping; the caret then goes to
// Caret (a position in the new text).
struct TReplaceAllPlan {
    std::vector<TReplaceAllPiece> Pieces;
    int64_t Count = 0; // occurrences replaced; 0: nothing to do
    int32_t Caret = 0;
};

// Told between the slices of a large Replace All how much is done (0 .. 100); the window handles its
// pending events there, all but user input.
using TReplaceAllProgress = std::function<void(int percent)>;

// With a progress handler, the edit is cut into slices of about this many bytes (replaced text and
// new text together), so that the window can repaint between them; it is told of them when the
// edit is larger than two slices or replaces more than kLargeReplaceAllCount occurrences.
inline constexpr int64_t kReplaceAllSliceBytes = int64_t(4) << 20;
inline constexpr int64_t kLargeReplaceAllCount = 100'000;

// Finds the occurrences as repeated searches would, each replaced before the next search:
//  - Down: from the start of the text; each search goes on behind the inserted replacement, so
//    occurrences do not overlap and a replacement that contains the search text is not searched.
//  - Up: from the end of the text; each search looks for an occurrence that ends before the
//    inserted replacement begins, the mirror of Down, so the replacement is never searched either.
// Matches lie inside one paragraph and compare through the control's case rule and separators as
// FindText does. A whole word is judged by the text as it stands at that search: next to an
// occurrence that was just replaced, the neighbouring byte is the replacement's. The caret ends
// behind the last replacement made (Down: the last in the text; Up: the first). sliceBytes > 0
// cuts the pieces further, between occurrences, into slices of about that many bytes.
TReplaceAllPlan PlanReplaceAll(TArtMemoCore& core, std::string_view text, std::string_view replacement,
                               TReplaceAllOptions options, int64_t sliceBytes = 0);

// Plans and applies: the pieces replaced inside one update bracket, so one undo step, kept whole
// by the undo list however large it is (TUndoList::TKeptGroup). With progress, the edit goes in
// slices of about sliceBytes, and when it is large progress is told after each. Returns the number
// of occurrences replaced.
int64_t ReplaceAll(TMemoEditor& editor, std::string_view text, std::string_view replacement,
                   TReplaceAllOptions options, const TReplaceAllProgress& progress = {},
                   int64_t sliceBytes = kReplaceAllSliceBytes);

} // namespace zandor
