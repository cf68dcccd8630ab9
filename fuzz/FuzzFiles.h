// Files for the targets that read and write real files: one private folder per process, on a
// memory file system when there is one (the settings writers sync every file they write).
#pragma once

#include <string>
#include <string_view>

namespace zandor::fuzz {

// The path of name inside the folder; the folder is made on first use and removed at exit.
std::string ScratchPath(std::string_view name);
void WriteScratchFile(const std::string& path, std::string_view bytes);
std::string ReadScratchFile(const std::string& path);

} // namespace zandor::fuzz
