// The line-number gutter: a light widget beside an editor control that shows the number of every
// visible display line (or paragraph), the bookmark images and whatever an owner-draw handler
// supplies. It follows the editor through its notification sinks and scrolls by moving its own
// pixels; it never repaints the editor.
#pragma once

#include "editor/addons/GutterModel.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/MemoCore.h"
#include "editor/engine/NotificationSink.h"
#include "platform/Colors.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

namespace zandor {

// Owns its model (and through it the bookmark navigators); refers to the editor, which it does not
// own and forgets when the editor is destroyed.
class TArtGutter : public QWidget, public NotificationSink {
    Q_OBJECT
public:
    // The handler may change the text and set a picture; both keep what it left from line to line.
    using TpgDrawItemEvent =
        std::function<void(TArtGutter* sender, int32_t lineIndex, std::string& text, QImage& graphic)>;
    using TpgBookmarkEvent = std::function<void(TArtGutter* sender, TBookmarkRange bookmarkIndex,
                                                TArtNavigator& navigator, bool& accept)>;

    explicit TArtGutter(QWidget* parent = nullptr);
    ~TArtGutter() override;

    TArtMemo* ArtMemo() const { return FMemo; }
    void SetArtMemo(TArtMemo* memo);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool AutoWidth() const { return FAutoWidth; }
    void SetAutoWidth(bool value);
    bool Bookmarks() const { return FBookmarks; }
    void SetBookmarks(bool value) { FBookmarks = value; }
    bool IgnoreLastLineIfEmpty() const { return FModel.IgnoreLastLineIfEmpty(); }
    void SetIgnoreLastLineIfEmpty(bool value);
    bool KeepBookmarks() const { return FModel.KeepBookmarks(); }
    void SetKeepBookmarks(bool value) { FModel.SetKeepBookmarks(value); }
    bool LineNumbers() const { return FLineNumbers; }
    void SetLineNumbers(bool value);
    bool ParagraphNumbers() const { return FParagraphNumbers; }
    void SetParagraphNumbers(bool value);
    bool RightBorder() const { return FRightBorder; }
    void SetRightBorder(bool value);
    platform::TColor Color() const { return FColor; }
    void SetColor(platform::TColor value);
    platform::TColor FontColor() const { return FFontColor; }
    void SetFontColor(platform::TColor value);

    void SetOnDrawItem(TpgDrawItemEvent handler);
    TpgBookmarkEvent OnSetBookmark;
    TpgBookmarkEvent OnClearBookmark;

    // The editor's display line under the mouse at its last move over the gutter; -1 without one.
    int32_t MouseLine() const { return FMouseLine; }

    virtual bool ToggleBookmark(int32_t line, TBookmarkRange index);
    virtual void SetBookmark(int32_t pos, TBookmarkRange index);
    int BookmarkAtLine(int32_t line) { return FModel.BookmarkAtLine(line); }
    int32_t BookmarkLine(TBookmarkRange index) { return FModel.BookmarkLine(index); }
    void ClearBookmarks();

    // Pixel width of "0" in the gutter's font; 0 until measured.
    int DigitWidth() const { return FDigitWidth; }
    // The ten 10 x 10 bookmark images side by side, white where they are transparent; shared by
    // every gutter.
    static const QImage& BookmarkImages();

    void Notify(TArtMemoCore* sender, int32_t codes) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Detach();
    void MemoDestroyed();
    void MeasureDigit();
    void AutoResize();
    void AfterMessage();
    int MemoClientTop() const;

    TGutterModel FModel;
    TArtMemo* FMemo = nullptr;
    QMetaObject::Connection FDestroyed;
    TAlignment FAlignment = taCenter;
    bool FAutoWidth = false;
    bool FBookmarks = true;
    bool FLineNumbers = true;
    bool FParagraphNumbers = false;
    bool FRightBorder = true;
    platform::TColor FColor = platform::clBtnFace;
    platform::TColor FFontColor = platform::clWindowText;
    TpgDrawItemEvent FOnDrawItem;
    int FDigitWidth = 0;
    int32_t FMouseLine = -1;
    // What the last paint saw of the editor.
    int FTopOrigin = 0;
    bool FWordWrap = false;
    // The modifiers of the key the editor is handling, seen before the editor gets it.
    Qt::KeyboardModifiers FKeyModifiers;
    int FKeyDigit = -1;
};

} // namespace zandor
