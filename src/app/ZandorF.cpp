#include "app/ZandorF.h"

#include "app/ArtLook.h"
#include "app/ArtScale.h"
#include "app/CommandTable.h"
#include "app/ConfigSaver.h"
#include "app/FontDialog.h"
#include "app/MainEditors.h"
#include "app/MenuBand.h"
#include "app/Mnemonics.h"
#include "app/OptionsMenu.h"
#include "app/PendingCommands.h"
#include "app/Startup.h"
#include "app/WindowDialogs.h"
#include "app/Zoom.h"
#include "commands/EditCommands.h"
#include "commands/FindReplace.h"
#include "commands/GifExport.h"
#include "documents/Documents.h"
#include "documents/FileDrag.h"
#include "editor/addons/ArtGutter.h"
#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
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
#include "platform/Trace.h"
#include "printing/PrintCommands.h"

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
constexpr int kMaxWindowWidth = 3000;
constexpr int kMaxWindowHeight = 2000;

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
    RunOpenDialog = [this](const TOpenDialogRequest& request) { return RunFileOpenDialog(this, request); };
    RunSaveDialog = [this](const TSaveDialogRequest& request) { return RunFileSaveDialog(this, request); };
    RunFontDialog = [this](const platform::FontValue& initial) {
        return TFontDialog::Execute(initial, this);
    };
    AskQuestion = [this](const QString& text, bool withCancel) {
        return RunQuestionBox(this, text, withCancel);
    };
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
    StatusPanel->setFixedHeight(22);
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
    // Files dropped anywhere on the window are opened.
    FileDrag1 = new TFileDrag(this);
    FileDrag1->OnDrop = [this](TFileDrag* sender) { Documents->FileDrag1Drop(*sender); };
    connect(DonateTimer, &QTimer::timeout, this, [this] {
        DonateTimer->stop();
        Donation->DonateTimerTimer();
    });
}

void TZandorF::CreateEditors() {
    m = new TArtMemo(MemoPanel);
    ConfigureMainEditor(*m, Menu.PopupMenu1);
    g = new TArtGutter(MemoPanel);
    ConfigureGutter(*g, *m);
    m->OnChange = [this](TArtMemo*) { mChange(); };
    m->OnSelMove = [this](TArtMemo*) { mSelMove(); };
    m->OnKeyDown = [this](TArtMemo*, int& key, Qt::KeyboardModifiers shift) {
        if (mKeyDown(key, shift))
            key = 0;
    };
    m->OnKeyUp = [this](TArtMemo*, int&, Qt::KeyboardModifiers) { mKeyUp(); };
    m->OnWheel = [this](int delta, Qt::KeyboardModifiers modifiers) {
        return Zoom && Zoom->Wheel(delta, modifiers);
    };
    m->OnMouseUp = [this](TArtMemo*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { mMouseUp(); };
    m->OnEnter = [this](TArtMemo*) { UpdateCaretPosition(); };
    m->OnExit = [this](TArtMemo*) { UpdateCaretPosition(); };

    PrintMemo = new TArtMemo(this);
    ConfigurePrintMemo(*PrintMemo, *m);
}

void TZandorF::CreateBottomPanel() {
    const TBottomButtons buttons = CreateBottomButtons(client_);
    PanelBottom = buttons.Panel;
    buttoncopy = buttons.Copy;
    buttoncut = buttons.Cut;
    buttonpaste = buttons.Paste;
    buttonsave = buttons.Save;
    buttonexit = buttons.Exit;
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
    Localisation = std::make_unique<TLocalisation>(startup_.ResourceFolder);
    setWindowTitle(QStringLiteral("Zandor"));
    HighlightFile = startup_.DataFolder + "highlight.dat";
    URLHighlighter1 = std::make_unique<TURLHighlighter>();
    PrintMemo->SetHighlighter(URLHighlighter1.get());
    HighlightList = std::make_unique<THighlightList>(*this, *URLHighlighter1, HighlightFile,
                                                     [this] { return Settings.HighLight; });
    Options = std::make_unique<TOptionsMenu>(*this);
    ArtScale = std::make_unique<TArtScale>(*Menu.Options1, startup_.Config.get(), [this](int scale) {
        m->SetFontScale(scale);
        UpdateFontMetrics();
        if (!startup_.StartingUp)
            ApplyWindowDimensions(WindowSection);
    });
    ArtLook = std::make_unique<TArtLook>(*Menu.Options1, startup_.Config.get(), [this] {
        ApplyScreenCells();
        if (!startup_.StartingUp)
            ApplyWindowDimensions(WindowSection);
    });
    Zoom = std::make_unique<TZoom>(
        TZoomHooks{.Font = [this] { return m->Font(); },
                   .ApplyFont = [this](const platform::FontValue& font) { Documents->Fonts.Apply(font); },
                   .ArtScale = [this] { return ArtScale->Scale(); },
                   .ChooseArtScale = [this](int scale) { ArtScale->Choose(scale); },
                   .Show = [this](const QString& text) { ShowStatusNote(text); }});
    Zoom->TakeKeysOf(*m);
    Clipboard = std::make_unique<TClipboardCommands>(*this);
    EditCommands = std::make_unique<TEditCommands>(*this, Settings.SelectedChar);
    Documents = std::make_unique<TDocuments>(*this);
    GifExport = std::make_unique<TGifExport>(*this);
    Printing = std::make_unique<TPrintCommands>(*this, *PrintMemo);
    FindReplace = std::make_unique<TFindReplace>(
        *this,
        TFindItems{Menu.FindNext1,
                   Menu.FindNext2,
                   Menu.FindPrev1,
                   Menu.FindPrev2,
                   {Menu.Copy1, Menu.Cut1, Menu.Paste1, Menu.Undo1, Menu.SelectAll1}},
        TFindSettings{&Settings.FindText, &Settings.ReplaceText, &Settings.FindLeft, &Settings.FindTop});
    Help = std::make_unique<THelpCommands>(*this);
    Help->Lookfornewversion1 = Menu.Lookfornewversion1;
    Donation = std::make_unique<TDonationReminder>(*this);
    WireCommands(*this);

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
    // Keyboard access to the menus: mnemonics, F10 and a lone Alt.
    for (QMenu* menu : {Menu.File1, Menu.Edit1, Menu.Options1, Menu.Help1, Menu.PopupMenu1})
        KeepMnemonics(*menu);
    ToolBar1->TakeMenuKeys(*this);

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
    if (!fileToOpen.empty() && platform::FileExists(fileToOpen)) {
        Documents->LoadFile(fileToOpen);
    } else {
        ApplyWindowDimensions(kOtherSection);
        // A name that holds no file is told, once the window is there to show the box over.
        if (!fileToOpen.empty())
            QTimer::singleShot(0, this, [this, fileToOpen] { Documents->ReportNotOpened(fileToOpen); });
    }

    // Later hand-offs reach this window through the channel.
    listener_ = new platform::NewFileListener(
        [this] { return startup_.SharedMem ? GetSharedFilename(*startup_.SharedMem) : std::string(); },
        [this](const std::string& name) { NewFileWndProc(name); }, this);
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
    UpdateDocumentCommands(*this);
    ApplyingDimensions = false;
    ApplyAlwaysOnTop();
    Trace("window shown: " + windowTitle().toStdString());
}

void TZandorF::closeEvent(QCloseEvent* event) {
    // The file being read would arrive in a closed window; a Replace All runs to its end.
    if (Documents->Loading() || FindReplace->Replacing() || Documents->AskSaveChanges()) {
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
    WindowSection = DocumentWindowSection();
    Trace("caption: " + windowTitle().toStdString());
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
    Clipboard->UpdateSelectionItems();
    Clipboard->UpdatePasteItems();
}

void TZandorF::edit_formatClick() {
    if (!EditCommands)
        return;
    const TFormatEnabling enabling = EditCommands->FormatEnabling();
    for (QAction* item : {Menu.edit_format_join, Menu.edit_format_lower, Menu.edit_format_upper,
                          Menu.edit_format_capitalize, Menu.shortcut_format_join, Menu.shortcut_format_lower,
                          Menu.shortcut_format_upper, Menu.shortcut_format_capitalize})
        item->setEnabled(enabling.Selection);
    for (QAction* item : {Menu.edit_format_toutf8, Menu.edit_format_fromutf8, Menu.shortcut_format_toutf8,
                          Menu.shortcut_format_fromutf8})
        item->setEnabled(enabling.Text);
}

void TZandorF::PopupMenu1Popup() {
    UpdateUndoItems();
    Clipboard->UpdatePasteItems();
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
    edit_formatClick();
    if (DocumentModified)
        return;
    DocumentModified = true;
    UpdateDocumentCommands(*this);
    UpdateTitle();
}

bool TZandorF::mKeyDown(int key, Qt::KeyboardModifiers shift) {
    if (key != Qt::Key_Escape) {
        const QKeyCombination combination(shift, Qt::Key(key));
        // A Format item's key reaches the editor only while the item is disabled (nothing to
        // rewrite); the editor would take Ctrl+J or Ctrl+U for keys of its own.
        for (const QAction* item : {Menu.edit_format_join, Menu.edit_format_lower, Menu.edit_format_upper,
                                    Menu.edit_format_capitalize})
            if (item->shortcut()[0] == combination)
                return true;
        // The print key is the menu's shortcut; the editor would type it as a control character.
        return PendingCommandKey(*this, combination) || Menu.Print1->shortcut() == QKeySequence(combination);
    }
    // While text is dragged in the editor, Escape puts it down there.
    if (m->DraggingText())
        return false;
    // Escape closes the window, through the same question about unsaved changes as any close.
    QTimer::singleShot(0, this, &QWidget::close);
    return true;
}

void TZandorF::mKeyUp() {
    if (Settings.SelectCopy)
        Clipboard->CopySelection();
}

void TZandorF::mMouseUp() {
    if (Settings.SelectCopy)
        Clipboard->CopySelection();
    UpdateCaretPosition();
}

void TZandorF::mSelMove() {
    if (Clipboard)
        Clipboard->UpdateSelectionItems();
    edit_formatClick();
    UpdateCaretPosition();
}

void TZandorF::ShowProgress(const QString& format, int percent) {
    // A load's or a replace's progress takes the place of a note.
    if (noteTimer_)
        noteTimer_->stop();
    showingNote_ = false;
    showingLoad_ = percent >= 0;
    if (showingLoad_)
        lbPosition->setText(format.arg(percent));
    else
        UpdateCaretPosition();
}

void TZandorF::ShowStatusNote(const QString& text) {
    if (!noteTimer_) {
        noteTimer_ = new QTimer(this);
        noteTimer_->setSingleShot(true);
        noteTimer_->setInterval(1500);
        connect(noteTimer_, &QTimer::timeout, this, [this] {
            showingNote_ = false;
            UpdateCaretPosition();
        });
    }
    // A load's progress keeps the panel; the note would only flicker over it.
    if (showingLoad_)
        return;
    showingNote_ = true;
    lbPosition->setText(text);
    Trace("status note: " + text.toStdString());
    noteTimer_->start();
}

void TZandorF::UpdateCaretPosition() {
    if (showingLoad_ || showingNote_)
        return;
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
// Menus

void TZandorF::File1Click() {
    UpdateDocumentCommands(*this);
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
    g->SetColor(Settings.BackColor);
    m->SetHighlightColor(Settings.HLColor);
    m->SetHighlightBackgnd(Settings.HLBColor);
    Documents->Fonts.SetFont("Options", "Font5");
    ArtLook->Load();
    ArtScale->Load();
    Documents->RecentFiles.Rebuild();
    PrintMemo->SetFont(Settings.PrintFont);
    Printing->LastPrinter = Settings.LastPrinter;
    TArtMemoPrinter& layout = Printing->ArtMemoPrinter1;
    layout.SetMarginLeft(float(Settings.MarginLeft));
    layout.SetMarginRight(float(Settings.MarginRight));
    layout.SetMarginTop(float(Settings.MarginTop));
    layout.SetMarginBottom(float(Settings.MarginBottom));
    m->SetWordWrap(Settings.WordWrap);
    ApplyNonPrintMarks();
    Options->ApplyDragDrop();
    Options->ApplyLineNumbers();
    PanelBottom->setVisible(Settings.Buttons);
    FindReplace->LoadSettings();
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
    Settings.LastPrinter = Printing->LastPrinter;
    const TArtMemoPrinter& layout = Printing->ArtMemoPrinter1;
    Settings.MarginLeft = layout.MarginLeft();
    Settings.MarginRight = layout.MarginRight();
    Settings.MarginTop = layout.MarginTop();
    Settings.MarginBottom = layout.MarginBottom();
    FindReplace->StoreSettings();
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

std::string TZandorF::DocumentWindowSection() const {
    return WindowSectionFor(artDocument_ ? std::string("art.nfo") : CurrentFile);
}

void TZandorF::SetDocumentFile(const std::string& file) {
    CurrentFile = file;
    CurrentExt = LowerExtension(file);
    artDocument_ = false;
    UpdateDocumentCommands(*this);
}

void TZandorF::MarkDocumentSaved() {
    DocumentModified = false;
    UpdateDocumentCommands(*this);
    UpdateTitle();
}

void TZandorF::ApplyDocumentWindowDimensions(bool art) {
    artDocument_ = art;
    ApplyScreenCells();
    WindowSection = DocumentWindowSection();
    ApplyWindowDimensions(WindowSection);
}

void TZandorF::FocusAfterOpen() {
    // A window that is not shown yet takes the focus widget along when it is.
    QWidget* focus = Settings.ExitFocus ? static_cast<QWidget*>(buttonexit) : static_cast<QWidget*>(m);
    focus->setFocus();
}

void TZandorF::LayoutBand() {
    const int status = StatusPanel->PreferredWidth(kStatusPanelWidth);
    ToolBar1->setGeometry(0, 0, width() - status, ToolBar1->height());
    StatusPanel->setGeometry(ToolBar1->width() - 1, 0, status, StatusPanel->height());
    StatusPanel->BandWidth = ToolBar1->width() + 1;
}

void TZandorF::ShowDocumentEncoding(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (StatusPanel->lbEncoding->text() == shown)
        return;
    StatusPanel->SetEncoding(shown);
    LayoutBand();
    // Scripts that drive the window read the encoding from here.
    Trace("encoding: " + text);
}

void TZandorF::FocusEditor() {
    m->setFocus();
}

void TZandorF::EditorFontChanged(bool chosenByUser) {
    g->SetFontColor(m->Font().Color);
    UpdateFontMetrics();
    // The character set shown follows the font.
    if (Documents)
        ShowDocumentEncoding(Documents->EncodingText());
    // A stored font of the wrong type is told about once, when it was met.
    if (startup_.Config)
        SettingsReports.ReportStore(*startup_.Config);
    if (!chosenByUser)
        return;
    if (Settings.AutoWidth || Settings.AutoHeight)
        AutoSizeWindow(width(), height());
}

TDocumentOptions TZandorF::DocumentOptions() const {
    return {Settings.AskChanges, Settings.Convert, Settings.AddTxt};
}

QMenu* TZandorF::RecentFilesMenu() {
    return Menu.file_recentfiles;
}

void TZandorF::ReadStoredFont(const std::string& section, const std::string& key,
                              const platform::FontValue& def, platform::FontValue& target) {
    // A stored font of the wrong type leaves the font read so far; the store lists it for the report.
    try {
        startup_.Config->ReadFont(section, key, def, target);
    } catch (const platform::RegistryError&) {
    }
}

void TZandorF::WriteStoredFont(const std::string& section, const std::string& key,
                               const platform::FontValue& font) {
    SettingsReports.Guard([&] { startup_.Config->WriteFontAndFlush(section, key, font); });
}

std::string TZandorF::ExecuteOpenDialog(const TOpenDialogRequest& request) {
    return RunOpenDialog ? RunOpenDialog(request) : std::string();
}

std::string TZandorF::ExecuteSaveDialog(const TSaveDialogRequest& request) {
    return RunSaveDialog ? RunSaveDialog(request) : std::string();
}

std::optional<platform::FontValue> TZandorF::ExecuteFontDialog(const platform::FontValue& initial) {
    return RunFontDialog ? RunFontDialog(initial) : std::nullopt;
}

TAnswer TZandorF::Ask(const QString& text, bool withCancel) {
    // Scripts that drive the window see the question before they answer it.
    Trace("question: " + text.simplified().toStdString());
    if (!AskQuestion)
        return withCancel ? TAnswer::Cancel : TAnswer::No;
    return AskQuestion(text, withCancel);
}

std::string TZandorF::ProgramFolder() const {
    return startup_.ResourceFolder;
}

void TZandorF::ShowErrorBox(TErrorBoxKind kind, const std::string& detail) {
    const TErrorBoxText box = ErrorBoxText(*Localisation, kind, detail);
    Trace("error box: " + box.Text.simplified().toStdString());
    if (ShowError)
        ShowError(box.Caption, box.Text);
}

void TZandorF::ShowPlainMessage(const std::string& text) {
    if (ShowMessage)
        ShowMessage(text);
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

void TZandorF::NewFileWndProc(const std::string& name) {
    handed_.push_back(name);
    Timer1->start();
}

void TZandorF::Timer1Timer() {
    Timer1->stop();
    std::string name;
    if (!handed_.empty()) {
        name = std::move(handed_.front());
        handed_.pop_front();
    }
    // Another start was taken while this one waited for its tick: its file comes on the next.
    if (!handed_.empty())
        Timer1->start();
    Trace("hand-off received: " + name);
    ForceForegroundWindow();
    if (!Documents->AskSaveChanges())
        Documents->LoadFile(name);
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
