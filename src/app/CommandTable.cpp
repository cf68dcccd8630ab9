#include "app/CommandTable.h"

#include "app/ClipboardCommands.h"
#include "app/MainMenu.h"
#include "app/OptionsMenu.h"
#include "app/PendingCommands.h"
#include "app/ZandorF.h"
#include "commands/EditCommands.h"
#include "commands/FindReplace.h"
#include "commands/GifExport.h"
#include "documents/Documents.h"
#include "periphery/HelpCommands.h"
#include "platform/FileSystem.h"
#include "printing/PrintCommands.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace zandor {

namespace {

using Run = void (*)(TZandorF&);

struct TCommand {
    QAction* TMainMenu::*Item;
    QAction* TMainMenu::*Twin;      // nullptr: none in the context menu
    QPushButton* TZandorF::*Button; // nullptr: no button
    Run Handler;
};

constexpr TCommand kCommands[] = {
    // File
    {&TMainMenu::New1, &TMainMenu::New2, nullptr, [](TZandorF& w) { w.Documents->FileNew1Click(); }},
    {&TMainMenu::Open1, &TMainMenu::Open2, nullptr, [](TZandorF& w) { w.Documents->FileOpen1Click(); }},
    {&TMainMenu::NextFile1, nullptr, nullptr, [](TZandorF& w) { w.Documents->OpenFileInFolder(1); }},
    {&TMainMenu::PrevFile1, nullptr, nullptr, [](TZandorF& w) { w.Documents->OpenFileInFolder(-1); }},
    {&TMainMenu::Save1, &TMainMenu::Save2, &TZandorF::buttonsave,
     [](TZandorF& w) { w.Documents->FileSave1Click(); }},
    {&TMainMenu::Saveas1, &TMainMenu::Saveas2, nullptr, [](TZandorF& w) { w.Documents->FileSaveAs1Click(); }},
    {&TMainMenu::Saveasgraphic1, nullptr, nullptr, [](TZandorF& w) { w.GifExport->Saveasgraphic1Click(); }},
    {&TMainMenu::Properties1, nullptr, nullptr, [](TZandorF& w) { w.Documents->Properties1Click(); }},
    {&TMainMenu::file_reopen_ansi, nullptr, nullptr,
     [](TZandorF& w) { w.Documents->ReopenWithEncoding(TReopenEncoding::Ansi); }},
    {&TMainMenu::file_reopen_cp437, nullptr, nullptr,
     [](TZandorF& w) { w.Documents->ReopenWithEncoding(TReopenEncoding::Cp437); }},
    {&TMainMenu::file_reopen_utf8, nullptr, nullptr,
     [](TZandorF& w) { w.Documents->ReopenWithEncoding(TReopenEncoding::Utf8); }},
    {&TMainMenu::file_reopen_utf16le, nullptr, nullptr,
     [](TZandorF& w) { w.Documents->ReopenWithEncoding(TReopenEncoding::Utf16Le); }},
    {&TMainMenu::file_reopen_utf16be, nullptr, nullptr,
     [](TZandorF& w) { w.Documents->ReopenWithEncoding(TReopenEncoding::Utf16Be); }},
    {&TMainMenu::Print1, &TMainMenu::Print2, nullptr, [](TZandorF& w) { w.Printing->Print1Click(); }},
    {&TMainMenu::PrintPreview1, &TMainMenu::PrintPreview2, nullptr,
     [](TZandorF& w) { w.Printing->PrintPreview1Click(); }},
    {&TMainMenu::Exit1, nullptr, &TZandorF::buttonexit, [](TZandorF& w) { w.close(); }},
    // Edit
    {&TMainMenu::Undo1, &TMainMenu::Undo2, nullptr, [](TZandorF& w) { w.Undo1Click(); }},
    {&TMainMenu::Redo1, &TMainMenu::Redo2, nullptr, [](TZandorF& w) { w.Redo1Click(); }},
    {&TMainMenu::Cut1, &TMainMenu::Cut2, &TZandorF::buttoncut, [](TZandorF& w) { w.Cut1Click(); }},
    {&TMainMenu::Copy1, &TMainMenu::Copy2, &TZandorF::buttoncopy, [](TZandorF& w) { w.Copy1Click(); }},
    {&TMainMenu::Paste1, &TMainMenu::Paste2, &TZandorF::buttonpaste, [](TZandorF& w) { w.Paste1Click(); }},
    {&TMainMenu::Deleteline1, &TMainMenu::Deleteline2, nullptr,
     [](TZandorF& w) { w.EditCommands->Deleteline1Click(); }},
    {&TMainMenu::SelectAll1, &TMainMenu::SelectAll2, nullptr, [](TZandorF& w) { w.SelectAll1Click(); }},
    {&TMainMenu::Find1, &TMainMenu::FindReplace1, nullptr, [](TZandorF& w) { w.FindReplace->Find1Click(); }},
    {&TMainMenu::FindNext1, &TMainMenu::FindNext2, nullptr,
     [](TZandorF& w) { w.FindReplace->FindNext1Click(false); }},
    {&TMainMenu::FindPrev1, &TMainMenu::FindPrev2, nullptr,
     [](TZandorF& w) { w.FindReplace->FindNext1Click(true); }},
    {&TMainMenu::edit_format_join, &TMainMenu::shortcut_format_join, nullptr,
     [](TZandorF& w) { w.EditCommands->edit_format_joinClick(); }},
    {&TMainMenu::edit_format_lower, &TMainMenu::shortcut_format_lower, nullptr,
     [](TZandorF& w) { w.EditCommands->edit_format_lowerClick(); }},
    {&TMainMenu::edit_format_upper, &TMainMenu::shortcut_format_upper, nullptr,
     [](TZandorF& w) { w.EditCommands->edit_format_upperClick(); }},
    {&TMainMenu::edit_format_capitalize, &TMainMenu::shortcut_format_capitalize, nullptr,
     [](TZandorF& w) { w.EditCommands->edit_format_capitalizeClick(); }},
    {&TMainMenu::edit_format_toutf8, &TMainMenu::shortcut_format_toutf8, nullptr,
     [](TZandorF& w) { w.EditCommands->edit_format_toutf8Click(); }},
    {&TMainMenu::edit_format_fromutf8, &TMainMenu::shortcut_format_fromutf8, nullptr,
     [](TZandorF& w) { w.EditCommands->edit_format_fromutf8Click(); }},
    {&TMainMenu::edit_insert, &TMainMenu::shortcut_insert, nullptr,
     [](TZandorF& w) { w.EditCommands->edit_insertClick(); }},
    {&TMainMenu::TimeDate1, &TMainMenu::DateTime1, nullptr,
     [](TZandorF& w) { w.EditCommands->TimeDate1Click(); }},
    // Options (the toggles are the Options menu's own)
    {&TMainMenu::SetFont1, nullptr, nullptr, [](TZandorF& w) { w.Documents->Fonts.OptionsSetFont1Click(); }},
    {&TMainMenu::SetFont2, nullptr, nullptr, [](TZandorF& w) { w.Documents->Fonts.SetFont2Click(); }},
    {&TMainMenu::options_showfont, nullptr, nullptr,
     [](TZandorF& w) { w.EditCommands->options_showfontClick(); }},
    {&TMainMenu::SetPrintFont1, nullptr, nullptr, [](TZandorF& w) { w.Printing->SetPrintFont1Click(); }},
    {&TMainMenu::Edithighlightlist1, &TMainMenu::EditHighlightList2, nullptr,
     [](TZandorF& w) { w.Edithighlightlist1Click(); }},
    // Help
    {&TMainMenu::Contents1, nullptr, nullptr, [](TZandorF& w) { w.Help->Contents1Click(); }},
    {&TMainMenu::DonatePaypal1, nullptr, nullptr, [](TZandorF& w) { w.Help->DonatePaypal1Click(); }},
    {&TMainMenu::DonatePaypalEUR1, nullptr, nullptr, [](TZandorF& w) { w.Help->DonatePaypalEUR1Click(); }},
    {&TMainMenu::miDonateBTC, nullptr, nullptr, [](TZandorF& w) { w.Help->miDonateBTCClick(); }},
    {&TMainMenu::Lookfornewversion1, nullptr, nullptr,
     [](TZandorF& w) { w.Help->Lookfornewversion1Click(); }},
    {&TMainMenu::OtherVeltraneSoftware1, nullptr, nullptr,
     [](TZandorF& w) { w.Help->OtherVeltraneSoftware1Click(); }},
    {&TMainMenu::About1, nullptr, nullptr, [](TZandorF& w) { w.Help->About1Click(); }},
};

// Items whose enabled state follows the document.
struct TDocumentItem {
    QAction* TMainMenu::*Item;
    bool (*Enabled)(const TZandorF&);
};

constexpr TDocumentItem kDocumentItems[] = {
    // A new text is saved through "Save as..."; the Save button offers that as well.
    {&TMainMenu::Save1, [](const TZandorF& w) { return w.DocumentModified && !w.CurrentFile.empty(); }},
    {&TMainMenu::Properties1, [](const TZandorF& w) { return platform::FileExists(w.CurrentFile); }},
    {&TMainMenu::NextFile1, [](const TZandorF& w) { return !w.CurrentFile.empty(); }},
    {&TMainMenu::PrevFile1, [](const TZandorF& w) { return !w.CurrentFile.empty(); }},
    {&TMainMenu::file_reopen_item, [](const TZandorF& w) { return platform::FileExists(w.CurrentFile); }},
    {&TMainMenu::SetFont2, [](const TZandorF& w) { return !w.CurrentExt.empty(); }},
};

struct TPreparation {
    QMenu* TMainMenu::*Menu;
    Run Handler;
};

constexpr TPreparation kPreparations[] = {
    {&TMainMenu::File1, [](TZandorF& w) { w.File1Click(); }},
    {&TMainMenu::Edit1, [](TZandorF& w) { w.Edit1Click(); }},
    {&TMainMenu::PopupMenu1, [](TZandorF& w) { w.PopupMenu1Popup(); }},
    {&TMainMenu::Help1, [](TZandorF& w) { w.Help->Help1Click(); }},
    {&TMainMenu::edit_format, [](TZandorF& w) { w.edit_formatClick(); }},
    {&TMainMenu::shortcut_format, [](TZandorF& w) { w.edit_formatClick(); }},
};

} // namespace

void WireCommands(TZandorF& window) {
    TMainMenu& menu = window.Menu;
    for (const TCommand& command : kCommands) {
        const Run handler = command.Handler;
        const auto run = [&window, handler] { handler(window); };
        QObject::connect(menu.*command.Item, &QAction::triggered, &window, run);
        if (command.Twin)
            QObject::connect(menu.*command.Twin, &QAction::triggered, &window, run);
        if (command.Button)
            QObject::connect(window.*command.Button, &QPushButton::clicked, &window, run);
    }
    for (const TPreparation& preparation : kPreparations) {
        const Run handler = preparation.Handler;
        QObject::connect(menu.*preparation.Menu, &QMenu::aboutToShow, &window,
                         [&window, handler] { handler(window); });
    }
    window.Options->Wire();
    window.Clipboard->Wire();
    ApplyPendingCommands(window);
    UpdateDocumentCommands(window);
}

void UpdateDocumentCommands(TZandorF& window) {
    for (const TDocumentItem& item : kDocumentItems)
        (window.Menu.*item.Item)->setEnabled(item.Enabled(window));
    window.buttonsave->setEnabled(window.DocumentModified && CommandBuilt(window, window.buttonsave));
}

} // namespace zandor
