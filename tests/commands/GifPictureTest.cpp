#include "GifDecoder.h"

#include "commands/GifExport.h"
#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "platform/ScreenFonts.h"
#include "support/FakeHost.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace zandor;
using zandor::test::DecodedGif;
using zandor::test::DecodeGif;
using zandor::test::FakeHost;
using zandor::test::ScratchDir;

namespace {

// Code page 437 art: box lines, shades and blocks, with the word ZANDOR in some lines and a web
// address in others.
std::string ArtText(int lines, int columns) {
    static const unsigned char kArt[] = {0xDB, 0xB0, 0xB1, 0xB2, 0xDC, 0xDF, 0xC4,
                                         0xCD, 0xBA, 0xC9, 0xBB, ' ',  ' '};
    std::string text;
    for (int line = 0; line < lines; ++line) {
        for (int c = 0; c < columns; ++c)
            text += char(kArt[(line * 7 + c * 3 + c / 5) % sizeof(kArt)]);
        if (line % 3 == 1)
            text.replace(text.size() - size_t(columns) + 4, 8, " ZANDOR ");
        if (line % 3 == 2 && columns >= 46)
            text.replace(text.size() - size_t(columns) + 30, 16, " www.x.org/art ");
        if (line + 1 < lines)
            text += "\r\n";
    }
    return text;
}

QRgb Web(QRgb c) {
    const auto level = [](int v) { return (v + 3) / 51 * 51; };
    return qRgb(level(qRed(c)), level(qGreen(c)), level(qBlue(c)));
}

// The editor as the main window shows an art file.
class GifPicture : public ::testing::Test {
protected:
    ScratchDir dir;
    FakeHost host;
    TURLHighlighter urls; // outlives the editor, which lets it go when it is destroyed
    std::unique_ptr<TArtMemo> memo;

    void SetUp() override {
        ASSERT_TRUE(platform::RegisterScreenFonts(std::string(ZANDOR_BINARY_DIR_BUILT) + "/fonts"));
        memo = std::make_unique<TArtMemo>();
        memo->SetBorderStyle(bsNone);
        memo->SetScrollBars(ssBoth);
        memo->SetHideSelection(false);
        memo->SetColor(0x004A0000);
        platform::FontValue font;
        font.Name = platform::LargeScreenFontFace;
        font.Height = 19;
        font.Style = platform::fsBold;
        font.Color = platform::clWhite;
        font.Charset = platform::OEM_CHARSET;
        memo->SetFont(font);
        memo->SetHighlightColor(platform::clLime);
        memo->SetHighlightBackgnd(platform::clBlack);
        platform::TPenValue noEndMark = memo->EndOfTextMark();
        noEndMark.Style = platform::psClear;
        memo->SetEndOfTextMark(noEndMark);
        memo->SetOptions({amoWrapCaret, amoInsertKeyActive, amoWideOverwriteCaret, amoAutoScrollBars,
                          amoAutoIndent, amoBlockSelection, amoPlainClipboard, amoSmartTabs});
        memo->setFocusPolicy(Qt::NoFocus);
        memo->resize(520, 330);
        memo->show();
        QApplication::processEvents();
        memo->HandleNeeded();
        host.Memo = memo.get();
        host.File = "/home/someone/art/art.nfo";
        host.LastDir = dir.path() + "/";
    }

    void Load(const std::string& text) {
        TMemoryStream stream(text);
        memo->LoadFromStream(stream);
        QApplication::processEvents();
    }

    // What the control paints on the screen, through its paint event.
    QImage Screen() { return memo->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Runs the command with the save dialog answering `name`; the decoded file.
    DecodedGif SaveAs(const std::string& name) {
        host.SaveDialog = [name](const TSaveDialogRequest&) { return name; };
        TGifExport(host).Saveasgraphic1Click();
        return DecodeGif(name);
    }
};

struct ViewRow {
    const char* Name;
    bool WordWrap;
    int LinesDown; // scrolled by this many lines plus a few pixels when not 0
    int Left;
    int ArtScale = 1;
};

void PrintTo(const ViewRow& row, std::ostream* os) {
    *os << row.Name;
}

class GifPictureView : public GifPicture, public ::testing::WithParamInterface<ViewRow> {};

// The written file, read back, is the editor's screen pixel for pixel after the web-palette
// reduction: the art in its screen font, a keyword in its highlight colours, web addresses in the
// address highlighter's blue and a selection across lines, at the top of the text or scrolled both
// ways, and with the art drawn at twice its cell size. Its colour table holds only colours that
// pixels use, the background is the editor's dark blue as a web colour, and the view is untouched.
TEST_P(GifPictureView, TheFileHoldsThePaintedPixelsInTheWebPalette) {
    const ViewRow row = GetParam();
    memo->SetWordWrap(row.WordWrap);
    memo->SetFontScale(row.ArtScale);
    memo->SetHighlighter(&urls);
    Load(ArtText(40, 70));
    memo->Keywords().AddKeyWord("ZANDOR", 0, 0, 1, 0, platform::clBlack, platform::clLime);
    memo->ReApplyKeywords();
    const int lh = memo->LinePixels();
    if (row.LinesDown > 0)
        memo->ScrollTo(row.LinesDown * lh + 5, row.Left, 0);
    // From the middle of one line to the middle of the line two below the top.
    const int32_t from = memo->ParagraphStart(row.LinesDown + 2) + 9;
    memo->SetSelStart(from);
    memo->SetSelLength(memo->ParagraphStart(row.LinesDown + 4) + 20 - from);
    QApplication::processEvents();
    ASSERT_TRUE(memo->CaretRect().isEmpty()) << "the caret is no part of the picture";
    const int top = memo->TopOrigin();
    const int left = memo->LeftOrigin();
    const QImage screen = Screen();

    const DecodedGif gif = SaveAs(dir.file("art.gif"));
    ASSERT_TRUE(gif.Ok) << gif.Error;
    EXPECT_TRUE(host.Errors.empty());
    ASSERT_EQ(1u, host.Requests.size());
    EXPECT_EQ("art.gif", host.Requests[0].FileName);
    EXPECT_EQ(host.LastDir, host.Requests[0].InitialFolder);
    EXPECT_EQ(1, gif.ImageCount);
    ASSERT_EQ(screen.width(), gif.Width);
    ASSERT_EQ(screen.height(), gif.Height);
    std::set<QRgb> colours;
    for (int y = 0; y < gif.Height; ++y)
        for (int x = 0; x < gif.Width; ++x) {
            ASSERT_EQ(Web(screen.pixel(x, y)), gif.Pixel(x, y)) << x << "," << y;
            colours.insert(gif.Pixel(x, y));
        }
    // The picture really shows the kinds of colour: the keyword, the address, the selection
    // (inverted dark blue) and the background.
    EXPECT_TRUE(colours.count(qRgb(0, 255, 0))) << "keyword";
    EXPECT_TRUE(colours.count(qRgb(0, 0, 255))) << "address";
    EXPECT_TRUE(colours.count(qRgb(255, 255, 153))) << "selection";
    EXPECT_EQ(qRgb(0, 0, 51), gif.Table.at(size_t(gif.Background)));

    // Only used entries, each once, in the smallest table GIF allows.
    std::set<int> used(gif.Indexes.begin(), gif.Indexes.end());
    const int n = int(used.size());
    EXPECT_EQ(n - 1, *used.rbegin()) << "an entry below the last used one is unused";
    EXPECT_EQ(size_t(n), std::set<QRgb>(gif.Table.begin(), gif.Table.begin() + n).size());
    size_t table = 2;
    while (table < size_t(n))
        table *= 2;
    EXPECT_EQ(table, gif.Table.size());

    EXPECT_EQ(top, memo->TopOrigin());
    EXPECT_EQ(left, memo->LeftOrigin());
    QApplication::processEvents();
    EXPECT_EQ(screen, Screen()) << "the screen changed";
}

INSTANTIATE_TEST_SUITE_P(Views, GifPictureView,
                         ::testing::Values(ViewRow{"TopOfTheText", true, 0, 0},
                                           ViewRow{"ScrolledDownAndRight", false, 3, 37},
                                           ViewRow{"AtArtScaleTwo", false, 1, 21, 2}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct BarsRow {
    const char* Name;
    bool WordWrap;
    int Lines;
    int Columns;
    bool Vertical;
    bool Horizontal;
};

void PrintTo(const BarsRow& row, std::ostream* os) {
    *os << row.Name;
}

class GifPictureBars : public GifPicture, public ::testing::WithParamInterface<BarsRow> {};

// The picture is the text area: smaller than the control by the scroll bars that are shown, the
// control's full size when the text fits.
TEST_P(GifPictureBars, ThePictureLeavesOutTheScrollBarsThatAreShown) {
    const BarsRow row = GetParam();
    memo->SetWordWrap(row.WordWrap);
    Load(ArtText(row.Lines, row.Columns));
    ASSERT_EQ(row.Vertical, memo->verticalScrollBar()->isVisible());
    ASSERT_EQ(row.Horizontal, memo->horizontalScrollBar()->isVisible());
    const DecodedGif gif = SaveAs(dir.file("bars.gif"));
    ASSERT_TRUE(gif.Ok) << gif.Error;
    EXPECT_EQ(memo->width() - (row.Vertical ? memo->verticalScrollBar()->width() : 0), gif.Width);
    EXPECT_EQ(memo->height() - (row.Horizontal ? memo->horizontalScrollBar()->height() : 0), gif.Height);
}

INSTANTIATE_TEST_SUITE_P(Bars, GifPictureBars,
                         ::testing::Values(BarsRow{"Both", false, 60, 90, true, true},
                                           BarsRow{"VerticalOnly", true, 60, 90, true, false},
                                           BarsRow{"None", true, 3, 10, false, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A cancelled dialog writes nothing and says nothing; a name typed without an extension is written
// as typed; a new text proposes ZandorImage.gif.
TEST_F(GifPicture, CancellingWritesNothingAndATypedNameIsKeptAsItIs) {
    Load(ArtText(5, 20));
    host.File.clear();
    host.SaveDialog = [](const TSaveDialogRequest&) { return std::string(); };
    TGifExport(host).Saveasgraphic1Click();
    ASSERT_EQ(1u, host.Requests.size());
    EXPECT_EQ("ZandorImage.gif", host.Requests[0].FileName);
    EXPECT_TRUE(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(host.Errors.empty());
    EXPECT_TRUE(host.Messages.empty());

    const DecodedGif gif = SaveAs(dir.file("picture"));
    EXPECT_TRUE(gif.Ok) << gif.Error;
    EXPECT_EQ(QStringList{QStringLiteral("picture")},
              QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden));
}

struct NameRow {
    const char* File;
    const char* Proposed;
};

void PrintTo(const NameRow& row, std::ostream* os) {
    *os << '"' << row.File << '"';
}

class ProposedName : public ::testing::TestWithParam<NameRow> {};

TEST_P(ProposedName, IsTheFileNameWithoutFolderAndExtensionPlusGif) {
    EXPECT_EQ(GetParam().Proposed, ProposedGifName(GetParam().File));
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProposedName,
    ::testing::Values(NameRow{"", "ZandorImage.gif"}, NameRow{"/art/readme.nfo", "readme.gif"},
                      NameRow{"/art/a.b.txt", "a.b.gif"}, NameRow{"/a.dir/README", "README.gif"},
                      NameRow{"/art/name.", "name.gif"}, NameRow{"/home/u/.profile", ".profile.gif"},
                      NameRow{"relative.diz", "relative.gif"}));

} // namespace
