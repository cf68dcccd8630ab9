// Replace All in one edit against a plain string on which the repeated searches are acted out one
// replacement at a time, over random texts, search texts, replacements and options.
#include "EditorTestText.h"
#include "editor/engine/FoldedTextCache.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/MemoEditor.h"
#include "editor/engine/ReplaceAll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

struct ModelResult {
    std::string Text;
    int64_t Count = 0;
    size_t Caret = 0;
};

// Each search looks at the text as the previous replacements left it. Down: the first acceptable
// occurrence at or after the caret, which then stands behind the replacement. Up: the last one that
// ends before the previous replacement began.
ModelResult ActOut(std::string s, const std::string& what, const std::string& with, TReplaceAllOptions o,
                   TamUpperCase kind, const TCharSet& separators) {
    const auto fold = [&](const std::string& t) { return o.MatchCase ? t : UpperCased(kind, t); };
    const std::string needle = fold(what);
    const auto edge = [&](size_t i) {
        return s[i] == '\r' || s[i] == '\n' || separators.test(static_cast<unsigned char>(s[i]));
    };
    const auto accepted = [&](size_t at) {
        return !o.WholeWord ||
               ((at == 0 || edge(at - 1)) && (at + what.size() == s.size() || edge(at + what.size())));
    };
    ModelResult r;
    size_t caret = 0, limit = s.size();
    for (;;) {
        const std::string hay = fold(s);
        size_t found = std::string::npos;
        if (o.Down) {
            for (size_t at = hay.find(needle, caret); at != std::string::npos; at = hay.find(needle, at + 1))
                if (accepted(at)) {
                    found = at;
                    break;
                }
        } else if (limit >= needle.size()) {
            for (size_t at = hay.rfind(needle, limit - needle.size()); at != std::string::npos;
                 at = at == 0 ? std::string::npos : hay.rfind(needle, at - 1))
                if (accepted(at)) {
                    found = at;
                    break;
                }
        }
        if (found == std::string::npos)
            break;
        s.replace(found, what.size(), with);
        ++r.Count;
        r.Caret = found + with.size();
        caret = r.Caret;
        limit = found;
    }
    r.Text = std::move(s);
    return r;
}

// Replaces through the engine and compares with the acted-out model; then one Undo must give the
// text back. Returns the undo memory the Replace All took.
int64_t Check(const std::string& text, const std::string& what, const std::string& with,
              TReplaceAllOptions options, TamUpperCase kind) {
    TArtMemoCore core;
    core.SetUpperCaseType(kind);
    core.Undos().SetMaxSpace(0);
    LoadEditorText(core, text);
    const ModelResult expected = ActOut(text, what, with, options, kind, core.Separators());
    EXPECT_EQ(ReplaceAll(core.Editor(), what, with, options), expected.Count);
    EXPECT_EQ(WholeText(core), expected.Text);
    if (expected.Count == 0)
        return 0;
    EXPECT_EQ(core.Selection().SelStart(), static_cast<int32_t>(expected.Caret));
    EXPECT_EQ(core.Selection().SelLength(), 0);
    const int64_t undoMemory = core.Undos().TotalSize();
    core.Editor().Undo();
    EXPECT_EQ(WholeText(core), text);
    EXPECT_FALSE(core.Editor().CanUndo());
    return undoMemory;
}

std::string Describe(const std::string& what, const std::string& with, TReplaceAllOptions o) {
    return "what [" + what + "] with [" + with + "] down " + std::to_string(o.Down) + " case " +
           std::to_string(o.MatchCase) + " word " + std::to_string(o.WholeWord);
}

TEST(ReplaceAllModel, OneEditEqualsTheRepeatedSearchesAndUndoesInOneStep) {
    std::mt19937 rng(1909);
    const std::string pieces[] = {"a", "A", "b", " ", ",", "\xE9", "\xC9", "ab", "\r\n"};
    const std::string needles[] = {"a", "A", "ab", "aa", "\xE9", "a a", "b,", "A\xC9"};
    const std::string withs[] = {"", "a", "aa", "xa", "a ", "\xC9\xE9", "b", "ba"};
    auto pick = [&](const auto& list) { return list[rng() % std::size(list)]; };
    for (int round = 0; round < 1500; ++round) {
        std::string text;
        const int length = static_cast<int>(rng() % 30);
        for (int i = 0; i < length; ++i)
            text += pick(pieces);
        const std::string what = pick(needles);
        const std::string with = pick(withs);
        const TReplaceAllOptions options{rng() % 2 == 0, rng() % 2 == 0, rng() % 2 == 0};
        const TamUpperCase kind = rng() % 2 == 0 ? amuAscii : amuAnsi;
        SCOPED_TRACE("round " + std::to_string(round) + " text [" + text + "] " +
                     Describe(what, with, options));
        Check(text, what, with, options, kind);
    }
}

// Clusters of occurrences far apart, more of them than the edit has pieces: the result is the same,
// and the undo record leaves out most of the stretches between them.
TEST(ReplaceAllModel, WideGapsStayOutOfTheUndoRecord) {
    std::string text;
    for (int cluster = 0; cluster < 100; ++cluster)
        text += "a a,A\r\n" + std::string(cluster % 3 == 0 ? 5000 : 4500, 'x') + "\r\n";
    for (const bool down : {true, false}) {
        const TReplaceAllOptions options{down, true, true};
        SCOPED_TRACE(Describe("a", "aa", options));
        EXPECT_LT(Check(text, "a", "aa", options, amuAscii), static_cast<int64_t>(text.size()) / 2);
    }
}

// The edit cut into slices gives what the one-pass edit gives, and under an undo space smaller than
// the edit it stays one whole step: Undo, Redo, and a later change that trims it as a whole.
TEST(ReplaceAllModel, SlicedEditEqualsOnePassAndStaysOneUndoStepOverTheSpaceLimit) {
    std::mt19937 rng(1910);
    const std::string pieces[] = {"a", "A", "b", " ", "\xE9", "ab", "\r\n"};
    const std::string needles[] = {"a", "ab", "a a", "b", "\xE9"};
    const std::string withs[] = {"", "a", "xa", "\r\n", "\n", "b\rb", "aaaa"};
    auto pick = [&](const auto& list) { return list[rng() % std::size(list)]; };
    for (int round = 0; round < 600; ++round) {
        std::string text;
        const int length = static_cast<int>(rng() % 80);
        for (int i = 0; i < length; ++i)
            text += pick(pieces);
        const std::string what = pick(needles);
        const std::string with = pick(withs);
        const TReplaceAllOptions options{rng() % 2 == 0, rng() % 2 == 0, rng() % 2 == 0};
        const int space = 14 + static_cast<int>(rng() % 60);
        const int64_t slice = 1 + static_cast<int64_t>(rng() % 24);
        SCOPED_TRACE("round " + std::to_string(round) + " text [" + text + "] " +
                     Describe(what, with, options) + " space " + std::to_string(space) + " slice " +
                     std::to_string(slice));

        // A lone CR or LF becomes a paragraph break in the editor, not in the plain string: those
        // replacements are compared between the two ways only.
        const bool modelled = with == "\r\n" || with.find_first_of("\r\n") == std::string::npos;
        std::string results[2];
        int32_t carets[2] = {};
        for (const bool sliced : {false, true}) {
            TArtMemoCore core;
            core.Undos().SetMaxSpace(space);
            LoadEditorText(core, text);
            TMemoEditor& editor = core.Editor();
            editor.SetSelTextBuf("#"); // an older step, which the Replace All may push out
            const std::string before = WholeText(core);
            const ModelResult expected =
                ActOut(before, what, with, options, core.UpperCaseType(), core.Separators());
            std::vector<int> told;
            const int64_t count = sliced ? ReplaceAll(
                                               editor, what, with, options,
                                               [&](int percent) { told.push_back(percent); }, slice)
                                         : ReplaceAll(editor, what, with, options);
            ASSERT_EQ(count, expected.Count);
            const std::string after = results[sliced] = WholeText(core);
            carets[sliced] = core.Selection().SelStart();
            if (modelled) {
                ASSERT_EQ(after, expected.Text);
            }
            if (count == 0)
                continue;
            if (modelled) {
                EXPECT_EQ(carets[sliced], static_cast<int32_t>(expected.Caret));
            }
            EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
            if (!told.empty()) {
                EXPECT_EQ(told.back(), 100);
            }

            editor.Undo();
            EXPECT_EQ(WholeText(core), before);
            editor.Redo();
            EXPECT_EQ(WholeText(core), after);
            EXPECT_FALSE(editor.CanRedo());
            // The next change trims the Replace All as a whole or keeps it whole, never in part.
            editor.SetSelStart(0);
            editor.SetSelTextBuf("z");
            editor.Undo();
            EXPECT_EQ(WholeText(core), after);
            if (editor.CanUndo()) {
                editor.Undo();
                EXPECT_EQ(WholeText(core), before);
            }
        }
        EXPECT_EQ(carets[0], carets[1]);
        EXPECT_EQ(results[0], results[1]);
    }
}

// A replacement holding line breaks makes new paragraphs; the caret counts each break as two.
TEST(ReplaceAllModel, BreaksInTheReplacementSplitParagraphs) {
    for (const bool down : {true, false}) {
        TArtMemoCore core;
        LoadEditorText(core, "x;y;z");
        EXPECT_EQ(ReplaceAll(core.Editor(), ";", "\n", {down, true, false}), 2);
        EXPECT_EQ(WholeText(core), "x\r\ny\r\nz");
        EXPECT_EQ(core.ParagraphCount(), 3);
        EXPECT_EQ(core.Selection().SelStart(), down ? 6 : 3);
    }
}

} // namespace
} // namespace zandor::test
