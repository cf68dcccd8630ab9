// Whether a font face named by the user (on the command line) can be drawn at all, before anything
// is drawn with it: Qt would otherwise quietly draw some other font.
#pragma once

#include <string>

namespace zandor::platform {

// The face as the font database spells it, when it is among the faces Qt knows (the system's and
// those the program registered) in any letter case; the face unchanged when one of its substitutes
// is (InstallFontSubstitutions); empty when neither is. Needs a QGuiApplication.
std::string InstalledFontFace(const std::string& face);

} // namespace zandor::platform
