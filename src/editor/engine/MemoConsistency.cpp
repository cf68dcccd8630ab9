#include "editor/engine/MemoConsistency.h"

#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"

namespace zandor {

namespace {

[[noreturn]] void Fail(const char* literal, std::string_view label) {
    throw EConsistencyError(std::string(literal) + std::string(label));
}

// The outline level in force at the end of a paragraph: that of its last run, else its own.
int EndLevel(const ParInfo& par) {
    const int runs = RunCount(par);
    if (runs > 0)
        return par.Extra->Runs[static_cast<size_t>(runs - 1)].Level;
    return par.Level & plLevelMask;
}

} // namespace

void CheckConsistency(TArtMemoCore& core, std::string_view label) {
    TParagraphsList& pars = core.Paragraphs();
    int64_t visibleLines = 0;
    int64_t allLines = 0;
    int64_t position = 0;
    int previousLevel = 0;
    for (int i = 0; i < pars.Count(); ++i) {
        const ParInfo& par = pars.Par(i);
        if (par.FirstLine != visibleLines)
            Fail("Error 1", label);
        if (par.Start != position)
            Fail("Error 2 in ", label);
        if ((par.Level & plLevelMask) != previousLevel)
            Fail("Error 7 in ", label);
        const int32_t length = ParLength(par);
        const int lines = LineCountOf(par);
        int32_t stop = 0;
        for (int k = 0; k < lines; ++k) {
            const LineInfo line = k == 0 ? LoadFirstLine(par) : par.Extra->Lines[static_cast<size_t>(k - 1)];
            if (line.Start != stop)
                Fail("Error 3 in ", label);
            stop = line.Stop;
        }
        if (stop != length)
            Fail("Error 4 in ", label);
        if (!IsHidden(par))
            visibleLines += lines;
        allLines += lines;
        position += int64_t(length) + 2;
        previousLevel = EndLevel(par);
    }
    if (int64_t(core.CharCount()) + 2 != position)
        Fail("Error 5 in ", label);
    if (pars.VisibleLineCount != visibleLines)
        Fail("Error 6 in ", label);
    if (pars.LineCount != allLines)
        Fail("Error 6.01 in ", label);
}

} // namespace zandor
