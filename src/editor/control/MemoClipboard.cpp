#include "editor/control/MemoClipboard.h"

#include "editor/control/ArtMemo.h"
#include "editor/engine/FormatCodes.h"
#include "editor/engine/NoOverwriteBracket.h"
#include "platform/Clipboard.h"
#include "platform/CodePages.h"
#include "platform/ScreenFonts.h"

#include <optional>

namespace zandor {

TMemoClipboard::TMemoClipboard(TArtMemo& memo) : FMemo(memo) {}

platform::Clipboard& TMemoClipboard::Clipboard() const {
    return FClipboard ? *FClipboard : platform::SystemClipboard();
}

int TMemoClipboard::Charset() const {
    const platform::FontValue& font = FMemo.Font();
    const bool oem = font.Charset == platform::OEM_CHARSET || font.Name == platform::LargeScreenFontFace ||
                     font.Name == platform::TinyScreenFontFace;
    return oem ? platform::OemCharset : platform::ANSI_CHARSET;
}

void TMemoClipboard::Copy() {
    if (FMemo.SelLength() == 0)
        return;
    const bool block = FMemo.BlockMode();
    std::string text = FMemo.SelText();
    // Without StaticFormat those bytes are characters of the text (art's hearts and smileys), and
    // a copy keeps them.
    if (!block && FMemo.Options().Has(amoPlainClipboard) && FMemo.StaticFormat())
        text = StripFormatCodes(text);
    PutText(text, block);
}

void TMemoClipboard::Cut() {
    if (FMemo.SelLength() == 0)
        return;
    Copy();
    FMemo.ClearSelection();
}

void TMemoClipboard::Paste() {
    TNoOverwriteBracket bracket(FMemo.Editor());
    const platform::Clipboard& clipboard = Clipboard();
    bool block = false;
    if (FMemo.Options().Has(amoBlockSelection)) {
        const std::optional<std::string> marker = clipboard.Data(BlockTypeFormat);
        block = marker && !marker->empty() && (*marker)[0] == 2;
    }
    const std::string text = Text();
    if (text.empty())
        return;
    // Typing before and after the paste does not join its undo step.
    FMemo.Editor().Undos().StartNewGroup();
    if (block)
        FMemo.InsertBlock(text);
    else
        FMemo.SetSelText(text);
    FMemo.Editor().Undos().StartNewGroup();
}

bool TMemoClipboard::PutText(std::string_view bytes, bool block) {
    platform::ClipboardContent content;
    content.Text = platform::TextToUnicode(bytes, Charset());
    content.Formats.emplace_back(BytesFormat, std::string(bytes));
    if (block)
        content.Formats.emplace_back(BlockTypeFormat, std::string(1, '\x02'));
    return Clipboard().Put(content);
}

bool TMemoClipboard::HasText() const {
    return Clipboard().HasText();
}

std::string TMemoClipboard::Text() const {
    const platform::Clipboard& clipboard = Clipboard();
    if (std::optional<std::string> bytes = clipboard.Data(BytesFormat))
        return *bytes;
    return platform::UnicodeToText(clipboard.Text(), Charset());
}

} // namespace zandor
