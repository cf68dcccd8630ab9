// Shared by the replacement tests: a control whose two selection ends replace text like the
// control's replace operation does, and the checks that follow every replacement.
#pragma once

#include "NavigatorTestText.h"
#include "StoreInvariants.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ReplaceRange.h"

#include <gtest/gtest.h>

#include <string>

namespace zandor::test {

// The whole text with CR LF breaks, read back from the paragraph records.
std::string StoreText(const TParagraphsList& list);

// A navigator's cached paragraph, offset, run and line indexes agree with a fresh navigator's.
::testing::AssertionResult ResolvedLikeAFreshNavigator(TArtMemoCore& core, TArtNavigator& nav);

struct ReplaceBench {
    TArtMemoCore Core;
    TArtNavigator S{&Core};
    TArtNavigator E{&Core};

    // Replaces positions a .. e with text through the control's path (registered navigators move).
    TReplaceResult Replace(int32_t a, int32_t e, const char* text, bool reinsertCodes = true,
                           bool discardTrailing = false);
    TParagraphsList& List() { return Core.Paragraphs(); }
    std::string Text() { return StoreText(Core.Paragraphs()); }
};

} // namespace zandor::test
