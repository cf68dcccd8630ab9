// The gutter's rules without a widget: numbers of display lines and paragraphs, the counts that
// leave out an empty last line, the width the numbers need, the bookmark keys, and bookmarks that
// stay on their lines while lines are inserted and deleted around them.
#include "editor/addons/GutterModel.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/MemoSelection.h"
#include "editor/engine/ParagraphStreams.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/UndoList.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

class GutterModel : public ::testing::Test {
protected:
    TArtMemoCore core;
    TGutterModel model;

    void Load(std::string_view text, bool wrap = false, int width = 1000) {
        core.SetWordWrap(wrap);
        core.SetClientSize(width, 200);
        TParagraphsList& list = core.Paragraphs();
        list.ClearAll();
        TMemoryStream stream(text);
        TArtLineBreak kind = pbCRLF;
        LoadParagraphs(list, stream, 1000, {}, kind, false, ' ');
        core.Navigators().ResetAll();
        core.FormatRange(0, core.ParagraphCount() - 1, false, true);
        core.Selection().Collapse(0);
        core.Undos().Clear();
        model.SetMemo(&core);
    }
    void Replace(int32_t start, int32_t length, const std::string& text) {
        core.Editor().Select(start, start + length);
        core.Editor().SetSelTextBuf(text.c_str());
        core.FormatRange(0, core.ParagraphCount() - 1, false, true);
    }
    std::vector<std::string> Labels(bool paragraphNumbers) {
        std::vector<std::string> labels;
        for (int32_t i = 0; i < model.LineCount(); ++i)
            labels.push_back(model.LineLabel(i, paragraphNumbers));
        return labels;
    }
    TBookmarkKeyResult Key(int digit, bool shift, int32_t caret) {
        TArtNavigator at(&core);
        at.SetPos(caret);
        return model.BookmarkKey(digit, true, shift, false, at.LineNb(), caret);
    }
};

TEST_F(GutterModel, WrappedLinesEachGetANumberButParagraphNumbersOnlyTheFirst) {
    // The fixed measurer makes every character 8 pixels wide; 10 characters fit the text area.
    Load("aaaa bbbb cccc dddd\r\nee\r\nffff gggg hhhh", true, 16 + 80);
    ASSERT_EQ(5, model.LineCount());
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "4", "5"}), Labels(false));
    EXPECT_EQ((std::vector<std::string>{"1", "", "2", "3", ""}), Labels(true));
    core.SetWordWrap(false);
    core.FormatRange(0, core.ParagraphCount() - 1, false, true);
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3"}), Labels(false));
}

struct CountRow {
    const char* text;
    bool ignoreEmptyLast;
    int32_t lines;
    int32_t paragraphs;
};

class GutterCounts : public GutterModel, public ::testing::WithParamInterface<CountRow> {};

TEST_P(GutterCounts, AnEmptyLastLineIsLeftOutOnlyWhenAsked) {
    const CountRow& row = GetParam();
    model.SetIgnoreLastLineIfEmpty(row.ignoreEmptyLast);
    Load(row.text);
    EXPECT_EQ(row.lines, model.LineCount());
    EXPECT_EQ(row.paragraphs, model.ParagraphCount());
    EXPECT_EQ(row.lines, model.CachedLineCount());
}

INSTANTIATE_TEST_SUITE_P(Rows, GutterCounts,
                         ::testing::Values(CountRow{"a\r\nb\r\n", false, 3, 3},
                                           CountRow{"a\r\nb\r\n", true, 2, 2}, CountRow{"a\r\nb", true, 2, 2},
                                           CountRow{"", true, 0, 0}, CountRow{"", false, 1, 1},
                                           CountRow{"a\r\n\r\nb", true, 3, 3}));

TEST(GutterAutoWidth, TheWidthGrowsAStepBeforeTheCountReachesTheNextPowerOfTen) {
    const std::vector<std::pair<int32_t, int>> rows = {{0, 3},     {97, 3},     {98, 4},     {989, 4},
                                                       {990, 5},   {9949, 5},   {9950, 6},   {99949, 6},
                                                       {99950, 7}, {999949, 7}, {999950, 8}, {50000000, 8}};
    for (const auto& [count, chars] : rows)
        EXPECT_EQ(chars, TGutterModel::AutoWidthChars(count)) << count << " lines";
}

TEST(GutterKeys, DigitKeysCountWithShiftedSymbolsAndTheDigitRowButNotTheKeypad) {
    EXPECT_EQ(3, TGutterModel::BookmarkDigit('3', 0, false));
    EXPECT_EQ(3, TGutterModel::BookmarkDigit('#', 0, false));
    EXPECT_EQ(0, TGutterModel::BookmarkDigit(')', 0, false));
    EXPECT_EQ(9, TGutterModel::BookmarkDigit(0xa7, 18, false)); // another layout's symbol on the 9 key
    EXPECT_EQ(0, TGutterModel::BookmarkDigit(0xe0, 19, false));
    EXPECT_EQ(-1, TGutterModel::BookmarkDigit('3', 0, true));
    EXPECT_EQ(-1, TGutterModel::BookmarkDigit('A', 38, false));
}

TEST_F(GutterModel, CtrlShiftDigitSetsRemovesAndMovesABookmarkAndCtrlDigitJumps) {
    Load("line one\r\nline two\r\nline three\r\nline four");
    EXPECT_EQ(TBookmarkKeyResult::kNone, Key(3, false, 0).Kind); // not set: nothing
    EXPECT_EQ(TBookmarkKeyResult::kChanged, Key(3, true, 13).Kind);
    EXPECT_EQ(1, model.BookmarkLine(3));
    EXPECT_EQ(3, model.BookmarkAtLine(1));
    const TBookmarkKeyResult jump = Key(3, false, 0);
    EXPECT_EQ(TBookmarkKeyResult::kJump, jump.Kind);
    EXPECT_EQ(13, jump.Pos);
    Key(3, true, 11); // same line, another column: removed
    EXPECT_EQ(-1, model.BookmarkLine(3));
    EXPECT_EQ(-1, model.BookmarkAtLine(1));
    Key(3, true, 11);
    Key(3, true, 24); // another line: moved there
    EXPECT_EQ(2, model.BookmarkLine(3));
    EXPECT_EQ(-1, model.BookmarkAtLine(1));
    EXPECT_EQ(24, Key(3, false, 0).Pos);
    EXPECT_EQ(TBookmarkKeyResult::kNone, model.BookmarkKey(3, true, false, true, 0, 0).Kind); // with Alt
    EXPECT_EQ(TBookmarkKeyResult::kNone, model.BookmarkKey(3, false, true, false, 0, 0).Kind);
}

TEST_F(GutterModel, ToggleLeavesALineWithAnotherBookmarkAloneAndHandlersMayRefuse) {
    Load("one\r\ntwo\r\nthree");
    EXPECT_TRUE(model.ToggleBookmark(1, 2));
    EXPECT_FALSE(model.ToggleBookmark(1, 5));
    EXPECT_EQ(-1, model.BookmarkLine(5));
    model.OnSetBookmark = [](TBookmarkRange, TArtNavigator&, bool& accept) { accept = false; };
    EXPECT_FALSE(model.ToggleBookmark(2, 4));
    model.SetBookmark(0, 4);
    EXPECT_EQ(-1, model.BookmarkLine(4));
    model.SetBookmark(10, 2); // an existing bookmark moves without asking
    EXPECT_EQ(2, model.BookmarkLine(2));
    model.OnClearBookmark = [](TBookmarkRange index, TArtNavigator&, bool& accept) { accept = index != 2; };
    EXPECT_FALSE(model.ToggleBookmark(2, 2));
    EXPECT_EQ(2, model.BookmarkLine(2));
}

TEST_F(GutterModel, ClearingRemovesEveryBookmarkEvenTwoOnOneLine) {
    Load("one\r\ntwo\r\nthree");
    model.SetBookmark(5, 1);
    model.SetBookmark(6, 7); // same line as bookmark 1
    model.SetBookmark(10, 0);
    std::vector<int> asked;
    model.OnClearBookmark = [&](TBookmarkRange index, TArtNavigator&, bool& accept) {
        asked.push_back(index);
        accept = index != 0;
    };
    model.ClearBookmarks();
    EXPECT_EQ((std::vector<int>{0, 1, 7}), asked);
    EXPECT_EQ(2, model.BookmarkLine(0));
    EXPECT_EQ(-1, model.BookmarkLine(1));
    EXPECT_EQ(-1, model.BookmarkLine(7));
}

TEST_F(GutterModel, WithoutKeepBookmarksABookmarkGoesWithItsTextAndStandsAtItsLineStart) {
    Load("one\r\ntwo two\r\nthree");
    model.SetBookmark(8, 4); // inside "two two"
    model.SetKeepBookmarks(false);
    ASSERT_EQ(5, model.Bookmark(4)->Pos());
    model.SetBookmark(12, 6);
    EXPECT_EQ(5, model.Bookmark(6)->Pos());
    Replace(3, 9, ""); // "one" + break + "two two" -> "one" joined with the break after "two two"
    EXPECT_EQ(nullptr, model.Bookmark(4));
    EXPECT_EQ(nullptr, model.Bookmark(6));
    EXPECT_EQ(-1, model.BookmarkLine(4));
    model.SetBookmark(0, 1);
    model.SetKeepBookmarks(true);
    Replace(0, 3, "");
    ASSERT_NE(nullptr, model.Bookmark(1)); // kept now that KeepBookmarks is on again
}

TEST_F(GutterModel, EditsReportARepaintOnlyWhenCountsOrBookmarkLinesChange) {
    Load("one\r\ntwo\r\nthree");
    model.SetBookmark(5, 0);
    model.CacheBookmarkLines();
    Replace(0, 0, "x"); // same counts, the bookmark stays on line 1
    EXPECT_EQ(TGutterUpdate::None, model.TextChanged(true));
    Replace(0, 0, "new\r\n");
    EXPECT_EQ(TGutterUpdate::Resize, model.TextChanged(true));
    EXPECT_EQ(2, model.BookmarkLine(0));
    Replace(0, 5, "");
    EXPECT_EQ(TGutterUpdate::Repaint, model.TextChanged(false));
}

// Lines are inserted and deleted at random before and after marked lines; every bookmark set at a
// line start must stay at the start of the line it was set on.
TEST_F(GutterModel, RandomLineEditsKeepLineStartBookmarksOnTheirLines) {
    std::vector<std::string> lines;
    for (int i = 0; i < 30; ++i)
        lines.push_back("line " + std::to_string(i));
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += lines[i] + (i + 1 < lines.size() ? "\r\n" : "");
    Load(text);
    auto startOf = [&](size_t line) {
        int32_t pos = 0;
        for (size_t i = 0; i < line; ++i)
            pos += static_cast<int32_t>(lines[i].size()) + 2;
        return pos;
    };
    std::vector<std::string> marked(kBookmarkCount);
    for (int n = 0; n < kBookmarkCount; ++n) {
        const size_t line = static_cast<size_t>(n * 3 + 1);
        ASSERT_TRUE(model.ToggleBookmark(static_cast<int32_t>(line), n));
        marked[static_cast<size_t>(n)] = lines[line];
    }
    std::mt19937 random(22);
    int serial = 0;
    for (int step = 0; step < 300; ++step) {
        const size_t at = random() % (lines.size() - 1); // never the last line: it has no break
        const bool isMarked = std::find(marked.begin(), marked.end(), lines[at]) != marked.end();
        if (random() % 2 == 0 || isMarked || lines.size() < 15) {
            const std::string added = "new " + std::to_string(serial++);
            Replace(startOf(at), 0, added + "\r\n");
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), added);
        } else {
            Replace(startOf(at), static_cast<int32_t>(lines[at].size()) + 2, "");
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
        }
        model.TextChanged(false);
        for (int n = 0; n < kBookmarkCount; ++n) {
            const auto line =
                std::find(lines.begin(), lines.end(), marked[static_cast<size_t>(n)]) - lines.begin();
            ASSERT_EQ(line, model.BookmarkLine(n)) << "bookmark " << n << " after step " << step;
            ASSERT_EQ(startOf(static_cast<size_t>(line)), model.Bookmark(n)->Pos());
        }
    }
}

} // namespace
} // namespace zandor::test
