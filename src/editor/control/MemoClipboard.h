// The editor control's exchange with the clipboard: copy, cut and paste of stream selections and
// column blocks. Other programs get the text as Unicode, read through the character set of the
// control's font; another Zandor gets the exact bytes as well, and a marker when they are a block.
#pragma once

#include <string>
#include <string_view>

namespace zandor {

class TArtMemo;

namespace platform {
class Clipboard;
}

// Refers to the control it serves (which owns it) and to the clipboard it is given, which it does
// not own.
class TMemoClipboard {
public:
    // Marks the text as a column block: one byte, 2.
    static constexpr const char* BlockTypeFormat = "Borland IDE Block Type";
    // The text's exact bytes, whatever the font of the control that copied them.
    static constexpr const char* BytesFormat = "application/x-zandor-bytes";

    explicit TMemoClipboard(TArtMemo& memo);
    TMemoClipboard(const TMemoClipboard&) = delete;
    TMemoClipboard& operator=(const TMemoClipboard&) = delete;

    // The desktop's clipboard unless another was set (null: the desktop's again).
    platform::Clipboard& Clipboard() const;
    void SetClipboard(platform::Clipboard* clipboard) { FClipboard = clipboard; }
    // The character set the text is exchanged in: the OEM set for the screen fonts and every font
    // of the OEM character set, the ANSI code page for the others.
    int Charset() const;

    // Nothing without a selection; otherwise the block's rows or the selected text (format codes
    // removed with amoPlainClipboard while StaticFormat makes them codes; a block keeps them)
    // replace what the clipboard held.
    void Copy();
    // Copy, then the selection goes (as one edit). Nothing without a selection.
    void Cut();
    // The clipboard's text replaces the selection, or with amoBlockSelection and the block marker
    // goes in as a column (InsertBlock); typing around it is undone apart. Scrolling is the
    // caller's.
    void Paste();

    // Puts bytes on the clipboard as text (and marked as a block); false when that failed.
    bool PutText(std::string_view bytes, bool block);
    // The clipboard holds text that is not empty.
    bool HasText() const;
    // The clipboard's text as bytes: exact when another control copied it, else converted.
    std::string Text() const;

private:
    TArtMemo& FMemo;
    platform::Clipboard* FClipboard = nullptr;
};

} // namespace zandor
