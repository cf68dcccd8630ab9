// "Save as GIF image...": a picture of what the document editor shows, reduced to the web palette
// and written as a GIF file under a name the user picks.
#pragma once

#include <QImage>

#include <string>

namespace zandor {

class TZandorHost;

// The save dialog's filter for pictures.
inline constexpr const char* kGifFilter = "GIF graphic (*.gif)|*.gif|All files (*.*)|*.*";

// The name the save dialog proposes for the picture of a document: the file's name without its
// folder and extension, or "ZandorImage" for a new text, followed by ".gif". The dot that starts a
// hidden file's name starts no extension.
std::string ProposedGifName(const std::string& documentFile);

// Refers to the window it serves (which owns it).
class TGifExport {
public:
    explicit TGifExport(TZandorHost& host) : host_(host) {}
    TGifExport(const TGifExport&) = delete;
    TGifExport& operator=(const TGifExport&) = delete;

    // Takes the picture first (the dialog must not be in it), then asks for the name; a cancelled
    // dialog writes nothing. Any failure is shown in the error box of saving.
    void Saveasgraphic1Click();

    // The picture reduced to the web palette, with `background` as the GIF's background colour,
    // written to `fileName` in one step: an existing file is replaced only by a complete picture.
    // Throws on failure.
    static void WriteGif(const QImage& picture, QRgb background, const std::string& fileName);

private:
    TZandorHost& host_;
};

} // namespace zandor
