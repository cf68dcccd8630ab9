#include "export/ArtExport.h"
#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "export/ExportLookMemo.h"
#include "export/TextExport.h"
#include "platform/Canvas.h"
#include "platform/CodePages.h"
#include "platform/ScreenFonts.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace zandor;
using zandor::test::ScratchDir;

namespace {

// Code page 437 art: a double frame, shades, full and half blocks, single box lines, an address
// (shown in the highlight colours) and a line longer than the others.
std::string Art() {
    std::string text;
    auto line = [&](std::initializer_list<int> bytes, const std::string& tail = {}) {
        for (int b : bytes)
            text += char(b);
        text += tail + "\r\n";
    };
    line({0xC9, 0xCD, 0xCD, 0xCD, 0xCD, 0xCD, 0xCD, 0xBB});
    line({0xBA, 0xB0, 0xB1, 0xB2, 0xDB, 0xDB, 0xDC, 0xBA}, " www.example.org");
    line({0xBA, 0xDF, 0xDB, 0xDB, 0xDB, 0xDB, 0xDD, 0xBA}, "\tsee the tab");
    line({0xC8, 0xCD, 0xCD, 0xCD, 0xCD, 0xCD, 0xCD, 0xBC}, " the end of the widest line of all");
    line({0xDA, 0xC4, 0xC2, 0xC4, 0xBF, 0x01});
    return text;
}

QImage ReadImage(const std::string& file) {
    QImage image(QString::fromStdString(file));
    return image.convertToFormat(QImage::Format_RGB32);
}

TExportLook ArtLook(int pixelHeight) {
    TExportLook look;
    look.Font.Name = platform::LargeScreenFontFace;
    look.Font.Height = pixelHeight;
    look.Font.Color = platform::clWhite;
    look.Font.Charset = platform::OEM_CHARSET;
    return look;
}

class ArtExport : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string input;

    void SetUp() override {
        ASSERT_TRUE(platform::RegisterScreenFonts(std::string(ZANDOR_BINARY_DIR_BUILT) + "/fonts"));
        input = dir.write("art.nfo", QByteArray::fromStdString(Art()));
    }

    QImage Export(const TExportLook& look, int scale, const std::string& name, int columns = 0) {
        TExportJob job;
        job.Columns = columns;
        job.Input = input;
        job.Output = dir.file(name);
        job.Look = look;
        job.Scale = scale;
        RunExport(job);
        return ReadImage(job.Output);
    }
};

// The window's editor with the same look, large enough to show the whole text, painted on the
// screen: the PNG is that painting pixel for pixel, from the left margin to the right margin of the
// widest line (or of the wrap column); at x2 and x3 every pixel of it is a square of 2 x 2 and
// 3 x 3.
TEST_F(ArtExport, ThePictureIsTheWindowsPaintingAndScalesPixelForPixel) {
    for (const auto& [height, columns] : {std::pair{14, 0}, {16, 12}, {19, 0}}) {
        SCOPED_TRACE(height);
        const TExportLook look = ArtLook(height);
        const QImage one = Export(look, 1, "one.png", columns);
        ASSERT_FALSE(one.isNull());

        TURLHighlighter urls;
        TArtMemo memo;
        test::DressInLook(memo, urls, look);
        memo.SetWordWrap(columns > 0);
        memo.SetColumnWrap(columns);
        memo.setFocusPolicy(Qt::NoFocus);
        TMemoryStream stream(Art());
        memo.LoadFromStream(stream);
        memo.resize(one.width() + 40, one.height() + 40);
        memo.show();
        QApplication::processEvents();
        ASSERT_EQ(6, memo.ParagraphCount());
        if (columns > 0) {
            EXPECT_GT(one.height(), 8 * memo.LinePixels()) << "the long lines wrap";
            EXPECT_EQ(columns * memo.AvgCharWidth() + memo.LeftMargin() + memo.RightMargin(), one.width());
        } else {
            EXPECT_EQ(6 * memo.LinePixels(), one.height());
        }
        const QImage screen = memo.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_GE(screen.width(), one.width());
        bool sameAsScreen = true;
        for (int y = 0; y < one.height() && sameAsScreen; ++y)
            for (int x = 0; x < one.width() && sameAsScreen; ++x) {
                EXPECT_EQ(screen.pixel(x, y), one.pixel(x, y)) << x << "," << y;
                sameAsScreen = screen.pixel(x, y) == one.pixel(x, y);
            }
        if (columns > 0)
            continue;
        // The widest line reaches the right margin: its last letter lies in the last columns.
        bool inked = false;
        const int lastLetter = one.width() - memo.RightMargin() - 1;
        for (int y = 3 * memo.LinePixels(); y < 4 * memo.LinePixels(); ++y)
            for (int x = lastLetter - 7; x <= lastLetter; ++x)
                inked = inked || one.pixel(x, y) == qRgb(255, 255, 255);
        EXPECT_TRUE(inked);

        for (int scale : {2, 3}) {
            const QImage big = Export(look, scale, "big.png");
            ASSERT_EQ(one.width() * scale, big.width());
            ASSERT_EQ(one.height() * scale, big.height());
            bool same = true;
            for (int y = 0; y < big.height() && same; ++y)
                for (int x = 0; x < big.width() && same; ++x) {
                    EXPECT_EQ(one.pixel(x / scale, y / scale), big.pixel(x, y))
                        << scale << ": " << x << "," << y;
                    same = one.pixel(x / scale, y / scale) == big.pixel(x, y);
                }
        }
    }
}

} // namespace

namespace {

// The text and the page read the code page 437 bytes as the screen font shows them: box lines,
// shades and blocks, the smiley of byte 1, the tab kept as a tab; the page holds the same text,
// escaped, in its colours.
TEST_F(ArtExport, TextAndPageCarryTheArtAsUnicode) {
    const std::string expected = "╔══════╗\n"
                                 "║░▒▓██▄║ www.example.org\n"
                                 "║▀████▌║\tsee the tab\n"
                                 "╚══════╝ the end of the widest line of all\n"
                                 "┌─┬─┐☺\n"
                                 "\n";
    TExportJob job;
    job.Input = input;
    job.Look = ArtLook(16);
    job.Output = dir.file("art.TXT");
    RunExport(job);
    QFile text(QString::fromStdString(job.Output));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(expected, text.readAll().toStdString());

    job.Output = dir.file("art.html");
    job.Look.Background = 0x00331100; // blue 0x33, green 0x11, red 0
    RunExport(job);
    QFile page(QString::fromStdString(job.Output));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const std::string html = page.readAll().toStdString();
    EXPECT_NE(std::string::npos, html.find("<pre>" + expected + "</pre>"));
    EXPECT_NE(std::string::npos, html.find("color: #ffffff"));
    EXPECT_NE(std::string::npos, html.find("background: #001133"));
    EXPECT_NE(std::string::npos,
              HtmlPage("a <b> & \"c\"", "t", 0, 0).find("<pre>a &lt;b&gt; &amp; &quot;c&quot;</pre>"));
}

// The same art stored as UTF-16 big-endian with its signature and a SAUCE record after it, under
// a name that says nothing of art: read into code page 437 and drawn in the screen font, it gives
// the 8-bit file's picture pixel for pixel and its text, and nothing of the record.
TEST_F(ArtExport, UnicodeArtWithASauceRecordExportsAsTheArtItStandsFor) {
    std::string wide = "\xFE\xFF";
    for (const char c : Art()) {
        const auto b = static_cast<unsigned char>(c);
        // The breaks and the tab are themselves, as converters write them; byte 1 is its picture.
        const char16_t u = b == '\r' || b == '\n' || b == '\t' ? char16_t(b) : platform::Cp437ToUnicode(b);
        wide += char(u >> 8);
        wide += char(u & 0xFF);
    }
    std::string record = "SAUCE00Wide art";
    record.resize(128, ' ');
    TExportJob job;
    job.Input = dir.write("wide art.txt", QByteArray::fromStdString(wide + "\x1A" + record));
    job.Look = ArtLook(16);
    job.Look.FontFor = [](TContentKind content) {
        TExportLook look = ArtLook(16);
        if (content != TContentKind::Art)
            look.Font.Name = "DejaVu Sans";
        return look.Font;
    };
    job.Output = dir.file("wide.png");
    RunExport(job);
    const QImage eightBit = Export(ArtLook(16), 1, "eight.png");
    EXPECT_EQ(eightBit, ReadImage(job.Output));

    job.Output = dir.file("wide.txt");
    RunExport(job);
    QFile text(QString::fromStdString(job.Output));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const std::string written = text.readAll().toStdString();
    EXPECT_EQ(0u, written.rfind("╔══════╗\n║░▒▓██▄║", 0)) << written;
    EXPECT_EQ(std::string::npos, written.find("SAUCE"));
}

namespace {

// A SAUCE record of ASCII character data with the given flags, after the end-of-file byte.
std::string SauceWithFlags(uint8_t flags) {
    std::string record = "\x1A"
                         "SAUCE00";
    record.resize(1 + 7 + 35 + 20 + 20 + 8 + 4, ' ');
    record += char(1);              // character data
    record += char(0);              // ASCII
    record += std::string(8, '\0'); // TInfo1-4
    record += char(0);              // no comments
    record += char(flags);
    record += std::string(22, '\0'); // TInfoS
    return record;
}

// The first and last display row and the first column of each cell of the art's frame: its four
// lines of eight bytes, and the box line below them.
struct TCell {
    int Line;
    int Column;
    unsigned char Byte;
};
std::vector<TCell> FrameCells() {
    std::vector<TCell> cells;
    const std::string art = Art();
    int line = 0, column = 0;
    for (const char c : art) {
        if (c == '\n') {
            ++line;
            column = 0;
        } else if (c != '\r') {
            if (column < 8 && (line < 4 || (line == 4 && column < 5)))
                cells.push_back({line, column, static_cast<unsigned char>(c)});
            ++column;
        }
    }
    return cells;
}

} // namespace

// In nine-pixel cells every cell of the frame is its eight-pixel cell and a ninth column that repeats
// the eighth for the line-drawing bytes and is the background for the others; the DOS aspect makes
// the picture 1.35 times as tall, each row the nearest row of the picture at its own height. The
// PNG and the GIF agree, and a SAUCE record asking for both gets both without being told.
TEST_F(ArtExport, NineDotCellsAndTheDosAspectDrawTheCellsAsTheVgaDid) {
    const TExportLook look = ArtLook(16);
    const QImage eight = Export(look, 1, "eight.png");
    TExportJob job;
    job.Input = input;
    job.Look = look;
    job.NineDots = true;
    job.Output = dir.file("nine.png");
    RunExport(job);
    const QImage nine = ReadImage(job.Output);
    ASSERT_EQ(eight.height(), nine.height());
    const int line = 16;
    // The widest line holds 8 + 34 characters; the margins stay as they are.
    ASSERT_EQ(eight.width() + 42, nine.width());
    const QRgb background = eight.pixel(0, 0);
    TURLHighlighter urls;
    TArtMemo memo;
    test::DressInLook(memo, urls, look);
    const int left = memo.LeftMargin();
    int checked = 0;
    for (const TCell& cell : FrameCells()) {
        for (int y = cell.Line * line; y < (cell.Line + 1) * line; ++y) {
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(eight.pixel(left + 8 * cell.Column + x, y),
                          nine.pixel(left + 9 * cell.Column + x, y))
                    << int(cell.Byte) << " at " << x << "," << y;
            const QRgb ninth = nine.pixel(left + 9 * cell.Column + 8, y);
            const QRgb eighth = nine.pixel(left + 9 * cell.Column + 7, y);
            if (cell.Byte >= 0xC0 && cell.Byte <= 0xDF)
                ASSERT_EQ(eighth, ninth) << int(cell.Byte) << " row " << y;
            else
                ASSERT_EQ(background, ninth) << int(cell.Byte) << " row " << y;
            ++checked;
        }
    }
    EXPECT_EQ(37 * line, checked);

    for (const char* ext : {".png", ".gif"}) {
        job.Output = dir.file(std::string("nine1") + ext);
        job.DosAspect = false;
        job.Scale = 1;
        RunExport(job);
        const QImage flat = ReadImage(job.Output);
        job.Output = dir.file(std::string("dos") + ext);
        job.DosAspect = true;
        job.Scale = 2;
        RunExport(job);
        const QImage dos = ReadImage(job.Output);
        ASSERT_EQ(2 * flat.width(), dos.width()) << ext;
        ASSERT_EQ(int(std::lround(flat.height() * 2 * 1.35)), dos.height()) << ext;
        for (int y = 0; y < dos.height(); ++y) {
            const int source = int((y + 0.5) * flat.height() / dos.height());
            for (int x = 0; x < dos.width(); ++x)
                ASSERT_EQ(flat.pixel(x / 2, source), dos.pixel(x, y)) << ext << " " << x << "," << y;
        }
    }

    // Told by the file's record: nine pixels (letter spacing 2) and the legacy aspect (1).
    TExportJob told;
    told.Input = dir.write("told.nfo", QByteArray::fromStdString(Art() + SauceWithFlags(0x04 | 0x08)));
    told.Look = look;
    told.Scale = 2;
    told.Output = dir.file("told.png");
    RunExport(told);
    EXPECT_EQ(ReadImage(dir.file("dos.png")), ReadImage(told.Output));
}

// A picture taller than a GIF file can be is refused with its size, and nothing is written.
TEST_F(ArtExport, APictureTooTallForGifIsRefusedWithItsSize) {
    TExportJob job;
    job.Input = dir.write("tall.nfo", QByteArray("\xDB\r\n").repeated(5000));
    job.Output = dir.file("tall.gif");
    job.Look = ArtLook(16);
    try {
        RunExport(job);
        FAIL() << "exported";
    } catch (const TExportError& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("65535")) << e.what();
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(job.Output)));
}

// The built program exports a mailing-list header of 104 KB on one line, with no blank (safety net:
// two minutes; highlighting it once walked back and forth around every "@" and never ended). The
// first address is drawn in the highlight colours (lime on black unless the user chose others) on
// the first text line; what lies beyond the longest address, on the last line, is plain text.
TEST(ArtExportCommandLine, ALongHeaderLineExportsWithItsFirstAddressStyled) {
    ScratchDir dir;
    std::string header = "To: ";
    for (int i = 0; header.size() < 104 * 1024; ++i)
        header += "user" + std::to_string(i) + "@example.com,";
    const std::string in = dir.write("header.txt", QByteArray::fromStdString(header + "\r\n"));
    QProcess zandor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.path()));
    zandor.setProcessEnvironment(env);
    zandor.start(QString::fromStdString(std::string(ZANDOR_BINARY_DIR_BUILT) + "/zandor"),
                 {"--export", QString::fromStdString(in), QString::fromStdString(dir.file("header.png")),
                  "--font", "ZandorTiny", "--columns", "1000"});
    const bool finished = zandor.waitForFinished(120000);
    if (!finished) {
        zandor.kill();
        zandor.waitForFinished();
    }
    ASSERT_TRUE(finished) << "the export did not end";
    ASSERT_EQ(0, zandor.exitCode()) << zandor.readAllStandardError().toStdString();
    const QImage picture = ReadImage(dir.file("header.png"));
    ASSERT_GT(picture.height(), 40);
    const auto colours = [&](int fromY, int toY) {
        std::set<QRgb> seen;
        for (int y = fromY; y < toY; ++y)
            for (int x = 0; x < picture.width(); ++x)
                seen.insert(picture.pixel(x, y) & 0xFFFFFF);
        return seen;
    };
    const QRgb lime = 0x00FF00, black = 0x000000, white = 0xFFFFFF;
    const std::set<QRgb> first = colours(0, 24);
    EXPECT_TRUE(first.count(lime) && first.count(black));
    const std::set<QRgb> last = colours(picture.height() - 24, picture.height());
    EXPECT_FALSE(last.count(lime));
    EXPECT_TRUE(last.count(white));
}

struct CliRow {
    const char* Name;
    std::vector<std::string> Args; // "IN" and "OUT" stand for the scratch files
    bool InputExists;
};

void PrintTo(const CliRow& row, std::ostream* os) {
    *os << row.Name;
}

class ExportCommandLine : public ::testing::TestWithParam<CliRow> {};

// The built program, started as a user would: a failing export prints one line to standard error,
// ends with a non-zero status, and leaves the output as it was (absent, or an older file untouched).
TEST_P(ExportCommandLine, FailsWithOneLineAndWritesNothing) {
    const CliRow row = GetParam();
    ScratchDir dir;
    const std::string in =
        row.InputExists ? dir.write("art.nfo", QByteArray::fromStdString(Art())) : dir.file("missing.nfo");
    const std::string old = dir.write("old.png", "an older file");
    QStringList args;
    for (std::string arg : row.Args) {
        if (arg == "IN")
            arg = in;
        else if (arg.rfind("OUT", 0) == 0)
            arg = dir.file(arg.substr(3));
        args << QString::fromStdString(arg);
    }
    QProcess zandor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.path()));
    env.remove("DISPLAY");
    zandor.setProcessEnvironment(env);
    zandor.start(QString::fromStdString(std::string(ZANDOR_BINARY_DIR_BUILT) + "/zandor"), args);
    ASSERT_TRUE(zandor.waitForFinished(60000));
    EXPECT_EQ(QProcess::NormalExit, zandor.exitStatus());
    EXPECT_NE(0, zandor.exitCode());
    const QString err = QString::fromUtf8(zandor.readAllStandardError());
    EXPECT_EQ(1, err.count('\n')) << err.toStdString();
    EXPECT_TRUE(err.startsWith("zandor: ")) << err.toStdString();
    EXPECT_TRUE(zandor.readAllStandardOutput().isEmpty());
    QDir folder(QString::fromStdString(dir.path()));
    QStringList left = folder.entryList(QDir::Files | QDir::Hidden);
    left.removeAll("art.nfo");
    EXPECT_EQ(QStringList{"old.png"}, left);
    QFile kept(QString::fromStdString(old));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ("an older file", kept.readAll());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ExportCommandLine,
    ::testing::Values(
        CliRow{"MissingInput", {"--export", "IN", "OUTold.png"}, false},
        CliRow{"FolderAsInput", {"--export", "OUT", "OUTold.png"}, true},
        CliRow{"UnwritableOutput", {"--export", "IN", "OUTold.png/x.png"}, true},
        CliRow{"UnknownExtension", {"--export", "IN", "OUTart.bmp"}, true},
        CliRow{"BadScale", {"--export", "IN", "OUTold.png", "--scale", "0"}, true},
        CliRow{"MissingOutput", {"--export", "IN"}, true},
        CliRow{"UnknownOption", {"--export", "IN", "OUTold.png", "--colour-me", "1"}, true},
        CliRow{"UnknownFont", {"--export", "IN", "OUTold.png", "--font", "ZandorLarg,16"}, true},
        CliRow{"UnknownEncoding", {"--export", "IN", "OUTold.png", "--encoding", "koi8-r"}, true},
        // The art's code page 437 bytes are no UTF-8.
        CliRow{"InputNotInTheEncoding", {"--export", "IN", "OUTold.png", "--encoding", "UTF-8"}, true}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
