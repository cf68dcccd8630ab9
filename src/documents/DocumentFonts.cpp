#include "documents/DocumentFonts.h"

#include "editor/control/ArtMemo.h"
#include "host/ZandorHost.h"
#include "platform/CodePages.h"
#include "platform/ScreenFonts.h"

namespace zandor {

TFontKey FontKeyFor(const std::string& ext, TContentKind content, bool storedForExtension) {
    if (!ext.empty() && storedForExtension)
        return {"Fonts", ext};
    const bool artExtension = ext == ".nfo" || ext == ".diz";
    if (content == TContentKind::Art)
        return {"Fonts", artExtension ? ext : ".nfo"};
    if (content == TContentKind::XmlLibrary && artExtension)
        return {"Options", "Font5"};
    if (ext.empty())
        return {"Options", "Font5"};
    return {"Fonts", ext};
}

void TDocumentFonts::SetFont(const std::string& section, const std::string& key) {
    ApplyFont(StoredFont(section, key), false);
}

TDocumentFonts::TDocumentFont TDocumentFonts::DocumentFont(const std::string& ext, TContentKind content,
                                                           bool ansi) {
    bool stored = false;
    if (!ext.empty()) {
        // A face no stored font can have tells whether one is stored.
        platform::FontValue probe;
        probe.Name = std::string("\x01");
        const platform::FontValue none = probe;
        host_.ReadStoredFont("Fonts", ext, none, probe);
        stored = probe.Name != none.Name;
    }
    const TFontKey key = FontKeyFor(ext, content, stored);
    platform::FontValue font = StoredFont(key.Section, key.Key);
    if (ansi && platform::ShownCharset(font) == platform::OemCharset) {
        font = StoredFont("Options", "Font5");
        if (platform::ShownCharset(font) == platform::OemCharset)
            font = StoredFont("", "");
        return {font, false};
    }
    // Art under another extension takes the font of ".nfo"; the window then takes its size too.
    return {font, ext != ".nfo" && key == TFontKey{"Fonts", ".nfo"}};
}

platform::FontValue DefaultDocumentFont(const std::string& key) {
    platform::FontValue font;
    font.Name = "MS Sans Serif";
    font.Size = 8;
    font.Color = platform::clWhite;
    font.Charset = platform::ANSI_CHARSET;
    if (key == ".nfo" || key == ".diz") {
        font.Name = platform::LargeScreenFontFace;
        font.Size = kArtFontPoints;
        font.Charset = platform::OEM_CHARSET;
    }
    return font;
}

platform::FontValue TDocumentFonts::StoredFont(const std::string& section, const std::string& key) {
    platform::FontValue font = DefaultDocumentFont(key);
    // No key: the program's own default font.
    if (section.empty())
        return font;
    host_.ReadStoredFont("Options", "Font5", platform::FontValue(font), font);
    host_.ReadStoredFont(section, key, platform::FontValue(font), font);
    // A stored font without its character set key reads as ANSI, even one of a screen face.
    return font;
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
