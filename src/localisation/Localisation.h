// The program's numbered texts: which language files exist, which one serves the user's locale,
// and the texts of the loaded one.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zandor {

// The choice that stands for "the language of the user's locale".
inline constexpr const char* AutomaticLanguage = "Automatic";
inline constexpr const char* LanguageErrorCaption = "Zandor Error information";

// Owns the lines of the loaded language file (LanguageTexts); one object serves the whole program,
// created by the main window and handed by reference to every window and command that shows text.
// Identity type: neither copied nor moved, since others keep references to it.
class TLocalisation {
public:
    using MessageFn = std::function<void(const QString& text, const QString& caption)>;

    // exeFolder: the folder of the program's files (platform::ResourceFolder: the program's own
    // folder in a build), ending in '/'; the language files lie in its "languages" folder.
    explicit TLocalisation(std::string exeFolder);
    TLocalisation(const TLocalisation&) = delete;
    TLocalisation& operator=(const TLocalisation&) = delete;

    // Loads the file of the named language, or of the detected one for an empty name or
    // "Automatic", and returns the name actually used; empty after a failure, in which case the
    // texts loaded before stay. Without "English.vlf" the program cannot run: the user is told
    // and Halt is called.
    std::string LoadLanguage(const std::string& name);

    // The first language file whose header declares the user's language identifier; "English"
    // when none does or a file cannot be read.
    std::string DetectLanguage();

    // "Automatic" and the name of every language file, sorted without regard to case. After a
    // failure Target stays as it was and the result is false.
    bool ListLanguages(std::vector<std::string>& target);

    // Text number `number` of the loaded file in the ANSI code page, or `def` when the file has
    // no text of that number.
    std::string GetText(int number, const std::string& def) const;
    // The same text ready for a caption or a message box.
    QString GetCaption(int number, const QString& def = {}) const;

    const QStringList& LanguageTexts() const { return languageTexts_; }
    // The "languages" folder, ending in '/'.
    std::string LanguagesFolder() const;

    // How the user is told about a problem; by default a modal box with an OK button.
    MessageFn ShowMessage;
    // Ends the program at once; by default the process exits with a failure code.
    std::function<void()> Halt;
    // The Windows language identifier of the user's locale; by default from the system locale.
    std::function<std::uint16_t()> UserLanguageId;

private:
    void Message(const char* text, const char* caption) const;
    // The language files of the folder, file names with their extension, sorted by name so that
    // detection gives the same answer on every file system. False when the folder cannot be read.
    bool LanguageFileNames(std::vector<std::string>& names) const;

    std::string exeFolder_;
    QStringList languageTexts_;
};

} // namespace zandor
