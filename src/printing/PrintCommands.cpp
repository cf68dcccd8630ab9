#include "printing/PrintCommands.h"

#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "host/ZandorHost.h"
#include "localisation/Localisation.h"
#include "printing/PrintPreview.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinterInfo>

namespace zandor {

QStringList PrinterList() {
    QStringList list = QPrinterInfo::availablePrinterNames();
    list.append(kPdfPrinterName);
    return list;
}

TPrintCommands::TPrintCommands(TZandorHost& host, TArtMemo& printMemo) : host_(host), printMemo_(printMemo) {
    TArtMemoPrinter& p = ArtMemoPrinter1;
    p.SetMemoToPrint(&printMemo_);
    p.SetPlainText(true);
    p.PreviewTitle = QStringLiteral("Print Preview");
    platform::FontValue small;
    small.Name = "MS Sans Serif";
    small.Size = 8;
    p.HeaderFont = p.FooterFont = p.NumbersFont = small;
    p.OnFormatPrint = [this](TArtMemo*) { ArtMemoPrinter1FormatPrint(); };
}

int TPrintCommands::CurrentPrinterIndex() const {
    const QStringList list = PrinterList();
    if (Printer.outputFormat() == QPrinter::PdfFormat)
        return int(list.size()) - 1;
    return std::max(0, int(list.indexOf(Printer.printerName())));
}

void TPrintCommands::ArtMemoPrinter1FormatPrint() {
    LastPrinter = CurrentPrinterIndex();
}

bool TPrintCommands::Prepare() {
    const QStringList list = PrinterList();
    if (LastPrinter < 0 || LastPrinter > int(list.size()) - 1)
        LastPrinter = 0;
    if (LastPrinter < int(list.size()) - 1) {
        Printer.setOutputFormat(QPrinter::NativeFormat);
        Printer.setPrinterName(list[LastPrinter]);
    } else {
        // The PDF file goes beside the document, named after it, unless the user names another.
        Printer.setOutputFormat(QPrinter::PdfFormat);
        const std::string file = host_.DocumentFile();
        const QFileInfo info(QString::fromStdString(file));
        Printer.setOutputFileName(file.empty() ? QDir::home().filePath(QStringLiteral("Zandor.pdf"))
                                               : info.dir().filePath(info.completeBaseName() + ".pdf"));
    }
    if (!Printer.isValid()) {
        host_.ShowPlainMessage(host_.Texts().GetText(112, "No printer is installed."));
        return false;
    }
    // Replacing the text makes the layout let go of any earlier copy.
    const std::string text = host_.Editor().Text();
    TMemoryReadStream stream(text.data(), text.size());
    printMemo_.LoadFromStream(stream);
    return true;
}

void TPrintCommands::Print1Click() {
    if (!Prepare())
        return;
    QPrintDialog dialog(&Printer, host_.DialogParent());
    dialog.setOptions(QAbstractPrintDialog::PrintToFile);
    const bool confirmed = RunPrintDialog ? RunPrintDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (confirmed)
        ArtMemoPrinter1.PrintFromDialog(dialog);
    LastPrinter = CurrentPrinterIndex();
}

void TPrintCommands::PrintPreview1Click() {
    if (!Prepare())
        return;
    ShowPrintPreview(ArtMemoPrinter1, host_.DialogParent(), OnPreview);
}

void TPrintCommands::SetPrintFont1Click() {
    if (auto font = host_.ExecuteFontDialog(printMemo_.Font()))
        printMemo_.SetFont(*font);
}

} // namespace zandor
