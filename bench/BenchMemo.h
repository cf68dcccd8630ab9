// The editor the widget benchmarks type into: shown on the offscreen platform in the 8x16 screen
// font, no wrapping, scroll bars on, scrolling without animation and painting only when asked.
#pragma once

#include "editor/control/ArtMemo.h"
#include "platform/ScreenFonts.h"

#include <QCoreApplication>

#include <memory>

namespace zandor::bench {

inline std::unique_ptr<TArtMemo> MakeScreenFontMemo() {
    auto memo = std::make_unique<TArtMemo>();
    memo->SetBorderStyle(bsNone);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    memo->SetUpdateMode(umOnNeed);
    memo->SetScrollTime(0);
    platform::FontValue font;
    font.Name = platform::LargeScreenFontFace;
    font.Height = 16;
    font.Charset = platform::OEM_CHARSET;
    memo->SetFont(font);
    memo->resize(800, 600);
    memo->show();
    memo->setFocus();
    QCoreApplication::processEvents();
    memo->HandleNeeded();
    return memo;
}

} // namespace zandor::bench
