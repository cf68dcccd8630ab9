#include "printing/ArtMemoPrinter.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "support/TestSupport.h"

#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace zandor;

namespace {

// A source editor in the print font and a PDF printer at a resolution small enough to be quick.
struct PrintBench {
    QPrinter printer{QPrinter::ScreenResolution};
    std::unique_ptr<TArtMemo> source = std::make_unique<TArtMemo>();
    TArtMemoPrinter layout{printer};

    explicit PrintBench(int dpi = 300) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(dpi);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        platform::FontValue font;
        font.Name = "Courier New";
        font.Size = 9;
        source->SetFont(font);
        layout.SetMemoToPrint(source.get());
        layout.SetPlainText(true);
    }
    void Load(const std::string& text) {
        TMemoryReadStream stream(text.data(), text.size());
        source->LoadFromStream(stream);
    }
    int LinesPerPage() {
        layout.FormatText();
        return layout.LinesPerPage();
    }
};

std::string NumberedLines(int first, int count, const std::string& prefix = "L") {
    std::string text;
    for (int i = first; i < first + count; ++i) {
        if (!text.empty())
            text += "\r\n";
        text += prefix + QString::number(i).rightJustified(4, '0').toStdString();
    }
    return text;
}

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

// The page arithmetic as the display lines fill the virtual line space: every display line is
// printed exactly once, in order, forced breaks start a page, and a text that fills its last page
// gets one more.
TEST(ArtMemoPrinter, PagesCoverEveryLineOnceAndFormFeedsStartPages) {
    PrintBench bench;
    const int lpp = bench.LinesPerPage();
    ASSERT_GT(lpp, 10);

    struct Case {
        const char* name;
        std::string text;
        int columns;
        int pages;
        std::vector<int> breakPageOfLine; // display line -> the page it must start (or -1)
    };
    const std::string full = NumberedLines(0, lpp);
    const std::string ffFirst = "\f" + NumberedLines(0, 3);
    const std::string ffMiddle = NumberedLines(0, 5) + "\r\n\f" + NumberedLines(5, 5);
    const std::string twoCols = NumberedLines(0, 2 * lpp + 3);
    const std::vector<Case> cases = {
        {"exactly one page", full, 1, 2, {}},
        {"form feed first", ffFirst, 1, 2, {-1}},
        {"form feed in the middle", ffMiddle, 1, 2, {}},
        {"two columns", twoCols, 2, 2, {}},
        {"empty", "", 1, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bench.Load(c.text);
        bench.layout.SetColumns(c.columns);
        bench.layout.FormatText();
        EXPECT_EQ(bench.layout.PageCount(), c.pages);
        const int32_t lines = bench.layout.FormatMemo()->LineCount();
        // Walk the virtual lines page by page: each display line appears once and in order.
        std::vector<int32_t> seen;
        std::vector<int> pageOf(size_t(lines), -1);
        for (int32_t v = 0; v < bench.layout.PageCount() * c.columns * lpp; ++v) {
            const int32_t line = bench.layout.MapVirtualLine(v);
            if (line >= lines)
                continue;
            seen.push_back(line);
            pageOf[size_t(line)] = v / (c.columns * lpp);
        }
        ASSERT_EQ(int32_t(seen.size()), lines);
        for (int32_t i = 0; i < lines; ++i)
            EXPECT_EQ(seen[size_t(i)], i);
        if (std::string(c.name) == "form feed first") {
            EXPECT_EQ(pageOf[0], 1); // the first page stays blank
        }
        if (std::string(c.name) == "form feed in the middle") {
            EXPECT_EQ(pageOf[4], 0);
            EXPECT_EQ(pageOf[5], 1);
            EXPECT_EQ(bench.layout.MapVirtualLine(lpp), 5); // the paragraph tops the next page
        }
    }
    // Drawing the last two-column page announces each column with the lines it holds and its place.
    bench.Load(twoCols);
    bench.layout.SetColumns(2);
    bench.layout.FormatText();
    struct Column {
        int32_t first, last;
        int left;
    };
    std::vector<Column> columns;
    bench.layout.OnDrawLine = [&](TArtMemoPrinter&, platform::TCanvas&, int32_t first, int32_t last, int left,
                                  int, double) {
        columns.push_back({first, last, left});
    };
    QImage page(200, 200, QImage::Format_RGB32);
    QPainter painter(&page);
    bench.layout.DrawPage(painter, 1, 0, lpp - 1, 1.0f);
    painter.end();
    bench.layout.OnDrawLine = nullptr;
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0].first, 2 * lpp);
    EXPECT_GE(columns[0].last, 2 * lpp + 2);
    EXPECT_GE(columns[1].first, bench.layout.FormatMemo()->LineCount()); // nothing left for it
    EXPECT_EQ(columns[1].left - columns[0].left, bench.layout.ColumnPitch());
    bench.layout.SetColumns(1);

    // A pitch from the text height: one and a half lines of "A" fit (paper - margins) / pitch times.
    const TPrinterMetrics& m = bench.layout.Metrics();
    EXPECT_EQ(lpp, int((m.PhysicalHeight - 1.5 * m.DpiY) / bench.layout.LinePitch()));

    // Editing the source lets the copy go; the next layout makes a new one with the new text.
    bench.Load(NumberedLines(0, 3));
    bench.layout.FormatText();
    ASSERT_NE(bench.layout.FormatMemo(), nullptr);
    bench.source->SetSelStart(0);
    bench.source->SetSelText("x");
    EXPECT_EQ(bench.layout.FormatMemo(), nullptr);
    EXPECT_EQ(bench.layout.PageCount(), 0);
    // The source going away leaves one empty page.
    bench.source.reset();
    bench.layout.FormatText();
    EXPECT_EQ(bench.layout.PageCount(), 1);
}

// Three pages in two columns printed to a PDF file and read back with Poppler's tools.
TEST(ArtMemoPrinter, ThreePagesToPdfReadBackInOrderWithHeaderAndFooter) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdftotext.isEmpty() || pdfinfo.isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    test::ScratchDir dir;
    const QString file = QString::fromStdString(dir.file("three.pdf"));
    PrintBench bench;
    bench.printer.setOutputFileName(file);
    bench.layout.SetColumns(2);
    bench.layout.Header = QStringLiteral("Page {p} of {pp}");
    bench.layout.Footer = QStringLiteral("Footer {p}");
    bench.layout.HeaderAlign = THFAlign::Centre;
    const int lpp = bench.LinesPerPage();
    // Two full pages of two columns and half a column on the third.
    const int total = 4 * lpp + lpp / 2;
    bench.Load(NumberedLines(0, total));
    bench.layout.Print();
    ASSERT_EQ(bench.layout.PageCount(), 3);
    EXPECT_EQ(bench.layout.CurrentPage(), -1);

    EXPECT_TRUE(RunTool(pdfinfo, {file}).contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\b"))));
    std::vector<int> order;
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const QString text =
            RunTool(pdftotext, {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")});
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of 3").arg(page))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Footer %1").arg(page)));
        // Row r of a page holds line base + r on the left and base + lpp + r on the right.
        const int base = (page - 1) * 2 * lpp;
        int rows = 0;
        for (const QString& row : text.split('\n')) {
            static const QRegularExpression number(QStringLiteral("L(\\d{4})"));
            std::vector<int> found;
            for (auto it = number.globalMatch(row); it.hasNext();)
                found.push_back(it.next().captured(1).toInt());
            if (found.empty())
                continue;
            const int r = found[0] - base;
            ASSERT_GE(r, 0);
            ASSERT_LT(r, lpp);
            if (base + lpp + r < total) {
                ASSERT_EQ(found.size(), 2u) << row.toStdString();
                EXPECT_EQ(found[1], base + lpp + r);
                EXPECT_GT(row.indexOf(QStringLiteral("L%1").arg(found[1], 4, 10, QChar('0'))),
                          row.size() / 2 - 10);
            }
            ++rows;
        }
        EXPECT_EQ(rows, std::min(lpp, total - base));
    }
}

// The source's highlighting reaches the paper unless PlainText is set; the copy follows the switch.
TEST(ArtMemoPrinter, HighlightingIsPrintedUnlessPlainText) {
    PrintBench bench(100);
    bench.Load("\fplain ZANDOR plain\r\nmore text");
    bench.source->Keywords().AddKeyWord("ZANDOR", 0, 0, 1, 0, platform::clBlack, platform::clLime);
    bench.source->ReApplyKeywords();
    const auto greenPixels = [&] {
        bench.layout.FormatText();
        const TPrinterMetrics& m = bench.layout.Metrics();
        QImage page(m.PhysicalWidth, m.PhysicalHeight, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        bench.layout.DrawPage(painter, 1); // the form feed put the text on the second page
        painter.end();
        int lime = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                lime += qGreen(page.pixel(x, y)) > 150 && qRed(page.pixel(x, y)) < 100;
        return lime;
    };
    bench.layout.SetPlainText(false);
    EXPECT_GT(greenPixels(), 20);
    bench.layout.SetPlainText(true);
    EXPECT_EQ(greenPixels(), 0);
}
