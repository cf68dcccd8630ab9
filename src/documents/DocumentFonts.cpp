#include "documents/DocumentFonts.h"

#include "editor/control/ArtMemo.h"
#include "host/ZandorHost.h"
#include "platform/ScreenFonts.h"

namespace zandor {

void TDocumentFonts::SetFont(const std::string& section, const std::string& key) {
    platform::FontValue font;
    font.Name = "MS Sans Serif";
    font.Size = 8;
    font.Color = platform::clWhite;
    font.Charset = platform::ANSI_CHARSET;
    if (key == ".nfo" || key == ".diz") {
        font.Name = platform::LargeScreenFontFace;
        font.Size = 9;
        font.Charset = platform::OEM_CHARSET;
    }
    host_.ReadStoredFont("Options", "Font5", platform::FontValue(font), font);
    host_.ReadStoredFont(section, key, platform::FontValue(font), font);
    // A stored font without its character set key reads as ANSI, even one of a screen face.
    ApplyFont(font, false);
}

platform::FontValue TDocumentFonts::ApplyFont(const platform::FontValue& font, bool chosenByUser) {
    const platform::FontValue shown = platform::WithFaceCharset(font);
    host_.Editor().SetFont(shown);
    host_.EditorFontChanged(chosenByUser);
    return shown;
}

void TDocumentFonts::OptionsSetFont1Click() {
    ChooseFont("Options", "Font5");
}

void TDocumentFonts::SetFont2Click() {
    // Offered only while the document has an extension.
    const std::string ext = host_.DocumentExt();
    if (!ext.empty())
        ChooseFont("Fonts", ext);
}

void TDocumentFonts::ChooseFont(const std::string& section, const std::string& key) {
    const std::optional<platform::FontValue> chosen = host_.ExecuteFontDialog(host_.Editor().Font());
    if (!chosen)
        return;
    // Stored as shown, so the next start reads what the user sees now.
    host_.WriteStoredFont(section, key, ApplyFont(*chosen, true));
    host_.FocusEditor();
}

} // namespace zandor
