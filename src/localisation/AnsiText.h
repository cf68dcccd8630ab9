// Texts shown by the program pass through the system's ANSI code page: a language file may hold any
// character, but what reaches a caption is what that code page can show.
#pragma once

#include <QString>

#include <string>

namespace zandor {

// Every character the code page lacks becomes its default character '?' (one per character, so a
// character outside the basic plane gives one '?', not two).
std::string ToAnsi(const QString& text);
QString FromAnsi(const std::string& text);

} // namespace zandor
