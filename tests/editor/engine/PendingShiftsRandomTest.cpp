// Shifts of Start and FirstLine that the store still owes to later blocks, against plain references:
// random shifts, record moves and reads far apart in a store of several blocks, and random edits
// and layouts far apart in a control's text. Every position is checked through the reads that leave
// the owed shifts in place, so that what is checked is the state with shifts pending.
#include "EditorTestText.h"
#include "StoreInvariants.h"
#include "editor/engine/ArtNavigator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zandor::test {
namespace {

constexpr int kPer = TParagraphsList::kParsPerBlock;

// The record as stored, without a shift still owed to its block.
const ParInfo& Raw(const TParagraphsList& list, int i) {
    return *static_cast<const ParInfo*>(list.Items(i));
}

class Random {
public:
    explicit Random(uint32_t seed) : FRng(seed) {}
    int operator()(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(FRng); }
    // Uniform, or next to a block boundary, where the owed shifts change.
    int Index(int count) {
        if ((*this)(0, 2) == 0) {
            const int near = (*this)(0, (count - 1) / kPer) * kPer + (*this)(-2, 2);
            return std::clamp(near, 0, count - 1);
        }
        return (*this)(0, count - 1);
    }

private:
    std::mt19937 FRng;
};

// ---- the store: shifts, moves and reads against two plain arrays -----------------------------------

TEST(PendingShifts, StoreKeepsEveryStartAndFirstLineOfAPlainReferenceWhileShiftsArePending) {
    Random rnd(0x5eed15);
    TParagraphsList list;
    std::vector<int64_t> starts, lines;
    auto append = [&](int32_t start, int32_t line) {
        ParInfo rec{};
        rec.Start = start;
        rec.FirstLine = line;
        list.Add(&rec);
        starts.push_back(start);
        lines.push_back(line);
    };
    for (int i = 0; i < 4 * kPer + 37; ++i)
        append(10 * i, i);

    auto checkAll = [&](int step) {
        ASSERT_EQ(list.Count(), static_cast<int>(starts.size())) << "step " << step;
        for (int i = 0; i < list.Count(); ++i) {
            ASSERT_EQ(list.StartOf(i), starts[static_cast<size_t>(i)]) << "step " << step << ", record " << i;
            ASSERT_EQ(list.FirstLineOf(i), lines[static_cast<size_t>(i)])
                << "step " << step << ", record " << i;
        }
    };

    for (int step = 0; step < 4000; ++step) {
        const int count = list.Count();
        const int op = rnd(0, 99);
        if (op < 40) {
            // A shift from anywhere; most often far from the last one.
            const int from = rnd.Index(count);
            const int32_t dStart = rnd(-5, 9), dLines = rnd(-2, 3);
            switch (rnd(0, 2)) {
            case 0:
                list.ShiftStarts(from, dStart);
                for (int i = from; i < count; ++i)
                    starts[static_cast<size_t>(i)] += dStart;
                break;
            case 1:
                list.ShiftFirstLines(from, dLines);
                for (int i = from; i < count; ++i)
                    lines[static_cast<size_t>(i)] += dLines;
                break;
            default:
                list.ShiftStartsAndLines(from, dStart, dLines);
                for (int i = from; i < count; ++i) {
                    starts[static_cast<size_t>(i)] += dStart;
                    lines[static_cast<size_t>(i)] += dLines;
                }
            }
        } else if (op < 60) {
            // A read that brings the record's block up to date, through a reference or a copy.
            const int i = rnd.Index(count);
            ParInfo copy{};
            if (rnd(0, 1))
                list.GetRec(i, &copy);
            else
                copy = list.Par(i);
            ASSERT_EQ(copy.Start, starts[static_cast<size_t>(i)]) << "step " << step;
            ASSERT_EQ(copy.FirstLine, lines[static_cast<size_t>(i)]) << "step " << step;
        } else if (op < 72) {
            // A record inserted the way a replacement makes room: the tail moves up.
            const int at = rnd.Index(count + 1);
            const int32_t start = rnd(0, 1000), line = rnd(0, 1000);
            list.SetCount(count + 1);
            list.MoveRecords(at, at + 1, count - at);
            ParInfo rec{};
            rec.Start = start;
            rec.FirstLine = line;
            list.PutRec(at, &rec);
            starts.insert(starts.begin() + at, start);
            lines.insert(lines.begin() + at, line);
        } else if (op < 84 && count > 1) {
            // A record removed: the tail moves down, and the blocks left over may go.
            const int at = rnd.Index(count);
            list.MoveRecords(at + 1, at, count - 1 - at);
            list.SetCount(count - 1);
            list.ShrinkAfterReplace();
            starts.erase(starts.begin() + at);
            lines.erase(lines.begin() + at);
        } else if (op < 90) {
            append(rnd(0, 1000), rnd(0, 1000));
        } else if (op < 96) {
            // A walk over a stretch sees every record up to date.
            const int from = rnd.Index(count);
            const int to = std::min(count, from + rnd(0, 3 * kPer));
            int i = from;
            bool same = true;
            list.ForEachPar(from, to, [&](ParInfo& par) {
                same = same && par.Start == starts[static_cast<size_t>(i)] &&
                       par.FirstLine == lines[static_cast<size_t>(i)];
                ++i;
            });
            ASSERT_TRUE(same) << "step " << step;
            ASSERT_EQ(i, to);
        } else {
            checkAll(step);
        }
    }
    checkAll(-1);
}

// ---- the control's text: edits, layouts and navigators far apart --------------------------------

// Words that wrap at 80 pixels (10 characters): paragraphs of one to a few lines.
std::string RandomPiece(Random& rnd, bool breaks) {
    static const char* kWords[] = {"a", "bb", "ccc", "dddd", "eeeee", "ffffffffffff"};
    std::string s;
    const int words = rnd(0, 6);
    for (int w = 0; w < words; ++w) {
        if (breaks && rnd(0, 5) == 0)
            s += "\r\n";
        else if (!s.empty())
            s += ' ';
        s += kWords[rnd(0, 5)];
    }
    return s;
}

class FarEdits : public ::testing::Test {
protected:
    FarEdits() : rnd(20261209) {
        core.SetClientSize(96, 170); // 80 pixels of text, 11 lines in the window
        core.SetUpdateMode(umOnNeed);
        std::string text;
        for (int p = 0; p < 3 * kPer + 500; ++p)
            text += (p ? "\r\n" : "") + RandomPiece(rnd, false);
        LoadEditorText(core, text);
        core.ScheduleFormatting();
        reference = text;
        for (int n = 0; n < 6; ++n) {
            navs.push_back(std::make_unique<TArtNavigator>(&core));
            navs.back()->SetPos(SomePosition());
            at.push_back(navs.back()->Pos());
        }
    }

    // A position in the reference, never between a CR and its LF.
    int32_t SomePosition() {
        const int32_t p = rnd(0, static_cast<int32_t>(reference.size()));
        return p > 0 && p < static_cast<int32_t>(reference.size()) && reference[size_t(p) - 1] == '\r' ? p - 1
                                                                                                       : p;
    }

    // Starts from the reference text; FirstLine from the line tables as stored. Neither read brings
    // a block up to date.
    ::testing::AssertionResult PositionsMatch() {
        const TParagraphsList& list = core.Paragraphs();
        int32_t start = 0, line = 0;
        int p = 0;
        for (size_t from = 0;; ++p) {
            const size_t cr = std::min(reference.find('\r', from), reference.size());
            if (p >= list.Count())
                return ::testing::AssertionFailure() << "fewer paragraphs than the reference";
            if (list.StartOf(p) != start)
                return ::testing::AssertionFailure()
                       << "Start of " << p << ": " << list.StartOf(p) << ", not " << start;
            if (list.FirstLineOf(p) != line)
                return ::testing::AssertionFailure()
                       << "FirstLine of " << p << ": " << list.FirstLineOf(p) << ", not " << line;
            const ParInfo& raw = Raw(list, p);
            if (ParLength(raw) != static_cast<int32_t>(cr - from))
                return ::testing::AssertionFailure() << "length of " << p;
            pending = pending || raw.Start != start || raw.FirstLine != line;
            if (!IsHidden(raw))
                line += LineCountOf(raw);
            if (cr == reference.size())
                break;
            from = cr + 2;
            start = static_cast<int32_t>(from);
        }
        if (p + 1 != list.Count())
            return ::testing::AssertionFailure() << "more paragraphs than the reference";
        return ::testing::AssertionSuccess();
    }

    // The widest counted width is the widest line in any line table.
    int32_t WidestByWalking() {
        const TParagraphsList& list = core.Paragraphs();
        int32_t widest = 0;
        for (int p = 0; p < list.Count(); ++p) {
            const ParInfo& raw = Raw(list, p);
            widest = std::max(widest, +LoadFirstLine(raw).TextWidth);
            if (IsExtended(raw))
                for (const LineInfo& l : raw.Extra->Lines)
                    widest = std::max(widest, +l.TextWidth);
        }
        return widest;
    }

    void Edit() {
        int32_t a = SomePosition(), e = SomePosition();
        if (a > e)
            std::swap(a, e);
        if (e - a > 300)
            e = a; // mostly typing and small deletions; the text stays of one size
        const std::string text = RandomPiece(rnd, true);
        core.Editor().Select(a, e);
        core.Editor().SetSelTextBuf(text.c_str());
        reference.replace(size_t(a), size_t(e - a), text);
        const int32_t delta = static_cast<int32_t>(text.size()) - (e - a);
        for (int32_t& pos : at)
            pos = pos > e ? pos + delta : pos >= a ? a : pos;
    }

    Random rnd;
    TArtMemoCore core;
    std::string reference;
    std::vector<std::unique_ptr<TArtNavigator>> navs;
    std::vector<int32_t> at;
    // Some record was found with a shift still owed to it.
    bool pending = false;
};

TEST_F(FarEdits, EditsAndLayoutsFarApartKeepEveryPositionOfAPlainText) {
    int pendingSteps = 0;
    for (int step = 0; step < 500; ++step) {
        const int op = rnd(0, 9);
        if (op < 5) {
            Edit();
        } else if (op < 7) {
            // A view far ahead of the layout front, or the front pushed on a little.
            const int p = rnd.Index(core.ParagraphCount());
            if (op == 5)
                core.FormatForView(p, p + rnd(0, 12));
            else
                core.FormatRange(core.BgNext(), core.BgNext() + rnd(0, 40));
        } else if (op < 9) {
            // A navigator read or moved far away: its block is brought up to date.
            const size_t n = static_cast<size_t>(rnd(0, static_cast<int>(navs.size()) - 1));
            if (op == 7) {
                navs[n]->SetPos(SomePosition());
                at[n] = navs[n]->Pos();
            } else {
                // Its line, read first: nothing else may bring its block up to date before.
                const int32_t line = navs[n]->DisplayLine();
                ASSERT_EQ(line, core.Paragraphs().FirstLineOf(navs[n]->ParNb()) + navs[n]->LineIndex())
                    << "step " << step;
                ASSERT_EQ(+navs[n]->Par()->Start, core.Paragraphs().StartOf(navs[n]->ParNb()))
                    << "step " << step;
            }
        } else if (rnd(0, 9) == 0) {
            core.ScheduleFormatting();
        }
        for (size_t n = 0; n < navs.size(); ++n)
            ASSERT_EQ(navs[n]->Pos(), at[n]) << "step " << step << ", navigator " << n;
        pending = false;
        ASSERT_TRUE(PositionsMatch()) << "step " << step;
        pendingSteps += pending ? 1 : 0;
        ASSERT_EQ(core.Paragraphs().Widths.Widest(), WidestByWalking()) << "step " << step;
        if (step % 50 == 49) {
            ASSERT_TRUE(StoreInvariantsHold(core.Paragraphs())) << "step " << step;
            ASSERT_EQ(WholeText(core), reference) << "step " << step;
        }
    }
    EXPECT_GT(pendingSteps, 250) << "most checks saw shifts still owed";
    // The navigators stand where the reference says, paragraph and offset included.
    for (size_t n = 0; n < navs.size(); ++n) {
        const std::string before = reference.substr(0, size_t(at[n]));
        const auto par = static_cast<int32_t>(std::count(before.begin(), before.end(), '\n'));
        const size_t lineStart = before.rfind('\n');
        const auto offset =
            static_cast<int32_t>(lineStart == std::string::npos ? at[n] : at[n] - lineStart - 1);
        EXPECT_EQ(navs[n]->ParNb(), par) << "navigator " << n;
        EXPECT_EQ(navs[n]->ParOffset(), offset) << "navigator " << n;
    }
    core.FormatRange(0, core.ParagraphCount() - 1);
    EXPECT_TRUE(StoreInvariantsHold(core.Paragraphs()));
}

} // namespace
} // namespace zandor::test
