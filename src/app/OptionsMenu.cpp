#include "app/OptionsMenu.h"

#include "app/CommandTable.h"
#include "app/Startup.h"
#include "app/ZandorF.h"
#include "editor/addons/ArtGutter.h"
#include "editor/addons/URLHighlighter.h"
#include "editor/control/ArtMemo.h"
#include "keywords/HighlightList.h"
#include "localisation/Localisation.h"

#include <QAction>
#include <QColorDialog>
#include <QMenu>
#include <QObject>

#include <utility>

namespace zandor {

using namespace platform;

namespace {

// Options that only change their setting; what they govern reads the setting when it happens.
struct PlainToggle {
    QAction* TMainMenu::*Item;
    bool TSettings::*Flag;
};

constexpr PlainToggle kPlainToggles[] = {
    {&TMainMenu::Copyeveryselectiontoclipboard1, &TSettings::SelectCopy},
    {&TMainMenu::Trimcutcopy1, &TSettings::Trim},
    {&TMainMenu::Askforchangesonexit1, &TSettings::AskChanges},
    {&TMainMenu::Addtxttofileswithoutextension1, &TSettings::AddTxt},
    {&TMainMenu::ConvertUnixfiles1, &TSettings::Convert},
    {&TMainMenu::Setwidthaccordingtowidestlinelengthonload1, &TSettings::AutoWidth},
    {&TMainMenu::Setheightaccordingtonumberoflines1, &TSettings::AutoHeight},
};

// Options whose toggle has an effect of its own, with the setting its check mark shows.
struct EffectToggle {
    QAction* TMainMenu::*Item;
    bool TSettings::*Flag;
    void (TOptionsMenu::*Handler)();
};

constexpr EffectToggle kEffectToggles[] = {
    {&TMainMenu::AlwaysonTop1, &TSettings::OnTop, &TOptionsMenu::AlwaysonTop1Click},
    {&TMainMenu::miShowButtons, &TSettings::Buttons, &TOptionsMenu::miShowButtonsClick},
    {&TMainMenu::Showlinenumbers1, &TSettings::LineNumbers, &TOptionsMenu::Showlinenumbers1Click},
    {&TMainMenu::Showspacestabs1, &TSettings::Spaces, &TOptionsMenu::Showspacestabs1Click},
    {&TMainMenu::miShowCR, &TSettings::Returns, &TOptionsMenu::miShowCRClick},
    {&TMainMenu::DragDrop1, &TSettings::DragDrop, &TOptionsMenu::DragDrop1Click},
    {&TMainMenu::LaunchURLs1, &TSettings::Launch, &TOptionsMenu::LaunchURLs1Click},
    {&TMainMenu::Highlightkeywords1, &TSettings::HighLight, &TOptionsMenu::Highlightkeywords1Click},
};

QColor ToQColor(TColor color) {
    return ColorToQColor(color);
}

TColor FromQColor(const QColor& color) {
    return static_cast<TColor>(static_cast<uint32_t>(color.red()) |
                               (static_cast<uint32_t>(color.green()) << 8) |
                               (static_cast<uint32_t>(color.blue()) << 16));
}

} // namespace

TOptionsMenu::TOptionsMenu(TZandorF& window) : w_(window) {
    ChooseColor = [this](TColor initial) -> std::optional<TColor> {
        // "Full open, any colour": the dialog shows its custom colour part from the start.
        const QColor chosen = QColorDialog::getColor(ToQColor(initial), &w_);
        if (!chosen.isValid())
            return std::nullopt;
        return FromQColor(chosen);
    };
}

void TOptionsMenu::Wire() {
    TMainMenu& menu = w_.Menu;
    QObject::connect(menu.Options1, &QMenu::aboutToShow, &w_, [this] { Options1Click(); });
    QObject::connect(menu.InitialFocus1, &QMenu::aboutToShow, &w_, [this] { InitialFocus1Click(); });
    QObject::connect(menu.Windowdimensions1, &QMenu::aboutToShow, &w_, [this] { Windowdimensions1Click(); });
    for (const PlainToggle& toggle : kPlainToggles) {
        QAction* item = menu.*toggle.Item;
        QObject::connect(item, &QAction::triggered, &w_, [this, toggle, item] {
            bool& flag = w_.Settings.*toggle.Flag;
            flag = !flag;
            item->setChecked(flag);
        });
    }
    for (const EffectToggle& toggle : kEffectToggles)
        QObject::connect(menu.*toggle.Item, &QAction::triggered, &w_,
                         [this, toggle] { (this->*toggle.Handler)(); });
    const std::pair<QAction*, void (TOptionsMenu::*)()> others[] = {
        {menu.AllowonlyoneZandorinstance1, &TOptionsMenu::AllowonlyoneZandorinstance1Click},
        {menu.Wordwrap1, &TOptionsMenu::Wordwrap1Click},
        {menu.Wordwrap2, &TOptionsMenu::Wordwrap1Click},
        {menu.Exitbutton1, &TOptionsMenu::Exitbutton1Click},
        {menu.Textfield1, &TOptionsMenu::Textfield1Click},
        {menu.Samewindowforallfiletypes1, &TOptionsMenu::Samewindowforallfiletypes1Click},
        {menu.Individualdimensions1, &TOptionsMenu::Individualdimensions1Click},
        {menu.Setcolor1, &TOptionsMenu::Setcolor1Click},
        {menu.SetHighlightBackgroundColor1, &TOptionsMenu::SetHighlightBackgroundColor1Click},
        {menu.SetHighlightColor1, &TOptionsMenu::SetHighlightColor1Click},
    };
    for (const auto& [item, handler] : others)
        QObject::connect(item, &QAction::triggered, &w_, [this, handler = handler] { (this->*handler)(); });
    // The context menu's Options submenu shows the editor's word wrap when it opens.
    QObject::connect(menu.Options2, &QMenu::aboutToShow, &w_,
                     [this] { w_.Menu.Wordwrap2->setChecked(w_.m->WordWrap()); });
}

void TOptionsMenu::Options1Click() {
    TMainMenu& menu = w_.Menu;
    const TSettings& s = w_.Settings;
    for (const PlainToggle& toggle : kPlainToggles)
        (menu.*toggle.Item)->setChecked(s.*toggle.Flag);
    for (const EffectToggle& toggle : kEffectToggles)
        (menu.*toggle.Item)->setChecked(s.*toggle.Flag);
    menu.AllowonlyoneZandorinstance1->setChecked(w_.Startup().OneInstance);
    menu.Wordwrap1->setChecked(w_.m->WordWrap());
    UpdateDocumentCommands(w_);
    QString caption = w_.Localisation->GetCaption(41, QStringLiteral("Set Font Style and Color for"));
    if (!w_.CurrentExt.empty())
        caption +=
            QStringLiteral(" ") + QString::fromLocal8Bit(w_.CurrentExt.c_str()) + QStringLiteral("...");
    menu.SetFont2->setText(caption);
}

void TOptionsMenu::InitialFocus1Click() {
    w_.Menu.Exitbutton1->setChecked(w_.Settings.ExitFocus);
    w_.Menu.Textfield1->setChecked(!w_.Settings.ExitFocus);
}

void TOptionsMenu::Windowdimensions1Click() {
    TMainMenu& menu = w_.Menu;
    menu.Samewindowforallfiletypes1->setChecked(w_.Settings.SameDim);
    menu.Individualdimensions1->setChecked(!w_.Settings.SameDim);
    menu.Setwidthaccordingtowidestlinelengthonload1->setChecked(w_.Settings.AutoWidth);
    menu.Setheightaccordingtonumberoflines1->setChecked(w_.Settings.AutoHeight);
}

void TOptionsMenu::AlwaysonTop1Click() {
    w_.Settings.OnTop = !w_.Settings.OnTop;
    w_.ApplyAlwaysOnTop();
}

void TOptionsMenu::miShowButtonsClick() {
    w_.Settings.Buttons = !w_.Settings.Buttons;
    w_.PanelBottom->setVisible(w_.Settings.Buttons);
    w_.FormResize();
}

void TOptionsMenu::Showlinenumbers1Click() {
    w_.Settings.LineNumbers = !w_.Settings.LineNumbers;
    ApplyLineNumbers();
}

void TOptionsMenu::ApplyLineNumbers() {
    w_.g->setVisible(w_.Settings.LineNumbers);
    w_.MemoPanelResize();
}

void TOptionsMenu::Showspacestabs1Click() {
    w_.Settings.Spaces = !w_.Settings.Spaces;
    w_.ApplyNonPrintMarks();
}

void TOptionsMenu::miShowCRClick() {
    w_.Settings.Returns = !w_.Settings.Returns;
    w_.ApplyNonPrintMarks();
}

void TOptionsMenu::DragDrop1Click() {
    w_.Settings.DragDrop = !w_.Settings.DragDrop;
    ApplyDragDrop();
}

void TOptionsMenu::ApplyDragDrop() {
    const TArtMemoOptions options = w_.m->Options();
    w_.m->SetOptions(w_.Settings.DragDrop ? options.Without(amoNoDragnDrop) : options.With(amoNoDragnDrop));
}

void TOptionsMenu::LaunchURLs1Click() {
    w_.Settings.Launch = !w_.Settings.Launch;
    w_.m->SetHighlighter(w_.Settings.Launch ? w_.URLHighlighter1.get() : nullptr);
    w_.HighlightList->ApplyKeywordList();
}

void TOptionsMenu::Highlightkeywords1Click() {
    w_.Settings.HighLight = !w_.Settings.HighLight;
    w_.HighlightList->ApplyKeywordList();
}

void TOptionsMenu::AllowonlyoneZandorinstance1Click() {
    w_.Startup().OneInstance = !w_.Startup().OneInstance;
    // Stored at once: the next start reads it before any window exists.
    w_.SettingsReports.Guard([this] { w_.SaveConfig(); });
}

void TOptionsMenu::Wordwrap1Click() {
    w_.m->SetWordWrap(!w_.m->WordWrap());
}

void TOptionsMenu::Exitbutton1Click() {
    w_.Settings.ExitFocus = true;
}

void TOptionsMenu::Textfield1Click() {
    w_.Settings.ExitFocus = false;
}

void TOptionsMenu::Samewindowforallfiletypes1Click() {
    w_.Settings.SameDim = true;
}

void TOptionsMenu::Individualdimensions1Click() {
    w_.Settings.SameDim = false;
}

void TOptionsMenu::Setcolor1Click() {
    if (!ChooseColor)
        return;
    if (const auto color = ChooseColor(w_.m->Color())) {
        w_.m->SetColor(*color);
        w_.g->SetColor(*color);
    }
}

void TOptionsMenu::SetHighlightBackgroundColor1Click() {
    if (!ChooseColor)
        return;
    if (const auto color = ChooseColor(w_.m->HighlightBackgnd()))
        w_.m->SetHighlightBackgnd(*color);
    // Cancel too: the list is applied again either way.
    w_.HighlightList->ApplyKeywordList();
}

void TOptionsMenu::SetHighlightColor1Click() {
    if (!ChooseColor)
        return;
    if (const auto color = ChooseColor(w_.m->HighlightColor()))
        w_.m->SetHighlightColor(*color);
    w_.HighlightList->ApplyKeywordList();
}

} // namespace zandor
