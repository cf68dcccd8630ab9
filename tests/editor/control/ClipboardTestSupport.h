// Helpers of the clipboard tests: a clipboard that only records, and controls in the screen font
// (a fixed pitch, so that screen columns are characters) or in a font of the ANSI code page.
#pragma once

#include "PaintTestSupport.h"
#include "editor/control/ArtMemo.h"
#include "platform/Clipboard.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zandor::test {

class TFakeClipboard final : public platform::Clipboard {
public:
    bool Put(const platform::ClipboardContent& content) override {
        ++Puts;
        Content = content;
        return true;
    }
    bool HasText() const override { return !Content.Text.empty(); }
    std::u16string Text() const override { return Content.Text; }
    std::optional<std::string> Data(std::string_view mimeType) const override {
        for (const auto& [type, bytes] : Content.Formats)
            if (type == mimeType)
                return bytes;
        return std::nullopt;
    }
    // What another program leaves: its text alone.
    void HoldForeignText(std::u16string text) { Content = {std::move(text), {}}; }

    platform::ClipboardContent Content;
    int Puts = 0;
};

// A control with a window, laid out at once, reading the given clipboard (null: the desktop's).
inline std::unique_ptr<TArtMemo> ClipboardMemo(platform::Clipboard* clipboard, bool screenFont = true) {
    auto memo = std::make_unique<TArtMemo>();
    memo->SetUpdateMode(umImmediate);
    memo->SetWordWrap(false);
    platform::FontValue font;
    if (screenFont) {
        font.Name = platform::LargeScreenFontFace;
        font.Height = 16;
        font.Charset = platform::OEM_CHARSET;
    } else {
        font.Name = "DejaVu Sans Mono";
        font.Charset = platform::ANSI_CHARSET;
    }
    memo->SetFont(font);
    memo->resize(400, 200);
    memo->HandleNeeded();
    memo->SetClipboard(clipboard);
    return memo;
}

} // namespace zandor::test
