// The control's text search: a plain substring scan per paragraph, optionally through the
// case-folded copy of each paragraph and limited to whole words.
#pragma once

#include <cstdint>
#include <string_view>

namespace zandor {

class TArtMemoCore;

// A selection as the control keeps it: the caret and a signed length (anchor = SelStart +
// SelLength).
struct TSelection {
    int32_t SelStart = 0;
    int32_t SelLength = 0;
};

// Searches the control's text for text; matches never span a paragraph break. fromBoundary: from
// the start of the text (forward) or its end (backward); otherwise from the caret
// (selection.SelStart). Forward, a hit is selected with the caret after it (SelLength = -length),
// so the next forward search continues behind it; backward, with the caret at its start, and only
// hits that begin before the caret count. matchCase off compares through the control's folded-text
// cache, with the control's UpperCaseType; wholeWord needs a separator of the control (or the paragraph's
// edge) on both sides. On a miss, and for an empty text, selection is left as it was and the result is false.
bool FindText(TArtMemoCore& control, std::string_view text, bool forward, bool matchCase, bool wholeWord,
              bool fromBoundary, TSelection& selection);

} // namespace zandor
