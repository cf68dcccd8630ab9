#include "editor/engine/TextSearch.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/FoldedTextCache.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"

#include <string>

namespace zandor {

namespace {

class ParagraphSearch {
public:
    ParagraphSearch(TArtMemoCore& control, TFoldedTextCache& folded, std::string_view needle, bool matchCase,
                    bool wholeWord)
        : FList(control.Paragraphs()), FSeparators(control.Separators()), FFolded(folded), FNeedle(needle),
          FMatchCase(matchCase), FWholeWord(wholeWord) {}

    // The first acceptable hit in paragraph p at or after offset from, or npos.
    size_t First(int32_t p, size_t from) {
        const std::string_view hay = Haystack(p);
        for (size_t at = hay.find(FNeedle, from); at != std::string_view::npos;
             at = hay.find(FNeedle, at + 1))
            if (Accepted(at))
                return at;
        return std::string_view::npos;
    }

    // The last acceptable hit in paragraph p that begins before limit, or npos.
    size_t Last(int32_t p, size_t limit) {
        if (limit == 0)
            return std::string_view::npos;
        const std::string_view hay = Haystack(p);
        for (size_t at = hay.rfind(FNeedle, limit - 1); at != std::string_view::npos;
             at = at == 0 ? std::string_view::npos : hay.rfind(FNeedle, at - 1))
            if (Accepted(at))
                return at;
        return std::string_view::npos;
    }

private:
    std::string_view Haystack(int32_t p) {
        const ParInfo& par = FList.Par(p);
        const int32_t length = ParLength(par);
        FText = length > 0 ? std::string_view(par.Text, static_cast<size_t>(length)) : std::string_view();
        if (FMatchCase || length == 0)
            return FText;
        return std::string_view(FFolded.FoldedText(par, p, length, 0), static_cast<size_t>(length));
    }

    bool IsSeparator(char c) const { return FSeparators.test(static_cast<uint8_t>(c)); }

    bool Accepted(size_t at) const {
        if (!FWholeWord)
            return true;
        const size_t end = at + FNeedle.size();
        return (at == 0 || IsSeparator(FText[at - 1])) && (end == FText.size() || IsSeparator(FText[end]));
    }

    TParagraphsList& FList;
    const TCharSet& FSeparators;
    TFoldedTextCache& FFolded;
    std::string_view FNeedle;
    bool FMatchCase;
    bool FWholeWord;
    std::string_view FText; // raw text of the paragraph searched last, for the word test
};

} // namespace

bool FindText(TArtMemoCore& control, std::string_view text, bool forward, bool matchCase, bool wholeWord,
              bool fromBoundary, TSelection& selection) {
    TFoldedTextCache& folded = control.FoldedText();
    if (text.empty())
        return false;
    const std::string foldedNeedle = matchCase ? std::string() : UpperCased(folded.UpperCase(), text);
    ParagraphSearch search(control, folded, matchCase ? text : std::string_view(foldedNeedle), matchCase,
                           wholeWord);
    TParagraphsList& list = control.Paragraphs();
    const int32_t count = list.Count();
    if (count == 0)
        return false;
    const auto length = static_cast<int32_t>(text.size());

    int32_t par;
    size_t offset;
    if (fromBoundary) {
        par = forward ? 0 : count - 1;
        offset = forward ? 0 : std::string_view::npos;
    } else {
        TArtNavigator caret;
        caret.SetMemo(&control);
        caret.SetPos(selection.SelStart);
        par = caret.GetParNb();
        offset = static_cast<size_t>(caret.ParOffset());
    }

    if (forward) {
        for (; par < count; ++par, offset = 0) {
            const size_t at = search.First(par, offset);
            if (at != std::string_view::npos) {
                selection.SelStart = list.Par(par).Start + static_cast<int32_t>(at) + length;
                selection.SelLength = -length;
                return true;
            }
        }
    } else {
        for (; par >= 0; --par, offset = std::string_view::npos) {
            const size_t at = search.Last(par, offset);
            if (at != std::string_view::npos) {
                selection.SelStart = list.Par(par).Start + static_cast<int32_t>(at);
                selection.SelLength = length;
                return true;
            }
        }
    }
    return false;
}

} // namespace zandor
