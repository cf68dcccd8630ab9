// The texts of Qt's own dialogs (the colour, file, font and print dialogs, the buttons of message
// boxes) in the language of the loaded language file: Qt's translation catalogue for the first
// locale the file's header declares, so that a dialog does not speak English beside menus in
// another language.
#pragma once

#include <QLocale>
#include <QString>

#include <memory>

class QTranslator;

namespace zandor {

// Owns the translator it installs in the application and takes it out again when it is replaced
// or destroyed.
class TDialogTranslation {
public:
    // folder: where Qt's catalogues ("qtbase_de.qm", ...) lie; by default Qt's own.
    explicit TDialogTranslation(QString folder = {});
    ~TDialogTranslation();
    TDialogTranslation(const TDialogTranslation&) = delete;
    TDialogTranslation& operator=(const TDialogTranslation&) = delete;

    // Follows the header (line 0) of a language file: the first identifier it lists ("$0407")
    // whose language has a catalogue decides. Without one the dialogs keep their English texts.
    // True when a catalogue was installed.
    bool Follow(const QString& header);

    // The locale of the installed catalogue; QLocale::c() when there is none.
    QLocale Locale() const { return FLocale; }

private:
    void Remove();

    QString FFolder;
    std::unique_ptr<QTranslator> FTranslator;
    QLocale FLocale = QLocale::c();
};

} // namespace zandor
