// The editor's font by the document's type, and the two font commands of the Options menu that
// choose and store it: "Set default Font Style and Color..." for every type, "Set Font Style and
// Color for" the current extension.
#pragma once

#include "platform/FontValue.h"

#include <string>

namespace zandor {

class TZandorHost;

// Refers to the window it serves.
class TDocumentFonts {
public:
    explicit TDocumentFonts(TZandorHost& host) : host_(host) {}
    TDocumentFonts(const TDocumentFonts&) = delete;
    TDocumentFonts& operator=(const TDocumentFonts&) = delete;

    // The editor font for a stored font key: a scratch font (the screen font "ZandorLarge" for
    // ".nfo" and ".diz"), then the user's default font "Options"/"Font5", then the font stored
    // under section/key; the screen fonts always show the OEM character set.
    void SetFont(const std::string& section, const std::string& key);

    // The font dialog, starting at the editor's font; on OK the editor takes the font, which is
    // stored at once under "Options"/"Font5" or under "Fonts" and the current extension.
    void OptionsSetFont1Click();
    void SetFont2Click();

private:
    void ChooseFont(const std::string& section, const std::string& key);
    // The one way a font reaches the editor: with the character set its face shows (the screen
    // fonts always OEM). The font as the editor took it.
    platform::FontValue ApplyFont(const platform::FontValue& font, bool chosenByUser);

    TZandorHost& host_;
};

} // namespace zandor
