// Exporting a text file without a window: a PNG or GIF picture of the whole text as the editor
// paints it, or the text itself as UTF-8 (.txt) or as a web page (.html).
#pragma once

#include "documents/FileEncoding.h"
#include "platform/FontValue.h"
#include "platform/ScreenCells.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zandor {

// What the export can write, by the output's extension.
enum class TExportKind { None, Png, Gif, Text, Html };

// The kind for a file name (letter case ignored); None for any other extension.
TExportKind ExportKindOf(std::string_view fileName);

// The look of the editor the text is shown in.
struct TExportLook {
    platform::FontValue Font;
    // The font for what the input's bytes hold (art, a media library's description, text), as the
    // window would choose it; unset: Font whatever they hold.
    std::function<platform::FontValue(TContentKind)> FontFor;
    platform::TColor Background = 0x004A0000;
    platform::TColor HighlightColor = platform::clLime;
    platform::TColor HighlightBackgnd = platform::clBlack;
    bool Convert = true;     // the "Convert Unix files" option
    bool Addresses = true;   // addresses are highlighted (the "Launch" option)
    std::string KeywordFile; // the keyword list highlighted in the text; empty: none
    // The Art menu's cells; a SAUCE record's letter spacing and aspect take their place.
    platform::TScreenCells Cells;
};

struct TExportJob {
    std::string Input;
    std::string Output;
    TExportLook Look;
    int Scale = 1;   // pictures: each pixel drawn scale x scale
    int Columns = 0; // pictures: word wrap at this many characters; 0 wraps nothing
    // The input's encoding and content as the user named them; unset: as its bytes show.
    std::optional<TFileEncoding> Encoding;
    std::optional<TContentKind> Content;
    // Nine-pixel cells and the DOS aspect as the user named them; unset: the input's SAUCE record,
    // else the look's. The aspect stretches the whole picture (see TRowStretch).
    std::optional<bool> NineDots;
    std::optional<bool> DosAspect;
    // A thumbnail: the first screen of the text (Thumbnail.h) as a PNG picture at most this many
    // pixels on its long side, whatever the scale; 0: the whole text.
    int Thumbnail = 0;
};

// A failure of the export, with a sentence for the user.
class TExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest scale offered; a picture four times the screen's is already very large.
inline constexpr int kMaxExportScale = 8;

// Reads the input as the window reads a file (its encoding, or the job's; a SAUCE record left out;
// the font its content opens in), renders it and writes the output in one step (a temporary file renamed over
// the target), so a failed export leaves nothing behind and an existing file untouched. Needs a
// GUI application object (pictures are painted by the editor control). Throws TExportError.
void RunExport(TExportJob job);

} // namespace zandor
