// The runs of a paragraph's keywords. Each keyword opens a context on top of the state it stands
// in and gives the text after it that state back. Applied one by one (ApplyRunAt), each keyword
// looks up where it stands and moves the runs behind it; in the usual paragraph, whose keywords
// stand apart in text that opens no context, the outcome is known beforehand and is put in place
// in one pass instead.
#pragma once

#include "editor/engine/KeywordMatcher.h"
#include "editor/engine/ParagraphsList.h"

#include <vector>

namespace zandor {

struct TKeyInfoLen;
class TKeywordList;

// The state keyword `keyword` (list entry kw, matched over `length` characters) opens on top of
// below, before ApplyRunAt adds its level and offset.
TDynInfo KeywordRunState(const TDynInfo& below, const TKeyInfoLen& kw, int keyword, int32_t length);

// Gives paragraph p the runs that applying hits[0 .. n) one by one in their order would give, in
// one pass, when that outcome is plain: no two hits touch, none begins in or spans a run
// boundary, and each stands in a state that carries no context nor key length. Returns false,
// having changed nothing, otherwise. order is scratch space.
bool PlaceKeywordRuns(TParagraphsList& list, int p, const TKeywordHit* hits, int n, const TKeywordList& keys,
                      std::vector<int>& order);

} // namespace zandor
