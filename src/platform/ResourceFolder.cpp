#include "platform/ResourceFolder.h"

#include "platform/FileSystem.h"

#include <filesystem>

namespace zandor::platform {

namespace {

bool HoldsResources(const std::string& folder) {
    return FileExists(folder + "languages/English.vlf");
}

// The program's folder comes resolved from the system, so ".." can be taken away as text.
std::string WithoutDots(const std::string& folder) {
    return IncludeTrailingSlash(std::filesystem::path(folder).lexically_normal().string());
}

} // namespace

std::string ResourceFolder(const std::string& exeFolder) {
    const std::string beside = IncludeTrailingSlash(exeFolder);
    if (HoldsResources(beside))
        return beside;
    const std::string installed = beside + kInstalledResourcePath;
    if (HoldsResources(installed))
        return WithoutDots(installed);
    return beside;
}

std::string ProgramIconFile(const std::string& resourceFolder) {
    const std::string folder = IncludeTrailingSlash(resourceFolder);
    for (const std::string& file :
         {folder + "zandor.svg", WithoutDots(folder + "../icons/hicolor/scalable/apps/") + "zandor.svg"}) {
        if (FileExists(file))
            return file;
    }
    return {};
}

} // namespace zandor::platform
