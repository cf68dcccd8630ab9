// A program folder of its own with a "languages" folder, and a localisation whose message boxes,
// program end and user locale are recorded or chosen by the test.
#pragma once

#include "localisation/Localisation.h"
#include "support/TestSupport.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{' << list.join(QStringLiteral(" | ")).toStdString() << '}';
}

namespace zandor::test {

struct Message {
    QString text;
    QString caption;
    bool operator==(const Message&) const = default;
};

inline void PrintTo(const Message& message, std::ostream* os) {
    *os << '"' << message.text.toStdString() << "\" (\"" << message.caption.toStdString() << "\")";
}

class LanguageFolder {
public:
    LanguageFolder() : localisation(ExeFolder()) {
        localisation.ShowMessage = [this](const QString& text, const QString& caption) {
            messages.push_back({text, caption});
        };
        localisation.Halt = [this] { ++halts; };
        localisation.UserLanguageId = [this] { return userLanguageId; };
    }

    std::string ExeFolder() const { return dir.path() + "/"; }

    void WriteBytes(const std::string& fileName, const QByteArray& bytes) const {
        dir.write("languages/" + fileName, bytes);
    }

    // A UTF-8 file with its byte-order mark; each line already carries its lead-in character.
    void Write(const std::string& fileName, const QStringList& lines) const {
        WriteBytes(fileName, QByteArray("\xEF\xBB\xBF") + lines.join(QLatin1Char('\n')).toUtf8() + "\n");
    }

    ScratchDir dir;
    TLocalisation localisation;
    std::vector<Message> messages;
    int halts = 0;
    std::uint16_t userLanguageId = 0x0409;
};

} // namespace zandor::test
