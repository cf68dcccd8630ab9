// What the line-number gutter shows and keeps, without the widget: the numbers of display lines,
// the width the numbers need, and the ten bookmarks, which are navigators registered with the
// editor so that they follow its edits.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zandor {

class TArtMemoCore;
class TArtNavigator;

// A bookmark number, 0 to 9.
using TBookmarkRange = int;
inline constexpr int kBookmarkCount = 10;

// What a bookmark key asked for.
struct TBookmarkKeyResult {
    enum TKind { kNone, kChanged, kJump } Kind = kNone;
    int32_t Pos = 0; // where the caret goes for kJump
};

// What an edit means for the gutter's picture.
enum class TGutterUpdate { None, Repaint, Resize };

// Owns the bookmark navigators (registered with the editor's core, not adopted by it, so that the
// slots stay the only owners) and a scratch navigator; refers to the core, which it does not own.
class TGutterModel {
public:
    // Accept starts true; the handler may refuse.
    using TBookmarkEvent = std::function<void(TBookmarkRange index, TArtNavigator& navigator, bool& accept)>;

    TGutterModel();
    ~TGutterModel();
    TGutterModel(const TGutterModel&) = delete;
    TGutterModel& operator=(const TGutterModel&) = delete;

    TArtMemoCore* Memo() const { return FMemo; }
    // Frees every bookmark and follows another editor's text (null: none); takes its counts.
    void SetMemo(TArtMemoCore* memo);

    bool IgnoreLastLineIfEmpty() const { return FIgnoreLastLineIfEmpty; }
    void SetIgnoreLastLineIfEmpty(bool value) { FIgnoreLastLineIfEmpty = value; }
    bool KeepBookmarks() const { return FKeepBookmarks; }
    // Off: every bookmark goes to the start of its line and goes away with the text around it.
    void SetKeepBookmarks(bool value);

    TBookmarkEvent OnSetBookmark;
    TBookmarkEvent OnClearBookmark;

    // ---- numbering
    // Visible display lines and paragraphs, without an empty last one when IgnoreLastLineIfEmpty.
    int32_t LineCount() const;
    int32_t ParagraphCount() const;
    // The counts at the last paint or change.
    int32_t CachedLineCount() const { return FLineCount; }
    int32_t CachedParagraphCount() const { return FParCount; }
    void CacheCounts();
    // The number shown beside visible display line i ("" for none): its line number, or with
    // paragraphNumbers its paragraph number on the paragraph's first line only. Counts from 1.
    std::string LineLabel(int32_t line, bool paragraphNumbers);
    // Characters the numbers of lineCount lines need, one spare included; a step before the count
    // reaches the next power of ten.
    static int AutoWidthChars(int32_t lineCount);

    // ---- bookmarks
    TArtNavigator* Bookmark(TBookmarkRange index) const;
    // The first bookmark on that line (SelLine's kind of line), -1 when none.
    int BookmarkAtLine(int32_t line);
    // The line of a bookmark, -1 when it is not set.
    int32_t BookmarkLine(TBookmarkRange index);
    // Removes bookmark index from the line, or sets it there when the line has none; false when
    // another bookmark stands on the line or nothing changed.
    bool ToggleBookmark(int32_t line, TBookmarkRange index);
    // Sets bookmark index at pos, or moves it there when it is set already.
    void SetBookmark(int32_t pos, TBookmarkRange index);
    // Removes every bookmark the clear handler lets go.
    void ClearBookmarks();
    // Remembers each bookmark's line (at a paint) to tell later whether one moved.
    void CacheBookmarkLines();

    // ---- following the editor
    // After the text changed: what the picture needs, the counts cached again when they changed.
    TGutterUpdate TextChanged(bool autoWidth);
    // A digit key (0 to 9) with its modifiers at the caret's line and position.
    TBookmarkKeyResult BookmarkKey(int digit, bool ctrl, bool shift, bool alt, int32_t selLine,
                                   int32_t selStart);
    // The digit of a main-keyboard digit key (0 to 9), -1 for other keys. With Shift held the key
    // arrives as the symbol the layout puts on the digit (Shift+3 is "#" on a US keyboard), so the
    // symbols of the US layout and the X key codes of the digit row count as well.
    static int BookmarkDigit(int qtKey, uint32_t nativeScanCode, bool keypad);
    // The editor is gone; its registry has let the navigators go already.
    void MemoDestroyed();

private:
    std::unique_ptr<TArtNavigator> NewNavigator(int32_t pos, TBookmarkRange index, bool& accepted);
    void Store(TBookmarkRange index, std::unique_ptr<TArtNavigator> navigator);
    void Free(TBookmarkRange index);
    void FreeAll();
    void FollowKeepBookmarks(TBookmarkRange index);
    void ToLineStart(TArtNavigator& navigator);
    static bool AtParagraphStart(TArtNavigator& navigator);

    TArtMemoCore* FMemo = nullptr;
    std::array<std::unique_ptr<TArtNavigator>, kBookmarkCount> FBookmarks;
    std::array<int32_t, kBookmarkCount> FBookmarkLines{};
    std::unique_ptr<TArtNavigator> FScratch;
    bool FIgnoreLastLineIfEmpty = false;
    bool FKeepBookmarks = true;
    int32_t FLineCount = 0;
    int32_t FParCount = 0;
};

} // namespace zandor
