#include "editor/addons/GutterModel.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/ParagraphsList.h"

#include <algorithm>

namespace zandor {

TGutterModel::TGutterModel() {
    FBookmarkLines.fill(-1);
}

TGutterModel::~TGutterModel() {
    FreeAll();
}

void TGutterModel::SetMemo(TArtMemoCore* memo) {
    FreeAll();
    FMemo = memo;
    if (FMemo)
        FScratch = std::make_unique<TArtNavigator>(FMemo);
    CacheCounts();
}

void TGutterModel::MemoDestroyed() {
    // The registry detached every navigator as it ended, so freeing them touches nothing of the
    // editor.
    FMemo = nullptr;
    FreeAll();
    FLineCount = FParCount = 0;
}

void TGutterModel::FreeAll() {
    for (int n = 0; n < kBookmarkCount; ++n)
        Free(n);
    FScratch.reset();
}

void TGutterModel::Free(TBookmarkRange index) {
    std::unique_ptr<TArtNavigator> gone = std::move(FBookmarks[static_cast<size_t>(index)]);
    if (gone)
        gone->OnFree = nullptr;
    FBookmarkLines[static_cast<size_t>(index)] = -1;
}

// ---- numbering ---------------------------------------------------------------------------------

int32_t TGutterModel::LineCount() const {
    if (!FMemo)
        return 0;
    int32_t count = FMemo->VisibleLineCount();
    const TParagraphsList& pars = FMemo->Paragraphs();
    if (FIgnoreLastLineIfEmpty && count > 0 && ParLength(pars.Par(pars.Count() - 1)) == 0)
        --count;
    return count;
}

int32_t TGutterModel::ParagraphCount() const {
    if (!FMemo)
        return 0;
    const TParagraphsList& pars = FMemo->Paragraphs();
    int32_t count = pars.Count();
    if (FIgnoreLastLineIfEmpty && count > 0 && ParLength(pars.Par(count - 1)) == 0)
        --count;
    return count;
}

void TGutterModel::CacheCounts() {
    FLineCount = LineCount();
    FParCount = ParagraphCount();
}

std::string TGutterModel::LineLabel(int32_t line, bool paragraphNumbers) {
    if (!FScratch)
        return {};
    FScratch->SetDisplayLine(line);
    if (paragraphNumbers)
        return FScratch->LineIndex() == 0 ? std::to_string(FScratch->ParNb() + 1) : std::string();
    return std::to_string(FScratch->LineNb() + 1);
}

int TGutterModel::AutoWidthChars(int32_t lineCount) {
    int digits = 7;
    if (lineCount <= 97)
        digits = 2;
    else if (lineCount < 990)
        digits = 3;
    else if (lineCount <= 9949)
        digits = 4;
    else if (lineCount <= 99949)
        digits = 5;
    else if (lineCount <= 999949)
        digits = 6;
    return digits + 1;
}

// ---- bookmarks ---------------------------------------------------------------------------------

TArtNavigator* TGutterModel::Bookmark(TBookmarkRange index) const {
    if (index < 0 || index >= kBookmarkCount)
        return nullptr;
    return FBookmarks[static_cast<size_t>(index)].get();
}

int32_t TGutterModel::BookmarkLine(TBookmarkRange index) {
    TArtNavigator* nav = Bookmark(index);
    return nav && nav->Memo() ? nav->LineNb() : -1;
}

int TGutterModel::BookmarkAtLine(int32_t line) {
    for (int n = 0; n < kBookmarkCount; ++n)
        if (BookmarkLine(n) == line)
            return n;
    return -1;
}

bool TGutterModel::AtParagraphStart(TArtNavigator& navigator) {
    return navigator.ParOffset() == 0;
}

void TGutterModel::ToLineStart(TArtNavigator& navigator) {
    navigator.SetLineOffset(0);
}

std::unique_ptr<TArtNavigator> TGutterModel::NewNavigator(int32_t pos, TBookmarkRange index, bool& accepted) {
    auto nav = std::make_unique<TArtNavigator>(FMemo);
    nav->SetPos(pos);
    accepted = true;
    if (OnSetBookmark)
        OnSetBookmark(index, *nav, accepted);
    return nav;
}

void TGutterModel::Store(TBookmarkRange index, std::unique_ptr<TArtNavigator> navigator) {
    // A bookmark of that number on another line is replaced; nothing else refers to it.
    Free(index);
    FBookmarks[static_cast<size_t>(index)] = std::move(navigator);
    FollowKeepBookmarks(index);
}

void TGutterModel::FollowKeepBookmarks(TBookmarkRange index) {
    TArtNavigator& nav = *FBookmarks[static_cast<size_t>(index)];
    nav.FreeWithText = !FKeepBookmarks;
    if (FKeepBookmarks) {
        nav.OnFree = nullptr;
        return;
    }
    // The registry hands the navigator over after it left the text; the slot lets it go.
    nav.OnFree = [this, index](TArtNavigator* gone) {
        auto& slot = FBookmarks[static_cast<size_t>(index)];
        if (slot.get() == gone)
            slot.reset();
    };
    ToLineStart(nav);
}

void TGutterModel::SetKeepBookmarks(bool value) {
    FKeepBookmarks = value;
    for (int n = 0; n < kBookmarkCount; ++n)
        if (Bookmark(n) && Bookmark(n)->Memo())
            FollowKeepBookmarks(n);
}

bool TGutterModel::ToggleBookmark(int32_t line, TBookmarkRange index) {
    if (!FMemo || index < 0 || index >= kBookmarkCount)
        return false;
    if (BookmarkLine(index) == line) {
        bool accept = true;
        if (OnClearBookmark)
            OnClearBookmark(index, *Bookmark(index), accept);
        if (accept)
            Free(index);
        return accept;
    }
    if (BookmarkAtLine(line) >= 0)
        return false;
    FScratch->SetLineNb(line);
    bool accepted = false;
    auto nav = NewNavigator(FScratch->Pos(), index, accepted);
    if (!accepted)
        return false;
    nav->StickToEnd = AtParagraphStart(*nav);
    Store(index, std::move(nav));
    return true;
}

void TGutterModel::SetBookmark(int32_t pos, TBookmarkRange index) {
    if (!FMemo || index < 0 || index >= kBookmarkCount)
        return;
    if (!Bookmark(index)) {
        bool accepted = false;
        auto nav = NewNavigator(pos, index, accepted);
        if (!accepted)
            return;
        Store(index, std::move(nav));
    }
    TArtNavigator& nav = *Bookmark(index);
    nav.SetPos(pos);
    if (!FKeepBookmarks)
        ToLineStart(nav);
    nav.StickToEnd = AtParagraphStart(nav);
}

void TGutterModel::ClearBookmarks() {
    // Each bookmark is asked for on its own: two bookmarks on one line must both go, which a
    // toggle by line would not do for the second.
    for (int n = 0; n < kBookmarkCount; ++n) {
        TArtNavigator* nav = Bookmark(n);
        if (!nav)
            continue;
        bool accept = true;
        if (OnClearBookmark)
            OnClearBookmark(n, *nav, accept);
        if (accept)
            Free(n);
    }
}

void TGutterModel::CacheBookmarkLines() {
    for (int n = 0; n < kBookmarkCount; ++n)
        FBookmarkLines[static_cast<size_t>(n)] = BookmarkLine(n);
}

// ---- following the editor ----------------------------------------------------------------------

TGutterUpdate TGutterModel::TextChanged(bool autoWidth) {
    bool moved = false;
    for (int n = 0; n < kBookmarkCount; ++n) {
        TArtNavigator* nav = Bookmark(n);
        if (!nav || !nav->Memo())
            continue;
        nav->StickToEnd = AtParagraphStart(*nav);
        if (!FKeepBookmarks)
            ToLineStart(*nav);
        moved = moved || BookmarkLine(n) != FBookmarkLines[static_cast<size_t>(n)];
    }
    const int32_t lines = LineCount();
    const int32_t pars = ParagraphCount();
    if (lines == FLineCount && pars == FParCount && !moved)
        return TGutterUpdate::None;
    const bool sameLines = lines == FLineCount;
    FLineCount = lines;
    FParCount = pars;
    CacheBookmarkLines();
    if (sameLines || !autoWidth)
        return TGutterUpdate::Repaint;
    return TGutterUpdate::Resize;
}

int TGutterModel::BookmarkDigit(int qtKey, uint32_t nativeScanCode, bool keypad) {
    if (keypad)
        return -1;
    if (qtKey >= '0' && qtKey <= '9')
        return qtKey - '0';
    static constexpr char kShifted[] = ")!@#$%^&*(";
    for (int digit = 0; digit < 10; ++digit)
        if (qtKey == kShifted[digit])
            return digit;
    // X key codes 10 to 19 are the digit row 1 to 9 and 0, whatever the layout prints on it.
    if (nativeScanCode >= 10 && nativeScanCode <= 19)
        return static_cast<int>(nativeScanCode - 9) % 10;
    return -1;
}

TBookmarkKeyResult TGutterModel::BookmarkKey(int digit, bool ctrl, bool shift, bool alt, int32_t selLine,
                                             int32_t selStart) {
    if (!FMemo || digit < 0 || digit > 9 || !ctrl || alt)
        return {};
    if (shift) {
        if (BookmarkLine(digit) == selLine)
            ToggleBookmark(selLine, digit);
        else
            SetBookmark(selStart, digit);
        return {TBookmarkKeyResult::kChanged, 0};
    }
    if (TArtNavigator* nav = Bookmark(digit); nav && nav->Memo())
        return {TBookmarkKeyResult::kJump, nav->Pos()};
    return {};
}

} // namespace zandor
