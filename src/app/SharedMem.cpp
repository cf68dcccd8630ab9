#include "app/SharedMem.h"

#include "platform/UserRuntime.h"

namespace zandor {

bool TSharedMem::CreateMapping() {
    if (Size <= 0 || Name.empty())
        return false;
    const platform::SharedHandle handle = platform::CreateSharedBlock(Name, static_cast<size_t>(Size));
    if (handle.Fd < 0)
        return false;
    CloseMapping();
    MapHandle = handle.Fd;
    Existed = handle.Existed;
    Created = !handle.Existed;
    ViewBase = platform::MapSharedBlock(MapHandle, static_cast<size_t>(Size), true);
    Data = static_cast<unsigned char*>(ViewBase);
    return ViewBase != nullptr;
}

bool TSharedMem::OpenMapping() {
    if (Size <= 0 || Name.empty())
        return false;
    const int fd = platform::OpenSharedBlock(Name, static_cast<size_t>(Size));
    if (fd < 0)
        return false;
    void* view = platform::MapSharedBlock(fd, static_cast<size_t>(Size), false);
    if (!view) {
        platform::CloseSharedHandle(fd);
        return false;
    }
    CloseMapping();
    MapHandle = fd;
    ViewBase = view;
    Data = static_cast<unsigned char*>(view);
    Existed = true;
    return true;
}

bool TSharedMem::CloseMapping() {
    Created = false;
    Existed = false;
    bool ok = true;
    if (ViewBase) {
        ok = platform::UnmapSharedBlock(ViewBase, static_cast<size_t>(Size)) && ok;
        ViewBase = nullptr;
        Data = nullptr;
    }
    if (MapHandle >= 0) {
        ok = platform::CloseSharedHandle(MapHandle) && ok;
        MapHandle = -1;
    }
    return ok;
}

} // namespace zandor
