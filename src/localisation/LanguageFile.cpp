#include "localisation/LanguageFile.h"

#include "platform/CodePages.h"

#include <QFile>

namespace zandor {

namespace {

QString DecodeUtf16(const QByteArray& bytes, qsizetype start, bool bigEndian) {
    // An odd last byte is half a character and is dropped.
    const qsizetype count = (bytes.size() - start) / 2;
    QString text(count, Qt::Uninitialized);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData()) + start;
    for (qsizetype i = 0; i < count; ++i) {
        const unsigned first = data[2 * i];
        const unsigned second = data[2 * i + 1];
        text[i] = QChar(static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first)));
    }
    return text;
}

bool StartsWith(const QByteArray& bytes, std::initializer_list<unsigned char> mark) {
    if (bytes.size() < static_cast<qsizetype>(mark.size()))
        return false;
    qsizetype i = 0;
    for (const unsigned char byte : mark)
        if (static_cast<unsigned char>(bytes[i++]) != byte)
            return false;
    return true;
}

} // namespace

QString DecodeLanguageFile(const QByteArray& bytes) {
    if (StartsWith(bytes, {0xFF, 0xFE}))
        return DecodeUtf16(bytes, 2, false);
    if (StartsWith(bytes, {0xFE, 0xFF}))
        return DecodeUtf16(bytes, 2, true);
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF}))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(platform::Cp1252ToUnicode(static_cast<unsigned char>(bytes[i])));
    return text;
}

QStringList SplitLanguageLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ch = text.at(i).unicode();
        if (ch != u'\r' && ch != u'\n' && ch != 11 && ch != 12 && ch != 0x2028 && ch != 0x2029)
            continue;
        lines.append(text.mid(start, i - start));
        if (ch == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

std::optional<QStringList> ReadLanguageFile(const std::string& path) {
    QFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return SplitLanguageLines(DecodeLanguageFile(bytes));
}

QString LineText(const QString& line) {
    if (line.size() <= 1)
        return {};
    // A lead-in outside the basic plane is two code units; skipping only the first would leave
    // half a character in front of the text.
    const qsizetype skip = line.at(0).isHighSurrogate() && line.at(1).isLowSurrogate() ? 2 : 1;
    return line.mid(skip);
}

} // namespace zandor
