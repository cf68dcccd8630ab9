// One display line painted on its own: where tabs end, how marks and blanks take their room, which
// colours each piece gets, how the selection and a selected paragraph end look, the wavy
// underline, and justified pieces standing where the caret geometry expects them.
#include "PaintTestSupport.h"

#include "editor/control/LinePainter.h"
#include "editor/engine/ArtNavigator.h"
#include "platform/CodePages.h"
#include "platform/QtTextMeasurer.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace zandor::test {
namespace {

using platform::OemCharset;

constexpr int kWidth = 400;
const QRgb kBlack = qRgb(0, 0, 0);

class LinePaint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterTestFonts()) << ScreenFontsFolder();
        UseFont(PixelFont(platform::LargeScreenFontFace, 16), OemCharset);
    }

    void UseFont(const QFont& font, int charset) {
        auto measurer = std::make_unique<platform::QtTextMeasurer>(font, charset, font, charset);
        faces = measurer.get();
        core.SetMeasurer(std::move(measurer));
        core.SetClientSize(kWidth, 100);
    }

    void Load(std::string_view text) {
        LoadBare(core, text);
        SetAllLines(core);
    }

    TPaintSettings Settings() {
        TPaintSettings s;
        s.Core = &core;
        s.Measurer = faces;
        s.TextAreaWidth = kWidth;
        s.LineHeight = core.LinePixels();
        s.Baseline = core.Baseline();
        s.AvgCharWidth = core.AvgCharWidth();
        s.TextOutputChunk = core.TextOutputChunk();
        s.FontColor = Qt::white;
        s.HighlightColor = Qt::red;
        s.HighlightBackgnd = Qt::blue;
        s.SelBackColor = Qt::green;
        s.SelTextColor = Qt::yellow;
        s.SpecUnderline = platform::TPenValue{platform::clRed, 1, platform::psSolid};
        s.SpecAmplitude = 2;
        s.SpecUnderlineY = std::min(core.UnderlineY(), s.LineHeight - 3);
        return s;
    }

    QImage Paint(const TPaintSettings& s, int par = 0, int line = 0) {
        log.clear();
        QImage image(kWidth, s.LineHeight, QImage::Format_RGB32);
        image.fill(kBlack);
        QPainter painter(&image);
        platform::TCanvas canvas(painter);
        TLinePainter lines(s);
        lines.SetLog(&log);
        lines.Draw(canvas, par, line, 0, 0);
        return image;
    }

    // The piece that begins at offset, else the one that covers it.
    const TPaintedRun* PieceAt(int32_t offset) const {
        for (const TPaintedRun& run : log)
            if (run.Offset == offset)
                return &run;
        for (const TPaintedRun& run : log)
            if (run.Offset < offset && offset < run.Offset + run.Length)
                return &run;
        return nullptr;
    }

    TArtMemoCore core;
    platform::QtTextMeasurer* faces = nullptr;
    std::vector<TPaintedRun> log;
};

// ---- tabs ---------------------------------------------------------------------------------

struct TabRow {
    const char* name;
    const char* face;
    int pixels;
    int avg; // the blank width the row relies on
    const char* text;
    int tabStops;
    int32_t tabOffset;
    int cellEnd; // pixels right of the left margin
};

void PrintTo(const TabRow& row, std::ostream* out) {
    *out << row.name;
}

class LinePaintTabs : public LinePaint, public ::testing::WithParamInterface<TabRow> {};

TEST_P(LinePaintTabs, ATabCellEndsAtTheNextStopCountedFromTheLineOrigin) {
    const TabRow& row = GetParam();
    UseFont(PixelFont(row.face, row.pixels), OemCharset);
    ASSERT_EQ(core.AvgCharWidth(), row.avg);
    core.SetTabStops(row.tabStops);
    Load(row.text);
    TPaintSettings s = Settings();
    s.NonPrint = amNPTab;
    Paint(s);
    const TPaintedRun* tab = PieceAt(row.tabOffset);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(platform::BytesToText(&tab->Mark, 1, OemCharset), QString(QChar(0x00BB)));
    EXPECT_EQ(tab->X + tab->Width, core.LeftMargin() + row.cellEnd);
    const TPaintedRun* after = PieceAt(row.tabOffset + 1);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->X, core.LeftMargin() + row.cellEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LinePaintTabs,
    ::testing::Values(TabRow{"AtLineStartAverage7", "DejaVu Sans Mono", 12, 7, "\tX", 8, 0, 56},
                      TabRow{"AfterTwoCharacters", "ZandorLarge", 16, 8, "ab\tX", 8, 2, 64},
                      TabRow{"PastTheFirstStop", "ZandorLarge", 16, 8, "abcdefghi\tX", 8, 9, 128},
                      TabRow{"ExactlyOnAStop", "ZandorLarge", 16, 8, "abcdefgh\tX", 8, 8, 128},
                      TabRow{"PixelStops", "ZandorLarge", 16, 8, "\tX", -50, 0, 50},
                      TabRow{"PixelStopsAfterText", "ZandorLarge", 16, 8, "abcdefg\tX", -50, 7, 100}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinePaint, AnOpaqueRunFillsItsTabCellToTheStop) {
    core.SetStaticFormat(true);
    Load("\x03"
         "a\tb");
    const QImage image = Paint(Settings());
    const int LM = core.LeftMargin();
    // The cell of the highlighted tab: from after "a" to the stop at 64.
    const QRgb blue = QColor(Qt::blue).rgb();
    EXPECT_EQ(image.pixel(LM + 8, 2), blue);
    EXPECT_EQ(image.pixel(LM + 63, 2), blue);
    EXPECT_NE(image.pixel(LM + 64, 2), kBlack) << "the b after the cell";
}

// ---- marks ----------------------------------------------------------------------------------

struct MarkRow {
    const char* name;
    const char* face;
    int pixels;
    int charset;
};

void PrintTo(const MarkRow& row, std::ostream* out) {
    *out << row.name;
}

class LinePaintMarks : public LinePaint, public ::testing::WithParamInterface<MarkRow> {};

TEST_P(LinePaintMarks, BlankTabAndParagraphEndShowAsADotADoubleArrowAndAPilcrow) {
    // In a code page 437 font the bytes of the ANSI marks are box-drawing characters (╖ ╗ ╢);
    // the marks must be the same three characters in both.
    const MarkRow& row = GetParam();
    const QFont font = PixelFont(row.face, row.pixels);
    UseFont(font, row.charset);
    Load(" \t");
    TPaintSettings s = Settings();
    s.NonPrint = amNPSpace | amNPTab | amNPReturn;
    const QImage painted = Paint(s);
    const QString expected[3] = {QChar(0x00B7), QChar(0x00BB), QChar(0x00B6)}; // · » ¶
    QImage drawn(painted.size(), QImage::Format_RGB32);
    drawn.fill(kBlack);
    QPainter painter(&drawn);
    painter.setFont(font);
    painter.setPen(Qt::white);
    for (int32_t offset = 0; offset < 3; ++offset) {
        const TPaintedRun* mark = PieceAt(offset);
        ASSERT_NE(mark, nullptr) << offset;
        EXPECT_EQ(platform::BytesToText(&mark->Mark, 1, row.charset), expected[offset]) << offset;
        painter.drawText(mark->X, s.Baseline, expected[offset]);
    }
    painter.end();
    EXPECT_EQ(painted, drawn) << "the marks are drawn as other characters";
}

INSTANTIATE_TEST_SUITE_P(Rows, LinePaintMarks,
                         ::testing::Values(MarkRow{"AnsiFont", "DejaVu Sans Mono", 14,
                                                   platform::ANSI_CHARSET},
                                           MarkRow{"CodePage437Font", "ZandorLarge", 16, OemCharset},
                                           MarkRow{"SmallCodePage437Font", "ZandorTiny", 8, OemCharset}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- blanks ---------------------------------------------------------------------------------

TEST_F(LinePaint, ABlankMarkTakesOneAverageWidthEvenInAProportionalFont) {
    UseFont(QFont("DejaVu Sans", 14), platform::ANSI_CHARSET);
    Load("Wi iW");
    TPaintSettings s = Settings();
    Paint(s);
    const TPaintedRun plain = log.at(0);
    ASSERT_EQ(plain.Length, 5);

    s.NonPrint = amNPSpace;
    const QImage image = Paint(s);
    const int avg = core.AvgCharWidth();
    const TPaintedRun* mark = PieceAt(2);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->Mark, char(183));
    EXPECT_EQ(mark->Width, avg);
    EXPECT_EQ(mark->X, core.LeftMargin() + faces->TextExtent(0, "Wi", 2));
    const TPaintedRun* rest = PieceAt(3);
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(rest->X, mark->X + avg);
    // The mark is a middle dot drawn inside its cell.
    EXPECT_GT(InkIn(image, kBlack, mark->X, mark->X + avg), 0);
}

TEST_F(LinePaint, TrailingBlanksOfAWrappedLineAreNotDrawnUnlessMarked) {
    core.SetStaticFormat(true);
    LoadBare(core, "\x03"
                   "aaa    bbb");
    SetLines(core, 0, {8});
    const int LM = core.LeftMargin();
    TPaintSettings s = Settings();
    QImage image = Paint(s, 0, 0);
    EXPECT_EQ(image.pixel(LM + 12, 1), QColor(Qt::blue).rgb()) << "the highlighted letters";
    EXPECT_EQ(InkIn(image, kBlack, LM + 24, kWidth), 0) << "the blanks at the wrap";
    // The last line of a paragraph draws its trailing blanks.
    LoadBare(core, "\x03"
                   "aaa    ");
    SetLines(core, 0);
    image = Paint(s);
    EXPECT_EQ(image.pixel(LM + 24 + 31, 1), QColor(Qt::blue).rgb());

    LoadBare(core, "\x03"
                   "aaa    bbb");
    SetLines(core, 0, {8});
    s.NonPrint = amNPSpace;
    image = Paint(s, 0, 0);
    EXPECT_EQ(image.pixel(LM + 24, 1), QColor(Qt::blue).rgb());
    EXPECT_EQ(image.pixel(LM + 24 + 31, 1), QColor(Qt::blue).rgb());
}

// ---- colours --------------------------------------------------------------------------------

struct ColourRow {
    const char* name;
    int32_t parColor;
    int32_t parBack;
    bool highlightCode;
    int32_t runFore; // kNoColor: no run
    int32_t runBack;
    bool keepParBack;
    bool selected;
    QRgb text;
    QRgb back; // 0: transparent
};

void PrintTo(const ColourRow& row, std::ostream* out) {
    *out << row.name;
}

class LinePaintColours : public LinePaint, public ::testing::WithParamInterface<ColourRow> {};

TEST_P(LinePaintColours, APieceTakesItsColoursByTheRulesInOrder) {
    const ColourRow& row = GetParam();
    core.SetStaticFormat(true);
    Load(row.highlightCode ? "\x03xyz" : "_xyz");
    ParInfo& par = core.Paragraphs().Par(0);
    if (row.parColor != -1 || row.parBack != -1) {
        ExtendPar(par).ParColor = row.parColor;
        par.Extra->ParBackColor = row.parBack;
    }
    if (row.runFore != -2) {
        TDynInfo run = kDefaultRunState;
        run.Offset = 1;
        run.StyleFlags = sfContext;
        run.Depth = -1;
        run.Foreground = row.runFore;
        run.Background = row.runBack;
        ExtendPar(par).Runs.push_back(run);
    }
    TPaintSettings s = Settings();
    s.Options = row.keepParBack ? TArtMemoOptions{amoWindowsSelColors, amoKeepParBackgnd}
                                : TArtMemoOptions{amoWindowsSelColors};
    if (row.selected) {
        s.SelVisible = true;
        s.SelLo = 0;
        s.SelHi = 4;
    }
    Paint(s);
    const TPaintedRun* piece = PieceAt(1);
    ASSERT_NE(piece, nullptr);
    EXPECT_EQ(piece->Text.rgb(), row.text);
    if (row.back == 0)
        EXPECT_FALSE(piece->Back.isValid());
    else
        EXPECT_EQ(piece->Back.rgb(), row.back);
}

constexpr int32_t kNone = -1;
constexpr int32_t kNoRun = -2;
constexpr int32_t kTeal = 0x808000; // 0x00BBGGRR
constexpr int32_t kMaroon = 0x000080;
constexpr int32_t kOlive = 0x008080;
const QRgb rgbTeal = qRgb(0, 0x80, 0x80);
const QRgb rgbMaroon = qRgb(0x80, 0, 0);
const QRgb rgbOlive = qRgb(0x80, 0x80, 0);
const QRgb rgbWhite = qRgb(255, 255, 255);

INSTANTIATE_TEST_SUITE_P(
    Rows, LinePaintColours,
    ::testing::Values(
        ColourRow{"FontColour", kNone, kNone, false, kNoRun, kNone, false, false, rgbWhite, 0},
        ColourRow{"ParagraphColour", kTeal, kNone, false, kNoRun, kNone, false, false, rgbTeal, 0},
        ColourRow{"NoneIsNoParagraphColour", platform::clNone, kNone, false, kNoRun, kNone, false, false,
                  rgbWhite, 0},
        ColourRow{"HighlightCode", kNone, kNone, true, kNoRun, kNone, false, false, qRgb(255, 0, 0),
                  qRgb(0, 0, 255)},
        ColourRow{"HighlightWinsOverParagraphColour", kTeal, kNone, true, kNoRun, kNone, false, false,
                  qRgb(255, 0, 0), qRgb(0, 0, 255)},
        ColourRow{"RunColours", kNone, kNone, false, kMaroon, kOlive, false, false, rgbMaroon, rgbOlive},
        ColourRow{"RunOverHighlight", kNone, kNone, true, kMaroon, kNone, false, false, rgbMaroon,
                  qRgb(0, 0, 255)},
        ColourRow{"ParagraphColourBeatsRunText", kTeal, kNone, false, kMaroon, kOlive, false, false, rgbTeal,
                  rgbOlive},
        ColourRow{"RunBackBeatsParagraphBack", kNone, kTeal, false, kMaroon, kOlive, false, false, rgbMaroon,
                  rgbOlive},
        ColourRow{"KeptParagraphBack", kNone, kTeal, false, kMaroon, kOlive, true, false, rgbMaroon, 0},
        ColourRow{"RunWithoutColoursChangesNothing", kNone, kNone, false, 0, 0, false, false, rgbWhite, 0},
        ColourRow{"SelectedWindowsColours", kTeal, kNone, true, kMaroon, kOlive, false, true,
                  qRgb(255, 255, 0), 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- selection ------------------------------------------------------------------------------

class LinePaintSelection : public LinePaint {
protected:
    void SetUp() override {
        LinePaint::SetUp();
        Load("\xDB\xDB\xDB\xDB\r\n\xDB\xDB");
    }
    TPaintSettings Selected(int32_t lo, int32_t hi, TArtMemoOptions options = {}) {
        TPaintSettings s = Settings();
        s.Options = options;
        s.SelVisible = true;
        s.SelLo = lo;
        s.SelHi = hi;
        return s;
    }
};

TEST_F(LinePaintSelection, WithoutWindowsColoursTheSelectedCellsAreInverted) {
    const QImage plain = Paint(Settings());
    const QImage inverted = Paint(Selected(1, 3));
    const int LM = core.LeftMargin();
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool inside = x >= LM + 8 && x < LM + 24;
            const QRgb expected = inside ? (plain.pixel(x, y) ^ 0x00FFFFFF) : plain.pixel(x, y);
            ASSERT_EQ(inverted.pixel(x, y), expected) << x << "," << y;
        }
}

TEST_F(LinePaintSelection, WithWindowsColoursTheExtentIsFilledAndTheTextRecoloured) {
    const QImage image = Paint(Selected(1, 3, {amoWindowsSelColors}));
    const int LM = core.LeftMargin();
    const int LH = core.LinePixels();
    // Glyph rows (the block fills the font's 16 rows) show the text colour, the spare row the fill.
    EXPECT_EQ(image.pixel(LM + 8, 0), qRgb(255, 255, 0));
    EXPECT_EQ(image.pixel(LM + 23, 15), qRgb(255, 255, 0));
    EXPECT_EQ(image.pixel(LM + 8, LH - 1), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(LM + 7, 0), rgbWhite);
    EXPECT_EQ(image.pixel(LM + 24, 0), rgbWhite);
    EXPECT_EQ(image.pixel(LM + 24, LH - 1), kBlack);
}

TEST_F(LinePaintSelection, ASelectedParagraphEndShowsABoxUnlessTheMarkIsShown) {
    const int LM = core.LeftMargin();
    const int LH = core.LinePixels();
    const int boxX = LM + 32;
    const int boxW = core.AvgCharWidth() / 2 + 1;
    // From position 2 into the next paragraph: the box stands right after the selected cells.
    QImage image = Paint(Selected(2, 7));
    EXPECT_EQ(InkIn(image, kBlack, boxX, boxX + boxW, LH / 3, 2 * (LH / 3)), boxW * (LH / 3));
    EXPECT_EQ(InkIn(image, kBlack, boxX, kWidth, 0, LH / 3), 0);
    EXPECT_EQ(InkIn(image, kBlack, boxX, kWidth, 2 * (LH / 3), LH), 0);
    EXPECT_EQ(InkIn(image, kBlack, boxX + boxW, kWidth), 0);

    // A selection that ends at the paragraph end selects no break: no box.
    image = Paint(Selected(2, 4));
    EXPECT_EQ(InkIn(image, kBlack, boxX, kWidth), 0);

    // Full-line selection runs to the window edge instead.
    image = Paint(Selected(2, 7, {amoFullLineSelect}));
    EXPECT_EQ(InkIn(image, kBlack, boxX, kWidth), (kWidth - boxX) * LH);

    // With the paragraph mark shown, the inversion covers the mark's cell and no box is drawn.
    TPaintSettings s = Selected(2, 7);
    s.NonPrint = amNPReturn;
    Paint(s);
    const TPaintedRun* mark = PieceAt(4);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(platform::BytesToText(&mark->Mark, 1, OemCharset), QString(QChar(0x00B6)));
    image = Paint(s);
    const int markEnd = mark->X + mark->Width;
    EXPECT_EQ(InkIn(image, kBlack, markEnd, kWidth), 0);
    s.SelVisible = false;
    const QImage unselected = Paint(s);
    for (int x = boxX; x < markEnd; ++x)
        ASSERT_EQ(image.pixel(x, 0), unselected.pixel(x, 0) ^ 0x00FFFFFF) << x;
}

TEST_F(LinePaintSelection, ABlockSelectsItsColumnsOnEveryParagraph) {
    TPaintSettings s = Settings();
    s.Options = {amoWindowsSelColors};
    s.SelVisible = true;
    s.SelLo = 1;
    s.SelHi = 8;
    s.Block = true;
    s.BlockParLo = 0;
    s.BlockParHi = 1;
    s.BlockColLo = 1;
    s.BlockColHi = 3;
    const int LM = core.LeftMargin();
    for (int par : {0, 1}) {
        const QImage image = Paint(s, par);
        EXPECT_EQ(image.pixel(LM + 7, 0), rgbWhite) << par;
        EXPECT_EQ(image.pixel(LM + 8, 0), qRgb(255, 255, 0)) << par;
        EXPECT_EQ(image.pixel(LM + 23, core.LinePixels() - 1), qRgb(0, 255, 0)) << par;
        EXPECT_EQ(image.pixel(LM + 24, core.LinePixels() - 1), kBlack) << par;
    }
}

// ---- the wavy underline -------------------------------------------------------------------

TEST_F(LinePaint, AStrikeOutHighlightRunIsUnderlinedByAZigZag) {
    Load("ab  cdef  gh");
    TDynInfo run = kDefaultRunState;
    run.Offset = 4;
    run.StyleFlags = sfContext | sfStrikeOut | sfHighlight;
    run.Depth = -1;
    TDynInfo back = kDefaultRunState;
    back.Offset = 8;
    ExtendPar(core.Paragraphs().Par(0)).Runs = {run, back};
    TPaintSettings s = Settings();
    s.FontColor = Qt::black; // only the underline shows
    const QImage image = Paint(s);
    const QRgb red = qRgb(255, 0, 0);
    const int x1 = core.LeftMargin() + 32;
    const int x2 = x1 + 32;
    const int y = s.SpecUnderlineY;
    const int a = s.SpecAmplitude;
    EXPECT_EQ(image.pixel(x1, y + a), red);
    EXPECT_EQ(image.pixel(x1 + a, y), red);
    EXPECT_EQ(image.pixel(x1 + 2 * a, y + a), red);
    EXPECT_EQ(image.pixel(x1 + a, y + a), kBlack);
    const QRect bounds = InkBounds(image, kBlack);
    EXPECT_EQ(bounds.left(), x1);
    EXPECT_LE(bounds.right(), x2);
    EXPECT_GE(bounds.right(), x2 - 1);
    EXPECT_EQ(bounds.top(), y);
    EXPECT_EQ(bounds.bottom(), y + a);
}

// ---- justification --------------------------------------------------------------------------

TEST_F(LinePaint, JustifiedPiecesStandWhereTheCaretGeometryPutsTheirCharacters) {
    UseFont(QFont("DejaVu Sans", 14), platform::ANSI_CHARSET);
    core.SetJustified(true);
    LoadBare(core, "Wide awake in a tiny VAT office\tof ten ants end");
    SetLines(core, 0, {16, 39});
    for (int line = 0; line < 3; ++line) {
        TPaintSettings s = Settings();
        s.NonPrint = amNPSpace; // every blank becomes a piece of its own
        Paint(s, 0, line);
        TLinesList lines(&core.Paragraphs().Par(0));
        TLineGeometry geometry(core, core.Paragraphs().Par(0), *lines.LineAt(line));
        ASSERT_FALSE(log.empty());
        for (const TPaintedRun& piece : log) {
            if (piece.Mark == char(182))
                continue;
            EXPECT_EQ(piece.X, geometry.LeftEdge() + geometry.WidthTo(piece.Offset))
                << "line " << line << " offset " << piece.Offset;
        }
        if (line == 0) {
            // The line is stretched to the right margin.
            const TPaintedRun* lastLetter = PieceAt(14);
            ASSERT_NE(lastLetter, nullptr);
            EXPECT_EQ(lastLetter->X + lastLetter->Width, kWidth - core.RightMargin());
        }
    }
}

} // namespace
} // namespace zandor::test
