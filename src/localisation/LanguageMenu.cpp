#include "localisation/LanguageMenu.h"

#include "localisation/Localisation.h"
#include "localisation/TranslateComponent.h"

#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QUrl>
#include <QWidget>

namespace zandor {

namespace {

constexpr const char* kLanguageProperty = "LanguageName";

} // namespace

TLanguageMenu::TLanguageMenu(TLocalisation& localisation, QWidget& window, QMenu& menu, std::string& language)
    : QObject(&menu), localisation_(localisation), window_(window), menu_(menu), language_(language) {
    OpenUrl = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
    group_ = new QActionGroup(this);
    group_->setExclusive(true);
}

void TLanguageMenu::FillLanguageMenu() {
    // The separator and "Download Translator" come first so the language items can be put in
    // front of them, as they are inserted at the top.
    QAction* separator = new QAction(&menu_);
    separator->setSeparator(true);
    translatorSeparator_ = separator;
    miDownloadTranslator = new QAction(QStringLiteral("Download Translator"), &menu_);
    miDownloadTranslator->setObjectName(QStringLiteral("miDownloadTranslator"));
    connect(miDownloadTranslator, &QAction::triggered, this, [this] {
        if (OpenUrl && !translatorUrl_.isEmpty())
            OpenUrl(translatorUrl_);
    });
    ShowTranslatorItem();
    QAction* first = menu_.actions().isEmpty() ? nullptr : menu_.actions().first();
    menu_.insertAction(first, separator);
    menu_.insertAction(first, miDownloadTranslator);

    std::vector<std::string> names;
    localisation_.ListLanguages(names);
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        QString caption = QFile::decodeName(it->c_str());
        // An ampersand in a file name is part of the name, not a keyboard accelerator.
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* item = new QAction(caption, &menu_);
        item->setProperty(kLanguageProperty, QByteArray::fromStdString(*it));
        item->setCheckable(true);
        group_->addAction(item);
        if (*it == language_) {
            item->setChecked(true);
            checked_ = item;
        }
        connect(item, &QAction::triggered, this, [this, item] { languageClick(item); });
        menu_.insertAction(menu_.actions().isEmpty() ? nullptr : menu_.actions().first(), item);
    }
}

void TLanguageMenu::SetTranslatorUrl(const QString& url) {
    translatorUrl_ = url;
    ShowTranslatorItem();
}

void TLanguageMenu::ShowTranslatorItem() {
    const bool shown = !translatorUrl_.isEmpty();
    if (miDownloadTranslator)
        miDownloadTranslator->setVisible(shown);
    if (translatorSeparator_)
        translatorSeparator_->setVisible(shown);
}

QList<QAction*> TLanguageMenu::LanguageItems() const {
    QList<QAction*> items;
    for (QAction* action : menu_.actions())
        if (action->property(kLanguageProperty).isValid())
            items.append(action);
    return items;
}

void TLanguageMenu::LanguageChange() {
    language_ = localisation_.LoadLanguage(language_);
    const QStringList& texts = localisation_.LanguageTexts();
    dialogs_.Follow(texts.isEmpty() ? QString() : texts.first());
    TranslateComponent(localisation_, &window_);
    if (OnTranslated)
        OnTranslated();
    if (miDonateBTC)
        miDonateBTC->setText(localisation_.GetCaption(79, QStringLiteral("Donate")) +
                             QStringLiteral(" (Bitcoin)"));
}

void TLanguageMenu::languageClick(QAction* item) {
    if (!item || item == checked_) {
        // Qt may have toggled the mark on its own; the checked item stays checked.
        if (item)
            item->setChecked(true);
        return;
    }
    for (QAction* other : LanguageItems())
        other->setChecked(false);
    item->setChecked(true);
    checked_ = item;
    language_ = item->property(kLanguageProperty).toByteArray().toStdString();
    LanguageChange();
}

} // namespace zandor
