// The program's version as the build names it.
#pragma once

#include <string>

namespace zandor {

// "4.8": the version of the project the program was built from.
std::string ProgramVersion();

} // namespace zandor
