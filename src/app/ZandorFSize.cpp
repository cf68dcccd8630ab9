// The main window's size and place: the dimensions stored per file type or measured from the
// text, the panels that follow a resize, the bounds saved a moment after a move, the font metrics
// the measuring uses and the always-on-top flag.
#include "app/ArtLook.h"
#include "app/ArtScale.h"
#include "app/ConfigSaver.h"
#include "app/MainEditors.h"
#include "app/MenuBand.h"
#include "app/Startup.h"
#include "app/WindowGeometry.h"
#include "app/ZandorF.h"
#include "commands/FindReplace.h"
#include "documents/Documents.h"
#include "editor/addons/ArtGutter.h"
#include "editor/control/ArtMemo.h"
#include "platform/Canvas.h"
#include "platform/PlatformErrors.h"

#include <QFontMetrics>
#include <QFrame>
#include <QPushButton>
#include <QTimer>

namespace zandor {

void TZandorF::SetWindowSize(int width, int height) {
    resize(width, height);
    // A hidden window gets its resize event only when shown; the layout is needed now.
    FormResize();
}

int TZandorF::EditorHeight() const {
    return MemoPanel->height();
}

void TZandorF::ApplyWindowDimensions(const std::string& requested) {
    ApplyingDimensions = true;
    const std::string section = Settings.SameDim ? std::string(kOtherSection) : requested;
    const QSize defaults = DefaultWindowSize(section, WorkArea);
    // Sizes are stored as at scale 1; the window grows with the art scale.
    const QSize stored(ReadBoundsInteger(section, "Width", defaults.width()),
                       ReadBoundsInteger(section, "Height", defaults.height()));
    const QSize scaled = ScaledWindowSize(stored, m->FontScale(), WorkArea.size());
    const int width = scaled.width();
    const int height = scaled.height();
    const QPoint defaultPos = DefaultWindowPos(QSize(width, height), WorkArea);
    const int left = ReadBoundsInteger(section, "Left", defaultPos.x());
    const int top = ReadBoundsInteger(section, "Top", defaultPos.y());
    // The stored bounds are those of a normal window; whether it is maximised comes last.
    if (isMaximized())
        setWindowState(windowState() & ~Qt::WindowMaximized);
    move(left, top);
    AutoSizeWindow(width, height);
    // With several monitors a window may rightly stand outside the primary work area.
    if (desktop_.MonitorCount() == 1)
        KeepInsideWorkArea();
    if (FindReplace)
        FindReplace->PlaceDialog(x() + 100, y() + 100);
    if (ReadBoundsInteger(section, "Maximized", 0) != 0) {
        if (isVisible())
            showMaximized();
        else
            setWindowState(windowState() | Qt::WindowMaximized);
    }
    appliedBounds_ = QRect(pos(), size());
    ApplyingDimensions = false;
}

int32_t TZandorF::ReadBoundsInteger(const std::string& section, const std::string& key, int32_t def) {
    try {
        return startup_.Config->ReadInteger(section, key, def);
    } catch (const platform::RegistryError&) {
        return def;
    }
}

void TZandorF::AutoSizeWindow(int width, int height) {
    int paragraphs = m->ParagraphCount();
    // A last, empty paragraph is no line of the text.
    if (paragraphs > 0 && m->GetParagraph(paragraphs - 1).empty())
        --paragraphs;
    if (Settings.AutoWidth && AvgCharWidth == MaxCharWidth && paragraphs > 0) {
        // The width a SAUCE record gives the art; otherwise a sample of the lines of a long text,
        // not a walk over all of it before the window shows.
        const int recorded = Documents && Documents->Sauce() ? Documents->Sauce()->Width() : 0;
        const int widest =
            recorded > 0 ? std::max(recorded, WidestLineChars(std::string_view()))
                         : WidestLineChars(m->ParagraphCount(), [this](int i) { return m->GetParagraph(i); });
        width = AutoWindowWidth(widest, AvgCharWidth, Settings.LineNumbers ? kGutterWidth : 0);
    }
    if (width != this->width())
        SetWindowSize(width, this->height());
    if (Settings.AutoHeight && paragraphs > 0) {
        const int chrome = this->height() - EditorHeight();
        const int available = AutoHeightAvailable(WorkArea, pos().y(), chrome);
        if (m->LineHeight() == 0)
            m->SetLineHeight(8);
        const int lineHeight = m->LineHeight();
        height = AutoWindowRows(available, lineHeight, paragraphs) * lineHeight + chrome;
    }
    if (height != this->height())
        SetWindowSize(this->width(), height);
}

void TZandorF::KeepInsideWorkArea() {
    const QRect work = desktop_.WorkArea();
    move(KeepInside(QRect(pos(), size()), work));
}

void TZandorF::SaveWindowBounds() {
    TConfigSaver* store = startup_.Config.get();
    if (!store)
        return;
    const std::string section = Settings.SameDim ? std::string(kOtherSection) : WindowSection;
    const bool maximized = isMaximized();
    store->WriteBool(section, "Maximized", maximized);
    // A maximised window keeps the bounds it had before, for when it is restored.
    if (maximized)
        return;
    store->WriteInteger(section, "Left", pos().x());
    store->WriteInteger(section, "Top", pos().y());
    const QSize stored = UnscaledWindowSize(size(), m->FontScale());
    store->WriteInteger(section, "Width", stored.width());
    store->WriteInteger(section, "Height", stored.height());
}

void TZandorF::SaveBoundsTimerTimer() {
    SaveBoundsTimer->stop();
    // A settings folder that cannot be written (read-only, full, another user's) is reported once;
    // the window goes on, and the next move tries again.
    if (!startup_.Config)
        return;
    SettingsReports.Guard([this] {
        TConfigSaver::WriteBatch batch(*startup_.Config);
        SaveWindowBounds();
        batch.Commit();
    });
}

void TZandorF::ScheduleBoundsSave() {
    if (startup_.StartingUp || ApplyingDimensions || closed_)
        return;
    // The window system may report the program's own placing after it is done; that is no move
    // of the user's. Once the user has moved the window, coming back to that place is a move too.
    if (QRect(pos(), size()) == appliedBounds_)
        return;
    appliedBounds_ = QRect();
    SaveBoundsTimer->start();
}

void TZandorF::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    ScheduleBoundsSave();
}

void TZandorF::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TZandorF::FormResize() {
    const int clientWidth = width();
    const int clientHeight = height();
    client_->setGeometry(0, 0, clientWidth, clientHeight);
    const int bandHeight = ToolBar1->height();
    LayoutBand();
    const bool buttons = !PanelBottom->isHidden();
    PanelBottom->setGeometry(0, clientHeight - kPanelBottomHeight, clientWidth, kPanelBottomHeight);
    MemoPanel->setGeometry(0, bandHeight, clientWidth,
                           clientHeight - bandHeight - (buttons ? kPanelBottomHeight : 0) + 1);
    // Children of a hidden window hear of their new sizes only when shown; they are placed now.
    MemoPanelResize();
    PanelBottomResize();
    if (startup_.StartingUp || ApplyingDimensions)
        return;
    ScheduleBoundsSave();
    UpdateCaretPosition();
}

void TZandorF::PanelBottomResize() {
    const auto spans = BottomButtonSpans(PanelBottom->width());
    QPushButton* buttons[5] = {buttoncopy, buttoncut, buttonpaste, buttonsave, buttonexit};
    for (size_t i = 0; i < spans.size(); ++i)
        buttons[i]->setGeometry(spans[i].Left, 0, spans[i].Width, PanelBottom->height());
}

void TZandorF::MemoPanelResize() {
    // The gutter on the left when shown, the editor filling the rest.
    const int gutter = g->isHidden() ? 0 : g->width();
    g->setGeometry(0, 0, gutter, MemoPanel->height());
    m->setGeometry(gutter, 0, MemoPanel->width() - gutter, MemoPanel->height());
}

void TZandorF::ReportLater(const std::string& text) {
    // Settings are read while the window is being created; the report waits for the message loop.
    QTimer::singleShot(0, this, [this, text] {
        if (ShowMessage)
            ShowMessage(text);
    });
}

void TZandorF::ApplyScreenCells() {
    ApplyDocumentCells(Documents && Documents->Sauce() ? &*Documents->Sauce() : nullptr);
}

void TZandorF::ApplyDocumentCells(const TSauceRecord* sauce) {
    m->SetScreenCells(ArtLook->For(sauce));
    UpdateFontMetrics();
}

void TZandorF::UpdateFontMetrics() {
    const QFontMetrics metrics(platform::ToQFont(m->Font(), m->FontScale(), m->ScreenCells()));
    m->SetLineHeight(metrics.ascent() + metrics.descent());
    AvgCharWidth = metrics.averageCharWidth();
    MaxCharWidth = metrics.maxWidth();
}

void TZandorF::ApplyAlwaysOnTop() {
    const bool onTop = Settings.OnTop;
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // Changing a window flag re-creates the window; it comes back where it was and as it was.
    const bool visible = isVisible();
    const QRect bounds = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    setGeometry(bounds);
    if (visible) {
        reshowing_ = true;
        show();
        reshowing_ = false;
    }
}

} // namespace zandor
