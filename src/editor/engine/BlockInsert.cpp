#include "editor/engine/BlockInsert.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/MemoSelection.h"
#include "editor/engine/NoOverwriteBracket.h"
#include "editor/engine/ParagraphsList.h"
#include "platform/Strings.h"

#include <algorithm>
#include <string>
#include <vector>

namespace zandor {

void InsertBlock(TMemoEditor& editor, std::string_view text) {
    TNoOverwriteBracket noOverwrite(editor);
    const std::vector<std::string_view> lines = platform::SplitLines(text);
    TUpdateBracket bracket(editor);
    TArtMemoCore& core = editor.Core();
    const int column = editor.CaretColumn();
    const int32_t first = editor.Selection().Caret().ParNb();
    const int tabs = core.TabStops();
    const bool codes = core.StaticFormat();
    for (size_t i = 0; i < lines.size(); ++i) {
        const int32_t q = first + static_cast<int32_t>(i);
        if (q >= core.ParagraphCount()) {
            editor.SetSelStart(core.CharCount());
            editor.SetSelTextBuf("\r\n");
        }
        if (lines[i].empty())
            continue;
        const ParInfo& par = core.Paragraphs().Par(q);
        const int32_t offset = TArtNavigator::OffsetOfColumn(par, column, tabs, codes);
        // Only a paragraph that ends before the column is padded; a tab across the column is not.
        const int32_t blanks =
            offset == ParLength(par) ? TArtNavigator::ColumnShortfall(par, column, tabs, codes) : 0;
        std::string piece(static_cast<size_t>(std::max(blanks, 0)), ' ');
        piece.append(lines[i]);
        editor.SetSelStart(par.Start + offset);
        editor.SetSelTextBuf(piece.c_str());
    }
}

} // namespace zandor
