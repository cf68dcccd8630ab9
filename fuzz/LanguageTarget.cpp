// Language files of any bytes, as a translator's editor may leave them: decoding and splitting
// give lines without break characters that together hold the whole text, every numbered text
// comes out in the ANSI code page and back without change, and loading the file as the program's
// language (and detecting the user's language among the files) reads what the lines say.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "FuzzTargets.h"

#include "localisation/AnsiText.h"
#include "localisation/LanguageFile.h"
#include "localisation/Localisation.h"

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <string>
#include <vector>

namespace zandor::fuzz {

namespace {

bool IsBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == 11 || c == 12 || c == 0x2028 || c == 0x2029;
}

// The text with every break (CR LF counting as one) as LF, without a last break: what the lines
// must give when joined with LF.
QString WithPlainBreaks(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (!IsBreak(c)) {
            out += text.at(i);
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        out += u'\n';
    }
    if (out.endsWith(u'\n'))
        out.chop(1);
    return out;
}

} // namespace

int FuzzLanguage(const uint8_t* data, size_t size) {
    // The whole input is the file, so real language files serve as seeds; the user's language comes
    // from its first and last bytes.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto languageId = static_cast<uint16_t>(size > 0 ? data[0] | data[size - 1] << 8 : 0x0409);
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));

    const QString text = DecodeLanguageFile(raw);
    const QStringList lines = SplitLanguageLines(text);
    for (const QString& line : lines)
        for (const QChar c : line)
            FuzzCheck(!IsBreak(c.unicode()), "a line holds a break character");
    FuzzCheck(lines.join(u'\n') == WithPlainBreaks(text), "the lines do not hold the whole text");
    for (const QString& line : lines) {
        const std::string ansi = ToAnsi(LineText(line));
        FuzzCheck(ToAnsi(FromAnsi(ansi)) == ansi, "a text does not survive the ANSI code page");
    }

    // The file as the program's language, and the user's language detected among the files.
    namespace fs = std::filesystem;
    static const std::string folder = ScratchPath("program") + "/";
    static const bool made = fs::create_directories(folder + "languages");
    (void)made;
    WriteScratchFile(folder + "languages/English.vlf", bytes);
    WriteScratchFile(folder + "languages/Other.vlf", bytes.substr(0, bytes.size() / 2));
    TLocalisation localisation(folder);
    int messages = 0;
    localisation.ShowMessage = [&](const QString&, const QString&) { ++messages; };
    localisation.Halt = [] { FuzzFail("the program was halted although English.vlf exists"); };
    localisation.UserLanguageId = [languageId] { return languageId; };
    const std::string chosen = localisation.LoadLanguage("");
    FuzzCheck(chosen == "English" || chosen == "Other", "the detected language is no file's");
    messages = 0;
    const std::string loaded = localisation.LoadLanguage("English");
    FuzzCheck(loaded == "English" && messages == 0, "the English file did not load");
    FuzzCheck(localisation.LanguageTexts() == lines, "the loaded lines differ from the file's");
    for (int number = -1; number <= lines.size(); ++number) {
        const std::string expected =
            number >= 0 && number < lines.size() ? ToAnsi(LineText(lines.at(number))) : std::string();
        FuzzCheck(localisation.GetText(number, "default") == (expected.empty() ? "default" : expected),
                  "a numbered text reads otherwise");
    }
    std::vector<std::string> names;
    FuzzCheck(localisation.ListLanguages(names) && names.size() == 3, "the language list is wrong");
    return 0;
}

} // namespace zandor::fuzz
