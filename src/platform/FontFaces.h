// Whether a font face named by the user (on the command line) can be drawn at all, before anything
// is drawn with it: Qt would otherwise quietly draw some other font.
#pragma once

#include <string>

namespace zandor::platform {

// True when the face, in any letter case, is among the faces Qt knows (the system's and those the
// program registered) or is substituted by one of them (InstallFontSubstitutions). Needs a
// QGuiApplication.
bool FontFaceInstalled(const std::string& face);

} // namespace zandor::platform
