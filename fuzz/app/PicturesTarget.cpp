// The pictures and texts the program writes for other programs, read back by other programs'
// code: PNG files of random small pictures at every depth and scale through libpng, GIF files of
// pictures in several formats reduced to the web palette through giflib, and the UTF-8 text and web
// page of `zandor --export` decoded to the bytes the window shows for the same file.
#include "AppFuzzSupport.h"
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"

#include "commands/GifWriter.h"
#include "commands/WebPalette.h"
#include "documents/DocumentLoad.h"
#include "documents/TextDecoding.h"
#include "editor/control/ArtMemo.h"
#include "export/ArtExport.h"
#include "export/PngEncoder.h"
#include "platform/CodePages.h"
#include "platform/FontValue.h"
#include "platform/ScreenFonts.h"

#include <QImage>

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

namespace zandor::fuzz {

namespace {

// Pixels and colours from a few input bytes: a small generator seeded by them.
struct Random {
    uint64_t State;
    explicit Random(uint64_t seed) : State(seed * 0x9E3779B97F4A7C15ull + 1) {}
    // One call per value in an expression: the order of two calls in one would be the compiler's.
    uint32_t Next() {
        State ^= State << 13;
        State ^= State >> 7;
        State ^= State << 17;
        return uint32_t(State >> 11);
    }
};

// ---- PNG ------------------------------------------------------------------------------------------

struct DecodedPng {
    int Width = 0, Height = 0;
    bool Indexed = false;
    unsigned Entries = 0;
    std::vector<uint8_t> Rgb;
};

DecodedPng ReadPng(const std::string& file) {
    DecodedPng out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size()))
        FuzzFail(std::string("libpng cannot read the file: ") + image.message);
    out.Width = int(image.width);
    out.Height = int(image.height);
    out.Indexed = image.format & PNG_FORMAT_FLAG_COLORMAP;
    out.Entries = image.colormap_entries;
    image.format = PNG_FORMAT_RGB;
    out.Rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.Rgb.data(), 0, nullptr))
        FuzzFail(std::string("libpng cannot read the pixels: ") + image.message);
    png_image_free(&image);
    return out;
}

void CheckPng(FuzzInput& in) {
    const bool large = in.Byte() == 0xFF; // true colour noise past the size of one IDAT chunk
    const int width = large ? 600 : in.Range(1, 48);
    const int rows = large ? 600 : in.Range(1, 24);
    const int scale = large ? 1 : in.Range(1, 5);
    const int colours = large ? 1 << 24 : in.Range(1, 300);
    const int firstDepth = large ? 4 : int(in.Below(5));
    Random random(ReadNumber(in, 2));
    std::vector<QRgb> palette(static_cast<size_t>(std::min(colours, 300)));
    for (QRgb& c : palette)
        c = 0xFF000000u | (random.Next() & 0xFFFFFF);
    std::vector<std::vector<QRgb>> picture(static_cast<size_t>(rows),
                                           std::vector<QRgb>(static_cast<size_t>(width)));
    for (auto& row : picture)
        for (QRgb& pixel : row)
            pixel =
                large ? 0xFF000000u | (random.Next() & 0xFFFFFF) : palette[random.Next() % palette.size()];

    // The colours the palette must hold (the large picture goes to true colour at once).
    std::unordered_set<QRgb> all;
    if (!large)
        for (const auto& row : picture)
            all.insert(row.begin(), row.end());

    // As the exporter does: the rows go again with more bits whenever a colour does not fit.
    const int depths[] = {1, 2, 4, 8, 0};
    std::string file;
    int depth = 0;
    for (int d = firstDepth; d < 5 && file.empty(); ++d) {
        depth = depths[d];
        try {
            TPngEncoder png(width * scale, int64_t(rows) * scale, scale, depth);
            for (const auto& row : picture)
                png.AddRow(row.data());
            file = png.Finish();
        } catch (const TTooManyColours&) {
            FuzzCheck(depth != 0, "true colour refused a colour");
            FuzzCheck(all.size() > (size_t(1) << depth), "a depth that holds every colour refused one");
        }
    }
    FuzzCheck(!file.empty(), "no depth took the picture");
    const DecodedPng read = ReadPng(file);
    FuzzCheck(read.Width == width * scale && read.Height == rows * scale, "the file has another size");
    if (depth != 0)
        FuzzCheck(read.Indexed && read.Entries == all.size(), "the palette is not the picture's colours");
    for (int y = 0; y < read.Height; ++y)
        for (int x = 0; x < read.Width; ++x) {
            const uint8_t* p = &read.Rgb[(size_t(y) * size_t(read.Width) + size_t(x)) * 3];
            const QRgb want = picture[size_t(y / scale)][size_t(x / scale)];
            if (qRgb(p[0], p[1], p[2]) != (want | 0xFF000000u))
                FuzzFail("the PNG has another pixel at " + std::to_string(x) + "," + std::to_string(y));
        }
}

// ---- GIF ------------------------------------------------------------------------------------------

struct MemoryReader {
    const std::string& Bytes;
    size_t At = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto& reader = *static_cast<MemoryReader*>(gif->UserData);
    const size_t n = std::min(size_t(std::max(length, 0)), reader.Bytes.size() - reader.At);
    std::memcpy(buffer, reader.Bytes.data() + reader.At, n);
    reader.At += n;
    return int(n);
}

QRgb ModelWebColor(QRgb c) {
    const auto level = [](int v) { return (v + 3) / 51 * 51; };
    return qRgb(level(qRed(c)), level(qGreen(c)), level(qBlue(c)));
}

void CheckGif(FuzzInput& in) {
    const int width = in.Range(0, 40);
    const int height = in.Range(0, 30);
    const int kind = in.Below(5);
    const int colours = in.Range(1, 64);
    Random random(ReadNumber(in, 2));
    const QRgb background = 0xFF000000u | ReadNumber(in, 3);
    std::vector<QRgb> palette(static_cast<size_t>(colours));
    for (QRgb& c : palette)
        c = 0xFF000000u | (random.Next() & 0xFFFFFF);
    if (in.Flag())
        palette[0] = background;

    // The colour each pixel has, worked out here from the bytes put into the picture.
    std::vector<QRgb> expected(size_t(width) * size_t(height));
    QImage image;
    switch (kind) {
    case 0:
    case 1:
        image = QImage(width, height, kind == 0 ? QImage::Format_RGB32 : QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                // A stray alpha: the picture of the screen has none, but nothing may depend on it.
                const QRgb rgb = palette[random.Next() % palette.size()] & 0xFFFFFF;
                const QRgb c = rgb | random.Next() << 24;
                reinterpret_cast<QRgb*>(image.scanLine(y))[x] = kind == 0 ? c | 0xFF000000u : c;
                expected[size_t(y * width + x)] = c;
            }
        break;
    case 2:
        image = QImage(width, height, QImage::Format_RGB888);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const QRgb c = palette[random.Next() % palette.size()];
                uchar* p = image.scanLine(y) + 3 * x;
                p[0] = uchar(qRed(c));
                p[1] = uchar(qGreen(c));
                p[2] = uchar(qBlue(c));
                expected[size_t(y * width + x)] = c;
            }
        break;
    case 3: {
        image = QImage(width, height, QImage::Format_Indexed8);
        image.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const auto index = uint8_t(random.Next() % palette.size());
                image.scanLine(y)[x] = index;
                expected[size_t(y * width + x)] = palette[index];
            }
        break;
    }
    default:
        image = QImage(width, height, QImage::Format_Grayscale8);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const auto g = uint8_t(palette[random.Next() % palette.size()] & 0xFF);
                image.scanLine(y)[x] = g;
                expected[size_t(y * width + x)] = qRgb(g, g, g);
            }
    }

    const TIndexedPicture reduced = ReduceToWebPalette(image, background);
    std::string file;
    try {
        file = EncodeGif(reduced);
    } catch (const TGifError&) {
        FuzzCheck(width == 0 || height == 0, "a picture was refused");
        return;
    }
    FuzzCheck(width > 0 && height > 0, "an empty picture was written");

    MemoryReader reader{file};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (!gif)
        FuzzFail("giflib cannot open the file");
    if (DGifSlurp(gif) == GIF_ERROR) {
        DGifCloseFile(gif, &error);
        FuzzFail("giflib cannot read the file");
    }
    const bool shaped = gif->SWidth == width && gif->SHeight == height && gif->ImageCount == 1 &&
                        gif->SColorMap && !gif->SavedImages[0].ImageDesc.ColorMap &&
                        gif->SavedImages[0].ImageDesc.Width == width &&
                        gif->SavedImages[0].ImageDesc.Height == height;
    std::vector<QRgb> table;
    std::vector<uint8_t> indexes;
    int backgroundIndex = -1;
    if (shaped) {
        for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType& c = gif->SColorMap->Colors[i];
            table.push_back(qRgb(c.Red, c.Green, c.Blue));
        }
        const SavedImage& frame = gif->SavedImages[0];
        indexes.assign(frame.RasterBits, frame.RasterBits + size_t(width) * size_t(height));
        backgroundIndex = gif->SBackGroundColor;
    }
    DGifCloseFile(gif, &error);
    FuzzCheck(shaped, "the GIF is not one image of the picture's size with one colour table");

    std::set<QRgb> used;
    std::set<uint8_t> usedIndexes;
    for (size_t i = 0; i < indexes.size(); ++i) {
        FuzzCheck(indexes[i] < table.size(), "a pixel names no colour of the table");
        if (table[indexes[i]] != ModelWebColor(expected[i]))
            FuzzFail("the GIF has another colour at pixel " + std::to_string(i));
        used.insert(table[indexes[i]]);
        usedIndexes.insert(indexes[i]);
    }
    FuzzCheck(used.size() == usedIndexes.size() && used.size() == reduced.Colors.size(),
              "the table holds a colour twice or one that no pixel has");
    FuzzCheck(table.size() >= 2 && (table.size() & (table.size() - 1)) == 0 &&
                  table.size() < 2 * std::max<size_t>(used.size(), 2),
              "the table is not padded to the next power of two");
    if (used.count(ModelWebColor(background)))
        FuzzCheck(table[size_t(backgroundIndex)] == ModelWebColor(background),
                  "the background is another colour");
    else
        FuzzCheck(backgroundIndex == 0, "the background names a colour it does not have");
}

// ---- the UTF-8 text and the web page ----------------------------------------------------------------

std::string Unescaped(const std::string& html, bool& clean) {
    std::string out;
    clean = true;
    for (size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '<' || html[i] == '>') {
            clean = false;
        } else if (html[i] == '&') {
            static const std::pair<std::string_view, char> kEntities[] = {
                {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
            bool known = false;
            for (const auto& entity : kEntities)
                if (html.compare(i, entity.first.size(), entity.first) == 0) {
                    out += entity.second;
                    i += entity.first.size() - 1;
                    known = true;
                    break;
                }
            clean = clean && known;
            if (known)
                continue;
        }
        out += html[i];
    }
    return out;
}

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
    const size_t from = text.find(open);
    const size_t to = text.rfind(close);
    if (from == std::string::npos || to == std::string::npos || to < from + open.size())
        return "\x01missing";
    return text.substr(from + open.size(), to - from - open.size());
}

std::string CssColor(platform::TColor c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned(c & 0xFF), unsigned(c >> 8 & 0xFF),
                  unsigned(c >> 16 & 0xFF));
    return text;
}

// The file's bytes read as the window reads a document shown in that font: its encoding found,
// a SAUCE record split off, the text in the font's character set.
TLoadedText WindowText(const std::string& bytes, bool convert, const platform::FontValue& font) {
    platform::TFileBytes file;
    file.Data = std::make_unique<char[]>(bytes.size() + 1);
    std::memcpy(file.Data.get(), bytes.data(), bytes.size());
    file.Size = bytes.size();
    TLoadOptions options;
    options.Repair = convert;
    options.Charset = [&font](const TFileEncoding&, TContentKind) { return platform::ShownCharset(font); };
    return DecodeFileBytes(std::move(file), options);
}

// The paragraphs the window shows for the file, loaded as the window loads a document.
std::vector<std::string> WindowParagraphs(const std::string& bytes, bool convert,
                                          const platform::FontValue& font) {
    TLoadedText file = WindowText(bytes, convert, font);
    TArtMemo window;
    window.SetNullReplacement(kZeroByteReplacement);
    window.LoadFromBuffer(std::move(file.Bytes.Data), file.Bytes.Size);
    std::vector<std::string> pars;
    for (int32_t i = 0; i < window.ParagraphCount(); ++i)
        pars.push_back(window.GetParagraph(i));
    return pars;
}

void CheckTextExport(FuzzInput& in) {
    EnsureGuiApplication();
    const uint8_t options = in.Byte();
    const bool oem = options & 1;
    TExportJob job;
    job.Look.Convert = options & 2;
    job.Look.Font.Name = oem ? "ZandorLarge" : "MS Sans Serif";
    job.Look.Font.Size = 9;
    job.Look.Font.Charset = oem ? platform::OEM_CHARSET : platform::ANSI_CHARSET;
    job.Look.Font.Color = platform::TColor(ReadNumber(in, 3));
    job.Look.Background = platform::TColor(ReadNumber(in, 3));
    const std::string names[] = {"art.nfo", "a&b <c> \"d\".diz", "plain.txt"};
    const std::string name = names[in.Below(3)];
    const std::string bytes = in.Rest();
    job.Input = ScratchPath(name);
    WriteScratchFile(job.Input, bytes);
    const std::vector<std::string> window = WindowParagraphs(bytes, job.Look.Convert, job.Look.Font);

    std::string utf8;
    for (const char* ext : {".txt", ".html"}) {
        job.Output = ScratchPath(std::string("export") + ext);
        try {
            RunExport(job);
        } catch (const TExportError& e) {
            // Only what the window cannot open either may fail.
            FuzzCheck(!WindowText(bytes, job.Look.Convert, job.Look.Font).Problem.empty(),
                      (std::string("the export failed: ") + e.what()).c_str());
            return;
        }
        const std::string written = ReadScratchFile(job.Output);
        if (std::string(ext) == ".txt") {
            utf8 = written;
            const ModelUtf8 read = ModelDecodeUtf8(written);
            FuzzCheck(read.Ok, "the text export is no UTF-8");
            // Each line ends with LF; the characters are those of the font's set for the bytes.
            const char16_t* table = platform::CharsetTable(job.Look.Font.Charset);
            std::vector<std::string> lines(1);
            for (size_t i = 0; i < read.Text.size(); ++i) {
                const char32_t c = read.Text[i];
                if (c == U'\n') {
                    lines.emplace_back();
                    continue;
                }
                int byte = -1;
                for (int b = 0; b < 256 && byte < 0; ++b)
                    if (table[b] == c && b != '\t')
                        byte = b;
                if (c == U'\t')
                    byte = '\t';
                FuzzCheck(byte >= 0, "the text export holds a character of no byte");
                const std::optional<char32_t> iconv =
                    oem ? ModelCp437(uint8_t(byte)) : ModelCp1252(uint8_t(byte));
                FuzzCheck(!iconv || *iconv == c || byte == '\t', "a byte was written as another character");
                lines.back() += char(byte);
            }
            FuzzCheck(lines.back().empty(), "the last line of the text export has no LF");
            lines.pop_back();
            if (lines != window)
                FuzzFail("the text export reads as other lines than the window shows: " + Printable(written));
        } else {
            bool clean = false;
            const std::string pre = Unescaped(Between(written, "<pre>", "</pre>"), clean);
            FuzzCheck(clean, "the page's text holds markup");
            FuzzCheck(pre == utf8, "the page's text is not the text export");
            const std::string title = Unescaped(Between(written, "<title>", "</title>"), clean);
            FuzzCheck(clean && title == name, "the page's title is not the file's name");
            FuzzCheck(written.find("color: " + CssColor(job.Look.Font.Color)) != std::string::npos &&
                          written.find("background: " + CssColor(job.Look.Background)) != std::string::npos,
                      "the page is not in the text's colours");
        }
    }
}

} // namespace

int FuzzPictures(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    switch (in.Below(3)) {
    case 0:
        CheckPng(in);
        break;
    case 1:
        CheckGif(in);
        break;
    default:
        CheckTextExport(in);
    }
    return 0;
}

} // namespace zandor::fuzz
