#include "printing/ArtMemoPrinter.h"

#include "editor/control/ArtMemo.h"
#include "editor/control/ArtPainter.h"
#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/ParagraphsList.h"
#include "platform/Canvas.h"
#include "platform/QtTextMeasurer.h"

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace zandor {

namespace {

int Round(double v) {
    return int(std::nearbyint(v)); // halves to the even neighbour
}

// A font value at the printer's resolution: the pixel height it has on the screen, times the
// ratio of the two resolutions.
platform::FontValue AtResolution(platform::FontValue font, int dpi) {
    const int screenPixels = ToQFont(font).pixelSize();
    font.Height = -std::max(1, Round(double(screenPixels) * dpi / platform::ScreenPixelsPerInch));
    return font;
}

QFont PrinterFont(const platform::FontValue& font, int dpi) {
    QFont f = ToQFont(font);
    f.setPixelSize(std::max(1, Round(double(font.PointSize()) * dpi / 72)));
    return f;
}

// A value that printer pixels can be computed from: a number (neither NaN nor infinite) from least
// to most.
bool Within(float value, float least, float most) {
    return std::isfinite(value) && value >= least && value <= most;
}

// A margin holds the text off the paper's edge: more than nothing.
bool IsMargin(float value) {
    return value > 0 && Within(value, 0, TArtMemoPrinter::kLongestLength);
}

QString ReplaceFields(QString text, int page, int lastPage) {
    text.replace(QStringLiteral("{p}"), QString::number(page));
    text.replace(QStringLiteral("{pp}"), QString::number(lastPage));
    return text;
}

} // namespace

TPrinterMetrics ReadPrinterMetrics(QPrinter& printer) {
    TPrinterMetrics m;
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toAlignedRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toAlignedRect();
    m.PhysicalWidth = paper.width();
    m.PhysicalHeight = paper.height();
    m.OffsetX = page.left() - paper.left();
    m.OffsetY = page.top() - paper.top();
    m.HorzRes = page.width();
    m.VertRes = page.height();
    m.DpiX = printer.logicalDpiX();
    m.DpiY = printer.logicalDpiY();
    return m;
}

TArtMemoPrinter::TArtMemoPrinter(QPrinter& printer) : FPrinter(printer) {}

TArtMemoPrinter::~TArtMemoPrinter() {
    DiscardFormat();
}

// ---- properties ------------------------------------------------------------------------------------

void TArtMemoPrinter::SetMemoToPrint(TArtMemo* memo) {
    if (memo == FMemoToPrint)
        return;
    DiscardFormat();
    FMemoToPrint = memo;
}

void TArtMemoPrinter::SetColumns(int value) {
    value = std::clamp(value, 1, kMostColumns);
    if (value == FColumns)
        return;
    FColumns = value;
    FFormatValid = false;
    RefreshPreview();
}

void TArtMemoPrinter::SetMarginLeft(float value) {
    if (IsMargin(value))
        SetLayoutValue(FMarginLeft, value);
}

void TArtMemoPrinter::SetMarginRight(float value) {
    if (IsMargin(value))
        SetLayoutValue(FMarginRight, value);
}

void TArtMemoPrinter::SetMarginTop(float value) {
    if (IsMargin(value))
        SetPaginationValue(FMarginTop, value);
}

void TArtMemoPrinter::SetMarginBottom(float value) {
    if (IsMargin(value))
        SetPaginationValue(FMarginBottom, value);
}

void TArtMemoPrinter::SetLineSpacing(float value) {
    if (Within(value, -kLongestLength, kLongestLength))
        SetPaginationValue(FLineSpacing, value);
}

void TArtMemoPrinter::SetGutterWidth(float value) {
    if (value == FGutterWidth || !Within(value, 0, kLongestLength))
        return;
    FGutterWidth = value;
    // With one column the gutter lies nowhere on the page.
    if (FColumns > 1) {
        FFormatValid = false;
        RefreshPreview();
    }
}

void TArtMemoPrinter::SetWordWrap(bool value) {
    if (value == FWordWrap)
        return;
    FWordWrap = value;
    // The copy takes the wrap mode when it is made.
    DiscardFormat();
    RefreshPreview();
}

void TArtMemoPrinter::SetPlainText(bool value) {
    if (value == FPlainText)
        return;
    FPlainText = value;
    DiscardFormat();
    RefreshPreview();
}

void TArtMemoPrinter::SetNumbersFontFromMemo(bool value) {
    if (value == FNumbersFontFromMemo)
        return;
    FNumbersFontFromMemo = value;
    RefreshPreview();
}

void TArtMemoPrinter::SetLayoutValue(float& field, float value) {
    if (value == field)
        return;
    field = value;
    FFormatValid = false;
    RefreshPreview();
}

void TArtMemoPrinter::SetPaginationValue(float& field, float value) {
    if (value == field)
        return;
    field = value;
    FPaginationValid = false;
    RefreshPreview();
}

void TArtMemoPrinter::RefreshPreview() {
    if (!PreviewForm)
        return;
    FormatText();
    PreviewForm->GoToPage(std::min(PreviewForm->PageIndex(), FPageCount - 1));
}

void TArtMemoPrinter::Notify(TArtMemoCore*, int32_t codes) {
    if (codes & 1)
        DiscardFormat();
}

// ---- layout ----------------------------------------------------------------------------------------

void TArtMemoPrinter::DiscardFormat() {
    FPageCount = 0;
    if (!FFormatMemo)
        return;
    FFormatValid = false;
    if (FMemoToPrint)
        FMemoToPrint->EventSinks().Remove(this);
    // The copy lets go of the layout canvas before the canvas goes.
    FFormatMemo->SetRenderCanvas(nullptr, 0);
    FFormatMemo.reset();
    FLayoutCanvas.reset();
    FLayoutPainter.reset();
}

void TArtMemoPrinter::MakeCopy() {
    FFormatValid = false;
    FFormatMemo = std::make_unique<TArtMemo>(nullptr);
    TArtMemo& copy = *FFormatMemo;
    copy.hide();
    copy.SetUpdateMode(umOnNeed);
    copy.SetLeftMargin(0);
    copy.SetRightMargin(0);
    copy.SetWordWrap(FWordWrap);
    FBreakPars.clear();
    TArtMemo* source = FMemoToPrint;
    if (!source)
        return;
    copy.SetAlignment(source->Alignment());
    copy.SetAltFont(source->AltFont());
    copy.SetSeparators(source->Separators());
    copy.SetJustified(source->Justified());
    // Printed cells are as wide as the screen's; the DOS aspect is a matter of the screen's pixels.
    copy.SetScreenCells({.NineDots = source->ScreenCells().NineDots});
    copy.SetFont(source->Font());
    copy.SetTabStops(source->TabStops());
    copy.SetStaticFormat(source->StaticFormat());
    copy.SetHighlightColor(source->HighlightColor());
    copy.SetHighlightBackgnd(source->HighlightBackgnd());

    TParagraphsList& pars = source->Core().Paragraphs();
    const int count = pars.Count();
    if (!FPlainText && count > 0) {
        // Keywords are applied when a paragraph is first laid out; those never shown get them now,
        // or they would print plain.
        source->Core().ParseUpTo(count - 1);
        for (int i = 0; i < count; ++i)
            source->Core().Highlighting().ApplyKeywordsIfNeeded(i);
    }
    // A form feed that opens a paragraph starts a new page and is not printed itself.
    std::vector<bool> fed(size_t(std::max(count, 0)), false);
    std::string text;
    text.reserve(size_t(std::max<int32_t>(0, pars.TextLength)));
    for (int i = 0; i < count; ++i) {
        const ParInfo& par = pars.Par(i);
        const char* t = par.Text;
        int32_t n = ParLength(par);
        if (n > 0 && t[0] == '\f') {
            FBreakPars.push_back(i);
            fed[size_t(i)] = true;
            ++t;
            --n;
        }
        if (n > 0)
            text.append(t, size_t(n));
        if (i + 1 < count)
            text += "\r\n";
    }
    TMemoryReadStream stream(text.data(), text.size());
    copy.LoadFromStream(stream);

    TParagraphsList& copyPars = copy.Core().Paragraphs();
    if (!FPlainText && copyPars.Count() == count) {
        // The source's highlighting, moved back by the form feed where one was taken out.
        for (int i = 0; i < count; ++i) {
            const ParInfo& from = pars.Par(i);
            if (RunCount(from) == 0)
                continue;
            ParInfo& to = copyPars.Par(i);
            TRunArray& runs = ExtendPar(to, static_cast<size_t>(RunCount(from))).Runs;
            runs = from.Extra->Runs;
            if (fed[size_t(i)])
                for (TDynInfo& run : runs)
                    run.Offset = std::max(0, run.Offset - 1);
            to.Flags |= pfParsed | pfKeywords;
        }
    }
    if (!source->EventSinks().Contains(this))
        source->EventSinks().Add(this);
}

void TArtMemoPrinter::FormatText() {
    if (!FFormatMemo)
        MakeCopy();
    const TPrinterMetrics metrics = ReadPrinterMetrics(FPrinter);
    if (FFormatValid && metrics.PhysicalWidth == FMetrics.PhysicalWidth &&
        metrics.PhysicalHeight == FMetrics.PhysicalHeight && metrics.DpiX == FMetrics.DpiX &&
        metrics.DpiY == FMetrics.DpiY) {
        if (!FPaginationValid)
            Paginate();
        return;
    }
    FBreakFill.clear();
    FTotalFill = 0;
    FPaginationValid = false;
    TArtMemo& copy = *FFormatMemo;
    if (OnFormatPrint)
        OnFormatPrint(&copy);
    FMetrics = metrics;
    const int dpiX = std::max(1, FMetrics.DpiX);
    const int dpiY = std::max(1, FMetrics.DpiY);
    FMetrics.DpiX = dpiX;
    FMetrics.DpiY = dpiY;

    const platform::FontValue font = AtResolution(copy.Font(), dpiY);
    const platform::FontValue altFont = AtResolution(copy.AltFont(), dpiY);
    const platform::TScreenCells cells = copy.ScreenCells();
    auto measurer = std::make_unique<platform::QtTextMeasurer>(ToQFont(font, 1, cells), font.Charset,
                                                               ToQFont(altFont, 1, cells), altFont.Charset);
    FTextHeightA = std::max(1, measurer->Metrics(0).Height);
    if (!FLayoutCanvas) {
        FLayoutImage = QImage(1, 1, QImage::Format_RGB32);
        FLayoutPainter = std::make_unique<QPainter>(&FLayoutImage);
        FLayoutCanvas = std::make_unique<platform::TCanvas>(*FLayoutPainter);
    }
    copy.OnProgress = [this](TArtMemo* sender) {
        if (OnFormatPrint)
            OnFormatPrint(sender);
    };
    copy.SetRenderCanvas(FLayoutCanvas.get(), std::max(1, ColumnWidth()), std::move(measurer));
    FFormatValid = true;

    FPageBreaks.clear();
    TParagraphsList& pars = copy.Core().Paragraphs();
    for (int32_t par : FBreakPars)
        if (par < pars.Count())
            FPageBreaks.push_back(int32_t(pars.Par(par).FirstLine));
    Paginate();
}

int TArtMemoPrinter::ColumnWidth() const {
    const TPrinterMetrics& m = FMetrics;
    return (m.PhysicalWidth - Round(m.DpiX * double(FMarginLeft)) - Round(m.DpiX * double(FMarginRight)) -
            (FColumns - 1) * Round(m.DpiX * double(FGutterWidth))) /
           FColumns;
}

int TArtMemoPrinter::ColumnPitch() const {
    return ColumnWidth() + Round(FMetrics.DpiX * double(FGutterWidth));
}

double TArtMemoPrinter::LineStep() const {
    const double step =
        FLineSpacing >= 0 ? FMetrics.DpiY * double(FLineSpacing) : -double(FLineSpacing) * FTextHeightA;
    return step == 0 ? 1 : step;
}

int TArtMemoPrinter::LinePitch() const {
    const int pitch = FLineSpacing >= 0 ? Round(FMetrics.DpiY * double(FLineSpacing))
                                        : Round(-double(FLineSpacing) * FTextHeightA);
    return pitch == 0 ? 1 : std::abs(pitch);
}

void TArtMemoPrinter::Paginate() {
    const double usable =
        FMetrics.PhysicalHeight - (double(FMarginTop) + double(FMarginBottom)) * FMetrics.DpiY;
    FLinesPerPage = std::max(1, int(usable / LinePitch()));
    FTotalFill = 0;
    FBreakFill.clear();
    for (int32_t line : FPageBreaks) {
        const int32_t v = line + FTotalFill;
        const int32_t fill = FLinesPerPage - v % FLinesPerPage;
        FBreakFill.push_back(fill);
        FTotalFill += fill;
    }
    const int32_t lines = FFormatMemo ? FFormatMemo->LineCount() : 0;
    FPageCount = (lines + FTotalFill) / FLinesPerPage / FColumns + 1;
    FPaginationValid = true;
}

int32_t TArtMemoPrinter::MapVirtualLine(int32_t v) const {
    for (size_t k = 0; k < FPageBreaks.size() && v >= FPageBreaks[k]; ++k) {
        v -= FBreakFill[k];
        if (v < FPageBreaks[k])
            return INT32_MAX;
    }
    return v;
}

// ---- drawing ---------------------------------------------------------------------------------------

void TArtMemoPrinter::DrawColumn(platform::TCanvas& canvas, int32_t fl, int32_t ll, int left, int top) {
    const int32_t first = MapVirtualLine(fl);
    int32_t last = MapVirtualLine(ll);
    while (last == INT32_MAX && ll > fl)
        last = MapVirtualLine(--ll);
    TArtMemo& copy = *FFormatMemo;
    const double step = LineStep();
    if (OnDrawLine)
        OnDrawLine(*this, canvas, first, last, left, top, step);
    const int32_t lineCount = copy.LineCount();
    if (first == INT32_MAX || last == INT32_MAX || first >= lineCount)
        return;
    last = std::min(last, lineCount - 1);
    if (LineNumbers || ParagraphNumbers) {
        auto* faces = dynamic_cast<platform::QtTextMeasurer*>(copy.Core().ForeignMeasurer());
        QPainter& painter = canvas.Painter();
        painter.save();
        const QFont numbersFont = FNumbersFontFromMemo && faces
                                      ? faces->FontForStyle(0)
                                      : ToQFont(AtResolution(NumbersFont, FMetrics.DpiY));
        painter.setFont(numbersFont);
        painter.setPen(platform::ColorToQColor(FNumbersFontFromMemo ? copy.Font().Color : NumbersFont.Color));
        const QFontMetrics fm(numbersFont);
        TArtNavigator nav;
        nav.SetMemo(&copy.Core());
        for (int32_t i = first; i <= last; ++i) {
            nav.SetDisplayLine(i);
            int number;
            if (ParagraphNumbers) {
                if (nav.LineIndex() != 0)
                    continue;
                number = StartingLineNumber + nav.ParNb();
            } else {
                number = StartingLineNumber + i;
            }
            const QString text = QString::number(number) + QStringLiteral(": ");
            const int y = Round((i - first) * step + top) + fm.ascent();
            painter.drawText(left - fm.horizontalAdvance(text), y, text);
        }
        painter.restore();
    }
    const TRenderRecord record{first, last, left, top, float(step)};
    TArtPainter(copy).PaintRenderInto(canvas, record);
}

void TArtMemoPrinter::DrawPage(QPainter& painter, int page, int firstRow, int lastRow, float zoom) {
    if (!FFormatMemo || page < 0 || page >= FPageCount)
        return;
    firstRow = std::max(0, firstRow);
    lastRow = std::min(lastRow, FLinesPerPage - 1);
    const double step = LineStep();
    const int top = Round(FMetrics.DpiY * double(FMarginTop) + firstRow * step);
    const int left = Round(FMetrics.DpiX * double(FMarginLeft));
    if (firstRow <= lastRow) {
        platform::TCanvas canvas(painter);
        for (int c = 0; c < FColumns; ++c) {
            const int32_t fl = (page * FColumns + c) * FLinesPerPage;
            DrawColumn(canvas, fl + firstRow, fl + lastRow, left + c * ColumnPitch(), top);
        }
    }
    if (firstRow == 0)
        DrawHeaderFooter(painter, true, page, zoom);
    if (lastRow >= FLinesPerPage - 1)
        DrawHeaderFooter(painter, false, page, zoom);
}

void TArtMemoPrinter::DrawHeaderFooter(QPainter& painter, bool isHeader, int page, float zoom) {
    if (OnDrawHeaderFooter) {
        OnDrawHeaderFooter(*this, isHeader, painter, page, zoom);
        return;
    }
    const QString& source = isHeader ? Header : Footer;
    if (source.isEmpty() || !Within(isHeader ? HeaderYPos : FooterYPos, 0, kLongestLength))
        return;
    const TPrinterMetrics& m = FMetrics;
    const int left = Round(m.DpiX * double(FMarginLeft));
    const int right = m.PhysicalWidth - Round(m.DpiX * double(FMarginRight));
    const platform::FontValue& fontValue = isHeader ? HeaderFont : FooterFont;
    const QFont font = PrinterFont(fontValue, m.DpiY);
    int top, bottom, ruleY;
    if (isHeader) {
        top = Round(m.DpiY * double(HeaderYPos));
        bottom = Round(m.DpiY * double(FMarginTop));
        ruleY = (font.pixelSize() + top + bottom) / 2;
    } else {
        top = Round(m.PhysicalHeight - m.DpiY * double(FooterYPos));
        bottom = m.PhysicalHeight;
        ruleY = (Round(m.PhysicalHeight - m.DpiY * double(FMarginBottom)) + top) / 2;
    }
    painter.save();
    const QColor color = platform::ColorToQColor(fontValue.Color);
    // A rule is points wide; one wider than the longest paper is none.
    if (const float width = isHeader ? HeaderLineWidth : FooterLineWidth;
        width > 0 && Within(width, 0, kLongestLength * 72)) {
        painter.setPen(QPen(color, std::max(1, Round(double(width) / 72 * m.DpiY))));
        painter.drawLine(left, ruleY, right, ruleY);
    }
    const THFAlign align = isHeader ? HeaderAlign : FooterAlign;
    const Qt::Alignment flags = align == THFAlign::Left    ? Qt::AlignLeft
                                : align == THFAlign::Right ? Qt::AlignRight
                                                           : Qt::AlignHCenter;
    painter.setFont(font);
    painter.setPen(color);
    const QString text =
        ReplaceFields(source, page + StartingPageNumber, FPageCount + StartingPageNumber - 1);
    painter.drawText(QRect(left, top, std::max(1, right - left), std::max(1, bottom - top)),
                     int(flags | Qt::AlignTop | Qt::TextWordWrap | Qt::TextDontClip), text);
    painter.restore();
}

// ---- printing --------------------------------------------------------------------------------------

void TArtMemoPrinter::Print() {
    FormatText();
    PrintPages(0, FPageCount - 1);
}

bool TArtMemoPrinter::PrintFromDialog(QPrintDialog& dialog) {
    FormatText();
    if (dialog.printRange() == QAbstractPrintDialog::PageRange && dialog.fromPage() > 0)
        return PrintPages(dialog.fromPage() - 1, std::max(dialog.fromPage(), dialog.toPage()) - 1);
    return PrintPages(0, FPageCount - 1);
}

bool TArtMemoPrinter::PrintPages(int first, int last) {
    Aborted = false;
    FormatText();
    FPrinter.setDocName(PrintTitle == QStringLiteral("{application}") ? QApplication::applicationName()
                                                                      : PrintTitle);
    // Pages are drawn on the paper's own coordinates; the printer's origin is its printable corner.
    QPainter painter;
    if (!painter.begin(&FPrinter)) {
        FCurrentPage = -1;
        if (OnProgress)
            OnProgress(*this);
        return false;
    }
    struct TJobEnd {
        TArtMemoPrinter& Self;
        QPainter& Painter;
        ~TJobEnd() {
            Painter.end();
            Self.FCurrentPage = -1;
            if (Self.OnProgress)
                Self.OnProgress(Self);
        }
    } jobEnd{*this, painter};
    painter.translate(-FMetrics.OffsetX, -FMetrics.OffsetY);
    for (int i = std::max(0, first); i <= last; ++i) {
        FCurrentPage = i;
        if (OnProgress)
            OnProgress(*this);
        if (Aborted)
            break;
        if (i >= FPageCount)
            continue;
        if (i != std::max(0, first))
            FPrinter.newPage();
        DrawPage(painter, i);
        if (OnDrawPage)
            OnDrawPage(this);
    }
    return true;
}

} // namespace zandor
