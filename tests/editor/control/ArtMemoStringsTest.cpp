// The control's text as string lists: the paragraph view against a plain list of paragraphs under
// random operations (each one undoable), the edges of a text that ends with a break, the line view
// over wrapped lines, and assigning, bracketing and wide strings.
#include "MemoTestSupport.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/EngineErrors.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

// Every paragraph, the empty last one included, as the paragraph view's operations should leave it.
struct TParagraphModel {
    std::vector<std::string> Pars{""};

    int32_t Count() const { return int32_t(Pars.size()) - (Pars.back().empty() ? 1 : 0); }
    void Add(const std::string& s) {
        if (Pars.back().empty()) {
            Pars.back() = s;
            Pars.push_back("");
        } else {
            Pars.push_back(s);
        }
    }
    void Insert(int32_t i, const std::string& s) {
        if (i < int32_t(Pars.size()))
            Pars.insert(Pars.begin() + i, s);
        else
            Pars.push_back(s);
    }
    void Delete(int32_t i) {
        if (i == int32_t(Pars.size()) - 1)
            Pars.back().clear();
        else
            Pars.erase(Pars.begin() + i);
    }
    void Put(int32_t i, const std::string& s) {
        while (i >= int32_t(Pars.size()))
            Pars.push_back("");
        Pars[size_t(i)] = s;
    }
    std::string Text() const {
        std::string text;
        for (size_t i = 0; i < Pars.size(); ++i)
            text += (i ? "\r\n" : "") + Pars[i];
        return text;
    }
};

TEST(ParagraphView, FollowsAPlainListOfParagraphsAndEveryChangeCanBeUndone) {
    std::mt19937 random(1612);
    for (int round = 0; round < 20; ++round) {
        TArtMemo memo;
        TParagraphModel model;
        const std::string start = round % 2 ? "a\r\n" : "first\r\nsecond";
        LoadText(memo, start);
        model.Pars =
            round % 2 ? std::vector<std::string>{"a", ""} : std::vector<std::string>{"first", "second"};
        int changes = 0;
        memo.OnChange = [&](TArtMemo*) { ++changes; };
        TArtParaStrings& view = memo.Paragraphs();
        int steps = 0;
        for (int op = 0; op < 12; ++op) {
            const std::string s = std::string(random() % 3, char('k' + op));
            const int32_t n = int32_t(model.Pars.size());
            const int32_t i = int32_t(random() % uint32_t(n + 1));
            const int kind = int(random() % 4);
            const std::string before = memo.Text();
            if (kind == 0) {
                model.Add(s);
                EXPECT_EQ(view.Add(s), model.Count() - 1) << "the index of the new string";
            } else if (kind == 1) {
                model.Insert(i, s);
                view.Insert(i, s);
            } else if (kind == 2 && i < n) {
                model.Delete(i);
                view.Delete(i);
            } else {
                model.Put(i, s);
                view.Put(i, s);
            }
            ASSERT_EQ(memo.Text(), model.Text()) << "round " << round << " step " << op << " kind " << kind;
            ASSERT_EQ(view.Count(), model.Count());
            for (int32_t k = 0; k < view.Count(); ++k)
                ASSERT_EQ(view.Get(k), model.Pars[size_t(k)]);
            steps += memo.Text() != before;
        }
        EXPECT_EQ(changes, steps) << "one change event per changing operation";
        while (memo.CanUndo())
            memo.Undo();
        EXPECT_EQ(memo.Text(), start);
        memo.CheckConsistency();
    }
}

TEST(ParagraphView, KeepsTheBreakAtTheEndAndRefusesIndexesOutsideTheText) {
    TArtMemo memo;
    LoadText(memo, "a\r\n");
    TArtParaStrings& view = memo.Paragraphs();
    EXPECT_EQ(view.Count(), 1);
    EXPECT_EQ(view.Add("b"), 1);
    EXPECT_EQ(memo.Text(), "a\r\nb\r\n");
    EXPECT_EQ(view.GetTextStr(), "a\r\nb\r\n");
    view.Delete(2);
    EXPECT_EQ(memo.Text(), "a\r\nb\r\n") << "the empty last paragraph has nothing to lose";
    LoadText(memo, "a\r\nb");
    view.Delete(1);
    EXPECT_EQ(memo.Text(), "a\r\n") << "the last paragraph has no break of its own";
    EXPECT_THROW(view.Get(2), ERangeError);
    EXPECT_THROW(view.Delete(5), ERangeError);
    EXPECT_THROW(view.GetObject(-1), ERangeError);
    EXPECT_EQ(memo.Text(), "a\r\n");
    EXPECT_EQ(view.GetObject(0), 0);
    view.PutObject(0, 42);
    EXPECT_EQ(view.GetObject(0), 42);
}

TEST(LineView, WorksOnDisplayLinesOfWrappedParagraphs) {
    TArtMemo memo;
    memo.SetUpdateMode(umImmediate);
    memo.SetWordWrap(true);
    memo.SetColumnWrap(5);
    memo.resize(400, 200);
    memo.HandleNeeded();
    LoadText(memo, "aaaa bbbb cccc\r\nzz");
    TArtLinesStrings& lines = memo.Lines();
    ASSERT_EQ(lines.Count(), 4);
    EXPECT_EQ(lines.Get(1), "bbbb ");
    lines.Put(1, "X ");
    EXPECT_EQ(memo.Text(), "aaaa X cccc\r\nzz");
    lines.Delete(2); // the paragraph's last line: its break goes too
    EXPECT_EQ(memo.Text(), "aaaa X zz");
    lines.Insert(9, "never");
    lines.Put(9, "never");
    lines.Delete(9);
    EXPECT_EQ(memo.Text(), "aaaa X zz");
    lines.Insert(lines.Count(), "end");
    EXPECT_EQ(memo.Text(), "aaaa X zz\r\nend");
    const int32_t added = lines.Add("more");
    EXPECT_EQ(added, lines.Count() - 1);
    EXPECT_EQ(lines.Get(added), "more");
    EXPECT_EQ(memo.SelStart(), memo.CharCount());
    memo.CheckConsistency();
}

TEST(StringViews, AssignLoadsAndAnUpdateBracketMakesOneStep) {
    TArtMemo source;
    source.SetStaticFormat(true);
    LoadText(source, "x\x02"
                     "bold\x02\r\ny");
    TArtMemo memo;
    memo.SetStaticFormat(true);
    memo.Paragraphs().Assign(source.Lines());
    EXPECT_EQ(memo.Text(), "x\x02"
                           "bold\x02\r\ny")
        << "the codes travel as they are";

    TArtMemo plain;
    plain.SetLines(memo.Paragraphs());
    EXPECT_EQ(plain.Text(), memo.Text());

    int changes = 0;
    plain.OnChange = [&](TArtMemo*) { ++changes; };
    plain.Paragraphs().BeginUpdate();
    plain.Paragraphs().Insert(0, "zero");
    plain.Paragraphs().Insert(3, "three");
    plain.Paragraphs().EndUpdate();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(plain.Text(), "zero\r\nx\x02"
                            "bold\x02\r\ny\r\nthree");
    plain.Undo();
    EXPECT_EQ(plain.Text(), memo.Text());

    plain.Paragraphs().PutWide(0, u"\u00E9\u20AC\u2588");
    EXPECT_EQ(plain.Paragraphs().Get(0), "\xE9\x80?");
    EXPECT_EQ(plain.Paragraphs().GetWide(0), u"\u00E9\u20AC?");
    plain.Paragraphs().SetTextStr("p\nq");
    EXPECT_EQ(plain.Text(), "p\r\nq");
    EXPECT_TRUE(plain.CanUndo()) << "a new text through the view is an edit";
}

} // namespace
} // namespace zandor::test
