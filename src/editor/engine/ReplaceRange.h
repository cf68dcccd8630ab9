// Text replacement: the one operation that changes the characters of a loaded text. Every typed
// character, deletion, paste and undo step ends here, so it keeps the paragraph records, their
// buffers, runs, line tables and every counter of the store consistent in one place.
#pragma once

#include "editor/engine/NavigatorRegistry.h"

#include <cstdint>

namespace zandor {

class TArtMemoCore;
class TArtNavigator;
class TParagraphsList;

// The longest text the store keeps. Positions are 32-bit, and the position of the LF after the last
// paragraph's end must be representable too.
inline constexpr int64_t kMaxTextLength = INT32_MAX - 1;

// Replaces the text between S and E (S <= E, both navigators of the control that owns paragraphs)
// by text, a NUL-terminated byte string that may contain CR, LF, CR LF and LF CR breaks (null =
// empty). Afterwards S stands at the start and E at the end of the new text; the other registered
// navigators are not moved (ReplaceText does that).
//   reinsertCodes: with StaticFormat on, format codes are appended to the new text so that the
//     text after the range keeps its static style.
//   discardTrailing: when the new text has a break, blanks before a new break are dropped.
// Outputs: runsRemoved (runs lay in or after the range in the changed paragraphs, so contexts must
// be parsed again), lineDelta (display lines), lengthDelta (TextLength). range, when given,
// receives the old positions and paragraphs of what was replaced.
// ETextTooLong when a paragraph or the whole text would not fit 32-bit sizes; the store is then
// unchanged. An S or E standing between the CR and the LF of a break is moved off it so that no
// half break is replaced: S to the next paragraph, E to the CR, both to the CR when they coincide.
void ReplaceRange(TParagraphsList& paragraphs, const char* text, TArtNavigator& S, bool& runsRemoved,
                  int32_t& lineDelta, int32_t& lengthDelta, bool reinsertCodes, bool discardTrailing,
                  TArtNavigator& E, TReplacedRange* range = nullptr);

// With blanks at paragraph ends discarded, a new text that begins with a break after nothing but
// blanks (Enter after blanks) replaces the blanks before S as well: S's offset in its paragraph
// where the replaced range really begins. Whoever records the change needs it before the change.
int32_t DiscardedStartOffset(TArtNavigator& S, const char* text);

struct TReplaceResult {
    bool RunsRemoved = false;
    int32_t LineDelta = 0;
    int32_t LengthDelta = 0;
    TReplacedRange Range;
};

// The control's side of a replacement: ReplaceRange on the control's store, then every other
// registered navigator is moved (or dropped, FreeWithText) and the control's folded-text cache
// follows the new paragraph numbering.
TReplaceResult ReplaceText(TArtMemoCore& memo, TArtNavigator& S, TArtNavigator& E, const char* text,
                           bool reinsertCodes = true, bool discardTrailing = false);

} // namespace zandor
