// Replacing a settings file so that a reader, or a crash, sees either the old or the new contents
// and never a truncated file.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace zandor::platform {

// Writes the bytes to a temporary file in the target's folder, flushes it to disk and renames it
// over the target (the file a symbolic link points to). The new file gets exactly `mode` (the umask does not
// apply); when keepExistingMode is true and the target exists, the target's mode is kept instead. Throws
// FileError "Cannot create file \"<path>\". <reason>" and leaves the target untouched when any step fails.
void WriteFileAtomically(const std::string& path, std::string_view bytes, mode_t mode, bool keepExistingMode);

} // namespace zandor::platform
