#include "editor/control/ArtMemo.h"

#include "editor/control/ArtPainter.h"
#include "editor/control/MemoInput.h"
#include "editor/control/ScrollGeometry.h"

#include "editor/engine/ArtNavigator.h"
#include "editor/engine/ByteStream.h"
#include "editor/engine/EngineErrors.h"
#include "editor/engine/Highlighting.h"
#include "editor/engine/MemoConsistency.h"
#include "editor/engine/ParagraphsList.h"
#include "editor/engine/TextSearch.h"
#include "platform/QtTextMeasurer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <exception>
#include <vector>

namespace zandor {

namespace {

// Every live control, so that add-ons told about a core can find its widget.
std::vector<TArtMemo*>& LiveInstances() {
    static std::vector<TArtMemo*> list;
    return list;
}

int ClampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

} // namespace

TArtMemo::TErrorDisplay TArtMemo::ErrorDisplay = [](TArtMemo* sender, const std::string& message) {
    QMessageBox::critical(sender, QApplication::applicationName(), QString::fromLocal8Bit(message.c_str()));
};

// ---- construction and destruction -------------------------------------------------------------

TArtMemo::TArtMemo(QWidget* parent) : TMemoView(parent) {
    FFont.Name = "Arial";
    FEndOfTextMark.Color = platform::clRed;
    FRightLinePen.Color = platform::clGray;

    TNavigatorRegistry& registry = FCore->Navigators();
    auto adopt = [&] { return registry.Adopt(std::make_unique<TArtNavigator>(FCore.get())); };
    FMouseNav = adopt();
    for (TArtNavigator*& scratch : FScratch)
        scratch = adopt();
    Editor().SetHost(this);
    Editor().SetOptions(FOptions);
    RebuildMeasurer();
    FCaret.Record(0, PendingBlanks(), StyleAtCaret());
    FInput = std::make_unique<TMemoInput>(*this);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    // Text from input methods and dead keys comes as input-method events.
    setAttribute(Qt::WA_InputMethodEnabled);
    LiveInstances().push_back(this);
}

TArtMemo::~TArtMemo() {
    auto& live = LiveInstances();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    StopFormatThread();
    SetHighlighter(nullptr);
    Editor().SetHost(nullptr);
}

TArtMemo* TArtMemo::FromCore(const TArtMemoCore* core) {
    for (TArtMemo* memo : LiveInstances())
        if (memo->FCore.get() == core)
            return memo;
    return nullptr;
}

int TArtMemo::InstanceCount() {
    return static_cast<int>(LiveInstances().size());
}

// ---- the window ----------------------------------------------------------------------------------

void TArtMemo::WindowCreated() {
    ApplyScrollBarPolicy();
    Selection().SetPendingBlanks({});
    if (hasFocus() && !FDisplayOnly)
        FCaret.SetCreated(true);
    UpdateCaret(true);
    if (OnVScroll)
        OnVScroll(this);
}

void TArtMemo::ViewScrolled(int dx, int dy) {
    const auto alive = AliveToken();
    if (dx != 0 && OnHScroll)
        OnHScroll(this);
    if (*alive && dy != 0 && OnVScroll)
        OnVScroll(this);
}

bool TArtMemo::HandleEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        if (OnMouseEnter)
            OnMouseEnter(this);
        break;
    case QEvent::Leave:
        if (OnMouseLeave)
            OnMouseLeave(this);
        break;
    case QEvent::ContextMenu:
        // The menu key opens the menu as a key; the window system's own request is not needed.
        event->accept();
        return true;
    default:
        break;
    }
    if (event->type() == kTextChangedEvent)
        return true;
    return TMemoView::HandleEvent(event);
}

bool TArtMemo::focusNextPrevChild(bool next) {
    // The control keeps the Tab key while it takes tabs as text.
    if (FWantTabs && !FDisplayOnly)
        return false;
    return TMemoView::focusNextPrevChild(next);
}

void TArtMemo::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    TArtPainter(*this).Paint(painter, event->rect());
}

// ---- focus, keys and mouse: the framework's events; the editing behaviour builds on these -------

void TArtMemo::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    if (!FDisplayOnly) {
        FCaret.SetCreated(true);
        FCaret.SetShort(false);
        UpdateCaret(true);
    }
    if (FHideSelection && UpdateLevel() == 0)
        RepaintSelection();
    if (OnEnter)
        OnEnter(this);
}

void TArtMemo::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update(FCaret.Hide());
    FCaret.SetCreated(false);
    if (FHideSelection && UpdateLevel() == 0)
        RepaintSelection();
    if (OnExit)
        OnExit(this);
}

void TArtMemo::HandleInput(const std::function<void()>& handle) {
    const auto alive = AliveToken();
    ++FEventDeferral;
    try {
        handle();
    } catch (const std::exception& error) {
        // An error must not leave the event loop: it is shown, and the program goes on.
        if (*alive && ErrorDisplay)
            ErrorDisplay(this, error.what());
    }
    if (!*alive)
        return;
    --FEventDeferral;
    FireSelMove();
}

void TArtMemo::keyPressEvent(QKeyEvent* event) {
    event->accept();
    HandleInput([&] { FInput->KeyPress(*event); });
}

void TArtMemo::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
    HandleInput([&] { FInput->KeyRelease(*event); });
}

void TArtMemo::inputMethodEvent(QInputMethodEvent* event) {
    event->accept();
    HandleInput([&] { FInput->InputMethod(*event); });
}

QVariant TArtMemo::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled:
        return !FDisplayOnly;
    case Qt::ImCursorRectangle:
        return QRectF(FCaret.Rect().translated(viewport()->pos()));
    case Qt::ImHints:
        return int(Qt::ImhMultiLine | Qt::ImhNoPredictiveText);
    default:
        return TMemoView::inputMethodQuery(query);
    }
}

void TArtMemo::mousePressEvent(QMouseEvent* event) {
    HandleInput([&] { FInput->MousePress(*event); });
}

void TArtMemo::mouseReleaseEvent(QMouseEvent* event) {
    HandleInput([&] { FInput->MouseRelease(*event); });
}

void TArtMemo::mouseDoubleClickEvent(QMouseEvent* event) {
    HandleInput([&] { FInput->MouseDoubleClick(*event); });
}

void TArtMemo::mouseMoveEvent(QMouseEvent* event) {
    HandleInput([&] { FInput->MouseMove(*event); });
}

bool TArtMemo::viewportEvent(QEvent* event) {
    // The control opens its menu itself, on the right button's release and on the menu key.
    if (event->type() == QEvent::ContextMenu) {
        event->accept();
        return true;
    }
    return TMemoView::viewportEvent(event);
}

void TArtMemo::PaintNow() {
    // The window's pending paint request, carried out at once.
    if (QWidget* top = window(); top && FWindowCreated && isVisible())
        QCoreApplication::sendPostedEvents(top, QEvent::UpdateRequest);
}

int32_t TArtMemo::ContextValue() const {
    return FInput->Context();
}

bool TArtMemo::DraggingText() const {
    return FInput->DraggingText();
}

// ---- the control's own virtual operations --------------------------------------------------------

void TArtMemo::Change() {
    const auto alive = AliveToken();
    EventSinks().Notify(FCore.get(), nc::Change);
    if (*alive && !MessageHooks().Empty()) {
        QEvent changed(kTextChangedEvent);
        QCoreApplication::sendEvent(this, &changed);
    }
    if (*alive && OnChange)
        OnChange(this);
}

void TArtMemo::SetFontFromStyle(platform::FontValue& font, uint8_t style) const {
    font = (style & sfAltFont) ? FAltFont : FFont;
    font.Style = style & 0x0F;
}

void TArtMemo::SetSelTextBuf(const char* text) {
    Editor().SetSelTextBuf(text);
}

// ---- what the editor asks of its window ------------------------------------------------------------

void TArtMemo::BeforeReplace(const char*& text) {
    if (OnBeforeChange) {
        OnBeforeChange(this, text);
        if (!text)
            text = "";
    }
    EventSinks().Notify(FCore.get(), nc::BeforeReplace);
}

void TArtMemo::Parsed(int32_t start, int32_t stop) {
    if (OnParse)
        OnParse(this, start, stop);
}

void TArtMemo::CaretChanged() {
    UpdateCaret();
    // Inside a bracket the mark waits for its end, where the after-edit update reports it.
    if (UpdateLevel() == 0)
        FireSelMove();
}

void TArtMemo::AfterEdit(bool wholeView) {
    UpdateScrollBars();
    if (wholeView && FWindowCreated)
        viewport()->update();
    UpdateCaret();
    if (wholeView)
        FireSelMove();
}

void TArtMemo::LoadFromStream(TByteStream& stream, int /*flag: every caller passes 0*/) {
    LoadText([&](TParagraphsList& pars, const TProgressHandler& progress, TArtLineBreak& found) {
        LoadParagraphs(pars, stream, FCore->ProgressInterval(), progress, found,
                       FOptions.Has(amoDiscardTrailingSpaces), FNullReplacement);
    });
}

void TArtMemo::LoadFromBuffer(std::unique_ptr<char[]> bytes, size_t size) {
    LoadText([&](TParagraphsList& pars, const TProgressHandler& progress, TArtLineBreak& found) {
        LoadParagraphsInPlace(pars, std::move(bytes), size, FCore->ProgressInterval(), progress, found,
                              FOptions.Has(amoDiscardTrailingSpaces), FNullReplacement);
    });
}

void TArtMemo::LoadText(
    const std::function<void(TParagraphsList&, const TProgressHandler&, TArtLineBreak&)>& fill) {
    std::exception_ptr failure;
    TParagraphsList& pars = FCore->Paragraphs();
    TMemoSelection& sel = Selection();
    {
        TMemoEditor::TQuietLevel raise(Editor());
        pars.ClearAll();
        ClearUndo();
        FCore->FoldedText().Clear();
        Editor().SetLoading(true);
        TArtLineBreak found = FLineBreak;
        TProgressHandler progress;
        if (OnProgress)
            progress = [this] { OnProgress(this); };
        try {
            fill(pars, progress, found);
        } catch (...) {
            failure = std::current_exception();
        }
        Editor().SetLoading(false);
        if (pars.Count() == 0) {
            // A failure before the first byte still leaves a valid text: one empty paragraph.
            TMemoryStream empty;
            LoadParagraphs(pars, empty, 0, {}, found, false, 0);
        }
        if (!failure && FOptions.Has(amoAutoLineBreak))
            FLineBreak = found;
        FCore->Navigators().ResetAll();
        sel.Collapse(0);
        sel.SetPendingBlanks({});
        sel.SetRememberedX(TMemoSelection::kNoX);
        sel.SetLineAnchor(-1);
        FCore->ForgetWidestLine();
        if (OnParse)
            OnParse(this, 0, CharCount());
    }
    FCore->SetTopOrigin(0);
    FCore->SetLeftOrigin(0);
    if (OnProgress)
        OnProgress(this);
    FCore->ScheduleFormatting();
    ResetView();
    UpdateCaret();
    if (failure)
        std::rethrow_exception(failure);
    const auto alive = AliveToken();
    Change();
    if (*alive)
        EventSinks().Notify(FCore.get(), nc::AfterLoad);
}

void TArtMemo::SaveToStream(TByteStream& stream, int /*flag: every caller passes 0*/) {
    TProgressHandler progress;
    if (OnProgress)
        progress = [this] { OnProgress(this); };
    FSaving = true;
    try {
        SaveParagraphs(FCore->Paragraphs(), stream, FCore->ProgressInterval(), progress, FLineBreak,
                       FOptions.Has(amoDiscardTrailingSpaces));
    } catch (...) {
        FSaving = false;
        throw;
    }
    FSaving = false;
}

// ---- layout and appearance -------------------------------------------------------------------------

void TArtMemo::RebuildMeasurer() {
    auto measurer = std::make_unique<platform::QtTextMeasurer>(
        platform::ToQFont(FFont, FFontScale, FScreenCells), FFont.Charset,
        platform::ToQFont(FAltFont, FFontScale, FScreenCells), FAltFont.Charset);
    FMeasurer = measurer.get();
    FCore->SetMeasurer(std::move(measurer), FFont.Style & 0x0F);
}

void TArtMemo::SetAlignment(TAlignment value) {
    const TAlignment old = FCore->Alignment();
    if (value == old)
        return;
    FCore->SetAlignment(value);
    ScrollTo(FCore->TopOrigin(), 0, 0);
    // Right and centred text always wraps; left-aligned text wraps only with word wrap.
    if (!FCore->WordWrap() && (old == taLeftJustify || value == taLeftJustify)) {
        LayoutChanged(true);
    } else {
        viewport()->update();
        UpdateCaret();
    }
}

void TArtMemo::SetWordWrap(bool value) {
    if (value == FCore->WordWrap())
        return;
    FCore->SetWordWrap(value);
    LayoutChanged(true);
}

void TArtMemo::SetColumnWrap(int value) {
    if (value == FCore->ColumnWrap())
        return;
    FCore->SetColumnWrap(value);
    LayoutChanged(FCore->WordWrap());
}

void TArtMemo::SetWordWrapChars(std::string value) {
    if (value == FCore->WordWrapChars())
        return;
    FCore->SetWordWrapChars(std::move(value));
    if (FCore->WordWrap())
        LayoutChanged(true);
}

void TArtMemo::SetJustified(bool value) {
    if (value == FCore->Justified())
        return;
    FCore->SetJustified(value);
    ScrollTo(FCore->TopOrigin(), 0, 0);
    UpdateCaret();
    viewport()->update();
}

void TArtMemo::SetLeftMargin(int value) {
    if (value == FCore->LeftMargin())
        return;
    FCore->SetLeftMargin(value);
    LayoutChanged(FCore->WordWrap());
}

void TArtMemo::SetRightMargin(int value) {
    if (value == FCore->RightMargin())
        return;
    FCore->SetRightMargin(value);
    LayoutChanged(FCore->WordWrap());
}

void TArtMemo::SetTabStops(int value) {
    if (value == FCore->TabStops())
        return;
    FCore->SetTabStops(value);
    LayoutChanged(FCore->WordWrap());
}

void TArtMemo::SetLineHeight(int value) {
    const int old = FCore->LinePixels();
    FCore->SetLineHeight(value);
    if (!FWindowCreated)
        return;
    ComputeFontMetrics();
    const int now = FCore->LinePixels();
    if (now == old)
        return;
    // The same line stays on top, scrolled into it by as many pixels as before.
    const int64_t top = FCore->TopOrigin();
    FCore->SetTopOrigin(ClampToInt(top % old + int64_t(now) * (top / old)));
    UpdateScrollBars();
    viewport()->update();
    UpdateCaret(true);
    if (OnVScroll)
        OnVScroll(this);
}

void TArtMemo::SetCaretWidth(int value) {
    FCaretWidth = value;
    if (FCaret.Created() && hasFocus()) {
        FCaret.SetShort(true);
        UpdateCaret(true);
    }
}

void TArtMemo::SetFontScale(int value) {
    value = std::clamp(value, 1, 4);
    if (value == FFontScale)
        return;
    FFontScale = value;
    SetFont(FFont);
}

void TArtMemo::SetScreenCells(platform::TScreenCells value) {
    if (value == FScreenCells)
        return;
    FScreenCells = value;
    SetFont(FFont);
}

void TArtMemo::SetFont(const platform::FontValue& value) {
    FFont = value;
    RebuildMeasurer();
    if (FWindowCreated) {
        ComputeFontMetrics();
        FCore->ScheduleFormatting();
        ResetView();
        if (OnVScroll)
            OnVScroll(this);
        UpdateCaret(true);
    }
    EventSinks().Notify(FCore.get(), nc::FontChanged);
}

void TArtMemo::SetAltFont(const platform::FontValue& value) {
    FAltFont = value;
    RebuildMeasurer();
    if (FWindowCreated)
        ComputeFontMetrics();
    LayoutChanged(FCore->WordWrap());
}

void TArtMemo::SetShowNonPrintChars(TamNonPrintChars value) {
    FShowNonPrintChars = value & (amNPSpace | amNPTab | amNPReturn);
    viewport()->update();
}

// ---- editing and behaviour -------------------------------------------------------------------------

void TArtMemo::SetDisplayOnly(bool value) {
    FDisplayOnly = value;
    if (!hasFocus())
        return;
    FCaret.SetCreated(!value);
    if (value)
        viewport()->update(FCaret.Hide());
    UpdateCaret(true);
}

void TArtMemo::SetOverwrite(bool value) {
    FOverwrite = value;
    if (hasFocus() && !FDisplayOnly)
        UpdateCaret(true);
}

void TArtMemo::SetOptions(TArtMemoOptions value) {
    const TArtMemoOptions old = FOptions;
    FOptions = value;
    Editor().SetOptions(value);
    if (value.Has(amoDiscardTrailingSpaces) && !old.Has(amoDiscardTrailingSpaces)) {
        // Blanks already at paragraph ends go the way the loader drops them.
        ReloadThroughStream();
        return;
    }
    if (!FWindowCreated)
        return;
    if (value.Has(amoAutoScrollBars) != old.Has(amoAutoScrollBars)) {
        ApplyScrollBarPolicy();
        UpdateScrollBars();
    }
    if (value.Has(amoKeepParBackgnd) != old.Has(amoKeepParBackgnd))
        viewport()->update();
    if (value.Has(amoWindowsSelColors) != old.Has(amoWindowsSelColors) ||
        value.Has(amoFullLineSelect) != old.Has(amoFullLineSelect))
        RepaintSelection();
}

void TArtMemo::ReloadThroughStream() {
    TMemoryStream stream;
    SaveToStream(stream);
    stream.Seek(0);
    LoadFromStream(stream);
}

void TArtMemo::SetStaticFormat(bool value) {
    if (value == FCore->StaticFormat())
        return;
    // The codes in the text take on their new meaning by a reload; an empty text has nothing to
    // reinterpret.
    if (CharCount() == 0) {
        FCore->SetStaticFormat(value);
        return;
    }
    TMemoryStream stream;
    SaveToStream(stream);
    FCore->SetStaticFormat(value);
    stream.Seek(0);
    LoadFromStream(stream);
}

void TArtMemo::SetUpdateMode(TUpdateMode value) {
    StopFormatThread();
    FCore->SetUpdateMode(value);
    if (FWindowCreated && value == umBackground)
        StartFormatThread();
}

// ---- highlighting ------------------------------------------------------------------------------------

void TArtMemo::ReApplyKeywords() {
    FCore->Highlighting().ReApplyKeywords();
    FCore->Navigators().InvalidateAll();
    FCore->ScheduleFormatting();
    RefreshView();
}

// ---- selection and caret ---------------------------------------------------------------------------

void TArtMemo::SetSelText(std::string_view value) {
    SetSelTextBuf(Editor().WithPendingBlanks(value).c_str());
}

int32_t TArtMemo::GetSelTextBuf(char* buffer, int32_t size) {
    if (!buffer || size <= 0)
        return 0;
    const int32_t n = std::min(std::abs(SelLength()), size - 1);
    FScratch[1]->SetPos(Selection().Lower());
    return FScratch[1]->GetText(buffer, n);
}

void TArtMemo::SetTextBuf(const char* text) {
    SelectAll();
    SetSelTextBuf(text);
    SetSelStart(0);
    if (UpdateLevel() == 0)
        ScrollTo(0, FCore->LeftOrigin(), 0);
}

int32_t TArtMemo::SelLine() {
    TArtNavigator& caret = Caret();
    FormatUpToPar(caret.ParNb());
    return caret.LineNb();
}

void TArtMemo::SetSelLine(int32_t value) {
    if (FCore->WordWrap())
        FormatFrontToLine(value);
    FScratch[0]->SetLineNb(std::max(0, value));
    SetSelStart(FScratch[0]->Pos());
}

int32_t TArtMemo::SelCol() {
    TArtNavigator& caret = Caret();
    FormatUpToPar(caret.ParNb());
    return caret.LineOffset() + static_cast<int32_t>(PendingBlanks().size());
}

void TArtMemo::SetSelCol(int32_t value) {
    Editor().MoveCaretToColumn(value, false);
}

int32_t TArtMemo::SelPar() {
    return Caret().ParNb();
}

void TArtMemo::SetSelPar(int32_t value) {
    SetSelStart(ParagraphStart(std::clamp(value, 0, ParagraphCount() - 1)));
}

void TArtMemo::RepaintSelection() {
    if ((SelLength() == 0 && !BlockMode()) || !FWindowCreated)
        return;
    InvalidateLines(SelStartNavigator().DisplayLine(), SelEndNavigator().DisplayLine());
}

void TArtMemo::FireSelMove() {
    TMemoSelection& sel = Selection();
    if (FEventDeferral > 0 || !sel.Moved())
        return;
    sel.SetMoved(false);
    if (OnSelMove)
        OnSelMove(this);
}

uint8_t TArtMemo::StyleAtCaret() {
    TArtNavigator& caret = Caret();
    const TDynInfo* run = caret.CurrentRun();
    return FCore->EffectiveStyle(run ? *run : kDefaultRunState, caret.StaticStyle());
}

int TArtMemo::EffectiveCaretWidth() {
    if (FOverwrite && FOptions.Has(amoWideOverwriteCaret) && SelLength() == 0)
        return std::max(1, Caret().CharWidth());
    return TMemoCaret::Width(FCaretWidth, FCore->LinePixels());
}

void TArtMemo::UpdateCaret(bool recreate) {
    if (UpdateLevel() > 0)
        return;
    TArtNavigator& caret = Caret();
    if (FWindowCreated) {
        // While text is dragged the caret shows where it would be dropped.
        const bool dropPoint = FInput && FInput->DraggingText();
        int x = dropPoint ? FMouseNav->GetX() : Editor().CaretX();
        const int lh = FCore->LinePixels();
        const int32_t line = dropPoint ? FMouseNav->DisplayLine() : caret.DisplayLine();
        const int y = ClampToInt(int64_t(line) * lh - FCore->TopOrigin());
        if (FCaret.Created() && hasFocus() && !FDisplayOnly) {
            if (FCore->WordWrap() && x >= TextAreaWidth())
                x = TextAreaWidth() - 1;
            const QRect rect(x, y, EffectiveCaretWidth(), FCaret.Short() ? lh - 1 : lh);
            viewport()->update(FCaret.ShowAt(rect, recreate));
        } else {
            viewport()->update(FCaret.Hide());
        }
    }

    const int32_t codes = FCaret.Record(caret.Pos(), PendingBlanks(), StyleAtCaret());
    if (codes & nc::CaretMoved)
        Selection().SetMoved(true);
    const auto alive = AliveToken();
    FireSelMove();
    if (*alive && (codes & nc::StyleChanged) && OnStyleChange)
        OnStyleChange(this);
    if (*alive && codes)
        EventSinks().Notify(FCore.get(), codes);
}

void TArtMemo::SuspendCaret() {
    viewport()->update(FCaret.Hide());
}

// ---- the text ------------------------------------------------------------------------------------------

std::string TArtMemo::GetDisplayLine(int32_t index) {
    if (index < 0)
        return {};
    if (FCore->WordWrap())
        FormatFrontToLine(index);
    if (index >= FCore->LineCount())
        return {};
    FScratch[0]->SetDisplayLine(index);
    return FScratch[0]->LineText();
}

std::string TArtMemo::GetParagraph(int32_t index) const {
    const ParInfo& par = FCore->Paragraphs().Par(index);
    const int32_t length = ParLength(par);
    return length > 0 && par.Text ? std::string(par.Text, static_cast<size_t>(length)) : std::string();
}

void TArtMemo::SetParagraph(int32_t index, std::string_view text) {
    Editor().SetParagraph(index, text);
}

int32_t TArtMemo::ParagraphStart(int32_t index) const {
    return FCore->Paragraphs().Par(index).Start;
}

uint8_t TArtMemo::CharAt(int32_t pos) {
    FScratch[1]->SetPos(std::clamp(pos, 0, CharCount()));
    return FScratch[1]->CurrentChar();
}

std::string TArtMemo::GetTextPart(int32_t start, int32_t stop) {
    return Editor().TextPart(start, stop);
}

std::string TArtMemo::Text() {
    return GetTextPart(0, CharCount());
}

void TArtMemo::Clear() {
    TMemoryStream empty;
    LoadFromStream(empty);
}

bool TArtMemo::FindTxt(std::string_view text, bool forward, bool matchCase, bool wholeWord,
                       bool fromBoundary) {
    TSelection selection{SelStart(), SelLength()};
    if (!FindText(*FCore, text, forward, matchCase, wholeWord, fromBoundary, selection))
        return false;
    SetSelStart(selection.SelStart);
    SetSelLength(selection.SelLength);
    return true;
}

bool TArtMemo::Perform(uint32_t msg, uint64_t wParam, int64_t lParam) {
    TMessageRecord message;
    message.Msg = msg;
    message.WParam = wParam;
    message.LParam = lParam;
    return DispatchMessage(message, [this, msg, lParam] {
        switch (msg) {
        case wm::CUT:
            CutToClipboard();
            ScrollInView();
            return true;
        case wm::COPY:
            CopyToClipboard();
            return true;
        case wm::PASTE:
            PasteFromClipboard();
            ScrollInView();
            return true;
        case wm::UNDO:
            Undo();
            return true;
        case wm::FORMATSTEP:
            FCore->FormatStep();
            return true;
        case wm::PAINT:
            // The screen is painted only from the window system's own paint events; asked
            // without a record (or without a render canvas), the control asks for one.
            if (lParam != 0 && RenderCanvas())
                TArtPainter(*this).PaintRender(*reinterpret_cast<const TRenderRecord*>(lParam));
            else
                viewport()->update();
            return true;
        default:
            return false;
        }
    });
}

// ---- the consistency check -----------------------------------------------------------------------------

const char* TArtMemo::VersionLabel() {
    return "ArtMemo 4.8";
}

void TArtMemo::CheckConsistency() {
    zandor::CheckConsistency(*FCore, VersionLabel());
}

// ---- formatting on demand and what the formatter asks of the widget ----------------------------------

void TArtMemo::SetRenderCanvas(platform::TCanvas* canvas, int width,
                               std::unique_ptr<platform::TextMeasurer> measurer) {
    // The faces the screen shows, at the art scale too: a picture of the window is what it shows.
    if (canvas && !measurer)
        measurer = std::make_unique<platform::QtTextMeasurer>(
            platform::ToQFont(FFont, FFontScale, FScreenCells), FFont.Charset,
            platform::ToQFont(FAltFont, FFontScale, FScreenCells), FAltFont.Charset);
    SetRenderTarget(canvas, width, std::move(measurer));
}

void TArtMemo::Progress() {
    if (OnProgress)
        OnProgress(this);
}

} // namespace zandor
