// Random edits through the control's replace path, each followed by the after-edit layout (which
// lays out the window, stops early inside the edited paragraph and queues the rest) and by working
// off the queue as the update mode does: the line tables must always be those of laying the whole
// text out from scratch.
#include "FormatTestText.h"
#include "ReplaceTestText.h"
#include "StoreInvariants.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/ReplaceRange.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace zandor::test {
namespace {

struct Variant {
    const char* Name;
    bool WordWrap = true;
    bool Justified = false;
    int ColumnWrap = 0;
    const char* WrapChars = "";
    bool StaticFormat = false;
    TUpdateMode Mode = umImmediate;
    bool Keywords = false;
};

class FormatAfterRandomEdits : public ::testing::TestWithParam<Variant> {
protected:
    void Configure(TArtMemoCore& c) {
        const Variant& v = GetParam();
        c.SetClientSize(200, 48); // 23 characters a line, 3 lines in the window
        c.SetWordWrap(v.WordWrap);
        c.SetJustified(v.Justified);
        c.SetColumnWrap(v.ColumnWrap);
        c.SetWordWrapChars(v.WrapChars);
        c.SetStaticFormat(v.StaticFormat);
        c.SetTabStops(4);
        if (v.Keywords) {
            // Bold and narrow keywords change the widths of the words they match.
            c.Highlighting().Keywords().AddKeyWord("ab", koWholeWord, sfBold, 5, 0, -1, -1);
            c.Highlighting().Keywords().AddKeyWord("cd", 0, sfAltFont, 6, 0, -1, -1);
        }
    }

    // Words of letters, some long enough to break by characters, with blanks, tabs, hyphens and
    // (with static format) format codes between and inside them.
    std::string Piece(int words) {
        static const char codes[] = {2, 1, 21, 4};
        std::string s;
        for (int w = 0; w < words; ++w) {
            const int kind = Pick(0, 19);
            if (kind == 0)
                s += '\t';
            else if (kind <= 2)
                s += "  ";
            else if (kind <= 3 && GetParam().StaticFormat)
                s += codes[Pick(0, 3)];
            else if (kind <= 4)
                s += '-';
            else if (kind <= 5)
                s += std::string(static_cast<size_t>(Pick(20, 40)), 'x');
            else
                s += ' ';
            const int length = Pick(1, 9);
            for (int i = 0; i < length; ++i)
                s += static_cast<char>('a' + Pick(0, 7));
        }
        return s;
    }

    std::string InitialText() {
        std::string text;
        for (int p = 0; p < 30; ++p) {
            if (p > 0)
                text += "\r\n";
            text += Piece(Pick(0, 12));
        }
        return text;
    }

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(Rng); }

    void WorkOffQueue() {
        switch (GetParam().Mode) {
        case umImmediate:
            break; // done by the edit itself
        case umBackground:
            for (int guard = 0; core.BgNext() < core.ParagraphCount() && guard < 100000; ++guard)
                core.FormatStep();
            break;
        case umOnNeed:
            core.FormatUpTo(core.ParagraphCount() - 1);
            break;
        }
    }

    ::testing::AssertionResult LikeFromScratch(const std::string& text) {
        TArtMemoCore fresh;
        Configure(fresh);
        LoadThroughStream(fresh, text);
        FormatAll(fresh);
        return SameLayout(core, fresh);
    }

    std::string Text() {
        std::string text;
        for (int p = 0; p < core.ParagraphCount(); ++p) {
            if (p > 0)
                text += "\r\n";
            text += ParText(core.Paragraphs().Par(p));
        }
        return text;
    }

    std::mt19937 Rng{20261209};
    TArtMemoCore core;
    TArtNavigator S{&core};
    TArtNavigator E{&core};
    // Stands anywhere with its line index known, like the caret or a bookmark.
    TArtNavigator Probe{&core};
};

TEST_P(FormatAfterRandomEdits, IncrementalLayoutEqualsLayoutFromScratch) {
    Configure(core);
    core.SetUpdateMode(GetParam().Mode);
    LoadThroughStream(core, InitialText());
    core.ScheduleFormatting();
    WorkOffQueue();
    core.Paragraphs().ResetDirty();
    ASSERT_TRUE(LikeFromScratch(Text()));

    for (int step = 0; step < 400; ++step) {
        const int32_t length = core.CharCount();
        const int32_t a = Pick(0, length);
        const int32_t e = std::min(length, a + (Pick(0, 2) == 0 ? Pick(0, 30) : Pick(0, 3)));
        std::string insert;
        switch (Pick(0, 5)) {
        case 0:
            break;
        case 1:
            insert = Piece(1).substr(0, 1);
            break;
        case 2:
            insert = Piece(Pick(1, 4));
            break;
        case 3:
            insert = Piece(1) + "\r\n" + Piece(Pick(0, 3));
            break;
        default:
            insert = std::string(1, static_cast<char>('a' + Pick(0, 7)));
        }
        // The window wanders over the text, so edits happen above, inside and below it.
        core.SetTopOrigin(core.LinePixels() * Pick(0, std::max(0, core.VisibleLineCount() - 1)));
        Probe.SetPos(Pick(0, length));
        Probe.LineIndex();
        S.SetPos(a);
        E.SetPos(e);
        const TReplaceResult replaced = ReplaceText(core, S, E, insert.c_str());
        core.Highlighting().AfterReplace(S, E, replaced.RunsRemoved, false);
        core.UpdateAfterEdit();
        WorkOffQueue();
        ASSERT_TRUE(LikeFromScratch(Text()))
            << "after step " << step << ": replaced " << a << ".." << e << " by \"" << insert << "\"";
        ASSERT_TRUE(StoreInvariantsHold(core.Paragraphs()));
        ASSERT_TRUE(ResolvedLikeAFreshNavigator(core, Probe)) << "after step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, FormatAfterRandomEdits,
    ::testing::Values(Variant{"WordWrap"}, Variant{"NoWrap", false}, Variant{"Justified", true, true},
                      Variant{"Columns", true, false, 12}, Variant{"WrapAfterHyphens", true, false, 0, "-"},
                      Variant{"FormatCodes", true, false, 0, "", true},
                      Variant{"Background", true, false, 0, "", false, umBackground},
                      Variant{"OnNeed", true, true, 0, "-", false, umOnNeed},
                      Variant{"Keywords", true, false, 0, "", false, umImmediate, true},
                      Variant{"KeywordsInColumns", true, false, 10, "-", true, umBackground, true}),
    [](const ::testing::TestParamInfo<Variant>& info) { return std::string(info.param.Name); });

} // namespace
} // namespace zandor::test
