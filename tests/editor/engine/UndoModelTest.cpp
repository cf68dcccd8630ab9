// Thousands of seeded random edits (typing, deletions, replaced selections, replaced column
// blocks, bracketed groups, caret moves, paragraph replacements) mixed with random Undo and Redo,
// checked against a plain history of whole-text snapshots: after every Undo the text is the one
// before the undone step, after every Redo the one after it, the caret stands after the restored
// text, and undoing everything gives the original bytes back. A second run keeps both limits small
// and changes them on the way, so the oldest steps are dropped as the rules say.
#include "EditorTestText.h"
#include "editor/engine/MemoConsistency.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

// One change as the history keeps it: the whole text before and after, where it happened, and the
// update level that groups it.
struct TStep {
    int Level;
    std::string Before, After;
    int32_t Start, Stop, Removed;
    // What the step weighs in the undo list: what it removed, or once undone what it had put in.
    int64_t Size(bool undone) const { return 13 + (undone ? Stop - Start : Removed); }
};

class THistory {
public:
    explicit THistory(std::string text) : Text(std::move(text)) {}

    std::string Text;
    int32_t Caret = 0;
    std::vector<TStep> Steps;
    int Index = 0;
    bool NewGroup = false;
    int MaxLevel = TUndoList::kDefaultMaxLevel;
    int MaxSpace = TUndoList::kDefaultMaxSpace;

    // The text between lower and upper becomes insert at update level `level`.
    void Change(int32_t lower, int32_t upper, const std::string& insert, int level) {
        Caret = lower + int32_t(insert.size());
        if (lower == upper && insert.empty())
            return; // nothing to replace: nothing happens
        const std::string before = Text;
        Text.replace(size_t(lower), size_t(upper - lower), insert);
        Caret = lower + int32_t(insert.size());
        if (MaxLevel == 0)
            return;
        Steps.resize(size_t(Index));
        const bool grows = upper == lower && Index > 0 && !NewGroup && lower == Steps.back().Stop &&
                           lower != Steps.back().Start && level == Steps.back().Level;
        NewGroup = false;
        if (grows) {
            Steps.back().After = Text;
            Steps.back().Stop = Caret;
            return;
        }
        while (MaxLevel > 0 && Index >= MaxLevel)
            RemoveAt(0);
        Steps.push_back({level, before, Text, lower, Caret, upper - lower});
        ++Index;
        if (MaxSpace > 0)
            while (Total() > MaxSpace && Index > 0)
                RemoveAt(0);
    }

    void Undo() {
        if (Index == 0)
            return;
        int level;
        do {
            const TStep& step = Steps[size_t(--Index)];
            Text = step.Before;
            Caret = step.Start + step.Removed;
            level = step.Level;
        } while (Index > 0 && level != 0 && Steps[size_t(Index - 1)].Level == level);
        NewGroup = true;
    }

    void Redo() {
        if (Index == Count())
            return;
        int level;
        do {
            const TStep& step = Steps[size_t(Index++)];
            Text = step.After;
            Caret = step.Stop;
            level = step.Level;
        } while (Index < Count() && level != 0 && Steps[size_t(Index)].Level == level);
        NewGroup = true;
    }

    void SetMaxLevel(int v) {
        if (v >= 0) {
            while (Count() > std::max(Index, v))
                RemoveAt(Count() - 1);
            while (v < Index)
                RemoveAt(0);
        }
        MaxLevel = v;
    }

    void SetMaxSpace(int v) {
        if (v > 0) {
            while (Total() > v && Count() > Index)
                RemoveAt(Count() - 1);
            while (Total() > v && Count() > 0)
                RemoveAt(0);
        }
        MaxSpace = v;
    }

    int Count() const { return int(Steps.size()); }

private:
    int64_t Total() const {
        int64_t total = 0;
        for (int i = 0; i < Count(); ++i)
            total += Steps[size_t(i)].Size(i >= Index);
        return total;
    }
    void RemoveAt(int i) {
        Steps.erase(Steps.begin() + i);
        if (i < Index)
            --Index;
    }
};

class UndoModel : public ::testing::Test {
protected:
    TArtMemoCore core;
    TMemoEditor& ed = core.Editor();
    std::mt19937 rng{20240611};
    std::string original;
    THistory history{""};
    int level = 0;
    bool discard = false; // amoDiscardTrailingSpaces

    void Start(const std::string& text) {
        original = text;
        history = THistory(text);
        LoadEditorText(core, text);
        core.SetWordWrap(false);
    }

    int Rand(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    // A position that does not split a paragraph break.
    int32_t Position() {
        const std::string& t = history.Text;
        int32_t p = Rand(int(t.size()) + 1);
        if (p > 0 && size_t(p) < t.size() && t[size_t(p)] == '\n')
            --p;
        return p;
    }

    std::string Piece(int maxLength, bool breaks) {
        static const char letters[] = "abcdefgh xyz";
        std::string s;
        for (int n = Rand(maxLength) + 1; n > 0; --n)
            s += breaks && Rand(8) == 0 ? std::string("\r\n") : std::string(1, letters[Rand(12)]);
        return s;
    }

    std::vector<int32_t> ParStarts() const {
        std::vector<int32_t> starts{0};
        const std::string& t = history.Text;
        for (size_t i = 0; i + 1 < t.size(); ++i)
            if (t[i] == '\r' && t[i + 1] == '\n')
                starts.push_back(int32_t(i + 2));
        return starts;
    }
    int32_t ParLength(int par) const {
        const std::vector<int32_t> starts = ParStarts();
        const size_t end =
            par + 1 < int(starts.size()) ? size_t(starts[size_t(par) + 1] - 2) : history.Text.size();
        return int32_t(end) - starts[size_t(par)];
    }
    int ParOf(int32_t pos) const {
        const std::vector<int32_t> starts = ParStarts();
        return int(std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin()) - 1;
    }

    // The text between lower and upper becomes insert, as a change of the history. With blanks
    // discarded, a text with breaks loses the blanks before each break (before the last piece's
    // end too when the paragraph ends there), and one that begins with a break after nothing but
    // blanks also takes the blanks before lower.
    void Change(int32_t lower, int32_t upper, std::string insert) {
        const std::string& t = history.Text;
        if (discard && insert.find("\r\n") != std::string::npos) {
            auto blank = [](char c) { return c == ' ' || c == '\t'; };
            if (std::all_of(insert.begin(), insert.begin() + int(insert.find("\r\n")), blank))
                while (lower > 0 && blank(t[size_t(lower - 1)]))
                    --lower;
            const bool endsPar = size_t(upper) == t.size() || t[size_t(upper)] == '\r';
            std::string kept, piece;
            for (size_t i = 0; i <= insert.size(); ++i) {
                const bool last = i == insert.size();
                if (!last && insert.compare(i, 2, "\r\n") != 0) {
                    piece += insert[i];
                    continue;
                }
                if (!last || endsPar)
                    while (!piece.empty() && blank(piece.back()))
                        piece.pop_back();
                kept += piece + (last ? "" : "\r\n");
                piece.clear();
                ++i;
            }
            insert = kept;
        }
        history.Change(lower, upper, insert, level);
    }

    void Enter() {
        if (Rand(2) == 0)
            MoveCaret();
        ed.SetSelText("\r\n");
        Change(history.Caret, history.Caret, "\r\n");
    }
    void Type() {
        if (Rand(3) == 0) // otherwise typing goes on where it stopped
            MoveCaret();
        const std::string s = Piece(3, false);
        ed.SetSelText(s);
        history.Change(history.Caret, history.Caret, s, level);
    }
    void MoveCaret() {
        const int32_t p = Position();
        ed.MoveCaret(p, false);
        history.Caret = p;
        history.NewGroup = true;
    }
    void DeleteOne() {
        const int32_t p = Position();
        if (size_t(p) >= history.Text.size())
            return;
        const int32_t q = history.Text[size_t(p)] == '\r' ? p + 2 : p + 1;
        ed.Select(p, q);
        ed.SetSelTextBuf("");
        history.NewGroup = true;
        history.Change(p, q, "", level);
    }
    void ReplaceSelection() {
        int32_t a = Position(), b = Position();
        if (history.Text.size() > 1500 && b == a)
            b = a + std::min<int32_t>(40, int32_t(history.Text.size()) - a);
        const std::string s = Rand(4) == 0 ? std::string() : Piece(12, true);
        Rand(2) ? ed.Select(a, b) : ed.Select(b, a);
        ed.SetSelText(s);
        history.NewGroup = true;
        Change(std::min(a, b), std::max(a, b), s);
    }
    // Without tabs or format codes, and with one pixel width per character, a block column is a
    // character offset clamped to the paragraph.
    void ReplaceBlock() {
        const int pars = int(ParStarts().size());
        const int32_t l1 = Rand(pars), l2 = Rand(pars);
        const int c1 = Rand(8), c2 = Rand(8);
        ed.SelectBlock(c1, l1, l2, c2);
        history.NewGroup = true;
        const std::string s = Rand(3) == 0 ? std::string() : Piece(4, false);
        ed.SetSelText(s);
        if (ed.Selection().BlockMode()) {
            // A block that covers no character, replaced by nothing: nothing happened and the
            // block is still there. The caret goes on from where the block put it.
            ed.SetSelStart(ed.Selection().SelStart());
            history.Caret = ParStarts()[size_t(l2)] + std::min(c2, ParLength(l2));
            return;
        }
        const int inner = level + 1;
        int32_t caret = 0;
        for (int par = std::min(l1, l2); par <= std::max(l1, l2); ++par) {
            const int32_t start = ParStarts()[size_t(par)], length = ParLength(par);
            const int32_t from = start + std::min(std::min(c1, c2), length);
            const int32_t to = start + std::min(std::max(c1, c2), length);
            if (to > from)
                history.Change(from, to, "", inner);
            caret = from;
        }
        history.Caret = caret;
        if (!s.empty())
            history.Change(caret, caret, s, inner);
    }
    // The paragraph's text is replaced in a bracket of its own; the caret stays in its place,
    // shifted by a change of an earlier paragraph, or goes to the start of its own paragraph.
    void ReplaceParagraph() {
        const int par = Rand(int(ParStarts().size()));
        const std::string s = Piece(6, false);
        ed.SetParagraph(par, s);
        const int32_t start = ParStarts()[size_t(par)];
        const int caretPar = ParOf(history.Caret);
        int32_t caret = par == caretPar ? start : history.Caret;
        if (par < caretPar)
            caret += int32_t(s.size()) - ParLength(par);
        history.NewGroup = true;
        history.Change(start, start + ParLength(par), s, level + 1);
        history.Caret = caret;
        history.NewGroup = true;
    }
    void Group() {
        TUpdateBracket bracket(ed);
        ++level;
        for (int n = Rand(3) + 1; n > 0; --n)
            Edit();
        --level;
    }
    void Edit() {
        if (discard && Rand(4) == 0) {
            Enter();
            return;
        }
        switch (Rand(5)) {
        case 0:
        case 1:
            Type();
            break;
        case 2:
            DeleteOne();
            break;
        case 3:
            ReplaceSelection();
            break;
        default:
            ReplaceBlock();
            break;
        }
    }

    // One random step of the run; false when the check after it failed.
    bool Step(int i) {
        const int what = Rand(20);
        std::string done;
        if (what < 9) {
            Edit();
            done = "edit";
        } else if (what < 11) {
            Group();
            done = "group";
        } else if (what < 12) {
            ReplaceParagraph();
            done = "paragraph";
        } else if (what < 13) {
            MoveCaret();
            done = "move";
        } else if (what < 17) {
            ed.Undo();
            history.Undo();
            done = "undo";
        } else {
            ed.Redo();
            history.Redo();
            done = "redo";
        }
        EXPECT_EQ(history.Text, WholeText(core)) << "after " << done << " in step " << i;
        EXPECT_EQ(history.Index > 0, ed.CanUndo()) << "step " << i;
        EXPECT_EQ(history.Index < history.Count(), ed.CanRedo()) << "step " << i;
        if (done == "undo" || done == "redo") {
            EXPECT_EQ(history.Caret, ed.Selection().SelStart()) << done << " in step " << i;
        }
        if (getenv("UNDO_TRACE")) {
            fprintf(stderr, "%d %s caret=%d text=[%s] index=%d/%d\n", i, done.c_str(), history.Caret,
                    history.Text.c_str(), history.Index, history.Count());
            for (const TStep& st : history.Steps)
                fprintf(stderr, "   L%d %d..%d removed %d\n", st.Level, st.Start, st.Stop, st.Removed);
        }
        EXPECT_NO_THROW(CheckConsistency(core, "")) << "step " << i;
        return !::testing::Test::HasFailure();
    }
};

TEST_F(UndoModel, RandomEditsUndoAndRedoStepByStepAndUndoingEverythingGivesTheOriginalBack) {
    Start("first line\r\nsecond line here\r\n\r\nfourth\r\nlast");
    ed.Undos().SetMaxLevel(-1);
    ed.Undos().SetMaxSpace(0);
    history.MaxLevel = -1;
    history.MaxSpace = 0;
    for (int i = 0; i < 4000; ++i)
        ASSERT_TRUE(Step(i));
    while (ed.CanRedo()) {
        ed.Redo();
        history.Redo();
        ASSERT_EQ(history.Text, WholeText(core));
    }
    const std::string newest = WholeText(core);
    while (ed.CanUndo()) {
        ed.Undo();
        history.Undo();
        ASSERT_EQ(history.Text, WholeText(core));
    }
    EXPECT_EQ(original, WholeText(core)) << "every byte back";
    while (ed.CanRedo())
        ed.Redo();
    EXPECT_EQ(newest, WholeText(core));
}

// Blanks at paragraph ends discarded: Enter after blanks, and pasted lines, take blanks away that
// Undo must put back in their place.
TEST_F(UndoModel, DiscardedTrailingBlanksComeBackWithTheUndoOfTheirStep) {
    Start("ab  cd\r\n  indented  \r\nlast  ");
    ed.SetOptions(ed.Options().With(amoDiscardTrailingSpaces));
    discard = true;
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(Step(i));
    while (ed.CanUndo()) {
        ed.Undo();
        history.Undo();
        ASSERT_EQ(history.Text, WholeText(core));
    }
    EXPECT_EQ(original, WholeText(core));
}

TEST_F(UndoModel, SmallLimitsDropTheOldestStepsAsTheHistorySays) {
    Start("alpha beta\r\ngamma\r\ndelta epsilon");
    for (int i = 0; i < 4000; ++i) {
        if (i % 97 == 0) {
            const int maxLevel = Rand(7) - 1; // -1 (no limit) .. 5, 0 (no undo) now and then
            ed.Undos().SetMaxLevel(maxLevel);
            history.SetMaxLevel(maxLevel);
        }
        if (i % 89 == 0) {
            const int maxSpace = Rand(4) == 0 ? 0 : 30 + Rand(300);
            ed.Undos().SetMaxSpace(maxSpace);
            history.SetMaxSpace(maxSpace);
        }
        ASSERT_TRUE(Step(i));
        EXPECT_EQ(history.Count(), ed.Undos().Count()) << "step " << i;
    }
}

} // namespace
} // namespace zandor::test
