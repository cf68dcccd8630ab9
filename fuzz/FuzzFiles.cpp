#include "FuzzFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zandor::fuzz {

namespace {

// Made on first use, removed with its files when the process ends.
struct ScratchFolder {
    ScratchFolder() {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::path base =
            fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        Path = (base / "zandor-fuzz-XXXXXX").string();
        if (!::mkdtemp(Path.data()))
            throw std::runtime_error("cannot make a scratch folder in " + base.string());
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    std::string Path;
};

const std::string& Folder() {
    static const ScratchFolder folder;
    return folder.Path;
}

} // namespace

std::string ScratchPath(std::string_view name) {
    return Folder() + "/" + std::string(name);
}

void WriteScratchFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadScratchFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace zandor::fuzz
