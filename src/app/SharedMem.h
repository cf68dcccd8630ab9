// The named shared block through which a second instance hands its file name to the first.
#pragma once

#include <cstdint>
#include <string>

namespace zandor {

// Owns one mapping of a named per-user shared block. Destruction releases the object only: the
// mapping stays until CloseMapping (or the end of the process), as the hand-off relies on.
class TSharedMem {
public:
    TSharedMem() = default;
    TSharedMem(const TSharedMem&) = delete;
    TSharedMem& operator=(const TSharedMem&) = delete;

    // Creates the block or opens the existing one, and maps it for writing.
    bool CreateMapping();
    // Opens an existing block and maps it for reading only.
    bool OpenMapping();
    // Unmaps the view and closes the handle; true when every step tried succeeded.
    bool CloseMapping();

    int MapHandle = -1;
    void* ViewBase = nullptr;
    unsigned char* Data = nullptr;
    int32_t Size = 0;
    bool Created = false;
    std::string Name;
    bool Existed = false;
};

} // namespace zandor
