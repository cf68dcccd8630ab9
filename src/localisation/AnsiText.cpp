#include "localisation/AnsiText.h"

#include "platform/CodePages.h"

namespace zandor {

std::string ToAnsi(const QString& text) {
    std::string result;
    result.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result.push_back('?');
            ++i;
            continue;
        }
        const int byte = platform::UnicodeToCp1252(ch.unicode());
        result.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    }
    return result;
}

QString FromAnsi(const std::string& text) {
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (const char c : text)
        result.append(QChar(platform::Cp1252ToUnicode(static_cast<unsigned char>(c))));
    return result;
}

} // namespace zandor
