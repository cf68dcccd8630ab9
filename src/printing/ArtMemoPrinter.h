// Printing the text of an editor control: a private copy of its paragraphs laid out at the
// printer's resolution for one text column, split into pages of a fixed number of lines (a
// paragraph that starts with a form feed begins a new page), and each page drawn with its header,
// footer, line numbers and columns. The printer and the preview draw the same pages through the
// control's own line painter, so what the preview shows is what the paper gets.
#pragma once

#include "editor/control/ArtMemo.h"
#include "editor/engine/NotificationSink.h"
#include "platform/FontValue.h"

#include <QImage>
#include <QPointer>
#include <QString>

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;
class QPrintDialog;

namespace zandor {

class TArtMemoCore;

namespace platform {
class TCanvas;
}

enum class THFAlign { Left, Right, Centre };

// What the printer tells about its paper, all in printer pixels.
struct TPrinterMetrics {
    int PhysicalWidth = 0; // the paper
    int PhysicalHeight = 0;
    int OffsetX = 0; // the unprintable left and top borders
    int OffsetY = 0;
    int HorzRes = 0; // the printable area
    int VertRes = 0;
    int DpiX = 0;
    int DpiY = 0;
    bool operator==(const TPrinterMetrics&) const = default;
};

TPrinterMetrics ReadPrinterMetrics(QPrinter& printer);

// An open preview of the pages, told when the layout changed.
class TPreviewView {
public:
    virtual ~TPreviewView() = default;
    virtual int PageIndex() const = 0;
    virtual void GoToPage(int page) = 0;
};

class TArtMemoPrinter : private NotificationSink {
public:
    using TDrawHFEvent =
        std::function<void(TArtMemoPrinter& sender, bool header, QPainter& canvas, int pageNo, float zoom)>;

    // printer: the printer printed on and measured; it outlives the component.
    explicit TArtMemoPrinter(QPrinter& printer);
    ~TArtMemoPrinter() override;
    TArtMemoPrinter(const TArtMemoPrinter&) = delete;
    TArtMemoPrinter& operator=(const TArtMemoPrinter&) = delete;

    QPrinter& Printer() { return FPrinter; }

    // ---- what is printed and how
    TArtMemo* MemoToPrint() const { return FMemoToPrint; }
    void SetMemoToPrint(TArtMemo* memo);
    // Lengths are inches on paper, and no paper is longer than this. A setter refuses what is no
    // such length (not a number, infinite, beyond it, and for a margin nothing or less, for the
    // gutter less than nothing) and keeps the value it had: the values come from the settings
    // file too, and the layout computes printer pixels from them.
    static constexpr float kLongestLength = 100;
    // More columns than this leave no room for a letter on any paper; more are taken as this many.
    static constexpr int kMostColumns = 100;
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    float GutterWidth() const { return FGutterWidth; }
    void SetGutterWidth(float value);
    float MarginLeft() const { return FMarginLeft; }
    float MarginRight() const { return FMarginRight; }
    float MarginTop() const { return FMarginTop; }
    float MarginBottom() const { return FMarginBottom; }
    void SetMarginLeft(float value);
    void SetMarginRight(float value);
    void SetMarginTop(float value);
    void SetMarginBottom(float value);
    // Inches from one line to the next, or (negative) that many times the text's line height,
    // within kLongestLength either way.
    float LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(float value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool value);
    bool LineNumbers = false;
    bool ParagraphNumbers = false; // wins over LineNumbers
    bool NumbersFontFromMemo() const { return FNumbersFontFromMemo; }
    void SetNumbersFontFromMemo(bool value);
    int StartingLineNumber = 1;
    int StartingPageNumber = 1;

    // Header and footer: "{p}" stands for the page number, "{pp}" for the last page's.
    QString Header;
    QString Footer;
    // Inches from the paper's top to the header's top and from its bottom to the footer's top; a
    // value that is no length on paper (see kLongestLength) draws no header or footer.
    float HeaderYPos = 0.4f;
    float FooterYPos = 0.4f;
    THFAlign HeaderAlign = THFAlign::Left;
    THFAlign FooterAlign = THFAlign::Left;
    platform::FontValue HeaderFont;
    platform::FontValue FooterFont;
    platform::FontValue NumbersFont;
    float HeaderLineWidth = 0; // points; 0, or no length on paper: no rule
    float FooterLineWidth = 0;
    QString PreviewTitle = QStringLiteral("Print preview");
    QString PrintTitle = QStringLiteral("{application}");

    TDrawHFEvent OnDrawHeaderFooter;
    // Called with the private copy after each new layout found its page breaks, and as the copy's
    // progress event while it is laid out.
    std::function<void(TArtMemo* copy)> OnFormatPrint;
    // Before each printed page and once after the job ended.
    std::function<void(TArtMemoPrinter& sender)> OnProgress;
    std::function<void(void* sender)> OnDrawPage;
    // At the start of each column drawn: the canvas, the column's first and last display lines of
    // the copy, its left and top in printer pixels and the line pitch.
    std::function<void(TArtMemoPrinter& sender, platform::TCanvas& canvas, int32_t first, int32_t last,
                       int left, int top, double pitch)>
        OnDrawLine;

    // ---- layout
    // Makes the copy and its layout current for the printer's paper.
    void FormatText();
    // Forgets the copy and its layout.
    void DiscardFormat();
    int PageCount() const { return FPageCount; }
    int LinesPerPage() const { return FLinesPerPage; }
    const TPrinterMetrics& Metrics() const { return FMetrics; }
    // Display-line index at which each forced page starts, and the blank lines filled in before it.
    const std::vector<int32_t>& PageBreaks() const { return FPageBreaks; }
    const std::vector<int32_t>& BreakFill() const { return FBreakFill; }
    // The display line of the copy at virtual line v (pages and columns counted in lines, the filler
    // lines included); INT32_MAX for a filler line.
    int32_t MapVirtualLine(int32_t v) const;
    // Width of one text column and the distance from one column's left edge to the next (pixels).
    int ColumnWidth() const;
    int ColumnPitch() const;
    // The distance of two lines in printer pixels (fractional, as drawn) and its rounded value for
    // counting lines.
    double LineStep() const;
    int LinePitch() const;
    TArtMemo* FormatMemo() const { return FFormatMemo.get(); }

    // ---- drawing
    // Draws rows firstRow .. lastRow of page `page` (and the header with row 0, the footer with the
    // last row) in printer pixels with the paper's corner at the origin; the painter's transform
    // maps them to its device. `zoom` is only handed to OnDrawHeaderFooter.
    void DrawPage(QPainter& painter, int page, int firstRow = 0, int lastRow = INT_MAX, float zoom = 1);
    void DrawHeaderFooter(QPainter& painter, bool isHeader, int page, float zoom);

    // ---- printing
    void Print();
    // Pages first to last, counted from 0. False when the printer could not start the job.
    bool PrintPages(int first, int last);
    // What the dialog asked for: all pages or its page range (counted from 1).
    bool PrintFromDialog(QPrintDialog& dialog);
    int CurrentPage() const { return FCurrentPage; }
    bool Aborted = false;

    // The open preview, told to show its page again after a layout change.
    TPreviewView* PreviewForm = nullptr;

private:
    void Notify(TArtMemoCore* sender, int32_t codes) override;
    void MakeCopy();
    void Paginate();
    void RefreshPreview();
    void SetLayoutValue(float& field, float value);
    void SetPaginationValue(float& field, float value);
    void DrawColumn(platform::TCanvas& canvas, int32_t fl, int32_t ll, int left, int top);

    QPrinter& FPrinter;
    QPointer<TArtMemo> FMemoToPrint;
    std::unique_ptr<TArtMemo> FFormatMemo;
    // The copy stays laid out for this canvas (its measurer holds the printer-sized fonts) while
    // it exists; the pages are drawn into their own canvases from that one layout.
    QImage FLayoutImage;
    std::unique_ptr<QPainter> FLayoutPainter;
    std::unique_ptr<platform::TCanvas> FLayoutCanvas;

    int FColumns = 1;
    float FGutterWidth = 0.5f;
    float FMarginLeft = 0.75f;
    float FMarginRight = 0.5f;
    float FMarginTop = 0.75f;
    float FMarginBottom = 0.75f;
    float FLineSpacing = -1.5f;
    bool FWordWrap = true;
    bool FPlainText = false;
    bool FNumbersFontFromMemo = true;

    bool FFormatValid = false;
    bool FPaginationValid = false;
    TPrinterMetrics FMetrics;
    int FTextHeightA = 0;
    std::vector<int32_t> FBreakPars; // paragraphs that open with a form feed
    std::vector<int32_t> FPageBreaks;
    std::vector<int32_t> FBreakFill;
    int32_t FTotalFill = 0;
    int FLinesPerPage = 1;
    int FPageCount = 0;
    int FCurrentPage = -1;
};

} // namespace zandor
