// The window manager and GDI as far as the system reads them: the foreground window, and
// bitmaps whose pixels can be read back.
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/win32/Observed.h"
#include "platform/win32/emulated/EmulationControl.h"

namespace {

struct Bitmap {
    int width;
    int height;
    std::vector<uint32_t> pixels;  // top-down rows of 0x00RRGGBB
};

constexpr uintptr_t FirstBitmapHandle = 0x2000;

struct Gdi {
    std::mutex mutex;
    std::map<uintptr_t, Bitmap> bitmaps;
    uintptr_t nextHandle = FirstBitmapHandle;
    HWND foreground = nullptr;
};

// Each thread has its own, as on Windows.
thread_local BYTE keyboardState[256] = {};

Gdi& gdi() {
    static Gdi* instance = new Gdi;
    return *instance;
}

}  // namespace

namespace emulation {

int LiveBitmapCount() {
    std::lock_guard<std::mutex> lock(gdi().mutex);
    return static_cast<int>(gdi().bitmaps.size());
}

void RestartBitmapNumbering() {
    std::lock_guard<std::mutex> lock(gdi().mutex);
    if (gdi().bitmaps.empty()) gdi().nextHandle = FirstBitmapHandle;
}

}  // namespace emulation

extern "C" {

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    try {
        return win32::ShowMessageBox(owner, text ? text : u"", caption ? caption : u"", type);
    } catch (...) {
        return 0;  // as Windows answers a box it could not show
    }
}

HWND GetForegroundWindow() {
    std::lock_guard<std::mutex> lock(gdi().mutex);
    return gdi().foreground;
}

BOOL SetForegroundWindow(HWND window) {
    std::lock_guard<std::mutex> lock(gdi().mutex);
    gdi().foreground = window;
    return TRUE;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (width <= 0 || height <= 0 || planes != 1 || (bitsPerPixel != 32 && bitsPerPixel != 1)) return nullptr;
    Bitmap bitmap{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    if (bits && bitsPerPixel == 32)
        std::memcpy(bitmap.pixels.data(), bits, bitmap.pixels.size() * sizeof(uint32_t));
    if (bits && bitsPerPixel == 1) {
        const auto* rows = static_cast<const BYTE*>(bits);
        const size_t stride = ((static_cast<size_t>(width) + 15) / 16) * 2;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool set = rows[y * stride + x / 8] & (0x80 >> (x % 8));
                bitmap.pixels[static_cast<size_t>(y) * width + x] = set ? 0x00FFFFFFu : 0;
            }
    }
    for (auto& pixel : bitmap.pixels) pixel &= 0x00FFFFFFu;
    std::lock_guard<std::mutex> lock(gdi().mutex);
    const uintptr_t handle = gdi().nextHandle++;
    gdi().bitmaps.emplace(handle, std::move(bitmap));
    return reinterpret_cast<HBITMAP>(handle);
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
    std::lock_guard<std::mutex> lock(gdi().mutex);
    auto found = gdi().bitmaps.find(reinterpret_cast<uintptr_t>(object));
    if (found == gdi().bitmaps.end()) return 0;
    if (!buffer) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP info{0, found->second.width, found->second.height, found->second.width * 4, 1, 32, nullptr};
    std::memcpy(buffer, &info, sizeof(info));
    return sizeof(BITMAP);
}

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT) {
    if (!info) return 0;
    std::lock_guard<std::mutex> lock(gdi().mutex);
    auto found = gdi().bitmaps.find(reinterpret_cast<uintptr_t>(bitmap));
    if (found == gdi().bitmaps.end()) return 0;
    const Bitmap& source = found->second;
    BITMAPINFOHEADER& header = info->bmiHeader;
    if (!bits) {
        header.biWidth = source.width;
        header.biHeight = source.height;
        header.biPlanes = 1;
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(source.pixels.size() * 4);
        return source.height;
    }
    if (header.biBitCount != 32 || header.biCompression != BI_RGB || header.biWidth != source.width) return 0;
    const bool topDown = header.biHeight < 0;
    auto* out = static_cast<uint32_t*>(bits);
    UINT copied = 0;
    for (UINT line = start; line < start + lines && line < static_cast<UINT>(source.height); ++line, ++copied) {
        const int sourceRow = topDown ? static_cast<int>(line) : source.height - 1 - static_cast<int>(line);
        std::memcpy(out + static_cast<size_t>(copied) * source.width,
                    source.pixels.data() + static_cast<size_t>(sourceRow) * source.width, source.width * 4);
    }
    return static_cast<int>(copied);
}

BOOL DeleteObject(HGDIOBJ object) {
    std::lock_guard<std::mutex> lock(gdi().mutex);
    return gdi().bitmaps.erase(reinterpret_cast<uintptr_t>(object)) ? TRUE : FALSE;
}

SHORT GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    // Down is the sign bit; the toggle bit is the low one.
    const BYTE state = keyboardState[virtualKey];
    return static_cast<SHORT>(((state & 0x80) ? 0x8000 : 0) | (state & 1));
}

BOOL GetKeyboardState(BYTE* state) {
    if (!state) return FALSE;
    std::memcpy(state, keyboardState, sizeof keyboardState);
    return TRUE;
}

BOOL SetKeyboardState(BYTE* state) {
    if (!state) return FALSE;
    std::memcpy(keyboardState, state, sizeof keyboardState);
    return TRUE;
}

HDC GetDC(HWND) { return reinterpret_cast<HDC>(static_cast<uintptr_t>(1)); }
int ReleaseDC(HWND, HDC) { return 1; }

}  // extern "C"
