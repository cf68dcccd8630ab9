// Inserting lines as a column at the caret's screen column: padding where a paragraph is short,
// paragraphs appended at the end, tabs, empty rows, and the whole insertion as one undo step.
#include "editor/engine/BlockInsert.h"
#include "EditorTestText.h"

#include <gtest/gtest.h>

#include <string>

namespace zandor::test {
namespace {

struct BlockRow {
    const char* Name;
    const char* Text;
    int32_t Caret;
    const char* Pending; // blanks beyond the caret's line end
    const char* Insert;
    const char* Expected;
};

class BlockInsert : public ::testing::TestWithParam<BlockRow> {};

TEST_P(BlockInsert, PutsEachRowAtTheCaretColumnOfItsParagraphAsOneUndoStep) {
    const BlockRow row = GetParam();
    TArtMemoCore core;
    TMemoEditor& ed = core.Editor();
    LoadEditorText(core, row.Text);
    core.SetWordWrap(false);
    ed.SetSelStart(row.Caret);
    ed.SetPendingBlanks(row.Pending);
    InsertBlock(ed, row.Insert);
    EXPECT_EQ(WholeText(core), row.Expected);
    if (std::string(row.Text) != row.Expected) {
        ed.Undo();
        EXPECT_EQ(WholeText(core), row.Text);
    }
    EXPECT_FALSE(ed.CanUndo());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BlockInsert,
    ::testing::Values(
        BlockRow{"BeyondTheLineEndBlanksComeFirst", "abc\r\nxy", 3, "   ", "Z", "abc   Z\r\nxy"},
        BlockRow{"ExistingTextMovesRight", "abcd\r\nefgh", 2, "", "12\r\n34\r\n", "ab12cd\r\nef34gh"},
        BlockRow{"AShortParagraphIsFilledToTheColumn", "abcd\r\nx", 3, "", "1\r\n2", "abc1d\r\nx  2"},
        BlockRow{"RowsBeyondTheTextAppendParagraphs", "abcd", 2, "", "1\r\n2\r\n3", "ab1cd\r\n  2\r\n  3"},
        BlockRow{"AnEmptyRowAddsNothing", "abcd\r\n\r\nxy", 2, "", "1\r\n\r\n3", "ab1cd\r\n\r\nxy3"},
        BlockRow{"ATabAcrossTheColumnIsNotPadded", "abcdefghij\r\n\tb", 2, "", "1\r\n2",
                 "ab1cdefghij\r\n2\tb"},
        BlockRow{"EveryKindOfBreakSeparatesRows", "abc\r\nabc\r\nabc\r\nabc", 1, "", "1\n2\r3\n\r4",
                 "a1bc\r\na2bc\r\na3bc\r\na4bc"},
        BlockRow{"ALoneBreakIsAnEmptyRow", "abc", 1, "", "\r", "abc"}),
    [](const ::testing::TestParamInfo<BlockRow>& info) { return std::string(info.param.Name); });

} // namespace
} // namespace zandor::test
