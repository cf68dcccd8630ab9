#include "export/ArtExport.h"

#include "commands/GifWriter.h"
#include "commands/WebPalette.h"
#include "documents/DocumentLoad.h"
#include "documents/SauceRecord.h"
#include "documents/TextDecoding.h"
#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "export/PngEncoder.h"
#include "export/RowStretch.h"
#include "export/SerialWorker.h"
#include "export/TextExport.h"
#include "export/TextPicture.h"
#include "export/Thumbnail.h"
#include "keywords/HighlightList.h"
#include "platform/AtomicWrite.h"
#include "platform/Canvas.h"
#include "platform/DocumentFile.h"
#include "platform/ScreenFonts.h"

#include <QFontMetrics>
#include <QImage>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace zandor {

namespace {

// The editor holds at most 2 GB of positions; the export reads no more than the window would.
constexpr int64_t kMaxInput = int64_t(std::numeric_limits<int32_t>::max());
// GIF sizes are 16-bit.
constexpr int64_t kGifLimit = 65535;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The editor as the main window shows a document: no border, no line below the text, the
// addresses and the keywords in the highlight colours, a zero byte taken as a blank.
struct TExportEditor {
    TURLHighlighter Urls; // outlives the editor, which lets it go when it is destroyed
    std::unique_ptr<TArtMemo> Memo;

    TExportEditor(const TExportJob& job, std::string_view text, bool nineDots) {
        Memo = std::make_unique<TArtMemo>();
        TArtMemo& m = *Memo;
        m.SetNullReplacement(kZeroByteReplacement);
        m.SetBorderStyle(bsNone);
        m.SetScrollBars(ssNone);
        m.SetColor(job.Look.Background);
        m.SetScreenCells({.NineDots = nineDots});
        m.SetFont(job.Look.Font);
        // The main window sets the line height to the font's own, so block rows touch.
        const QFontMetrics metrics(platform::ToQFont(job.Look.Font, 1, m.ScreenCells()));
        m.SetLineHeight(metrics.ascent() + metrics.descent());
        m.SetHighlightColor(job.Look.HighlightColor);
        m.SetHighlightBackgnd(job.Look.HighlightBackgnd);
        platform::TPenValue noEndMark = m.EndOfTextMark();
        noEndMark.Style = platform::psClear;
        m.SetEndOfTextMark(noEndMark);
        m.SetWordWrap(job.Columns > 0);
        m.SetColumnWrap(std::max(0, job.Columns));
        m.SetHighlighter(job.Look.Addresses ? &Urls : nullptr);
        ApplyHighlightList(m, Urls, job.Look.KeywordFile);
        TMemoryStream stream(text);
        m.LoadFromStream(stream);
    }
};

// The input's text as the window reads it (encoding, SAUCE record split off), and the look with
// the font its content opens in.
TLoadedText TextOf(TExportJob& job, platform::TFileBytes bytes) {
    TLoadOptions options;
    options.Repair = job.Look.Convert;
    options.Encoding = job.Encoding;
    options.Charset = [&job](const TFileEncoding&, TContentKind found) {
        if (job.Look.FontFor)
            job.Look.Font = job.Look.FontFor(job.Content.value_or(found));
        return platform::ShownCharset(job.Look.Font);
    };
    TLoadedText loaded = DecodeFileBytes(std::move(bytes), options);
    if (!loaded.Problem.empty())
        throw TExportError("Cannot read \"" + job.Input + "\": " + loaded.Problem);
    return loaded;
}

std::string PngBytes(TTextPicture& picture, int scale, bool dosAspect) {
    const int64_t width = int64_t(picture.Width()) * scale;
    const TRowStretch rows(picture.Height(), scale, dosAspect);
    const int64_t height = rows.Height();
    if (width > std::numeric_limits<int32_t>::max() || height > std::numeric_limits<int32_t>::max())
        throw TExportError("The picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels, more than a PNG file holds.");
    // Text art has a handful of colours, mostly four or fewer; when a row brings more than the depth
    // holds the rows go again with more bits, and a smoothed font's many shades end in true colour.
    // The rows of one band are compressed on a thread of their own while the next band is painted.
    for (int bits : {2, 4, 8, 0}) {
        try {
            TPngEncoder png(int(width), height, scale, bits);
            TSerialWorker encoder; // ends before the encoder its jobs use
            int64_t first = 0;     // the band's first row in the picture
            picture.PaintAllBands([&](const TTextPicture::TBand& band) {
                encoder.Post([&png, &rows, band, first] {
                    for (int y = 0; y < band.Rows; ++y)
                        png.AddRow(band.Row(y), rows.Repeats(first + y));
                });
                first += band.Rows;
            });
            encoder.Wait();
            return png.Finish();
        } catch (const TTooManyColours&) {
        }
    }
    throw TExportError("The picture could not be encoded.");
}

std::string GifBytes(TTextPicture& picture, int scale, bool dosAspect, platform::TColor background) {
    const int64_t width = int64_t(picture.Width()) * scale;
    const TRowStretch rows(picture.Height(), scale, dosAspect);
    const int64_t height = rows.Height();
    if (width > kGifLimit || height > kGifLimit)
        throw TExportError("The picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels; a GIF file holds at most 65535 x 65535. Export to PNG instead.");
    QImage whole(picture.Width(), int(picture.Height()), QImage::Format_RGB32);
    if (whole.isNull())
        throw TExportError("Not enough memory for the picture.");
    int y = 0;
    picture.PaintAll([&](const QRgb* row) {
        std::memcpy(whole.scanLine(y++), row, size_t(picture.Width()) * sizeof(QRgb));
    });
    const QImage scaled = ScaledPixelForPixel(whole, scale, rows);
    whole = QImage();
    return EncodeGif(ReduceToWebPalette(scaled, platform::ColorToQColor(background).rgb()));
}

// The first screen of the text: its first lines (a break is CR LF, LF or CR, as the editor takes
// them), each cut to the columns a thumbnail can show, so a huge file or a line of a megabyte
// costs no more than a screen.
std::string FirstScreen(std::string_view text) {
    std::string screen;
    size_t at = 0;
    for (int line = 0; line < kThumbnailLines && at <= text.size(); ++line) {
        size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        if (line > 0)
            screen += "\r\n";
        screen.append(text.substr(at, std::min(end - at, size_t(kThumbnailColumns))));
        if (end >= text.size())
            break;
        at = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return screen;
}

// The first screen drawn by an editor of its own, brought to the thumbnail's size.
std::string ThumbnailBytes(const TExportJob& job, std::string_view text, platform::TScreenCells cells) {
    const std::string screen = FirstScreen(text);
    TExportEditor first(job, screen, cells.NineDots);
    TTextPicture picture(*first.Memo);
    if (picture.Height() > 32767)
        throw TExportError("The first screen is too tall for a thumbnail.");
    QImage whole(picture.Width(), int(picture.Height()), QImage::Format_RGB32);
    if (whole.isNull())
        throw TExportError("Not enough memory for the picture.");
    int y = 0;
    picture.PaintAll([&](const QRgb* row) {
        std::memcpy(whole.scanLine(y++), row, size_t(picture.Width()) * sizeof(QRgb));
    });
    if (cells.DosAspect)
        whole = ScaledPixelForPixel(whole, 1, TRowStretch(whole.height(), 1, true));
    const QImage thumbnail = ThumbnailOf(whole, job.Thumbnail);
    TPngEncoder png(thumbnail.width(), thumbnail.height(), 1, 0);
    for (int row = 0; row < thumbnail.height(); ++row)
        png.AddRow(reinterpret_cast<const QRgb*>(thumbnail.constScanLine(row)));
    return png.Finish();
}

} // namespace

TExportKind ExportKindOf(std::string_view fileName) {
    const std::string name = Lower(BaseName(std::string(fileName)));
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return TExportKind::None;
    const std::string ext = name.substr(dot);
    if (ext == ".png")
        return TExportKind::Png;
    if (ext == ".gif")
        return TExportKind::Gif;
    if (ext == ".txt")
        return TExportKind::Text;
    if (ext == ".html" || ext == ".htm")
        return TExportKind::Html;
    return TExportKind::None;
}

void RunExport(TExportJob job) {
    const TExportKind kind = ExportKindOf(job.Output);
    if (kind == TExportKind::None)
        throw TExportError("Unknown output type \"" + job.Output + "\": use .png, .gif, .txt or .html.");
    if (job.Thumbnail != 0 &&
        (kind != TExportKind::Png || job.Thumbnail < 1 || job.Thumbnail > kMaxThumbnailSize))
        throw TExportError("A thumbnail is a .png picture from 1 to " + std::to_string(kMaxThumbnailSize) +
                           " pixels.");
    if (job.Scale < 1 || job.Scale > kMaxExportScale)
        throw TExportError("The scale must be a whole number from 1 to " + std::to_string(kMaxExportScale) +
                           ".");
    platform::TReadDocument read = platform::ReadDocumentFile(job.Input, kMaxInput);
    if (!read.Problem.empty())
        throw TExportError("Cannot read \"" + job.Input + "\": " + read.Problem);
    TLoadedText loaded = TextOf(job, std::move(read.Bytes));
    const std::string text(loaded.Bytes.View());
    platform::TScreenCells cells = loaded.Sauce ? SauceCells(*loaded.Sauce, job.Look.Cells) : job.Look.Cells;
    // A stretch nobody asked for here follows the window, which stretches from x2 on only.
    cells.DosAspect = cells.DosAspect && job.Scale >= 2;
    cells.NineDots = job.NineDots.value_or(cells.NineDots);
    cells.DosAspect = job.DosAspect.value_or(cells.DosAspect);
    loaded = {};

    std::string bytes;
    try {
        if (job.Thumbnail > 0) {
            bytes = ThumbnailBytes(job, text, cells);
        } else {
            TExportEditor editor(job, text, cells.NineDots);
            TArtMemo& memo = *editor.Memo;
            if (kind == TExportKind::Text || kind == TExportKind::Html) {
                std::vector<std::string> lines;
                lines.reserve(size_t(memo.ParagraphCount()));
                for (int32_t i = 0; i < memo.ParagraphCount(); ++i)
                    lines.push_back(memo.GetParagraph(i));
                const std::string utf8 = LinesToUtf8(lines, job.Look.Font.Charset);
                bytes = kind == TExportKind::Text
                            ? utf8
                            : HtmlPage(utf8, BaseName(job.Input), job.Look.Font.Color, job.Look.Background);
            } else {
                TTextPicture picture(memo);
                bytes = kind == TExportKind::Png
                            ? PngBytes(picture, job.Scale, cells.DosAspect)
                            : GifBytes(picture, job.Scale, cells.DosAspect, job.Look.Background);
            }
        }
    } catch (const TExportError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw TExportError("Not enough memory to export \"" + job.Input + "\".");
    } catch (const std::exception& e) {
        throw TExportError(std::string("The export failed: ") + e.what());
    }
    try {
        // Made for sharing: readable by all, like the files other programs create.
        platform::WriteFileAtomically(job.Output, bytes, 0644, true);
    } catch (const std::exception& e) {
        throw TExportError(e.what());
    }
}

} // namespace zandor
