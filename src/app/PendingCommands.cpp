#include "app/PendingCommands.h"

#include "app/MainMenu.h"
#include "app/ZandorF.h"
#include "host/WebAddresses.h"

#include <QAction>
#include <QActionGroup>
#include <QPushButton>

#include <array>

namespace zandor {

namespace {

// None at present: every menu command works. An item whose command is still to come goes here,
// and its row goes when the feature lands.
constexpr std::array<QAction * TMainMenu::*, 0> kPendingItems{};

// None at present; a button whose command is still to come goes here.
constexpr std::array<QPushButton * TZandorF::*, 0> kPendingButtons{};

// Items that open a web page, with the address they open.
struct WebItem {
    QAction* TMainMenu::*Item;
    const char* Address;
};

constexpr WebItem kWebItems[] = {
    {&TMainMenu::DonatePaypal1, web::DonatePaypalUsd},
    {&TMainMenu::DonatePaypalEUR1, web::DonatePaypalEur},
    {&TMainMenu::miDonateBTC, web::DonateBitcoin},
    {&TMainMenu::Lookfornewversion1, web::NewVersion},
    {&TMainMenu::OtherVeltraneSoftware1, web::OtherSoftware},
};

} // namespace

void ApplyPendingCommands(TZandorF& window) {
    auto* pending = new QActionGroup(&window);
    pending->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (QAction* TMainMenu::*item : kPendingItems)
        pending->addAction(window.Menu.*item);
    pending->setEnabled(false);
    for (QPushButton* TZandorF::*button : kPendingButtons)
        (window.*button)->setEnabled(false);
    for (const WebItem& web : kWebItems)
        (window.Menu.*web.Item)->setVisible(*web.Address != '\0');
}

bool CommandBuilt(const TZandorF& window, const QAction* item) {
    for (QAction* TMainMenu::*pending : kPendingItems)
        if (window.Menu.*pending == item)
            return false;
    return true;
}

bool PendingCommandKey(const TZandorF& window, QKeyCombination key) {
    for (QAction* TMainMenu::*pending : kPendingItems) {
        const QAction* item = window.Menu.*pending;
        const TMainMenu& m = window.Menu;
        const bool editorsOwn = item == m.Cut1 || item == m.Cut2 || item == m.Copy1 || item == m.Copy2 ||
                                item == m.Paste1 || item == m.Paste2 || item == m.SelectAll1 ||
                                item == m.SelectAll2;
        if (!editorsOwn && !item->shortcut().isEmpty() && item->shortcut()[0] == key)
            return true;
    }
    return false;
}

bool CommandBuilt(const TZandorF& window, const QPushButton* button) {
    for (QPushButton* TZandorF::*pending : kPendingButtons)
        if (window.*pending == button)
            return false;
    return true;
}

} // namespace zandor
