#include "printing/PrintPreview.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "platform/ScreenFonts.h"
#include "printing/PrintCommands.h"
#include "support/FakeHost.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

using namespace zandor;

namespace {

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "Line " + std::to_string(i) + " of the text to print\r\n";
    return text;
}

struct Source {
    QPrinter printer{QPrinter::ScreenResolution};
    TArtMemo memo;
    TArtMemoPrinter layout{printer};

    Source(int dpi, const std::string& text) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(dpi);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        platform::FontValue font;
        font.Name = "Courier New";
        font.Size = 9;
        memo.SetFont(font);
        TMemoryReadStream stream(text.data(), text.size());
        memo.LoadFromStream(stream);
        layout.SetMemoToPrint(&memo);
        layout.SetPlainText(true);
        layout.Header = QStringLiteral("Page {p} of {pp}");
        layout.Footer = QStringLiteral("the footer");
    }
};

// Inked pixels, gathered in 8 x 8 blocks so that the two renderers' smoothing does not count.
std::vector<bool> Ink(const QImage& image, int width, int height) {
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    constexpr int B = 8;
    std::vector<bool> blocks(size_t((width / B) * (height / B)), false);
    for (int y = 0; y < height / B * B; ++y)
        for (int x = 0; x < width / B * B; ++x)
            if (qGray(gray.pixel(x, y)) < 192)
                blocks[size_t((y / B) * (width / B) + x / B)] = true;
    return blocks;
}

// Rows of the column x0 .. x1 that hold ink, gathered into bands of touching rows, each with the
// leftmost column its ink reaches.
struct Band {
    int Top;
    int Bottom; // the last inked row
    int Left;
};
std::vector<Band> InkBands(const QImage& image, int x0, int x1) {
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    std::vector<Band> bands;
    for (int y = 0; y < gray.height(); ++y) {
        int left = x1;
        for (int x = std::max(0, x0); x < std::min(left, gray.width()); ++x)
            if (qGray(gray.pixel(x, y)) < 128)
                left = x;
        if (left == x1)
            continue;
        if (!bands.empty() && bands.back().Bottom == y - 1) {
            bands.back().Bottom = y;
            bands.back().Left = std::min(bands.back().Left, left);
        } else {
            bands.push_back({y, y, left});
        }
    }
    return bands;
}

// Runs pdftoppm on one page of a PDF at `dpi`; a null image when it failed.
QImage Rasterised(const QString& pdftoppm, const QString& pdf, int page, int dpi, const std::string& base) {
    QProcess::execute(pdftoppm, {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                 QString::number(page), QStringLiteral("-l"), QString::number(page),
                                 QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
                                 QString::fromStdString(base)});
    return QImage(QString::fromStdString(base + ".png"));
}

} // namespace

// The zoom's scale and the page's place in the box.
TEST(PreviewGeometry, ZoomsPlaceThePageInTheBox) {
    TPrinterMetrics letter600{5100, 6600, 75, 75, 4950, 6450, 600, 600};
    struct Row {
        const char* name;
        TPreviewZoom zoom;
        int boxWidth, boxHeight;
        double scale;
        int pageLeft;
    };
    const double tallScale = 580.0 / 6600; // whole page limited by the height
    for (const Row& r : {
             Row{"100% is the paper's real size", pz100, 800, 800, 0.16, 10},
             Row{"100% in a wide box is centred", pz100, 2000, 800, 0.16, (2000 - 816) / 2},
             Row{"page width", pzPageWidth, 1000, 800, 980.0 / 5100, 10},
             Row{"whole page in a wide box", pzWholePage, 2000, 600, tallScale,
                 int(std::nearbyint((2000 - 5100 * tallScale) / 2))},
             Row{"whole page in a tall box fills the width", pzWholePage, 400, 2000, 380.0 / 5100, 10},
         }) {
        SCOPED_TRACE(r.name);
        const TPreviewGeometry g = PreviewGeometry(r.zoom, 96, letter600, {}, r.boxWidth, r.boxHeight);
        EXPECT_NEAR(g.Scale, r.scale, 1e-9);
        EXPECT_EQ(g.PageLeft, r.pageLeft);
        EXPECT_EQ(g.GuideLeft, int(std::nearbyint(600 * 0.75 * g.Scale)));
        // A guide dropped where it stands gives its margin back, to a pixel.
        EXPECT_NEAR(GuideToInches(2, g.GuideRight, g, letter600), 0.5, 1 / (600 * g.Scale));
        EXPECT_NEAR(GuideToInches(4, g.GuideBottom, g, letter600), 0.75, 1 / (600 * g.Scale));
    }
    // Without a printer the guides stay at 0 and the page is still shown.
    const TPreviewGeometry none = PreviewGeometry(pz100, 96, {}, {}, 800, 600);
    EXPECT_EQ(none.GuideRight, 0);
}

// The preview at 100% on a screen of the printer's resolution shows the page the PDF holds.
TEST(PrintPreview, ThePreviewShowsWhatIsPrinted) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    test::ScratchDir dir;
    QWidget probe;
    const int dpi = probe.logicalDpiY();
    Source s(dpi, Lines(150));
    s.layout.SetColumns(2);
    s.layout.LineNumbers = true;
    const QString pdf = QString::fromStdString(dir.file("page.pdf"));
    s.printer.setOutputFileName(pdf);
    s.layout.Print();
    ASSERT_GE(s.layout.PageCount(), 2);
    QProcess::execute(pdftoppm,
                      {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QStringLiteral("2"),
                       QStringLiteral("-l"), QStringLiteral("2"), QStringLiteral("-png"),
                       QStringLiteral("-singlefile"), pdf, QString::fromStdString(dir.file("page"))});
    const QImage printed(QString::fromStdString(dir.file("page.png")));
    ASSERT_FALSE(printed.isNull());

    TFrmAMPrintPreview form(s.layout, nullptr);
    form.resize(1200, 1400);
    form.show();
    form.cbZoom->setCurrentIndex(pz100);
    form.cbZoomChange();
    form.GoToPage(1);
    ASSERT_NEAR(form.Geometry().Scale, 1.0, 1e-9);
    const QImage shown = form.PBPreview->grab().toImage();
    ASSERT_LE(std::abs(shown.width() - printed.width()), 1);
    ASSERT_LE(std::abs(shown.height() - printed.height()), 1);
    const int w = std::min(shown.width(), printed.width());
    const int h = std::min(shown.height(), printed.height());
    const std::vector<bool> a = Ink(shown, w, h);
    const std::vector<bool> b = Ink(printed, w, h);
    int inked = 0, differ = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        inked += a[i] || b[i];
        differ += a[i] != b[i];
    }
    EXPECT_GT(inked, 200);
    EXPECT_LT(differ, inked / 20) << differ << " of " << inked << " blocks differ";
}

// Paging, dragging a margin, columns, and printing a range from the preview.
TEST(PrintPreview, PagesMarginsColumnsAndARangeFromThePreview) {
    test::ScratchDir dir;
    Source s(150, Lines(200));
    TFrmAMPrintPreview form(s.layout, nullptr);
    s.layout.PreviewForm = &form;
    form.resize(700, 900);
    form.show();
    const int pages = s.layout.PageCount();
    ASSERT_GE(pages, 3);
    EXPECT_FALSE(form.btnPrevious->isEnabled());
    EXPECT_TRUE(form.btnNextPage->isEnabled());
    form.btnNextPage->click();
    form.GoToPage(pages + 5);
    EXPECT_EQ(form.PageIndex(), pages - 1);
    EXPECT_FALSE(form.btnNextPage->isEnabled());
    EXPECT_TRUE(form.btnPrevious->isEnabled());

    // The left margin dragged past the right one stops ten pixels before it, in inches.
    form.btnMargins->click();
    const TPreviewGeometry before = form.Geometry();
    form.PBPreviewMouseDown({before.GuideLeft + 1, 300});
    form.PBPreviewMouseMove({before.GuideRight + 50, 300});
    form.PBPreviewMouseUp({before.GuideRight + 50, 300});
    EXPECT_NEAR(s.layout.MarginLeft(), (before.GuideRight - 10) / (150 * before.Scale), 1e-4);
    // Wider margins make more pages; the preview stays on a page that exists.
    EXPECT_GT(s.layout.PageCount(), pages);
    EXPECT_LT(form.PageIndex(), s.layout.PageCount());
    s.layout.SetMarginLeft(0.75f);

    // Two columns halve the pages; the preview follows.
    const int oneColumn = s.layout.PageCount();
    form.udColumns->setValue(2);
    EXPECT_EQ(s.layout.Columns(), 2);
    EXPECT_LE(s.layout.PageCount(), oneColumn / 2 + 1);
    EXPECT_EQ(form.LblPage->text(),
              QStringLiteral("Page %1/%2").arg(form.PageIndex() + 1).arg(s.layout.PageCount()));

    // Printing pages 2 to 3 from the preview's dialog.
    const QString pdf = QString::fromStdString(dir.file("range.pdf"));
    form.RunPrintDialog = [&](QPrintDialog& dialog) {
        dialog.setPrintRange(QAbstractPrintDialog::PageRange);
        dialog.setFromTo(2, 3);
        s.printer.setOutputFileName(pdf);
        return true;
    };
    form.btnPrint->click();
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (!pdfinfo.isEmpty()) {
        QProcess p;
        p.start(pdfinfo, {pdf});
        p.waitForFinished();
        EXPECT_TRUE(
            QString::fromUtf8(p.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+2\\b")));
    }
    s.layout.PreviewForm = nullptr;
}

// "Print...": the document's text printed from the print editor; a remembered printer that is gone
// falls back to the first, and the printer printed on is remembered.
TEST(PrintCommands, PrintsTheDocumentAndRemembersThePrinter) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has printers; the test expects printing into a file only";
    test::ScratchDir dir;
    test::FakeHost host;
    TArtMemo editor, printMemo;
    host.Memo = &editor;
    const std::string text = "The document's own text\r\nsecond line";
    TMemoryReadStream stream(text.data(), text.size());
    editor.LoadFromStream(stream);
    TPrintCommands commands(host, printMemo);
    commands.LastPrinter = 7; // a printer since removed
    const QString pdf = QString::fromStdString(dir.file("doc.pdf"));
    commands.RunPrintDialog = [&](QPrintDialog&) {
        commands.Printer.setOutputFileName(pdf);
        return true;
    };
    commands.Print1Click();
    EXPECT_EQ(printMemo.Text(), text);
    EXPECT_EQ(commands.LastPrinter, int(PrinterList().size()) - 1);
    EXPECT_TRUE(host.Messages.empty());
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    ASSERT_TRUE(QFile::exists(pdf));
    if (!pdftotext.isEmpty()) {
        QProcess p;
        p.start(pdftotext, {pdf, QStringLiteral("-")});
        p.waitForFinished();
        EXPECT_TRUE(
            QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("The document's own text")));
    }
}

// Every printed line shows its capitals whole: rasterised from the PDF, and in the preview, each
// line's ink starts and ends where the 9-point font at the printer's resolution puts a capital on
// that line's baseline (ascent below the line's top, one and a half text heights apart), and a tab
// reaches as far as eight blanks of that font.
TEST(PrintPreview, PageAndPreviewShowEveryLineInTheFontsFullHeight) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    constexpr int kPrinterDpi = 600;
    constexpr int kLines = 12;
    std::string text;
    for (int i = 0; i < kLines; ++i)
        text += i == kLines - 1 ? "\tHHH\r\n" : "HHHHHHHHHH\r\n";
    test::ScratchDir dir;
    Source s(kPrinterDpi, text);
    s.layout.Header.clear();
    s.layout.Footer.clear();
    const QString pdf = QString::fromStdString(dir.file("caps.pdf"));
    s.printer.setOutputFileName(pdf);
    s.layout.Print();

    // What a capital of the print font occupies on the paper, from the font alone.
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(int(std::lround(9.0 * kPrinterDpi / 72)));
    const QFontMetricsF fm(font);
    const QRectF cap = fm.tightBoundingRect(QStringLiteral("H"));
    const double step = 1.5 * QFontMetrics(font).height();
    const double top = 0.75 * kPrinterDpi;
    std::vector<Band> bands;
    auto check = [&](const QImage& page, double dpi, const char* what) {
        SCOPED_TRACE(what);
        ASSERT_FALSE(page.isNull());
        const double k = dpi / kPrinterDpi;
        const double left = 0.75 * kPrinterDpi * k;
        const int right = int(left + 12 * fm.horizontalAdvance('H') * k);
        bands = InkBands(page, int(left) - 4, right);
        ASSERT_EQ(size_t(kLines), bands.size());
        for (int i = 0; i < kLines; ++i) {
            SCOPED_TRACE(i);
            const Band& band = bands[size_t(i)];
            const double baseline = top + i * step + fm.ascent();
            EXPECT_NEAR(band.Top, (baseline + cap.top()) * k, 2.0);
            EXPECT_NEAR(band.Bottom + 1, (baseline + cap.bottom()) * k, 2.0);
            const double tab = i == kLines - 1 ? 8 * fm.horizontalAdvance(' ') : 0;
            EXPECT_NEAR(band.Left, left + (tab + cap.left()) * k, 2.0);
        }
    };
    check(Rasterised(pdftoppm, pdf, 1, 300, dir.file("caps300")), 300, "printed");

    // The preview at 200 %.
    TFrmAMPrintPreview form(s.layout, nullptr);
    form.resize(1200, 900);
    form.show();
    form.cbZoom->setCurrentIndex(pz200);
    form.cbZoomChange();
    const double shownDpi = form.Geometry().Scale * kPrinterDpi;
    check(form.PBPreview->grab().toImage(), shownDpi, "preview");
    // Line by line where the PDF rasterised at the preview's resolution has its ink.
    const std::vector<Band> shown = bands;
    check(Rasterised(pdftoppm, pdf, 1, int(std::lround(shownDpi)), dir.file("caps-shown")), shownDpi,
          "as shown");
    for (size_t i = 0; i < shown.size() && i < bands.size(); ++i) {
        EXPECT_NEAR(shown[i].Top, bands[i].Top, 1) << i;
        EXPECT_NEAR(shown[i].Bottom, bands[i].Bottom, 1) << i;
        EXPECT_NEAR(shown[i].Left, bands[i].Left, 1) << i;
    }
}

namespace {

// The leftmost and rightmost inked column of the page, and how many columns between them the ink's
// middle row leaves blank.
struct TInkSpan {
    int Left = 0, Right = -1, Gaps = 0;
};
TInkSpan InkSpan(const QImage& page) {
    const QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
    TInkSpan span{gray.width(), -1, 0};
    int top = -1, bottom = -1;
    for (int y = 0; y < gray.height(); ++y)
        for (int x = 0; x < gray.width(); ++x)
            if (qGray(gray.pixel(x, y)) < 128) {
                span.Left = std::min(span.Left, x);
                span.Right = std::max(span.Right, x);
                top = top < 0 ? y : top;
                bottom = y;
            }
    for (int x = span.Left; x <= span.Right; ++x)
        span.Gaps += qGray(gray.pixel(x, (top + bottom) / 2)) >= 128;
    return span;
}

} // namespace

// A row of full blocks in the screen font prints 9/8 as wide in 9-dot cells, unbroken: the block's
// ninth column repeats its eighth on paper as on the screen.
TEST(PrintPreview, NineDotCellsPrintNinePixelsWide) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    ASSERT_TRUE(platform::RegisterScreenFonts(std::string(ZANDOR_BINARY_DIR_BUILT) + "/fonts"));
    test::ScratchDir dir;
    TInkSpan spans[2];
    for (const bool nine : {false, true}) {
        Source s(300, std::string(10, '\xDB') + "\r\n");
        s.layout.Header.clear();
        s.layout.Footer.clear();
        platform::FontValue font;
        font.Name = platform::LargeScreenFontFace;
        font.Size = 12;
        font.Charset = platform::OEM_CHARSET;
        s.memo.SetScreenCells({.NineDots = nine});
        s.memo.SetFont(font);
        const QString pdf = QString::fromStdString(dir.file(nine ? "nine.pdf" : "eight.pdf"));
        s.printer.setOutputFileName(pdf);
        s.layout.Print();
        const QImage page = Rasterised(pdftoppm, pdf, 1, 300, dir.file(nine ? "nine" : "eight"));
        ASSERT_FALSE(page.isNull());
        spans[nine] = InkSpan(page);
    }
    const int eight = spans[0].Right - spans[0].Left + 1;
    const int nine = spans[1].Right - spans[1].Left + 1;
    ASSERT_GT(eight, 100);
    EXPECT_NEAR(nine, eight * 9 / 8, 2) << eight << " and " << nine << " pixels";
    EXPECT_EQ(spans[0].Left, spans[1].Left);
    EXPECT_EQ(0, spans[0].Gaps);
    EXPECT_EQ(0, spans[1].Gaps) << "the blocks' ninth columns are inked";
}
