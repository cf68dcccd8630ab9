// Trace points of the program (start-up, the file loader, the window's caption and caret position).
// They cost nothing unless the environment variable ZANDOR_TRACE names a file, to which each point
// then appends one line; scripts and tests use it to watch a running program from outside.
#pragma once

#include <string>

namespace zandor::platform {

void Trace(const std::string& line);

} // namespace zandor::platform
