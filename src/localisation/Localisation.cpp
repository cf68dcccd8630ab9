#include "localisation/Localisation.h"

#include "localisation/AnsiText.h"
#include "localisation/LanguageFile.h"
#include "localisation/LanguageIds.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QMessageBox>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace zandor {

namespace {

constexpr const char* kExtension = ".vlf";
constexpr const char* kFileMissingCaption = "File missing?";

std::string WithoutExtension(const std::string& fileName) {
    const auto dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

} // namespace

TLocalisation::TLocalisation(std::string exeFolder) : exeFolder_(platform::IncludeTrailingSlash(exeFolder)) {
    ShowMessage = [](const QString& text, const QString& caption) {
        QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
        box.exec();
    };
    Halt = [] { std::exit(EXIT_FAILURE); };
    UserLanguageId = [] { return UserDefaultLanguageId(); };
}

std::string TLocalisation::LanguagesFolder() const {
    return exeFolder_ + "languages/";
}

void TLocalisation::Message(const char* text, const char* caption) const {
    if (ShowMessage)
        ShowMessage(QString::fromLatin1(text), QString::fromLatin1(caption));
}

std::string TLocalisation::LoadLanguage(const std::string& name) {
    const std::string english = LanguagesFolder() + "English.vlf";
    if (!platform::FileExists(english)) {
        // The message names the folder as it is spelled on disk: on a case-sensitive file system
        // another spelling would send the user to a folder the program never reads.
        if (ShowMessage)
            ShowMessage(QStringLiteral("Critical Error - File ") + QFile::decodeName(english.c_str()) +
                            QStringLiteral(" not found !"),
                        QString::fromLatin1(LanguageErrorCaption));
        if (Halt)
            Halt();
        return {};
    }
    std::string result = !name.empty() && name != AutomaticLanguage ? name : DetectLanguage();
    std::optional<QStringList> lines = ReadLanguageFile(LanguagesFolder() + result + kExtension);
    if (!lines) {
        Message("Language file not found!", LanguageErrorCaption);
        return {};
    }
    languageTexts_ = std::move(*lines);
    return result;
}

bool TLocalisation::LanguageFileNames(std::vector<std::string>& names) const {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator it(LanguagesFolder(), error);
    if (error)
        return false;
    const std::string extension = kExtension;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        const std::string fileName = it->path().filename().string();
        // A folder that happens to end in ".vlf" is no language; neither is a file named only ".vlf".
        if (fileName.size() <= extension.size() ||
            fileName.compare(fileName.size() - extension.size(), extension.size(), extension) != 0)
            continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        names.push_back(fileName);
    }
    if (error)
        return false;
    std::sort(names.begin(), names.end());
    return true;
}

std::string TLocalisation::DetectLanguage() {
    const QString key =
        QString::fromLatin1(LanguageKey(UserLanguageId ? UserLanguageId() : FallbackLanguageId));
    std::vector<std::string> files;
    bool failed = !LanguageFileNames(files);
    for (const std::string& fileName : files) {
        if (failed)
            break;
        const std::optional<QStringList> lines = ReadLanguageFile(LanguagesFolder() + fileName);
        if (!lines || lines->isEmpty()) {
            failed = true;
            break;
        }
        if (LineText(lines->first()).contains(key, Qt::CaseSensitive))
            return WithoutExtension(fileName);
    }
    if (failed)
        Message("Couldn't open the language setting file --> Language: English", kFileMissingCaption);
    return "English";
}

bool TLocalisation::ListLanguages(std::vector<std::string>& target) {
    std::vector<std::string> files;
    if (!LanguageFileNames(files)) {
        Message("Couldn't list the languages  --> Language: English", kFileMissingCaption);
        return false;
    }
    std::vector<std::string> names{AutomaticLanguage};
    for (const std::string& fileName : files)
        names.push_back(WithoutExtension(fileName));
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return QString::compare(QFile::decodeName(a.c_str()), QFile::decodeName(b.c_str()),
                                Qt::CaseInsensitive) < 0;
    });
    target = std::move(names);
    return true;
}

std::string TLocalisation::GetText(int number, const std::string& def) const {
    if (number < 0 || number >= languageTexts_.size())
        return def;
    std::string text = ToAnsi(LineText(languageTexts_.at(number)));
    return text.empty() ? def : text;
}

QString TLocalisation::GetCaption(int number, const QString& def) const {
    const std::string text = GetText(number, {});
    return text.empty() ? def : FromAnsi(text);
}

} // namespace zandor
