#include "ReplaceTestText.h"

namespace zandor::test {

std::string StoreText(const TParagraphsList& list) {
    std::string text;
    for (int p = 0; p < list.Count(); ++p) {
        if (p > 0)
            text += "\r\n";
        text += ParText(list.Par(p));
    }
    return text;
}

::testing::AssertionResult ResolvedLikeAFreshNavigator(TArtMemoCore& core, TArtNavigator& nav) {
    TArtNavigator fresh(&core);
    fresh.SetPos(nav.Pos());
    if (nav.Pos() != fresh.Pos())
        return ::testing::AssertionFailure() << "position " << nav.Pos() << " outside the text";
    if (nav.GetParNb() != fresh.GetParNb() || nav.ParOffset() != fresh.ParOffset() ||
        nav.Par() != fresh.Par() || nav.RunIndex() != fresh.RunIndex() ||
        nav.LineIndex() != fresh.LineIndex())
        return ::testing::AssertionFailure()
               << "position " << nav.Pos() << ": paragraph " << nav.GetParNb() << "/" << fresh.GetParNb()
               << ", offset " << nav.ParOffset() << "/" << fresh.ParOffset() << ", run " << nav.RunIndex()
               << "/" << fresh.RunIndex() << ", line " << nav.LineIndex() << "/" << fresh.LineIndex();
    return ::testing::AssertionSuccess();
}

TReplaceResult ReplaceBench::Replace(int32_t a, int32_t e, const char* text, bool reinsertCodes,
                                     bool discardTrailing) {
    S.Invalidate();
    S.SetPos(a);
    E.Invalidate();
    E.SetPos(e);
    return ReplaceText(Core, S, E, text, reinsertCodes, discardTrailing);
}

} // namespace zandor::test
