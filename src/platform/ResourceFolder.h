// Where the program's own read-only files lie: the screen fonts, the language files and the help
// pages. A built program keeps them beside itself, so the build folder runs as it is; an installed
// one keeps them under <prefix>/share/zandor and finds them from <prefix>/bin by a relative path,
// so an installation works under any prefix and can be moved as a whole.
#pragma once

#include <string>

namespace zandor::platform {

// The installed place, relative to the program's folder.
inline constexpr const char* kInstalledResourcePath = "../share/zandor/";

// exeFolder: the program's folder, ending in '/'. The folder itself when it holds
// "languages/English.vlf" (the one file the program cannot start without); else the installed
// place when that one holds it; else exeFolder, so that whatever is missing is reported where a
// built program looks for it. The result ends in '/'; the installed place is given without "..".
std::string ResourceFolder(const std::string& exeFolder);

// The program's icon for a resource folder as ResourceFolder gives it: the copy a built program
// keeps beside itself, else the SVG installed in the hicolor theme beside share/zandor; empty when
// neither exists.
std::string ProgramIconFile(const std::string& resourceFolder);

} // namespace zandor::platform
