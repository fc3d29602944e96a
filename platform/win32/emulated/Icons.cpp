// Icons as the window manager keeps them: a mask and a colour bitmap of the system's icon size.
#include <map>
#include <mutex>
#include <vector>

#include "platform/win32/emulated/EmulationControl.h"

namespace {

struct Icon {
    HBITMAP mask;
    HBITMAP colour;
};

struct Icons {
    std::mutex mutex;
    std::map<uintptr_t, Icon> icons;
    uintptr_t nextHandle = 0x6000;
};

Icons& icons() {
    static Icons* instance = new Icons;
    return *instance;
}

HBITMAP CopyBitmap(HBITMAP source) {
    BITMAP info{};
    if (GetObjectW(source, sizeof(info), &info) != sizeof(info)) return nullptr;
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    if (GetDIBits(nullptr, source, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &request, DIB_RGB_COLORS) !=
        info.bmHeight)
        return nullptr;
    return CreateBitmap(info.bmWidth, info.bmHeight, 1, 32, pixels.data());
}

}  // namespace

namespace emulation {

int LiveIconCount() {
    std::lock_guard<std::mutex> lock(icons().mutex);
    return static_cast<int>(icons().icons.size());
}

}  // namespace emulation

extern "C" {

int GetSystemMetrics(int index) { return index == SM_CXICON || index == SM_CYICON ? 32 : 0; }

HICON CreateIconIndirect(PICONINFO info) {
    if (!info || !info->hbmMask) return nullptr;
    Icon icon{CopyBitmap(info->hbmMask), info->hbmColor ? CopyBitmap(info->hbmColor) : nullptr};
    if (!icon.mask || (info->hbmColor && !icon.colour)) {
        DeleteObject(icon.mask);
        DeleteObject(icon.colour);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(icons().mutex);
    const uintptr_t handle = icons().nextHandle++;
    icons().icons.emplace(handle, icon);
    return reinterpret_cast<HICON>(handle);
}

BOOL GetIconInfo(HICON handle, PICONINFO info) {
    if (!info) return FALSE;
    Icon icon{};
    {
        std::lock_guard<std::mutex> lock(icons().mutex);
        auto found = icons().icons.find(reinterpret_cast<uintptr_t>(handle));
        if (found == icons().icons.end()) return FALSE;
        icon = found->second;
    }
    *info = ICONINFO{TRUE, 16, 16, CopyBitmap(icon.mask), icon.colour ? CopyBitmap(icon.colour) : nullptr};
    return TRUE;
}

BOOL DestroyIcon(HICON handle) {
    Icon icon{};
    {
        std::lock_guard<std::mutex> lock(icons().mutex);
        auto found = icons().icons.find(reinterpret_cast<uintptr_t>(handle));
        if (found == icons().icons.end()) return FALSE;
        icon = found->second;
        icons().icons.erase(found);
    }
    DeleteObject(icon.mask);
    DeleteObject(icon.colour);
    return TRUE;
}

}  // extern "C"
