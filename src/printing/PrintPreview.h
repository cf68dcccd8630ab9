// The print preview: one page at a time as it will be printed, at a chosen zoom, with the paper's
// unprintable borders left empty; paging, margins dragged with the mouse, columns, line numbers,
// printer set-up and printing all pages or a range. Everything on the page is drawn by the layout
// component, in printer pixels scaled to the screen.
#pragma once

#include "printing/ArtMemoPrinter.h"
#include "printing/PreviewGeometry.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPrintDialog;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QToolButton;

namespace zandor {

class TFrmAMPrintPreview : public QDialog, public TPreviewView {
public:
    TFrmAMPrintPreview(TArtMemoPrinter& layout, QWidget* parent);
    ~TFrmAMPrintPreview() override;

    int PageIndex() const override { return FPageIndex; }
    void GoToPage(int page) override;

    TArtMemoPrinter& Layout;
    QPushButton* btnPrint = nullptr;
    QPushButton* btnPrinterSetup = nullptr;
    QPushButton* btnMargins = nullptr;
    QToolButton* btnPrevious = nullptr;
    QToolButton* btnNextPage = nullptr;
    QLabel* LblPage = nullptr;
    QPushButton* btnNumbers = nullptr;
    QSpinBox* udColumns = nullptr;
    QComboBox* cbZoom = nullptr;
    QPushButton* BtnClose = nullptr;
    QScrollArea* sbPreview = nullptr;
    QWidget* PBPreview = nullptr;

    const TPreviewGeometry& Geometry() const { return FGeometry; }
    // The dialogs, replaced by tests: the print dialog (true: print) and the printer set-up.
    std::function<bool(QPrintDialog&)> RunPrintDialog;
    std::function<void()> RunPrinterSetup;

    void FormShow();
    void cbZoomChange();
    void sbPreviewResize();
    void BtnPrinterClick(bool print);
    void BtnMarginsClick();
    void btnNumbersClick();
    void udColumnsClick();
    // The page's mouse handling in page pixels; `buttons`: the left button is held.
    void PBPreviewMouseDown(QPoint pos);
    void PBPreviewMouseMove(QPoint pos);
    void PBPreviewMouseUp(QPoint pos);
    void PBPreviewPaint(QPainter& painter, const QRect& area);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdatePage();
    void DrawGuides(QPainter& painter) const;
    void DrawDragLine(QPainter& painter) const;
    QPoint ClampToPage(QPoint pos) const;
    int NearGuide(QPoint pos) const;

    int FPageIndex = 0;
    TPreviewGeometry FGeometry;
    int FDragGuide = 0; // 0 none, 1 left, 2 right, 3 top, 4 bottom
    QPoint FDragPos;
    bool FFirstPrint = true;
    QWidget* FContent = nullptr;
};

// Shows the layout's pages in a modal preview window titled with its PreviewTitle.
void ShowPrintPreview(TArtMemoPrinter& layout, QWidget* parent,
                      const std::function<void(TFrmAMPrintPreview&)>& onPreview = {});

} // namespace zandor
