#include "platform/AtomicWrite.h"

#include "platform/ReplacingFile.h"

namespace zandor::platform {

void WriteFileAtomically(const std::string& path, std::string_view bytes, mode_t mode,
                         bool keepExistingMode) {
    TReplacingFile::TOptions options;
    options.NewFileMode = mode;
    options.KeepExisting = keepExistingMode;
    TReplacingFile file(path, options);
    file.Write(bytes.data(), bytes.size());
    file.Commit();
}

} // namespace zandor::platform
