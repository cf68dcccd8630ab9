#include "editor/engine/IndentRules.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ParagraphsList.h"

#include <algorithm>

namespace zandor {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

int32_t SmartTabBlanks(const TParagraphsList& pars, int32_t par, int32_t column, int tabStops,
                       bool staticFormat) {
    for (int32_t p = par - 1; p >= 0; --p) {
        const ParInfo& above = pars.Par(p);
        const int32_t length = ParLength(above);
        if (TArtNavigator::ColumnOf(above, length, tabStops, staticFormat) <= column)
            continue;
        int32_t i = TArtNavigator::OffsetOfColumn(above, column, tabStops, staticFormat);
        while (i < length && !IsBlank(above.Text[i]))
            ++i;
        while (i < length && IsBlank(above.Text[i]))
            ++i;
        return std::max(0, TArtNavigator::ColumnOf(above, i, tabStops, staticFormat) - column);
    }
    return 0;
}

std::string_view LeadingIndent(std::string_view line, int32_t limit) {
    size_t n = 0;
    while (n < line.size() && static_cast<int32_t>(n) < limit && IsBlank(line[n]))
        ++n;
    return line.substr(0, n);
}

std::string IndentAsBlanks(std::string_view indent, int tabStops) {
    std::string blanks;
    for (char c : indent) {
        if (c == '\t' && tabStops > 0)
            blanks.append(static_cast<size_t>(tabStops), ' ');
        else
            blanks += c;
    }
    return blanks;
}

} // namespace zandor
