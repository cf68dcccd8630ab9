// Ten thousand random replacements against a plain string with CR LF breaks: the text, its length,
// the store's invariants and every registered navigator must agree with the model after each one.
#include "ReplaceTestText.h"
#include "editor/engine/FormatCodes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::vector<std::string> ModelPieces(const std::string& text) {
    std::vector<std::string> pieces(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (i + 1 < text.size() && text[i + 1] == (c == '\r' ? '\n' : '\r'))
                ++i;
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

// The replacement as the rules say it in terms of the plain text. Returns the inserted length;
// a may move left over blanks that a new break leaves at a paragraph's end.
int32_t ModelReplace(std::string& model, int32_t& a, int32_t e, const std::string& with, bool staticFormat,
                     bool reinsertCodes, bool discardTrailing) {
    std::vector<std::string> pieces = ModelPieces(with);
    const size_t breaks = pieces.size() - 1;
    if (discardTrailing && breaks > 0) {
        auto trim = [](std::string& s) {
            while (!s.empty() && IsBlank(s.back()))
                s.pop_back();
        };
        std::string first = pieces.front();
        trim(first);
        if (first.empty()) {
            const size_t lf = a > 0 ? model.rfind('\n', size_t(a) - 1) : std::string::npos;
            const int32_t parStart = lf == std::string::npos ? 0 : int32_t(lf) + 1;
            while (a > parStart && IsBlank(model[size_t(a) - 1]))
                --a;
        }
        const bool textFollows = size_t(e) < model.size() && model[size_t(e)] != '\r';
        for (size_t k = 0; k <= breaks; ++k)
            if (k < breaks || !textFollows)
                trim(pieces[k]);
    }
    std::string inserted;
    for (size_t k = 0; k <= breaks; ++k)
        inserted += (k > 0 ? "\r\n" : "") + pieces[k];
    if (staticFormat && reinsertCodes) {
        std::string plain;
        for (const std::string& piece : pieces)
            plain += piece;
        const std::string removed = model.substr(size_t(a), size_t(e - a));
        inserted += CompensationCodes(ToggledBits(removed) ^ ToggledBits(plain));
    }
    model.replace(size_t(a), size_t(e - a), inserted);
    return static_cast<int32_t>(inserted.size());
}

struct Tracked {
    TArtNavigator* Nav = nullptr;
    int32_t Pos = 0;
    bool StickToEnd = false;
    bool FreeWithText = false;
    bool Freed = false;
};

class ReplaceModel : public ::testing::Test {
protected:
    std::mt19937 rng{20261209};

    int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    // Any position, but never between the CR and the LF of a break (the control never puts a
    // selection end there).
    int32_t RandomPos() {
        auto p = static_cast<int32_t>(Rand(0, static_cast<int>(model.size())));
        if (p > 0 && size_t(p) < model.size() && model[size_t(p)] == '\n')
            --p;
        return p;
    }

    std::string RandomText() {
        static const std::vector<std::string> atoms = {
            "a",    "b",    "x",    "yz",   " ",    "\t",   "  ",    "\r\n", "\n\r", "\r",      "\n",
            "\r\r", "\x02", "\x01", "\x15", "\x03", "\x04", "word ", ".",    ",",    "\r\n\r\n"};
        const int kind = Rand(0, 9);
        if (kind < 3)
            return std::string();
        std::string text;
        const int atomsWanted = kind == 9 ? Rand(10, 60) : Rand(1, 6);
        for (int i = 0; i < atomsWanted; ++i)
            text += atoms[size_t(Rand(0, int(atoms.size()) - 1))];
        return text;
    }

    void AddNavigator(bool stickToEnd, bool freeWithText) {
        auto nav = std::make_unique<TArtNavigator>(&bench.Core);
        Tracked t;
        t.Pos = static_cast<int32_t>(Rand(0, static_cast<int>(model.size())));
        t.StickToEnd = stickToEnd;
        t.FreeWithText = freeWithText;
        nav->SetPos(t.Pos);
        nav->StickToEnd = stickToEnd;
        nav->FreeWithText = freeWithText;
        const size_t index = tracked.size();
        nav->OnFree = [this, index](TArtNavigator*) { tracked[index].Freed = true; };
        if (Rand(0, 1))
            nav->LineIndex(); // some carry a resolved paragraph and line into the edit
        t.Nav = bench.Core.Navigators().Adopt(std::move(nav));
        tracked.push_back(t);
    }

    // A few runs and wrapped lines, so that edits meet extended paragraphs.
    void DecorateSometimes() {
        TParagraphsList& list = bench.List();
        const int p = Rand(0, list.Count() - 1);
        const int32_t length = ParLength(list.Par(p));
        // Like highlighting and formatting, tell the navigators what changed under them.
        if (Rand(0, 19) == 0) {
            const int32_t offset = Rand(0, length);
            AddRun(bench.Core, p, offset, Rand(0, 1) ? sfContext | sfBold : sfItalic, Rand(1, 9));
            bench.Core.Navigators().InvalidateNavigators(list.Par(p).Start + offset, p);
        }
        if (Rand(0, 29) == 0 && length >= 6) {
            const int32_t w1 = Rand(1, length / 2);
            WrapAt(bench.Core, p, {w1, Rand(w1 + 1, length - 1)});
            bench.Core.Navigators().InvalidateLines(p, p);
        }
    }

    // Before the bench: the bookmarks' OnFree handlers write here when the control frees them.
    std::deque<Tracked> tracked;
    ReplaceBench bench;
    std::string model;
};

TEST_F(ReplaceModel, TenThousandRandomReplacementsMatchAPlainString) {
    model = "The quick brown fox\r\njumps over\r\n\r\nthe lazy dog.";
    LoadText(bench.Core, model);
    for (bool stick : {false, true})
        for (bool free : {false, true})
            for (int i = 0; i < 3; ++i)
                AddNavigator(stick, free);

    for (int step = 0; step < 10000; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        if (step % 1000 == 0)
            bench.Core.SetStaticFormat(step % 2000 == 1000);
        DecorateSometimes();
        int32_t a = RandomPos(), e = RandomPos();
        if (a > e)
            std::swap(a, e);
        if (model.size() > 4000 && Rand(0, 1)) // keep the text from growing without bound
            e = std::min<int32_t>(int32_t(model.size()), a + Rand(200, 1500));
        if (size_t(e) < model.size() && model[size_t(e)] == '\n')
            ++e;
        const std::string with = RandomText();
        const bool reinsert = Rand(0, 3) != 0;
        const bool discard = Rand(0, 3) == 0;
        const int32_t linesBefore = bench.List().LineCount;

        int32_t modelA = a;
        const auto before = static_cast<int32_t>(model.size());
        const int32_t inserted =
            ModelReplace(model, modelA, e, with, bench.Core.StaticFormat(), reinsert, discard);
        const TReplaceResult r = bench.Replace(a, e, with.c_str(), reinsert, discard);

        ASSERT_EQ(bench.Text(), model) << "replacing " << a << ".." << e;
        ASSERT_EQ(bench.List().TextLength, static_cast<int32_t>(model.size()));
        ASSERT_EQ(r.LengthDelta, static_cast<int32_t>(model.size()) - before);
        ASSERT_TRUE(StoreInvariantsHold(bench.List()));
        ASSERT_EQ(bench.List().LineCount, linesBefore + r.LineDelta);
        ASSERT_EQ(bench.S.Pos(), modelA);
        ASSERT_EQ(bench.E.Pos(), modelA + inserted);
        ASSERT_TRUE(ResolvedLikeAFreshNavigator(bench.Core, bench.S));
        ASSERT_TRUE(ResolvedLikeAFreshNavigator(bench.Core, bench.E));

        const int32_t d = r.LengthDelta;
        for (Tracked& t : tracked) {
            if (!t.Nav)
                continue;
            bool gone = false;
            if (t.Pos > e) {
                t.Pos += d;
            } else if (t.Pos >= modelA) {
                if (t.StickToEnd) {
                    gone = t.FreeWithText && t.Pos < e;
                    t.Pos = modelA + inserted;
                } else {
                    gone = t.FreeWithText && modelA < t.Pos;
                    t.Pos = modelA;
                }
            }
            ASSERT_EQ(t.Freed, gone) << "navigator " << (&t - &tracked.front());
            if (gone)
                continue;
            ASSERT_EQ(t.Nav->Pos(), t.Pos) << "navigator " << (&t - &tracked.front());
            ASSERT_TRUE(ResolvedLikeAFreshNavigator(bench.Core, *t.Nav));
        }
        // Keep the population up: a freed bookmark is replaced by a new one of its kind.
        const size_t count = tracked.size();
        for (size_t i = 0; i < count; ++i) {
            if (tracked[i].Freed && tracked[i].Nav) {
                tracked[i].Nav = nullptr;
                AddNavigator(tracked[i].StickToEnd, tracked[i].FreeWithText);
            }
        }
    }
    EXPECT_GT(tracked.size(), 12u) << "some bookmarks went with their text";
}

} // namespace
} // namespace zandor::test
