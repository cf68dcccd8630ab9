#include "printing/PrintPreview.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zandor {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& text, const QString& hint,
                    bool toggle = false) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setCheckable(toggle);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

QToolButton* Arrow(QWidget* parent, const char* name, Qt::ArrowType arrow, const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setArrowType(arrow);
    b->setToolTip(hint);
    return b;
}

constexpr int kNear = 2;

} // namespace

TFrmAMPrintPreview::TFrmAMPrintPreview(TArtMemoPrinter& layout, QWidget* parent)
    : QDialog(parent), Layout(layout) {
    setObjectName(QStringLiteral("FrmAMPrintPreview"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(14);
    setFont(arial);
    resize(760, 600);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedHeight(41);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 4, 6, 4);
    btnPrint = Button(panel, "btnPrint", QStringLiteral("&Print"), QStringLiteral("Print Document(s)"));
    btnPrinterSetup =
        Button(panel, "btnPrinterSetup", QStringLiteral("&Setup"), QStringLiteral("Printer Setup"));
    btnMargins =
        Button(panel, "btnMargins", QStringLiteral("&Margins"), QStringLiteral("Show/hide margins"), true);
    btnPrevious = Arrow(panel, "btnPrevious", Qt::LeftArrow, QStringLiteral("Previous Page"));
    btnPrevious->setEnabled(false);
    btnNextPage = Arrow(panel, "btnNextPage", Qt::RightArrow, QStringLiteral("Next Page"));
    LblPage = new QLabel(panel);
    LblPage->setObjectName(QStringLiteral("LblPage"));
    LblPage->setAlignment(Qt::AlignCenter);
    LblPage->setMinimumWidth(90);
    btnNumbers =
        Button(panel, "btnNumbers", QStringLiteral("#"), QStringLiteral("Show/Hide line numbers"), true);
    auto* label1 = new QLabel(QStringLiteral("Columns"), panel);
    label1->setObjectName(QStringLiteral("Label1"));
    udColumns = new QSpinBox(panel);
    udColumns->setObjectName(QStringLiteral("udColumns"));
    udColumns->setRange(1, 10);
    if (auto* edit = udColumns->findChild<QLineEdit*>())
        edit->setReadOnly(true); // the arrows alone change it
    udColumns->setToolTip(QStringLiteral("Change number of columns"));
    auto* label2 = new QLabel(QStringLiteral("Zoom"), panel);
    label2->setObjectName(QStringLiteral("Label2"));
    cbZoom = new QComboBox(panel);
    cbZoom->setObjectName(QStringLiteral("cbZoom"));
    for (const char* zoom : kPreviewZooms)
        cbZoom->addItem(QString::fromLatin1(zoom));
    cbZoom->setCurrentIndex(pzPageWidth);
    BtnClose = Button(panel, "BtnClose", QStringLiteral("&Close"), {});
    for (QWidget* w :
         std::initializer_list<QWidget*>{btnPrint, btnPrinterSetup, btnMargins, btnPrevious, LblPage,
                                         btnNextPage, btnNumbers, label1, udColumns, label2, cbZoom})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(BtnClose);

    sbPreview = new QScrollArea(this);
    sbPreview->setObjectName(QStringLiteral("sbPreview"));
    sbPreview->setBackgroundRole(QPalette::Dark);
    sbPreview->setWidgetResizable(false);
    FContent = new QWidget;
    FContent->setAutoFillBackground(false);
    PBPreview = new QWidget(FContent);
    PBPreview->setObjectName(QStringLiteral("PBPreview"));
    PBPreview->setAttribute(Qt::WA_OpaquePaintEvent);
    PBPreview->setMouseTracking(true);
    PBPreview->installEventFilter(this);
    sbPreview->setWidget(FContent);
    sbPreview->viewport()->installEventFilter(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(panel);
    column->addWidget(sbPreview, 1);

    connect(btnPrint, &QPushButton::clicked, this, [this] { BtnPrinterClick(true); });
    connect(btnPrinterSetup, &QPushButton::clicked, this, [this] { BtnPrinterClick(false); });
    connect(btnMargins, &QPushButton::clicked, this, [this] { BtnMarginsClick(); });
    connect(btnPrevious, &QToolButton::clicked, this, [this] { GoToPage(FPageIndex - 1); });
    connect(btnNextPage, &QToolButton::clicked, this, [this] { GoToPage(FPageIndex + 1); });
    connect(btnNumbers, &QPushButton::clicked, this, [this] { btnNumbersClick(); });
    connect(udColumns, &QSpinBox::valueChanged, this, [this] { udColumnsClick(); });
    connect(cbZoom, &QComboBox::activated, this, [this] { cbZoomChange(); });
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
}

TFrmAMPrintPreview::~TFrmAMPrintPreview() {
    if (Layout.PreviewForm == this)
        Layout.PreviewForm = nullptr;
}

void TFrmAMPrintPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFrmAMPrintPreview::FormShow() {
    Layout.FormatText();
    btnNumbers->setChecked(Layout.LineNumbers);
    {
        const QSignalBlocker quiet(udColumns);
        udColumns->setValue(Layout.Columns());
    }
    GoToPage(FPageIndex);
    cbZoomChange();
}

void TFrmAMPrintPreview::GoToPage(int page) {
    FPageIndex = std::max(0, std::min(page, Layout.PageCount() - 1));
    LblPage->setText(QStringLiteral("Page %1/%2").arg(FPageIndex + 1).arg(Layout.PageCount()));
    btnNextPage->setEnabled(FPageIndex < Layout.PageCount() - 1);
    btnPrevious->setEnabled(FPageIndex > 0);
    PBPreview->update();
}

void TFrmAMPrintPreview::cbZoomChange() {
    sbPreview->horizontalScrollBar()->setValue(0);
    sbPreview->verticalScrollBar()->setValue(0);
    sbPreviewResize();
}

void TFrmAMPrintPreview::sbPreviewResize() {
    Layout.FormatText();
    const QSize box = sbPreview->viewport()->size();
    const TPreviewMargins margins{Layout.MarginLeft(), Layout.MarginRight(), Layout.MarginTop(),
                                  Layout.MarginBottom()};
    FGeometry = PreviewGeometry(TPreviewZoom(std::max(0, cbZoom->currentIndex())), PBPreview->logicalDpiY(),
                                Layout.Metrics(), margins, box.width(), box.height());
    FContent->resize(std::max(box.width(), FGeometry.PageLeft + FGeometry.PageWidth + 10),
                     FGeometry.PageHeight + 20);
    PBPreview->setGeometry(FGeometry.PageLeft, 10, FGeometry.PageWidth, FGeometry.PageHeight);
    PBPreview->update();
}

void TFrmAMPrintPreview::PBPreviewPaint(QPainter& painter, const QRect& area) {
    painter.fillRect(area, Qt::white);
    const TPrinterMetrics& m = Layout.Metrics();
    const double s = FGeometry.Scale;
    if (Layout.PageCount() > 0 && s > 0) {
        // Only the rows that meet the repainted area are drawn.
        const int pitch = Layout.LinePitch();
        const double topMargin = m.DpiY * double(Layout.MarginTop());
        const int firstRow = std::max(0, int((area.top() / s - topMargin) / pitch));
        const int lastRow =
            std::min(Layout.LinesPerPage() - 1, int(((area.bottom() + 1) / s - topMargin) / pitch) + 1);
        painter.save();
        // Nothing is drawn where the printer cannot print.
        painter.setClipRect(
            QRect(QPoint(int(m.OffsetX * s), int(m.OffsetY * s)),
                  QPoint(int((m.HorzRes + m.OffsetX) * s), int((m.VertRes + m.OffsetY) * s))) &
            area);
        painter.scale(s, s);
        Layout.DrawPage(painter, FPageIndex, firstRow, lastRow, float(s));
        painter.restore();
    }
    if (btnMargins->isChecked())
        DrawGuides(painter);
    if (FDragGuide != 0)
        DrawDragLine(painter);
    if (Layout.OnDrawPage)
        Layout.OnDrawPage(this);
}

void TFrmAMPrintPreview::DrawGuides(QPainter& painter) const {
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
    const TPreviewGeometry& g = FGeometry;
    painter.drawLine(g.GuideLeft, 0, g.GuideLeft, g.PageHeight);
    painter.drawLine(g.GuideRight, 0, g.GuideRight, g.PageHeight);
    painter.drawLine(0, g.GuideTop, g.PageWidth, g.GuideTop);
    painter.drawLine(0, g.GuideBottom, g.PageWidth, g.GuideBottom);
    painter.restore();
}

void TFrmAMPrintPreview::DrawDragLine(QPainter& painter) const {
    painter.save();
    painter.setPen(QPen(Qt::gray, 1, Qt::DotLine));
    if (FDragGuide <= 2)
        painter.drawLine(FDragPos.x(), 0, FDragPos.x(), FGeometry.PageHeight);
    else
        painter.drawLine(0, FDragPos.y(), FGeometry.PageWidth, FDragPos.y());
    painter.restore();
}

QPoint TFrmAMPrintPreview::ClampToPage(QPoint pos) const {
    return {std::clamp(pos.x(), 0, std::max(0, FGeometry.PageWidth)),
            std::clamp(pos.y(), 0, std::max(0, FGeometry.PageHeight))};
}

int TFrmAMPrintPreview::NearGuide(QPoint pos) const {
    const TPreviewGeometry& g = FGeometry;
    if (std::abs(pos.x() - g.GuideLeft) <= kNear)
        return 1;
    if (std::abs(pos.x() - g.GuideRight) <= kNear)
        return 2;
    if (std::abs(pos.y() - g.GuideTop) <= kNear)
        return 3;
    if (std::abs(pos.y() - g.GuideBottom) <= kNear)
        return 4;
    return 0;
}

void TFrmAMPrintPreview::PBPreviewMouseDown(QPoint pos) {
    if (!btnMargins->isChecked())
        return;
    FDragGuide = NearGuide(pos);
    FDragPos = ClampToPage(pos);
    PBPreview->update();
}

void TFrmAMPrintPreview::PBPreviewMouseMove(QPoint pos) {
    if (!btnMargins->isChecked()) {
        PBPreview->unsetCursor();
        return;
    }
    pos = ClampToPage(pos);
    const TPreviewGeometry& g = FGeometry;
    if (FDragGuide == 0) {
        const int near = NearGuide(pos);
        if (near == 1 || near == 2)
            PBPreview->setCursor(Qt::SplitHCursor);
        else if (near != 0)
            PBPreview->setCursor(Qt::SplitVCursor);
        else
            PBPreview->unsetCursor();
        return;
    }
    switch (FDragGuide) {
    case 1:
        pos.setX(std::min(pos.x(), g.GuideRight - 3));
        break;
    case 2:
        pos.setX(std::max(pos.x(), g.GuideLeft + 3));
        break;
    case 3:
        pos.setY(std::min(pos.y(), g.GuideBottom - 3));
        break;
    default:
        pos.setY(std::max(pos.y(), g.GuideTop + 3));
    }
    FDragPos = pos;
    PBPreview->update();
}

void TFrmAMPrintPreview::PBPreviewMouseUp(QPoint pos) {
    if (FDragGuide == 0)
        return;
    const int guide = FDragGuide;
    FDragGuide = 0;
    pos = ClampToPage(pos);
    const TPreviewGeometry& g = FGeometry;
    // A margin keeps ten pixels from the one across.
    int at = 0, was = 0;
    switch (guide) {
    case 1:
        at = std::min(pos.x(), g.GuideRight - 10);
        was = g.GuideLeft;
        break;
    case 2:
        at = std::max(pos.x(), g.GuideLeft + 10);
        was = g.GuideRight;
        break;
    case 3:
        at = std::min(pos.y(), g.GuideBottom - 10);
        was = g.GuideTop;
        break;
    default:
        at = std::max(pos.y(), g.GuideTop + 10);
        was = g.GuideBottom;
    }
    PBPreview->update();
    if (at == was)
        return;
    const float inches = GuideToInches(guide, at, g, Layout.Metrics());
    switch (guide) {
    case 1:
        Layout.SetMarginLeft(inches);
        break;
    case 2:
        Layout.SetMarginRight(inches);
        break;
    case 3:
        Layout.SetMarginTop(inches);
        break;
    default:
        Layout.SetMarginBottom(inches);
    }
    cbZoomChange();
}

void TFrmAMPrintPreview::BtnMarginsClick() {
    PBPreview->update();
    PBPreviewMouseMove(QPoint(0, 0));
}

void TFrmAMPrintPreview::btnNumbersClick() {
    Layout.LineNumbers = btnNumbers->isChecked();
    PBPreview->update();
}

void TFrmAMPrintPreview::udColumnsClick() {
    Layout.SetColumns(udColumns->value());
    GoToPage(FPageIndex);
}

void TFrmAMPrintPreview::BtnPrinterClick(bool print) {
    QPrinter& printer = Layout.Printer();
    const TPrinterMetrics before = Layout.Metrics();
    QPrintDialog dialog(&printer, this);
    bool confirmed = false;
    if (print) {
        dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile);
        if (FFirstPrint) {
            FFirstPrint = false;
            dialog.setMinMax(1, std::max(1, Layout.PageCount()));
            dialog.setFromTo(1, std::max(1, Layout.PageCount()));
        }
        confirmed = RunPrintDialog ? RunPrintDialog(dialog) : dialog.exec() == QDialog::Accepted;
    } else if (RunPrinterSetup) {
        RunPrinterSetup();
    } else {
        QPageSetupDialog setup(&printer, this);
        setup.exec();
    }
    const TPrinterMetrics now = ReadPrinterMetrics(printer);
    if (now.PhysicalWidth != before.PhysicalWidth || now.PhysicalHeight != before.PhysicalHeight ||
        now.DpiX != before.DpiX || now.DpiY != before.DpiY) {
        Layout.FormatText();
        cbZoomChange();
        GoToPage(FPageIndex);
    }
    if (confirmed)
        Layout.PrintFromDialog(dialog);
}

bool TFrmAMPrintPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sbPreview->viewport() && event->type() == QEvent::Resize) {
        sbPreviewResize();
        return false;
    }
    if (watched != PBPreview)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(PBPreview);
        PBPreviewPaint(painter, static_cast<QPaintEvent*>(event)->rect());
        return true;
    }
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            PBPreviewMouseDown(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseMove:
        PBPreviewMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseButtonRelease:
        PBPreviewMouseUp(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void ShowPrintPreview(TArtMemoPrinter& layout, QWidget* parent,
                      const std::function<void(TFrmAMPrintPreview&)>& onPreview) {
    TFrmAMPrintPreview form(layout, parent);
    form.setWindowTitle(layout.PreviewTitle);
    layout.PreviewForm = &form;
    if (onPreview)
        onPreview(form);
    form.exec();
    layout.PreviewForm = nullptr;
}

} // namespace zandor
