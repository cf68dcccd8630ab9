// Checks of the paragraph store's invariants, and a small loader to fill a store in tests; shared
// by every test that edits a store (the store itself, navigators, replacement).
#pragma once

#include "editor/engine/ParagraphsList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zandor::test {

struct StoreCheck {
    bool NonEmpty = true;       // at least one paragraph (whenever a control shows text)
    bool Counters = true;       // TextLength, LineCount and VisibleLineCount agree with the records
    bool ExactRefCounts = true; // paragraphs are the only holders of base styles
};

// The Start and FirstLine chains, text terminators and lengths, sorted runs with offsets inside the
// paragraph, line tables that cover each paragraph, base-style counts, and (optionally) the
// list's counters. Reports the first violation found.
::testing::AssertionResult StoreInvariantsHold(const TParagraphsList& list, const StoreCheck& check = {});

// Replaces the list's contents like the stream loader: every text in one load block, compact
// records (extended only when a text is too long for the compact form), one line per paragraph
// whose width is its length, counters set. A text must not contain CR or LF.
void FillParagraphs(TParagraphsList& list, const std::vector<std::string>& texts);

// The characters of a paragraph.
std::string ParText(const ParInfo& par);

} // namespace zandor::test
