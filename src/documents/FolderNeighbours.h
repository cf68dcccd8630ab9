// The files beside the open one, as File → Next File in Folder and Previous File in Folder step
// through them: the regular files of its folder that the Open dialog's first filter, "All files
// (*.*)", shows (a name with a dot, not hidden), in the dialog's name order (letter case ignored,
// numbers by their value: "part2" before "part10").
#pragma once

#include <string>
#include <vector>

namespace zandor {

// The names (without the folder) in that order.
std::vector<std::string> FolderFilesInNameOrder(const std::string& folder);

// The file `step` places after `file` (before it for a negative step) among its folder's files;
// empty at either end. A file no longer there has the neighbours it would have.
std::string NeighbourInFolder(const std::string& file, int step);

} // namespace zandor
