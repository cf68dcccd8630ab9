#include "commands/EditorPicture.h"

#include "editor/control/ArtMemo.h"
#include "editor/control/ArtPainter.h"
#include "editor/control/MemoMessages.h"
#include "platform/Canvas.h"

#include <QPainter>

#include <algorithm>

namespace zandor {

namespace {

// The control paints into the canvas only while it is set; it goes back to the screen whatever
// happens during the paint.
class TRenderCanvasScope {
public:
    TRenderCanvasScope(TArtMemo& memo, platform::TCanvas& canvas, int width) : memo_(memo) {
        memo_.SetRenderCanvas(&canvas, width);
    }
    TRenderCanvasScope(const TRenderCanvasScope&) = delete;
    TRenderCanvasScope& operator=(const TRenderCanvasScope&) = delete;
    ~TRenderCanvasScope() { memo_.SetRenderCanvas(nullptr, 0); }

private:
    TArtMemo& memo_;
};

} // namespace

QImage PaintEditorPicture(TArtMemo& memo) {
    memo.HandleNeeded();
    // The control's client area is its text area: scroll bars are outside it.
    const int width = memo.TextAreaWidth();
    const int height = memo.ClientHeight();
    QImage picture(std::max(0, width), std::max(0, height), QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    // A render canvas gets the text without the window background below it.
    picture.fill(platform::ColorToQColor(memo.Color()));
    const int lineHeight = std::max(1, memo.LinePixels());
    const int top = memo.TopOrigin();
    // The lines the window shows, the partly visible ones at both ends included; a view scrolled
    // above the text starts its first line further down.
    const int32_t first = top > 0 ? top / lineHeight : 0;
    const int32_t last = (height - 1 + top) / lineHeight;
    if (last < first)
        return picture;
    const TRenderRecord record{first, last, -memo.LeftOrigin(), first * lineHeight - top, float(lineHeight)};
    QPainter painter(&picture);
    platform::TCanvas canvas(painter);
    TRenderCanvasScope scope(memo, canvas, width);
    memo.Perform(wm::PAINT, 0, reinterpret_cast<int64_t>(&record));
    return picture;
}

} // namespace zandor
