// Random sequences of store operations with a fixed seed, against a plain model of the paragraphs:
// after every step the store's invariants hold, and every few steps its contents equal the model.
#include "StoreInvariants.h"

#include "editor/engine/EngineErrors.h"
#include "editor/engine/LinesList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace zandor {
namespace {

using test::FillParagraphs;
using test::ParText;
using test::StoreInvariantsHold;

struct ModelPar {
    std::string Text;
    std::vector<int32_t> Stops{0}; // end of each display line
    std::vector<int32_t> Runs;     // run offsets
    int32_t Context = 0;           // context of the base style; 0 = the default state
    bool Hidden = false;
    int32_t Color = kColorUnset;
};

class StoreDriver {
public:
    explicit StoreDriver(uint32_t seed) : FRng(seed) {}

    void Reload(int count) {
        FModel.clear();
        std::vector<std::string> texts;
        for (int i = 0; i < count; ++i) {
            ModelPar par;
            par.Text = RandomText();
            par.Stops = {static_cast<int32_t>(par.Text.size())};
            texts.push_back(par.Text);
            FModel.push_back(par);
        }
        FillParagraphs(FList, texts);
    }

    void Step() {
        const int op = Rand(0, 99);
        const int p = PickPar(false);
        if (op < 20)
            EditText(p);
        else if (op < 35)
            Relayout(p);
        else if (op < 45)
            SetRuns(p);
        else if (op < 55)
            ChangeBaseStyle(p);
        else if (op < 62)
            ToggleHidden(p);
        else if (op < 75)
            InsertPar(PickPar(true));
        else if (op < 88)
            DeletePar(p);
        else if (op < 92)
            SetColor(p);
        else if (op < 99)
            MarkSomethingDirty();
        else if (Rand(0, 9) == 0)
            Reload(Rand(1, 3000));
        else
            FList.InvalidateFormat();
    }

    ::testing::AssertionResult MatchesModel() const {
        if (FList.Count() != static_cast<int>(FModel.size()))
            return ::testing::AssertionFailure() << "count " << FList.Count() << ", model " << FModel.size();
        for (int p = 0; p < FList.Count(); ++p) {
            const ParInfo& par = FList.Par(p);
            const ModelPar& want = FModel[static_cast<size_t>(p)];
            auto fail = [p](const char* what) {
                return ::testing::AssertionFailure() << "paragraph " << p << ": " << what;
            };
            if (ParText(par) != want.Text)
                return fail("text");
            if (LineCountOf(par) != static_cast<int>(want.Stops.size()))
                return fail("line count");
            for (size_t k = 0; k < want.Stops.size(); ++k) {
                const int32_t stop = k == 0 ? LoadFirstLine(par).Stop : par.Extra->Lines[k - 1].Stop;
                if (stop != want.Stops[k])
                    return fail("line stop");
            }
            if (RunCount(par) != static_cast<int>(want.Runs.size()))
                return fail("run count");
            for (size_t r = 0; r < want.Runs.size(); ++r)
                if (par.Extra->Runs[r].Offset != want.Runs[r])
                    return fail("run offset");
            if (BaseStyleOf(par)->Context != want.Context)
                return fail("base style");
            if (IsHidden(par) != want.Hidden)
                return fail("hidden flag");
            if (ParColorOf(par) != want.Color)
                return fail("colour");
        }
        return ::testing::AssertionSuccess();
    }

    const TParagraphsList& List() const { return FList; }

private:
    int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(FRng); }

    // Mostly short texts with a few format codes; now and then one at the compact form's limit.
    std::string RandomText() {
        const int kind = Rand(0, 399);
        int length = kind == 0 ? 65534 : kind == 1 ? 65535 : kind == 2 ? 66000 : Rand(0, 60);
        std::string text(static_cast<size_t>(length), ' ');
        for (char& c : text) {
            const int r = Rand(0, 40);
            c = r == 0 ? '\x02' : r == 1 ? '\x15' : static_cast<char>(Rand(32, 126));
        }
        return text;
    }

    // Uniform, or close to a block boundary where the block walks turn.
    int PickPar(bool forInsert) {
        const int count = FList.Count() + (forInsert ? 1 : 0);
        if (Rand(0, 3) == 0) {
            const int blocks = (count - 1) / TParagraphsList::kParsPerBlock;
            const int near = Rand(0, blocks) * TParagraphsList::kParsPerBlock + Rand(-2, 2);
            return std::clamp(near, 0, count - 1);
        }
        return Rand(0, count - 1);
    }

    int32_t Length(int p) const { return static_cast<int32_t>(FModel[static_cast<size_t>(p)].Text.size()); }

    // Counters and the chains after paragraph p changed its length and visible line count.
    void ShiftAfter(int p, int32_t dLength, int32_t dLines, int32_t dVisible) {
        if (Rand(0, 1))
            FList.ShiftStartsAndLines(p + 1, dLength, dVisible);
        else {
            FList.ShiftStarts(p + 1, dLength);
            FList.ShiftFirstLines(p + 1, dVisible);
        }
        FList.TextLength += dLength;
        FList.LineCount += dLines;
        FList.VisibleLineCount += dVisible;
    }

    void SetSingleLine(ParInfo& par, int32_t length) {
        TLinesList lines(&par);
        lines.SetLineCount(1);
        lines.PutLine(0, LineInfo{0, length, length * 8, length * 8, 0, length, 0, 0});
    }

    void EditText(int p) {
        ModelPar& model = FModel[static_cast<size_t>(p)];
        ParInfo& par = FList.Par(p);
        const std::string text = RandomText();
        const auto length = static_cast<int32_t>(text.size());
        OwnText(par);
        if (length > 0 && (!par.Text || ParTextCapacity(par.Text) < length + 1)) {
            char* buffer = AllocParText(TextBufferSizeFor(length));
            FreeParText(par.Text);
            par.Text = buffer;
        }
        if (par.Text) {
            std::memcpy(par.Text, text.data(), text.size());
            par.Text[length] = '\0';
        }
        SetParLength(par, length);
        const auto oldLines = static_cast<int32_t>(model.Stops.size());
        SetSingleLine(par, length);
        if (IsExtended(par))
            par.Extra->Runs.erase_if([length](const TDynInfo& run) { return run.Offset > length; });
        std::erase_if(model.Runs, [length](int32_t offset) { return offset > length; });
        const int32_t dLength = length - Length(p);
        model.Text = text;
        model.Stops = {length};
        ShiftAfter(p, dLength, 1 - oldLines, model.Hidden ? 0 : 1 - oldLines);
    }

    void Relayout(int p) {
        ModelPar& model = FModel[static_cast<size_t>(p)];
        const int32_t length = Length(p);
        const int count = Rand(1, 5);
        std::vector<int32_t> stops;
        for (int k = 0; k + 1 < count; ++k)
            stops.push_back(Rand(0, length));
        std::sort(stops.begin(), stops.end());
        stops.push_back(length);
        TLinesList lines(&FList.Par(p));
        lines.SetLineCount(count);
        int32_t start = 0;
        for (int k = 0; k < count; ++k) {
            const int32_t stop = stops[static_cast<size_t>(k)];
            const int32_t width = (stop - start) * (Rand(0, 9) == 0 ? 9000 : 8);
            const auto style = static_cast<uint8_t>(Rand(0, 4) == 0 ? sfBold : 0);
            lines.PutLine(k, LineInfo{start, stop, width, width, 0, Rand(0, 3) ? stop : start, style, 0});
            start = stop;
        }
        const auto delta = static_cast<int32_t>(count - static_cast<int>(model.Stops.size()));
        model.Stops = stops;
        ShiftAfter(p, 0, delta, model.Hidden ? 0 : delta);
    }

    void SetRuns(int p) {
        ModelPar& model = FModel[static_cast<size_t>(p)];
        ParInfo& par = FList.Par(p);
        const int count = Rand(0, 4);
        model.Runs.clear();
        for (int r = 0; r < count; ++r)
            model.Runs.push_back(Rand(0, Length(p)));
        std::sort(model.Runs.begin(), model.Runs.end());
        SetRunCount(par, count);
        for (int r = 0; r < count; ++r) {
            TDynInfo& run = par.Extra->Runs[static_cast<size_t>(r)];
            run = kDefaultRunState;
            run.Offset = model.Runs[static_cast<size_t>(r)];
            run.StyleFlags = static_cast<uint8_t>(Rand(0, 255));
        }
    }

    void ChangeBaseStyle(int p) {
        ModelPar& model = FModel[static_cast<size_t>(p)];
        switch (Rand(0, 2)) {
        case 0:
            SetBaseStyle(FList.Par(p), nullptr, Rand(0, 1));
            model.Context = 0;
            break;
        case 1: {
            TDynInfo state = kDefaultRunState;
            state.StyleFlags = sfContext;
            state.Context = Rand(1, 1000);
            SetBaseStyle(FList.Par(p), &state, true);
            model.Context = state.Context;
            break;
        }
        default: {
            const int q = Rand(0, FList.Count() - 1);
            SetBaseStyle(FList.Par(p), BaseStyleOf(FList.Par(q)), Rand(0, 3) == 0);
            model.Context = FModel[static_cast<size_t>(q)].Context;
        }
        }
    }

    void ToggleHidden(int p) {
        ModelPar& model = FModel[static_cast<size_t>(p)];
        ParInfo& par = FList.Par(p);
        const auto lines = static_cast<int32_t>(model.Stops.size());
        model.Hidden = !model.Hidden;
        par.Flags ^= pfHidden;
        ShiftAfter(p, 0, 0, model.Hidden ? -lines : lines);
    }

    void InsertPar(int p) {
        ModelPar model;
        model.Text = RandomText();
        const auto length = static_cast<int32_t>(model.Text.size());
        model.Stops = {length};

        ParInfo rec{};
        if (p < FList.Count()) {
            rec.Start = FList.Par(p).Start;
            rec.FirstLine = FList.Par(p).FirstLine;
        } else {
            const ParInfo& last = FList.Par(p - 1);
            rec.Start = last.Start + ParLength(last) + 2;
            rec.FirstLine = last.FirstLine + (IsHidden(last) ? 0 : LineCountOf(last));
        }
        // Half the new paragraphs own their text, the others point into a fresh load block.
        if (Rand(0, 1)) {
            rec.Text = AllocParText(TextBufferSizeFor(length));
            rec.Flags = pfOwnText;
        } else {
            rec.Text = FList.AddLoadBlock(model.Text.size() + 1);
        }
        std::memcpy(rec.Text, model.Text.c_str(), model.Text.size() + 1);

        FList.SetCount(FList.Count() + 1);
        FList.MoveRecords(p, p + 1, FList.Count() - 1 - p);
        FList.PutRec(p, &rec);
        ParInfo& par = FList.Par(p);
        SetParLength(par, length);
        SetSingleLine(par, length);
        FModel.insert(FModel.begin() + p, model);
        FList.ShiftStartsAndLines(p + 1, length + 2, 1);
        FList.TextLength += length + 2;
        FList.LineCount += 1;
        FList.VisibleLineCount += 1;
    }

    void DeletePar(int p) {
        if (FList.Count() < 2)
            return;
        const ModelPar& model = FModel[static_cast<size_t>(p)];
        const int32_t length = Length(p);
        const auto lines = static_cast<int32_t>(model.Stops.size());
        const bool hidden = model.Hidden;
        ReleasePar(FList.Par(p));
        FList.MoveRecords(p + 1, p, FList.Count() - 1 - p);
        FList.SetCount(FList.Count() - 1);
        FModel.erase(FModel.begin() + p);
        FList.ShiftStartsAndLines(p, -(length + 2), hidden ? 0 : -lines);
        FList.TextLength -= length + 2;
        FList.LineCount -= lines;
        FList.VisibleLineCount -= hidden ? 0 : lines;
        FList.ShrinkAfterReplace();
    }

    void SetColor(int p) {
        const int32_t color = Rand(0, 0xFFFFFF);
        ExtendPar(FList.Par(p)).ParColor = color;
        FModel[static_cast<size_t>(p)].Color = color;
    }

    void MarkSomethingDirty() {
        const int a = Rand(0, FList.Count() - 1);
        const int c = Rand(a, FList.Count() - 1);
        if (Rand(0, 2) == 0)
            FList.ResetDirty();
        FList.ParsedTo = Rand(-1, FList.Count() - 1);
        FList.MarkDirty(a, 0, c);
        EXPECT_LE(FList.DirtyFrom, a);
        EXPECT_GE(FList.DirtyTo, c);
        EXPECT_LT(FList.ParsedTo, a);
        EXPECT_LE(FList.DirtyFirstLine, +FList.Par(a).FirstLine);
    }

    std::mt19937 FRng;
    TParagraphsList FList;
    std::vector<ModelPar> FModel;
};

TEST(StoreRandom, RandomEditsKeepTheStoreConsistentWithItsModel) {
    StoreDriver driver(20261209);
    driver.Reload(2 * TParagraphsList::kParsPerBlock + 80);
    for (int step = 0; step < 3000; ++step) {
        driver.Step();
        ASSERT_TRUE(StoreInvariantsHold(driver.List())) << "step " << step;
        if (step % 25 == 0) {
            ASSERT_TRUE(driver.MatchesModel()) << "step " << step;
        }
    }
    EXPECT_TRUE(driver.MatchesModel());
}

} // namespace
} // namespace zandor
