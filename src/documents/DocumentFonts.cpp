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
    // A stored screen font whose character set key is missing would otherwise read as ANSI.
    if (font.Name == platform::LargeScreenFontFace || font.Name == platform::TinyScreenFontFace)
        font.Charset = platform::OEM_CHARSET;
    host_.Editor().SetFont(font);
    host_.EditorFontChanged(false);
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
    host_.Editor().SetFont(*chosen);
    host_.EditorFontChanged(true);
    host_.WriteStoredFont(section, key, *chosen);
    host_.FocusEditor();
}

} // namespace zandor
