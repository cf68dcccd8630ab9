// A view of one paragraph's display lines, so that line 0 of a compact paragraph (which has no
// stored line record) reads like any other line.
#pragma once

#include "editor/engine/ParagraphsList.h"

namespace zandor {

// Refers to a paragraph record it does not own; the owner re-points it with SetPar whenever it
// moves to another paragraph. Owns only the scratch record that presents a compact line 0.
class TLinesList {
public:
    explicit TLinesList(ParInfo* par = nullptr) : FPar(par) {}

    ParInfo* Par() const { return FPar; }
    void SetPar(ParInfo* par) { FPar = par; }

    int LineCount() const;
    // Address of line k; ERangeError "List index out of bounds" when k is not in 0 .. LineCount-1.
    // For a compact paragraph line 0 is the scratch record: read it, but store through PutLine.
    LineInfo* LineAt(int k);
    void GetLine(int k, LineInfo& out);
    // Line 0 goes through StoreFirstLine, so a compact paragraph extends only when it must.
    void PutLine(int k, const LineInfo& info);
    // n <= 0 counts as 1; a compact paragraph is extended unless n = 1. New lines are zeroed.
    void SetLineCount(int n);

private:
    LineInfo FScratch{};
    ParInfo* FPar;
};

} // namespace zandor
