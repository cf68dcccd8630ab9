// Files and folders as the start-up sequence and the documents see them. Paths are native 8-bit
// strings; a folder path "ending in a separator" ends in '/'.
#pragma once

#include <string>

namespace zandor::platform {

// Folder of the running executable, ending in '/'.
std::string ExecutableFolder();

// The per-user application-data folder: $XDG_CONFIG_HOME, else ~/.config; ending in '/'.
// Empty when neither can be determined.
std::string UserConfigFolder();

// A path with exactly one trailing '/' (unchanged when it already ends in one).
std::string IncludeTrailingSlash(const std::string& path);

// The parts of a path: its folder with the trailing '/' ("/a/b.txt" gives "/a/", "b.txt" gives ""),
// its file name ("b.txt"), and its extension from the file name's last dot, in lower case (".txt";
// empty when the file name has no dot).
std::string FileFolder(const std::string& path);
std::string FileNameOf(const std::string& path);
std::string LowerExtension(const std::string& path);

// True when the path names an existing file that is not a folder (symbolic links are followed).
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Creates a folder and every missing parent; failures are ignored.
void ForceFolders(const std::string& path);

// Moves a file, replacing an existing target. When the rename cannot be done (for example across
// file systems) the file is copied over the target and the source deleted after a complete copy.
bool MoveFileReplacing(const std::string& source, const std::string& target);

// True when the effective user may create and change files in the folder (write and search
// permission, as the kernel's own access check answers it).
bool HasWriteAccess(const std::string& folder);

// The long, absolute form of a command-line argument: a relative path is resolved against
// workingFolder, "." and ".." and doubled separators are removed, and symbolic links are left as
// they are. An empty argument stays empty.
std::string LongPathName(const std::string& argument, const std::string& workingFolder);

// The process's current working folder (empty when it cannot be read).
std::string CurrentFolder();

// The whole contents of a file. Missing means that nothing stands at the path (a symbolic link to
// nothing counts as missing); a file that exists but cannot be opened or read to its end (no
// permission, a folder in its place, an I/O error) is Unreadable, so that no caller mistakes it for
// an empty file and writes over it.
struct FileContents {
    enum Status { Read, Missing, Unreadable };
    Status State = Missing;
    std::string Bytes;
    std::string Error; // when Unreadable: Cannot read file "<path>". <reason>
};
FileContents ReadWholeFile(const std::string& path);

} // namespace zandor::platform
