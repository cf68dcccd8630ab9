// The editors and texts the widget benchmarks share: controls shown on the offscreen platform in
// the 8x16 screen font, and lines of random text-mode art.
#pragma once

#include "editor/control/ArtMemo.h"
#include "platform/ScreenFonts.h"

#include <QCoreApplication>

#include <memory>
#include <random>
#include <string>

namespace zandor::bench {

// Lines of `columns` code page 437 art bytes (blocks, shades, box lines, some words), each ended by
// lineBreak, until the text holds at least `bytes`.
inline std::string ArtLines(size_t bytes, int columns, unsigned seed, const char* lineBreak = "\r\n") {
    static const unsigned char kArt[] = {0xDB, 0xDB, 0xB0, 0xB1, 0xB2, 0xDC, 0xDF, 0xC4, 0xCD, 0xBA,
                                         0xC9, 0xBB, 0xC8, 0xBC, ' ',  ' ',  ' ',  'A',  'r',  't'};
    std::string text;
    text.reserve(bytes + columns + 2);
    std::mt19937 rng(seed);
    while (text.size() < bytes) {
        for (int c = 0; c < columns; ++c)
            text += char(kArt[rng() % sizeof(kArt)]);
        text += lineBreak;
    }
    return text;
}

// A control as the main window shows art: the large screen font in white on dark blue, lines as
// high as the font, no borders or bars, sized for columns x rows characters.
inline std::unique_ptr<TArtMemo> MakeArtViewMemo(int columns, int rows) {
    auto memo = std::make_unique<TArtMemo>();
    memo->SetBorderStyle(bsNone);
    memo->SetScrollBars(ssNone);
    memo->SetWordWrap(false);
    memo->SetColor(0x004A0000);
    platform::FontValue font;
    font.Name = platform::LargeScreenFontFace;
    font.Height = 16;
    font.Charset = platform::OEM_CHARSET;
    font.Color = platform::clWhite;
    memo->SetFont(font);
    memo->SetLineHeight(16);
    memo->setFocusPolicy(Qt::NoFocus);
    memo->resize(columns * memo->AvgCharWidth() + memo->LeftMargin() + memo->RightMargin(),
                 rows * memo->LinePixels());
    memo->show();
    QCoreApplication::processEvents();
    memo->HandleNeeded();
    return memo;
}

// The editor the typing benchmarks use: no wrapping, scroll bars on, scrolling without animation
// and painting only when asked.
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
