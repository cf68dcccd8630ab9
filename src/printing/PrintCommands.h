// "Print...", "Print Preview..." and "Set Print Font...": the document's text is copied into the
// hidden print editor, whose font is the print font, and printed or previewed from there, so the
// screen's font and colours never reach the paper.
#pragma once

#include "printing/ArtMemoPrinter.h"

#include <QPrinter>
#include <QStringList>

#include <functional>

class QPrintDialog;

namespace zandor {

class TArtMemo;
class TFrmAMPrintPreview;
class TZandorHost;

// The printers a user can choose from: the desktop's, then printing into a PDF file, which needs
// no printer at all and is always the last entry.
QStringList PrinterList();
inline const QString kPdfPrinterName = QStringLiteral("Print to PDF");

// Refers to the window it serves and to its hidden print editor; both outlive it.
class TPrintCommands {
public:
    TPrintCommands(TZandorHost& host, TArtMemo& printMemo);
    TPrintCommands(const TPrintCommands&) = delete;
    TPrintCommands& operator=(const TPrintCommands&) = delete;

    void Print1Click();
    void PrintPreview1Click();
    void SetPrintFont1Click();
    // A new layout: the printer it was made for is the one remembered.
    void ArtMemoPrinter1FormatPrint();

    // Index into PrinterList() ("Options"/"LastPrinter").
    int LastPrinter = 0;
    QPrinter Printer{QPrinter::HighResolution};
    TArtMemoPrinter ArtMemoPrinter1{Printer};

    // The dialogs, replaced by tests: the print dialog (true: print) and the shown preview.
    std::function<bool(QPrintDialog&)> RunPrintDialog;
    std::function<void(TFrmAMPrintPreview&)> OnPreview;

private:
    // Selects the remembered printer and copies the document into the print editor; false (after
    // saying so) when nothing can be printed.
    bool Prepare();
    int CurrentPrinterIndex() const;

    TZandorHost& host_;
    TArtMemo& printMemo_;
};

} // namespace zandor
