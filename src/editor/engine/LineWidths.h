// How many display lines there are of each width, over the line tables of every paragraph: the
// widest line is the largest width still counted, so when the line that held the record is edited
// away the next widest is known at once instead of after a walk over every paragraph.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace zandor {

struct ParInfo;

// Owns only its counts. Lines of width 0 (a text not measured yet) are never counted: they cannot
// be the widest of anything.
class TLineWidths {
public:
    void Add(int32_t width);
    // A width not counted is ignored, so a line table changed behind the store's back cannot make a
    // count negative.
    void Remove(int32_t width);
    // Every display line of a paragraph record.
    void AddLines(const ParInfo& par);
    void RemoveLines(const ParInfo& par);
    void Clear();
    // The largest width counted; 0 when there is none.
    int32_t Widest() const;

private:
    // Widths below this are counted in a table, with a count per group of 64 to find the top fast;
    // the rare wider lines in a map.
    static constexpr int32_t kDense = 1 << 16;
    static constexpr int kGroupBits = 6;
    std::vector<int32_t> FCounts;
    std::vector<int32_t> FGroups;
    std::map<int32_t, int32_t> FWide;
    // No width above it is counted in the table.
    mutable int32_t FTop = 0;
};

} // namespace zandor
