// The editor's font by the document's type, and the two font commands of the Options menu that
// choose and store it: "Set default Font Style and Color..." for every type, "Set Font Style and
// Color for" the current extension.
#pragma once

#include "documents/FileEncoding.h"
#include "platform/FontValue.h"

#include <string>

namespace zandor {

class TZandorHost;

// Where a document's font is stored: the settings section and key.
struct TFontKey {
    std::string Section;
    std::string Key;
    friend bool operator==(const TFontKey&, const TFontKey&) = default;
};

// The font key of a document by its extension (lower case, with the dot; empty for none) and what
// its bytes hold: a font the user stored for the extension always; otherwise art opens in the font
// of ".nfo", a media library's description in an ".nfo" or ".diz" in the default font, and any
// other text in the font of its extension ("Options"/"Font5" when it has none).
TFontKey FontKeyFor(const std::string& ext, TContentKind content, bool storedForExtension);

// The size the screen font opens art in: 12 points are 16 pixels, the VGA's 8x16 cell.
inline constexpr int kArtFontPoints = 12;

// The font a document of the key (an extension such as ".nfo", or "Font5") starts from before any
// stored font: the screen font "ZandorLarge" for ".nfo" and ".diz", "MS Sans Serif" 8 otherwise.
platform::FontValue DefaultDocumentFont(const std::string& key);

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
    // The font SetFont would give for the key, not applied.
    platform::FontValue StoredFont(const std::string& section, const std::string& key);
    // The font of a document (FontKeyFor), not applied, and whether it is the font of ".nfo" chosen
    // for art. With ansi the font shows the ANSI code page: where the key's font is a screen face or
    // OEM font, the default font is taken instead.
    struct TDocumentFont {
        platform::FontValue Font;
        bool Art = false;
    };
    TDocumentFont DocumentFont(const std::string& ext, TContentKind content, bool ansi = false);
    // Gives the editor the font (with the character set its face shows).
    void Apply(const platform::FontValue& font) { ApplyFont(font, false); }

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
