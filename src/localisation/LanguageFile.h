// The format of a language file: its encoding, its lines, and the lead-in character in front of each
// line's text. Reading only; the files are written by hand or by the translation tool.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace zandor {

// The file's text as Unicode: UTF-16 little- or big-endian or UTF-8 when the file starts with that
// byte-order mark (the mark itself dropped), otherwise 8-bit text in the ANSI code page.
QString DecodeLanguageFile(const QByteArray& bytes);

// The lines of a text. A line ends at CR LF (one break), LF, CR, vertical tab, form feed, U+2028 or
// U+2029; a break at the very end adds no empty line. An empty text has no lines.
QStringList SplitLanguageLines(const QString& text);

// The lines of a language file, or nothing when it cannot be opened or read.
std::optional<QStringList> ReadLanguageFile(const std::string& path);

// The text of a line: the line without its lead-in character, which is skipped unseen.
QString LineText(const QString& line);

} // namespace zandor
