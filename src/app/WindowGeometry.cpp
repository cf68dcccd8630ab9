#include "app/WindowGeometry.h"

#include "platform/IniFile.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace zandor {

TDesktop TDesktop::System() {
    TDesktop desktop;
    desktop.WorkArea = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    };
    desktop.MonitorCount = [] { return static_cast<int>(QGuiApplication::screens().size()); };
    return desktop;
}

std::string WindowSectionFor(const std::string& path) {
    const std::string ext = LowerExtension(path);
    if (ext.size() <= 3)
        return kOtherSection;
    // An extension that could not come back from the settings as a section name (one holding "]"
    // or a line break), or that is the name of one of the program's own sections, shares "Other".
    const std::string section = ext.substr(1);
    if (!platform::IniFile::CanStoreSection(section))
        return kOtherSection;
    for (const char* own : {"options", "info", "find", "fonts", "recent files"})
        if (section == own)
            return kOtherSection;
    return section;
}

QSize DefaultWindowSize(const std::string& section, const QRect& workArea) {
    const int height = section == "diz" ? 290 : std::min(469, BottomOf(workArea) - 200);
    const int width = std::min(687, RightOf(workArea) - 200);
    return {width, height};
}

QPoint DefaultWindowPos(const QSize& size, const QRect& workArea) {
    // Integer division rounds toward zero, as the stored defaults always have.
    return {(RightOf(workArea) - size.width()) / 2, (BottomOf(workArea) - size.height()) / 2};
}

int WidestLineChars(std::string_view text) {
    int longest = 34;
    int count = 0;
    for (const char c : text) {
        if (c == '\r') {
            if (count > longest && count < 133)
                longest = count;
            count = 0;
        } else if (c != '\n') {
            ++count;
        }
    }
    return longest;
}

int WidestLineChars(int paragraphCount, const std::function<std::string(int)>& paragraph) {
    constexpr int kMost = 132;
    // A line break joins every paragraph to the next, so each is measured on its own, with its CR;
    // the last one has no CR after it (only lines before a CR inside it count).
    int longest = WidestLineChars(std::string_view());
    auto measure = [&](int i) {
        std::string line = paragraph(i);
        if (i < paragraphCount - 1)
            line += '\r';
        longest = std::max(longest, WidestLineChars(line));
        return longest >= kMost;
    };
    if (paragraphCount <= kWidestLineSample) {
        for (int i = 0; i < paragraphCount; ++i)
            if (measure(i))
                break;
        return longest;
    }
    constexpr int kTop = kWidestLineSample / 2;
    for (int i = 0; i < kTop; ++i)
        if (measure(i))
            return longest;
    const int64_t rest = paragraphCount - kTop;
    constexpr int kSpread = kWidestLineSample - kTop;
    for (int k = 0; k < kSpread; ++k)
        if (measure(kTop + static_cast<int>(rest * k / kSpread)))
            break;
    return longest;
}

int AutoWindowWidth(int widestChars, int avgCharWidth, int gutterWidth) {
    return std::max(kMinAutoWidth, avgCharWidth * widestChars + 53 + gutterWidth);
}

int AutoHeightAvailable(const QRect& workArea, int windowTop, int chrome) {
    const int available = BottomOf(workArea) - windowTop - chrome - 40;
    return available < 100 ? 150 : available;
}

int AutoWindowRows(int available, int lineHeight, int paragraphCount) {
    const int rows = available / std::max(1, lineHeight);
    return std::max(14, std::min(rows, paragraphCount));
}

QPoint KeepInside(const QRect& window, const QRect& workArea) {
    int left = window.x();
    int top = window.y();
    if (top + window.height() > BottomOf(workArea))
        top = BottomOf(workArea) - window.height();
    if (left + window.width() > RightOf(workArea))
        left = RightOf(workArea) - window.width();
    return {std::max(0, left), std::max(0, top)};
}

std::array<ButtonSpan, 5> BottomButtonSpans(int panelWidth) {
    const int copy = 85;
    const int w = std::clamp(panelWidth - 215, 40, 70);
    const int exit = panelWidth - (copy + 3 * w) - 4;
    std::array<ButtonSpan, 5> spans{};
    const int widths[5] = {copy, w, w, w, exit};
    int x = 0;
    for (size_t i = 0; i < spans.size(); ++i) {
        spans[i] = {x, widths[i]};
        x += widths[i] + 1;
    }
    return spans;
}

} // namespace zandor
