// The Language submenu of the main window and what choosing a language does to that window.
#pragma once

#include "localisation/DialogTranslation.h"

#include <QObject>

#include <functional>
#include <string>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace zandor {

class TLocalisation;

// Refers to the localisation, the window it translates, the submenu it fills and the window's
// stored language name (the "Options"/"Language" setting), all owned by the main window; owns the
// menu's actions through Qt parenthood (they are children of the menu).
class TLanguageMenu : public QObject {
    Q_OBJECT
public:
    TLanguageMenu(TLocalisation& localisation, QWidget& window, QMenu& menu, std::string& language);

    // Builds the submenu once at start-up: one radio item per name from ListLanguages, in list
    // order, the item equal to the stored language (exactly, case included) checked, followed by a
    // separator and "Download Translator". Items already in the menu stay after these.
    void FillLanguageMenu();

    // The address "Download Translator" opens. While it is empty the item and its separator are
    // hidden: the item never leads to a page nobody keeps.
    void SetTranslatorUrl(const QString& url);

    // Applies the stored language to the window: loads it (so "Automatic" becomes the detected
    // name, which is what gets saved) and translates the window; Qt's own dialogs follow it.
    void LanguageChange();

    // A click on a language item: nothing for the checked one; otherwise that item alone is
    // checked and its language applied.
    void languageClick(QAction* item);

    // The language items in menu order (not the separator or "Download Translator").
    QList<QAction*> LanguageItems() const;

    QAction* miDownloadTranslator = nullptr;
    // The Help menu's Bitcoin donation item, captioned from the "Donate" text; may stay null.
    QAction* miDonateBTC = nullptr;
    // Runs after every translation, for window parts that must be refreshed to show new captions
    // (the tool bar that mirrors the main menu).
    std::function<void()> OnTranslated;
    // Opens an address in the browser; replaced by tests.
    std::function<void(const QString& url)> OpenUrl;

private:
    void ShowTranslatorItem();

    TLocalisation& localisation_;
    QWidget& window_;
    QMenu& menu_;
    std::string& language_;
    QActionGroup* group_ = nullptr;
    QString translatorUrl_;
    QAction* translatorSeparator_ = nullptr;
    // Qt's own dialogs in the language of the menus.
    TDialogTranslation dialogs_;
    // The item showing the check mark. Qt has already moved the mark by the time a click reports,
    // so the handler compares against this instead of asking the item.
    QAction* checked_ = nullptr;
};

} // namespace zandor
