// Inserting several lines of text as a column: each line goes into its own paragraph at the same
// screen column, so that a copied column block pastes back as a column.
#pragma once

#include <string_view>

namespace zandor {

class TMemoEditor;

// Inserts the lines of text (breaks CR LF, LF CR, CR or LF) at the caret's screen column (pending
// blanks included): line i into the caret's paragraph + i, appending paragraphs where the text ends.
// Nothing is overwritten: what stands at the column moves right; a paragraph that ends before the
// column is first filled with blanks up to it, and an empty line adds nothing. The selection is
// not replaced (with amoNoOverwriteBlocks it is set aside as the bracket does). One update bracket:
// one undo step. Scrolling the caret into view is the caller's.
void InsertBlock(TMemoEditor& editor, std::string_view text);

} // namespace zandor
