#include "app/ZandorF.h"

#include "app/ConfigSaver.h"
#include "app/MenuBand.h"
#include "app/OptionsMenu.h"
#include "app/PendingCommands.h"
#include "app/Startup.h"
#include "app/WindowDialogs.h"
#include "commands/GifExport.h"
#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "host/WebAddresses.h"
#include "keywords/HighlightList.h"
#include "localisation/LanguageMenu.h"
#include "localisation/Localisation.h"
#include "localisation/Tag.h"
#include "periphery/DonationReminder.h"
#include "periphery/HelpCommands.h"
#include "periphery/WebPage.h"
#include "platform/Canvas.h"
#include "platform/FileSystem.h"
#include "platform/NewFileChannel.h"
#include "platform/PlatformErrors.h"
#include "platform/ScreenFonts.h"
#include "platform/Trace.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace zandor {

using platform::Trace;

namespace {

constexpr int kStatusPanelWidth = 80;
constexpr int kGutterWidth = 30;
constexpr int kPanelBottomHeight = 26;
constexpr int kMaxWindowWidth = 3000;
constexpr int kMaxWindowHeight = 2000;

QFont WindowFont(bool bold = false) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    font.setBold(bold);
    return font;
}

} // namespace

TZandorF::TZandorF(TStartup& startup, const std::string& fileToOpen, TDesktop desktop, QWidget* parent)
    : QMainWindow(parent), Menu(this), SettingsReports([this](const std::string& text) {
          if (creating_)
              ReportLater(text);
          else if (ShowMessage)
              ShowMessage(text);
      }),
      startup_(startup), desktop_(std::move(desktop)) {
    setObjectName(QStringLiteral("ZandorF"));
    ShowMessage = [this](const std::string& text) {
        QMessageBox::warning(this, QStringLiteral("Zandor"), QString::fromStdString(text));
    };
    ShowError = [this](const QString& caption, const QString& text) {
        QMessageBox::critical(this, caption, text);
    };
    RunSaveDialog = [this](const TSaveDialogRequest& request) { return RunFileSaveDialog(this, request); };
    CreateComponents();
    FormCreate(fileToOpen);
    creating_ = false;
}

TZandorF::~TZandorF() {
    // The children outlive this object's own part of the destruction; nothing they report may reach
    // it any more.
    ToolBar1->OnPainted = nullptr;
    StatusPanel->OnPainted = nullptr;
    for (TArtMemo* memo : {m, PrintMemo}) {
        memo->OnChange = nullptr;
        memo->OnSelMove = nullptr;
        memo->OnKeyDown = nullptr;
        memo->OnKeyUp = nullptr;
        memo->OnMouseUp = nullptr;
        memo->OnEnter = nullptr;
        memo->OnExit = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// Components

void TZandorF::CreateComponents() {
    setFont(WindowFont());
    // Larger than any screen on purpose: a window may be stretched past the desktop.
    setMaximumSize(kMaxWindowWidth, kMaxWindowHeight);
    client_ = new QWidget(this);
    setCentralWidget(client_);

    ToolBar1 = new TMenuToolBar(client_);
    ToolBar1->setFont(WindowFont());
    ToolBar1->setFixedHeight(22);
    ToolBar1->ShowMenus({Menu.File1, Menu.Edit1, Menu.Options1, Menu.Help1});
    StatusPanel = new TStatusPanel(client_);
    StatusPanel->setFixedSize(kStatusPanelWidth, 22);
    lbPosition = StatusPanel->lbPosition;
    // Repainting the band refreshes the caret position shown in it.
    ToolBar1->OnPainted = [this] { UpdateCaretPosition(); };
    StatusPanel->OnPainted = [this] { UpdateCaretPosition(); };

    MemoPanel = new QWidget(client_);
    MemoPanel->setObjectName(QStringLiteral("MemoPanel"));
    CreateEditors();
    CreateBottomPanel();

    Timer1 = new QTimer(this);
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &TZandorF::Timer1Timer);
    SaveBoundsTimer = new QTimer(this);
    SaveBoundsTimer->setInterval(1000);
    // Writes must not come early: a coarse timer may fire up to 5 % before its interval.
    SaveBoundsTimer->setTimerType(Qt::PreciseTimer);
    connect(SaveBoundsTimer, &QTimer::timeout, this, &TZandorF::SaveBoundsTimerTimer);
    DonateTimer = new QTimer(this);
    DonateTimer->setInterval(2000);
    DonateTimer->setSingleShot(true);
    connect(DonateTimer, &QTimer::timeout, this, [this] {
        DonateTimer->stop();
        Donation->DonateTimerTimer();
    });
}

void TZandorF::CreateEditors() {
    g = new QWidget(MemoPanel);
    g->setObjectName(QStringLiteral("g"));
    g->setFixedWidth(kGutterWidth);
    g->setAutoFillBackground(true);
    g->hide();

    m = new TArtMemo(MemoPanel);
    m->setObjectName(QStringLiteral("m"));
    m->SetBorderStyle(bsNone);
    m->SetScrollBars(ssBoth);
    m->SetHideSelection(false);
    m->SetColor(0x004A0000);
    platform::FontValue font;
    font.Name = "ZandorLarge";
    font.Height = 19;
    font.Style = platform::fsBold;
    font.Color = platform::clWhite;
    font.Charset = platform::OEM_CHARSET;
    m->SetFont(font);
    m->SetHighlightColor(platform::clLime);
    m->SetHighlightBackgnd(platform::clBlack);
    m->SetUndoMaxSpace(500000);
    // The main window's editors draw no line below the end of the text.
    platform::TPenValue noEndMark = m->EndOfTextMark();
    noEndMark.Style = platform::psClear;
    m->SetEndOfTextMark(noEndMark);
    m->SetOptions({amoWrapCaret, amoInsertKeyActive, amoWideOverwriteCaret, amoAutoScrollBars, amoAutoIndent,
                   amoBlockSelection, amoPlainClipboard, amoSmartTabs});
    m->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1Popup();
        Menu.PopupMenu1->popup(m->mapToGlobal(at));
    });
    m->OnChange = [this](TArtMemo*) { mChange(); };
    m->OnSelMove = [this](TArtMemo*) { mSelMove(); };
    m->OnKeyDown = [this](TArtMemo*, int& key, Qt::KeyboardModifiers shift) {
        if (mKeyDown(key, shift))
            key = 0;
    };
    m->OnKeyUp = [this](TArtMemo*, int&, Qt::KeyboardModifiers) { mKeyUp(); };
    m->OnMouseUp = [this](TArtMemo*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { mMouseUp(); };
    m->OnEnter = [this](TArtMemo*) { UpdateCaretPosition(); };
    m->OnExit = [this](TArtMemo*) { UpdateCaretPosition(); };

    PrintMemo = new TArtMemo(this);
    PrintMemo->setObjectName(QStringLiteral("PrintMemo"));
    PrintMemo->hide();
    platform::FontValue printFont;
    printFont.Name = "Courier New";
    printFont.Size = 9;
    PrintMemo->SetFont(printFont);
    PrintMemo->SetEndOfTextMark(noEndMark);
}

void TZandorF::CreateBottomPanel() {
    auto* panel = new QFrame(client_);
    panel->setObjectName(QStringLiteral("PanelBottom"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFixedHeight(kPanelBottomHeight);
    PanelBottom = panel;
    const auto button = [panel](const char* name, int tag, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), panel);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(WindowFont(true));
        b->setFocusPolicy(Qt::NoFocus);
        if (tag > 0)
            SetTag(b, tag);
        return b;
    };
    buttoncopy = button("buttoncopy", 10, "&Copy");
    buttoncut = button("buttoncut", 11, "C&ut");
    buttonpaste = button("buttonpaste", 12, "&Paste");
    buttonsave = button("buttonsave", 21, "&Save");
    buttonexit = button("buttonexit", 13, "E&xit");
    buttonsave->setEnabled(false);
    // Only Exit takes part in tabbing.
    buttonexit->setFocusPolicy(Qt::StrongFocus);
}

void TZandorF::WireCommands() {
    const auto on = [this](QAction* item, void (TZandorF::*handler)()) {
        connect(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    const auto onButton = [this](QPushButton* button, void (TZandorF::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    TMainMenu& mm = Menu;
    connect(mm.File1, &QMenu::aboutToShow, this, [this] { File1Click(); });
    connect(mm.Edit1, &QMenu::aboutToShow, this, [this] { Edit1Click(); });
    connect(mm.PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });
    connect(mm.Help1, &QMenu::aboutToShow, this, [this] { Help->Help1Click(); });
    connect(mm.edit_format, &QMenu::aboutToShow, this, [this] { edit_formatClick(); });
    connect(mm.shortcut_format, &QMenu::aboutToShow, this, [this] { edit_formatClick(); });
    for (QAction* a : {mm.New1, mm.New2})
        on(a, &TZandorF::FileNew1Click);
    for (QAction* a : {mm.Open1, mm.Open2})
        on(a, &TZandorF::FileOpen1Click);
    for (QAction* a : {mm.Save1, mm.Save2})
        on(a, &TZandorF::FileSave1Click);
    for (QAction* a : {mm.Saveas1, mm.Saveas2})
        on(a, &TZandorF::FileSaveAs1Click);
    connect(mm.Saveasgraphic1, &QAction::triggered, this, [this] { GifExport->Saveasgraphic1Click(); });
    on(mm.Properties1, &TZandorF::Properties1Click);
    for (QAction* a : {mm.Print1, mm.Print2})
        on(a, &TZandorF::Print1Click);
    for (QAction* a : {mm.PrintPreview1, mm.PrintPreview2})
        on(a, &TZandorF::PrintPreview1Click);
    connect(mm.Exit1, &QAction::triggered, this, &QWidget::close);
    for (QAction* a : {mm.Undo1, mm.Undo2})
        on(a, &TZandorF::Undo1Click);
    for (QAction* a : {mm.Redo1, mm.Redo2})
        on(a, &TZandorF::Redo1Click);
    for (QAction* a : {mm.Cut1, mm.Cut2})
        on(a, &TZandorF::Cut1Click);
    for (QAction* a : {mm.Copy1, mm.Copy2})
        on(a, &TZandorF::Copy1Click);
    for (QAction* a : {mm.Paste1, mm.Paste2})
        on(a, &TZandorF::Paste1Click);
    for (QAction* a : {mm.Deleteline1, mm.Deleteline2})
        on(a, &TZandorF::Deleteline1Click);
    for (QAction* a : {mm.SelectAll1, mm.SelectAll2})
        on(a, &TZandorF::SelectAll1Click);
    for (QAction* a : {mm.Find1, mm.FindReplace1})
        on(a, &TZandorF::Find1Click);
    for (QAction* a : {mm.FindNext1, mm.FindNext2, mm.FindPrev1, mm.FindPrev2})
        on(a, &TZandorF::FindNext1Click);
    for (QAction* a : {mm.edit_format_join, mm.edit_format_lower, mm.edit_format_upper,
                       mm.edit_format_capitalize, mm.edit_format_toutf8, mm.edit_format_fromutf8,
                       mm.shortcut_format_join, mm.shortcut_format_lower, mm.shortcut_format_upper,
                       mm.shortcut_format_capitalize, mm.shortcut_format_toutf8, mm.shortcut_format_fromutf8})
        connect(a, &QAction::triggered, this, [this, a] { FormatCommandClick(TagOf(a)); });
    for (QAction* a : {mm.edit_insert, mm.shortcut_insert})
        on(a, &TZandorF::edit_insertClick);
    for (QAction* a : {mm.TimeDate1, mm.DateTime1})
        on(a, &TZandorF::TimeDate1Click);
    on(mm.SetFont1, &TZandorF::SetFont1Click);
    on(mm.SetFont2, &TZandorF::SetFont2Click);
    on(mm.options_showfont, &TZandorF::options_showfontClick);
    on(mm.SetPrintFont1, &TZandorF::SetPrintFont1Click);
    for (QAction* a : {mm.Edithighlightlist1, mm.EditHighlightList2})
        on(a, &TZandorF::Edithighlightlist1Click);
    const auto help = [this](QAction* item, void (THelpCommands::*handler)()) {
        connect(item, &QAction::triggered, this, [this, handler] { (Help.get()->*handler)(); });
    };
    help(mm.Contents1, &THelpCommands::Contents1Click);
    help(mm.DonatePaypal1, &THelpCommands::DonatePaypal1Click);
    help(mm.DonatePaypalEUR1, &THelpCommands::DonatePaypalEUR1Click);
    help(mm.miDonateBTC, &THelpCommands::miDonateBTCClick);
    help(mm.Lookfornewversion1, &THelpCommands::Lookfornewversion1Click);
    help(mm.OtherVeltraneSoftware1, &THelpCommands::OtherVeltraneSoftware1Click);
    help(mm.About1, &THelpCommands::About1Click);

    onButton(buttoncopy, &TZandorF::Copy1Click);
    onButton(buttoncut, &TZandorF::Cut1Click);
    onButton(buttonpaste, &TZandorF::Paste1Click);
    onButton(buttonsave, &TZandorF::FileSave1Click);
    connect(buttonexit, &QPushButton::clicked, this, &QWidget::close);
    Options->Wire();
    ApplyPendingCommands(*this);
}

// ---------------------------------------------------------------------------------------------
// Creation, showing and closing

void TZandorF::ApplyMenuBarHeight() {
    // What a menu bar of this window would measure; the band takes that height so it sits where
    // a menu bar would.
    QMenuBar probe;
    probe.setFont(font());
    probe.addMenu(QStringLiteral("File"));
    const int height = probe.sizeHint().height();
    if (height <= 0)
        return;
    ToolBar1->setFixedHeight(height);
    ToolBar1->SetButtonHeight(height);
    StatusPanel->setFixedHeight(height);
    StatusPanel->SetInnerHeight(height - 3);
    ToolBar1->BandRaise = height;
    StatusPanel->BandRaise = height;
}

void TZandorF::FormCreate(const std::string& fileToOpen) {
    ApplyMenuBarHeight();
    Localisation = std::make_unique<TLocalisation>(startup_.ExeFolder);
    setWindowTitle(QStringLiteral("Zandor"));
    HighlightFile = startup_.DataFolder + "highlight.dat";
    URLHighlighter1 = std::make_unique<TURLHighlighter>();
    PrintMemo->SetHighlighter(URLHighlighter1.get());
    HighlightList = std::make_unique<THighlightList>(*this, *URLHighlighter1, HighlightFile,
                                                     [this] { return Settings.HighLight; });
    Options = std::make_unique<TOptionsMenu>(*this);
    GifExport = std::make_unique<TGifExport>(*this);
    Help = std::make_unique<THelpCommands>(*this);
    Help->Lookfornewversion1 = Menu.Lookfornewversion1;
    Donation = std::make_unique<TDonationReminder>(*this);
    WireCommands();

    LoadConfig();

    LanguageMenu = new TLanguageMenu(*Localisation, *this, *Menu.options_language, Settings.Language);
    LanguageMenu->miDonateBTC = Menu.miDonateBTC;
    // A language change re-attaches the menus to the tool bar so its buttons show the new captions.
    LanguageMenu->OnTranslated = [this] {
        ToolBar1->ShowMenus({Menu.File1, Menu.Edit1, Menu.Options1, Menu.Help1});
    };
    LanguageMenu->FillLanguageMenu();
    LanguageMenu->SetTranslatorUrl(QString::fromUtf8(web::TranslatorDownload));
    LanguageMenu->OpenUrl = [this](const QString& url) { OpenPage(*this, QUrl(url, QUrl::StrictMode)); };
    LanguageMenu->LanguageChange();

    OpenFilter = "All files (*.*)|*.*|Zandor files (*.diz;*.nfo;*.txt;*.ini)|*.diz;*.nfo;*.txt;*.ini";
    WorkArea = desktop_.WorkArea();
    m->SetHighlighter(Settings.Launch ? URLHighlighter1.get() : nullptr);
    HighlightList->ApplyKeywordList();
    Options->ApplyLineNumbers();
    // Placed in its band before it is first shown, so showing does not re-create it.
    ApplyAlwaysOnTop();
    if (Settings.ExitFocus)
        buttonexit->setFocus();
    else
        m->setFocus();

    UpdateUndoItems();
    if (!fileToOpen.empty() && platform::FileExists(fileToOpen))
        LoadFile(fileToOpen);
    else
        ApplyWindowDimensions(kOtherSection);

    // Later hand-offs reach this window through the channel.
    listener_ = new platform::NewFileListener([this] { NewFileWndProc(); }, this);
    listener_->Listen(startup_.NewFileMessage);
    SettingsReports.ReportStore(*startup_.Config);
    if (Donation->StartUpCheck())
        DonateTimer->start();
}

void TZandorF::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Coming back after a change of band is the same window showing the same document.
    if (!event->spontaneous() && !reshowing_)
        FormShow();
}

void TZandorF::FormShow() {
    DocumentModified = false;
    ApplyingDimensions = false;
    ApplyAlwaysOnTop();
    Trace("window shown: " + windowTitle().toStdString());
}

void TZandorF::closeEvent(QCloseEvent* event) {
    if (AskSaveChanges()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TZandorF::Edithighlightlist1Click() {
    HighlightList->Edithighlightlist1Click();
}

void TZandorF::FormClose() {
    if (closed_)
        return;
    closed_ = true;
    SaveBoundsTimer->stop();
    HighlightList->ReleaseWindow();
    // A settings file that cannot be written (a read-only portable folder) must not keep the
    // window open; the user hears about it once.
    SettingsReports.Guard([this] { SaveConfig(); });
    if (startup_.SharedMem)
        startup_.SharedMem->CloseMapping();
    startup_.SharedMem.reset();
    startup_.Config.reset();
}

// ---------------------------------------------------------------------------------------------
// Document state

void TZandorF::UpdateTitle() {
    if (!CurrentFile.empty()) {
        std::string caption = "Zandor - " + CurrentFile;
        if (DocumentModified)
            caption += " *";
        setWindowTitle(QString::fromLocal8Bit(caption.c_str()));
        const auto slash = CurrentFile.rfind('/');
        const std::string shortName =
            slash == std::string::npos ? CurrentFile : CurrentFile.substr(slash + 1);
        ApplicationTitle = (DocumentModified ? "* " : "") + shortName;
    } else {
        ApplicationTitle = DocumentModified ? "Zandor *" : "Zandor";
        setWindowTitle(QString::fromStdString(ApplicationTitle));
    }
    // The short form is what a task bar shows for a minimised window.
    setWindowIconText(QString::fromLocal8Bit(ApplicationTitle.c_str()));
    WindowSection = WindowSectionFor(CurrentFile);
    Trace("caption: " + windowTitle().toStdString());
}

bool TZandorF::LoadFile(const std::string& name) {
    if (name.empty())
        return false;
    // A folder or a vanished name is refused before the editor's text is touched.
    if (!platform::FileExists(name)) {
        ShowMessage("Cannot open file \"" + name + "\".");
        return false;
    }
    // The font of the file's type comes before the text, so the text is laid out once.
    const std::string extension = LowerExtension(name);
    if (extension.empty())
        SetFont("Options", "Font5");
    else
        SetFont("Fonts", extension);
    try {
        TFileStream stream(name, TFileStream::fmOpenRead);
        m->LoadFromStream(stream, 0);
    } catch (const std::exception& e) {
        ShowMessage("Cannot open file \"" + name + "\": " + e.what());
        return false;
    }
    CurrentFile = name;
    CurrentExt = LowerExtension(name);
    AddRecentFile(Settings.RecentFiles, CurrentFile);
    WindowSection = WindowSectionFor(CurrentFile);
    ApplyWindowDimensions(WindowSection);
    DocumentModified = false;
    buttonsave->setEnabled(false);
    UpdateTitle();
    QWidget* focus = Settings.ExitFocus ? static_cast<QWidget*>(buttonexit) : static_cast<QWidget*>(m);
    focus->setFocus();
    SettingsReports.ReportStore(*startup_.Config);
    return true;
}

bool TZandorF::AskSaveChanges() {
    // Offering to save belongs to the documents feature; until it exists nothing is asked.
    return false;
}

void TZandorF::UpdateUndoItems() {
    const bool undo = m->CanUndo();
    const bool redo = m->CanRedo();
    for (QAction* item : {Menu.Undo1, Menu.Undo2})
        item->setEnabled(undo);
    for (QAction* item : {Menu.Redo1, Menu.Redo2})
        item->setEnabled(redo);
}

void TZandorF::Edit1Click() {
    UpdateUndoItems();
}

void TZandorF::PopupMenu1Popup() {
    UpdateUndoItems();
}

void TZandorF::Undo1Click() {
    m->Undo();
    m->ScrollInView();
    UpdateUndoItems();
}

void TZandorF::Redo1Click() {
    m->Redo();
    m->ScrollInView();
    UpdateUndoItems();
}

void TZandorF::mChange() {
    // Every edit, undo and load changes what can be undone.
    UpdateUndoItems();
    if (DocumentModified)
        return;
    DocumentModified = true;
    buttonsave->setEnabled(CommandBuilt(*this, buttonsave));
    UpdateTitle();
}

bool TZandorF::mKeyDown(int key, Qt::KeyboardModifiers shift) {
    if (key != Qt::Key_Escape)
        return PendingCommandKey(*this, QKeyCombination(shift, Qt::Key(key)));
    // While text is dragged in the editor, Escape puts it down there.
    if (m->DraggingText())
        return false;
    // Escape closes the window, through the same question about unsaved changes as any close.
    QTimer::singleShot(0, this, &QWidget::close);
    return true;
}

void TZandorF::mKeyUp() {}

void TZandorF::mMouseUp() {
    UpdateCaretPosition();
}

void TZandorF::mSelMove() {
    UpdateCaretPosition();
}

void TZandorF::UpdateCaretPosition() {
    const QString text =
        QString::number(m->SelLine() + 1) + QLatin1Char(',') + QString::number(m->SelCol() + 1);
    if (lbPosition->text() == text)
        return;
    lbPosition->setText(text);
    // Scripts that drive the window follow the caret through what the status shows.
    Trace("position: " + text.toStdString());
}

void TZandorF::ApplyNonPrintMarks() {
    m->SetShowNonPrintChars(0);
    if (Settings.Spaces)
        m->SetShowNonPrintChars(m->ShowNonPrintChars() | amNPSpace | amNPTab);
    if (Settings.Returns)
        m->SetShowNonPrintChars(m->ShowNonPrintChars() | amNPReturn);
}

// ---------------------------------------------------------------------------------------------
// Size and place

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
    const int width = ReadBoundsInteger(section, "Width", defaults.width());
    const int height = ReadBoundsInteger(section, "Height", defaults.height());
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
        std::string text;
        for (int i = 0; i < m->ParagraphCount(); ++i) {
            if (i > 0)
                text += "\r\n";
            text += m->GetParagraph(i);
        }
        width = AutoWindowWidth(WidestLineChars(text), AvgCharWidth, Settings.LineNumbers ? kGutterWidth : 0);
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
    store->WriteInteger(section, "Width", width());
    store->WriteInteger(section, "Height", height());
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
    ToolBar1->setGeometry(0, 0, clientWidth - kStatusPanelWidth, bandHeight);
    StatusPanel->setGeometry(ToolBar1->width() - 1, 0, kStatusPanelWidth, StatusPanel->height());
    StatusPanel->BandWidth = ToolBar1->width() + 1;
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

void TZandorF::SetFont(const std::string& section, const std::string& key) {
    TConfigSaver& store = *startup_.Config;
    platform::FontValue font;
    font.Name = "MS Sans Serif";
    font.Size = 8;
    font.Color = platform::clWhite;
    font.Charset = platform::ANSI_CHARSET;
    if (key == ".nfo" || key == ".diz") {
        font.Name = platform::LargeScreenFontFace;
        font.Size = 9;
        font.Charset = platform::OEM_CHARSET;
    }
    // The user's default font first, then the one stored for this extension. A stored font of the
    // wrong type leaves the font read so far; the store lists it for the report.
    for (const auto& [fontSection, fontKey] :
         {std::pair<std::string, std::string>("Options", "Font5"), {section, key}}) {
        try {
            store.ReadFont(fontSection, fontKey, platform::FontValue(font), font);
        } catch (const platform::RegistryError&) {
        }
    }
    // A stored screen font whose character set key is missing would otherwise read as ANSI.
    if (font.Name == platform::LargeScreenFontFace || font.Name == platform::TinyScreenFontFace)
        font.Charset = platform::OEM_CHARSET;
    m->SetFont(font);
    UpdateFontMetrics();
}

void TZandorF::ReportLater(const std::string& text) {
    // Settings are read while the window is being created; the report waits for the message loop.
    QTimer::singleShot(0, this, [this, text] {
        if (ShowMessage)
            ShowMessage(text);
    });
}

void TZandorF::UpdateFontMetrics() {
    const QFontMetrics metrics(platform::ToQFont(m->Font()));
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

// ---------------------------------------------------------------------------------------------
// Menus

void TZandorF::File1Click() {
    Menu.Save1->setEnabled(DocumentModified && !CurrentFile.empty());
    Menu.Properties1->setEnabled(platform::FileExists(CurrentFile));
}

// ---------------------------------------------------------------------------------------------
// Settings

void TZandorF::LoadConfig() {
    TConfigSaver& store = *startup_.Config;
    Settings = DefaultSettings();
    // The editor's own colours and fonts are the defaults of what is stored for them.
    Settings.BackColor = m->Color();
    Settings.HLColor = m->HighlightColor();
    Settings.HLBColor = m->HighlightBackgnd();
    Settings.PrintFont = PrintMemo->Font();
    try {
        LoadSettings(store, Settings);
    } catch (const platform::RegistryError&) {
        // The window starts with what could be read; the store lists every value of the wrong type
        // for the report, and closing writes them anew.
    }
    m->SetColor(Settings.BackColor);
    g->setPalette(QPalette(platform::ColorToQColor(Settings.BackColor)));
    m->SetHighlightColor(Settings.HLColor);
    m->SetHighlightBackgnd(Settings.HLBColor);
    SetFont("Options", "Font5");
    PrintMemo->SetFont(Settings.PrintFont);
    m->SetWordWrap(Settings.WordWrap);
    ApplyNonPrintMarks();
    Options->ApplyDragDrop();
    Options->ApplyLineNumbers();
    PanelBottom->setVisible(Settings.Buttons);
    UpdateFontMetrics();
}

void TZandorF::SaveConfig() {
    TConfigSaver& store = *startup_.Config;
    Settings.OneInstance = startup_.OneInstance;
    Settings.BackColor = m->Color();
    Settings.HLColor = m->HighlightColor();
    Settings.HLBColor = m->HighlightBackgnd();
    Settings.WordWrap = m->WordWrap();
    Settings.PrintFont = PrintMemo->Font();
    // One rewrite of the per-user file for the whole save. A value of the wrong type that nothing
    // writes anew goes, so that it reads as its default without a warning at the next start.
    TConfigSaver::WriteBatch batch(store);
    store.RemoveBadlyTypedValues();
    SaveSettings(store, Settings, [this] { SaveWindowBounds(); });
    batch.Commit();
    store.Flush();
}

// ---------------------------------------------------------------------------------------------
// The host of the features

std::string TZandorF::ProgramFolder() const {
    return startup_.ExeFolder;
}

void TZandorF::ShowErrorBox(TErrorBoxKind kind, const std::string& detail) {
    const TErrorBoxText box = ErrorBoxText(*Localisation, kind, detail);
    if (ShowError)
        ShowError(box.Caption, box.Text);
}

TDonationSettings TZandorF::DonationSettings() const {
    return {Settings.InstallDate, Settings.DonationShownCount, Settings.DonationDoNotBother};
}

void TZandorF::SetDonationSettings(const TDonationSettings& values) {
    Settings.InstallDate = values.InstallDate;
    Settings.DonationShownCount = values.DonationShownCount;
    Settings.DonationDoNotBother = values.DonationDoNotBother;
}

void TZandorF::SaveAllSettings() {
    if (!closed_ && startup_.Config)
        SettingsReports.Guard([this] { SaveConfig(); });
}

// ---------------------------------------------------------------------------------------------
// The receiving side of the hand-off

void TZandorF::NewFileWndProc() {
    Timer1->start();
}

void TZandorF::Timer1Timer() {
    Timer1->stop();
    const std::string name = startup_.SharedMem ? GetSharedFilename(*startup_.SharedMem) : std::string();
    Trace("hand-off received: " + name);
    ForceForegroundWindow();
    if (!AskSaveChanges())
        LoadFile(name);
}

bool TZandorF::ForceForegroundWindow() {
    // Restored to the state it had before it was minimised: a maximised window comes back maximised.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    if (isActiveWindow())
        return true;
    raise();
    activateWindow();
    return isActiveWindow();
}

} // namespace zandor
