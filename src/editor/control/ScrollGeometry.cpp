#include "editor/control/ScrollGeometry.h"

#include <algorithm>

namespace zandor {

TBarRange TScrollGeometry::VertBar() const {
    TBarRange bar;
    const int height = FCore.ClientHeight();
    // The unit keeps every position below 32760, whatever the text's height.
    bar.Unit = static_cast<int>(TextHeight() / 32760 + 1);
    bar.Page = std::max(1, (height - 3) / bar.Unit);
    bar.Max = std::max<int64_t>(TextHeight() / bar.Unit, height - LinePixels() - 1);
    if (!FAutoScrollBars && bar.Max < height)
        ++bar.Max;
    return bar;
}

TBarRange TScrollGeometry::HorzBar() const {
    TBarRange bar;
    const int margins = FCore.LeftMargin() + FCore.RightMargin();
    const int64_t total = int64_t(FCore.WidestWidth()) + margins;
    const int width = FCore.ClientWidth();
    bar.Unit = static_cast<int>(total / 32760 + 1);
    bar.Page = std::max(1, (width - margins) / bar.Unit);
    bar.Max = std::max<int64_t>(0, (total - width) / bar.Unit) + bar.Page - 1;
    if (FCore.WordWrap() && FCore.ColumnWrap() == 0)
        bar.Max = bar.Page - 1;
    if (!FAutoScrollBars)
        ++bar.Max;
    if (FCore.Alignment() != taLeftJustify)
        bar.Max = bar.Page;
    return bar;
}

int64_t TScrollGeometry::VertTarget(TScrollCode code, int64_t thumb) const {
    const int64_t lh = LinePixels();
    const int64_t top = FCore.TopOrigin();
    const int64_t topLine = TopLine();
    const int64_t lines = FCore.VisibleLineCount();
    const int64_t window = FCore.WindowLineCount();
    switch (code) {
    case sbLineUp:
        if (top <= 0)
            return top;
        // A view scrolled into a line first snaps to that line's top.
        return top % lh != 0 ? topLine * lh : top - lh;
    case sbLineDown:
        return topLine < lines - 1 && topLine < lines - window + 2 ? (topLine + 1) * lh : top;
    case sbPageUp:
        return std::max<int64_t>(topLine - window + 2, 0) * lh;
    case sbPageDown:
        return std::min((topLine + window - 1) * lh,
                        std::max<int64_t>(0, TextHeight() - FCore.ClientHeight() + 3));
    case sbThumbTrack: {
        int64_t target = thumb * VertBar().Unit;
        if (FNoFineScroll)
            target = (target + lh / 2) / lh * lh;
        return target;
    }
    case sbTop:
        return 0;
    case sbBottom:
        return std::max<int64_t>(FCore.LineCount() - window + 2, 0) * lh;
    default:
        return top;
    }
}

int64_t TScrollGeometry::HorzTarget(TScrollCode code, int64_t thumb) const {
    const int64_t left = FCore.LeftOrigin();
    const int64_t w = FCore.ClientWidth();
    switch (code) {
    case sbLineUp:
        return std::max<int64_t>(left - w / 20 - 1, 0);
    case sbLineDown:
        return left + w / 20 + 1;
    case sbPageUp:
        return std::max<int64_t>(left + w / 20 - w, 0);
    case sbPageDown:
        return left + w - w / 20;
    case sbThumbTrack:
        return thumb * HorzBar().Unit;
    case sbTop:
        return 0;
    case sbBottom:
        return std::max<int64_t>(int64_t(FCore.WidestWidth()) + FCore.LeftMargin() + FCore.RightMargin() -
                                     FCore.ClientWidth() + 2,
                                 0);
    default:
        return left;
    }
}

int64_t TScrollGeometry::WheelTarget(int lines) const {
    const int64_t lh = LinePixels();
    const int64_t last =
        std::max<int64_t>(0, int64_t(FCore.VisibleLineCount()) - FCore.WindowLineCount() + 1);
    const int64_t line = std::clamp<int64_t>(TopLine() - lines, 0, last);
    if (FNoFineScroll)
        return line * lh;
    return std::min(line * lh, std::max<int64_t>(TextHeight() - FCore.ClientHeight() + 3, 0));
}

TScrollGeometry::TOrigins TScrollGeometry::InViewTarget(int caretX, int32_t caretLine) const {
    TOrigins to{FCore.TopOrigin(), FCore.LeftOrigin()};
    const int width = FCore.ClientWidth();
    if ((FCore.WordWrap() && FCore.ColumnWrap() <= 0) ||
        (FCore.Alignment() != taLeftJustify && to.Left == 0)) {
        to.Left = 0;
    } else {
        const int64_t step = 5 * int64_t(FCore.AvgCharWidth());
        if (caretX >= width)
            to.Left += step * ((caretX - width) / step + 1);
        else if (caretX < 0)
            to.Left = std::max<int64_t>(0, to.Left + step * (caretX / step - 1));
    }
    const int64_t lh = LinePixels();
    const int64_t y = caretLine * lh - FCore.TopOrigin();
    const int64_t bottom = FCore.ClientHeight();
    if (y < 0) {
        to.Top = caretLine * lh;
    } else if (y > bottom - lh - 3) {
        const int64_t e = FNoFineScroll ? std::max<int64_t>(caretLine - FCore.WindowLineCount() + 2, 0) * lh
                                        : caretLine * lh + lh - bottom + 1 +
                                              (caretLine == FCore.VisibleLineCount() - 1 ? 2 : 0);
        to.Top = std::min(e, caretLine * lh);
    }
    return to;
}

int64_t TScrollAnimation::Advance(int64_t at, int64_t target, int64_t total, int64_t now) const {
    const int64_t remaining = target > at ? target - at : at - target;
    if (remaining == 0)
        return at;
    int64_t step = FTime > 0 ? (now - FStart) * remaining / (2 * int64_t(FTime))
                             : total * (now - FLast) / -int64_t(FTime);
    step = std::clamp<int64_t>(step, 1, remaining);
    return target > at ? at + step : at - step;
}

void TScrollAnimation::Step(int64_t now) {
    FTop = Advance(FTop, FToTop, FTotalTop, now);
    FLeft = Advance(FLeft, FToLeft, FTotalLeft, now);
    FLast = now;
}

TAutoScroll AutoScrollFor(int x, int y, int width, int height, bool draggingText) {
    TAutoScroll scroll;
    // While text is dragged the view only scrolls with the mouse close to the text area, and not
    // up or down while it is beside it.
    const bool beside = x < -3 || x > width + 3;
    if (y < -3 && (!draggingText || (y >= -26 && !beside)))
        scroll = {asUp, -y / 3};
    else if (y > height && (!draggingText || (y <= height + 24 && !beside)))
        scroll = {asDown, (y - height) / 3};
    else if (x < 0 && (!draggingText || x >= -23))
        scroll = {asLeft, -x / 3};
    else if (x > width && (!draggingText || x <= width + 24))
        scroll = {asRight, (x - width) / 3};
    return scroll;
}

int AutoScrollDelay(int level) {
    static constexpr int kDelays[] = {0, 400, 300, 200, 130, 78, 48, 30};
    return level >= 1 && level <= 7 ? kDelays[level] : 0;
}

} // namespace zandor
