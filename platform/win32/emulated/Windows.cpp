// The window manager as far as the system and its packages use it: window classes, a table
// of windows that keeps what the real one keeps (class, parent, text, styles, a rectangle
// relative to the parent, visibility, enabled state, focus, sibling order as z-order), and
// message sending through the class's window procedure.
#include <algorithm>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/rtl/Text.h"
#include "platform/win32/Win32.h"

namespace {

struct WindowClass {
    WNDCLASSW record;
    std::u16string name;
    std::u16string menuName;
};

struct Window {
    std::u16string className;
    WNDPROC procedure;
    std::u16string text;
    DWORD style;
    DWORD exStyle;
    RECT rect;  // relative to the parent's client area, or the screen for a top-level window
    HWND parent = nullptr;
    std::vector<HWND> children{};  // front to back
};

struct WindowManager {
    std::recursive_mutex mutex;
    std::vector<WindowClass> classes;
    std::map<HWND, Window> windows;
    std::vector<HWND> topLevel;
    uintptr_t nextHandle = 0x20000;  // above the desktop's handle
    HWND focus = nullptr;
};

WindowManager& manager() {
    static WindowManager* instance = new WindowManager;
    return *instance;
}

using Lock = std::lock_guard<std::recursive_mutex>;

// The desktop is no window of the table; only its handle is answered.
const HWND DesktopWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10010));

Window* Find(HWND window) {
    auto found = manager().windows.find(window);
    return found == manager().windows.end() ? nullptr : &found->second;
}

WindowClass* FindClass(LPCWSTR name, HINSTANCE instance) {
    if (!name) return nullptr;
    for (WindowClass& entry : manager().classes)
        if (entry.record.hInstance == instance && rtl::SameText(entry.name, name)) return &entry;
    return nullptr;
}

std::vector<HWND>& SiblingsOf(HWND parent) {
    return parent ? Find(parent)->children : manager().topLevel;
}

void Unlink(HWND window, Window& entry) {
    auto& siblings = SiblingsOf(entry.parent);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
}

void Link(HWND window, Window& entry, HWND parent) {
    entry.parent = parent;
    auto& siblings = SiblingsOf(parent);
    siblings.insert(siblings.begin(), window);
}

bool IsDescendant(HWND window, HWND ancestor) {
    for (Window* entry = Find(window); entry && entry->parent; entry = Find(entry->parent))
        if (entry->parent == ancestor) return true;
    return false;
}

void PlaceInZOrder(HWND window, Window& entry, HWND insertAfter) {
    auto& siblings = SiblingsOf(entry.parent);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    if (insertAfter == HWND_BOTTOM) {
        siblings.push_back(window);
        return;
    }
    auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
    siblings.insert(after == siblings.end() ? siblings.begin() : after + 1, window);
}

POINT ScreenOrigin(HWND window) {
    POINT origin{0, 0};
    for (Window* entry = Find(window); entry; entry = Find(entry->parent)) {
        origin.x += entry->rect.left;
        origin.y += entry->rect.top;
    }
    return origin;
}

int CopyText(const std::u16string& text, LPWSTR buffer, int size) {
    if (!buffer || size <= 0) return 0;
    const int length = std::min(static_cast<int>(text.size()), size - 1);
    std::copy(text.begin(), text.begin() + length, buffer);
    buffer[length] = 0;
    return length;
}

}  // namespace

extern "C" {

HMODULE GetModuleHandleW(LPCWSTR) { return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x400000)); }

ATOM RegisterClassW(const WNDCLASSW* windowClass) {
    if (!windowClass || !windowClass->lpszClassName) return 0;
    Lock lock(manager().mutex);
    if (FindClass(windowClass->lpszClassName, windowClass->hInstance)) return 0;
    WindowClass entry{*windowClass, windowClass->lpszClassName,
                      windowClass->lpszMenuName ? windowClass->lpszMenuName : u""};
    manager().classes.push_back(std::move(entry));
    WindowClass& stored = manager().classes.back();
    stored.record.lpszClassName = stored.name.c_str();
    stored.record.lpszMenuName = windowClass->lpszMenuName ? stored.menuName.c_str() : nullptr;
    return static_cast<ATOM>(0xC000 + manager().classes.size());
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* windowClass) {
    Lock lock(manager().mutex);
    WindowClass* found = FindClass(className, instance);
    if (!found || !windowClass) return FALSE;
    *windowClass = found->record;
    return TRUE;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
    Lock lock(manager().mutex);
    auto& classes = manager().classes;
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if (it->record.hInstance == instance && rtl::SameText(it->name, className)) {
            classes.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU, HINSTANCE instance, LPVOID) {
    Lock lock(manager().mutex);
    WindowClass* windowClass = FindClass(className, instance);
    if (!windowClass || (parent && !Find(parent))) {
        SetLastError(windowClass ? ERROR_INVALID_HANDLE : 1407);
        return nullptr;
    }
    const HWND handle = reinterpret_cast<HWND>(manager().nextHandle += 4);
    Window entry{windowClass->name, windowClass->record.lpfnWndProc, windowName ? windowName : u"",
                 style, exStyle, RECT{x, y, x + width, y + height}};
    Window& stored = manager().windows.emplace(handle, std::move(entry)).first->second;
    Link(handle, stored, parent);
    return handle;
}

BOOL DestroyWindow(HWND window) {
    WNDPROC procedure = nullptr;
    std::vector<HWND> children;
    {
        Lock lock(manager().mutex);
        Window* entry = Find(window);
        if (!entry) return FALSE;
        procedure = entry->procedure;
        children = entry->children;
    }
    if (procedure) procedure(window, WM_DESTROY, 0, 0);
    for (HWND child : children) DestroyWindow(child);
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    if (!entry) return TRUE;
    if (manager().focus == window) manager().focus = nullptr;
    Unlink(window, *entry);
    manager().windows.erase(window);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    Lock lock(manager().mutex);
    return Find(window) ? TRUE : FALSE;
}

HWND SetParent(HWND child, HWND newParent) {
    Lock lock(manager().mutex);
    Window* entry = Find(child);
    if (!entry || (newParent && (!Find(newParent) || newParent == child || IsDescendant(newParent, child)))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const HWND previous = entry->parent;
    Unlink(child, *entry);
    Link(child, *entry, newParent);
    return previous ? previous : DesktopWindow;
}

// A pop-up window answers its owner, and no window here has one.
HWND GetParent(HWND window) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    return (entry && (entry->style & WS_CHILD)) ? entry->parent : nullptr;
}

HWND GetAncestor(HWND window, UINT flags) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    if (!entry || flags != GA_PARENT) return nullptr;
    return entry->parent ? entry->parent : DesktopWindow;
}

HWND GetWindow(HWND window, UINT command) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    if (!entry) return nullptr;
    if (command == GW_CHILD) return entry->children.empty() ? nullptr : entry->children.front();
    if (command != GW_HWNDNEXT) return nullptr;
    const auto& siblings = SiblingsOf(entry->parent);
    auto at = std::find(siblings.begin(), siblings.end(), window);
    return (at == siblings.end() || at + 1 == siblings.end()) ? nullptr : *(at + 1);
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    if (!entry) return FALSE;
    RECT& rect = entry->rect;
    if (!(flags & SWP_NOMOVE)) {
        rect = RECT{x, y, x + (rect.right - rect.left), y + (rect.bottom - rect.top)};
    }
    if (!(flags & SWP_NOSIZE)) rect = RECT{rect.left, rect.top, rect.left + width, rect.top + height};
    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOPMOST) {
            entry->exStyle |= WS_EX_TOPMOST;
            insertAfter = HWND_TOP;
        } else if (insertAfter == HWND_NOTOPMOST) {
            entry->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
            insertAfter = HWND_TOP;
        }
        if (insertAfter == HWND_TOP || Find(insertAfter) || insertAfter == HWND_BOTTOM)
            PlaceInZOrder(window, *entry, insertAfter);
    }
    if (flags & SWP_SHOWWINDOW) entry->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) entry->style &= ~static_cast<DWORD>(WS_VISIBLE);
    return TRUE;
}

BOOL ShowWindow(HWND window, int command) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    if (!entry) return FALSE;
    const BOOL wasVisible = (entry->style & WS_VISIBLE) ? TRUE : FALSE;
    if (command == SW_HIDE)
        entry->style &= ~static_cast<DWORD>(WS_VISIBLE);
    else
        entry->style |= WS_VISIBLE;
    return wasVisible;
}

BOOL IsWindowVisible(HWND window) {
    Lock lock(manager().mutex);
    for (Window* entry = Find(window); entry; entry = Find(entry->parent))
        if (!(entry->style & WS_VISIBLE)) return FALSE;
    return Find(window) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    if (!entry) return FALSE;
    const BOOL wasDisabled = (entry->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable)
        entry->style &= ~static_cast<DWORD>(WS_DISABLED);
    else
        entry->style |= WS_DISABLED;
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    return (entry && !(entry->style & WS_DISABLED)) ? TRUE : FALSE;
}

HWND SetFocus(HWND window) {
    Lock lock(manager().mutex);
    if (window && !Find(window)) return nullptr;
    return std::exchange(manager().focus, window);
}

HWND GetFocus() {
    Lock lock(manager().mutex);
    return manager().focus;
}

LONG GetWindowLongW(HWND window, int index) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    if (!entry) return 0;
    if (index == GWL_STYLE) return static_cast<LONG>(entry->style);
    if (index == GWL_EXSTYLE) return static_cast<LONG>(entry->exStyle);
    return 0;
}

LONG SetWindowLongW(HWND window, int index, LONG value) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    if (!entry) return 0;
    DWORD* field = index == GWL_STYLE ? &entry->style : index == GWL_EXSTYLE ? &entry->exStyle : nullptr;
    return field ? static_cast<LONG>(std::exchange(*field, static_cast<DWORD>(value))) : 0;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    if (!entry || !rect) return FALSE;
    const POINT origin = ScreenOrigin(window);
    *rect = RECT{origin.x, origin.y, origin.x + (entry->rect.right - entry->rect.left),
                 origin.y + (entry->rect.bottom - entry->rect.top)};
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    if (!entry || !rect) return FALSE;
    *rect = RECT{0, 0, entry->rect.right - entry->rect.left, entry->rect.bottom - entry->rect.top};
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    Lock lock(manager().mutex);
    const POINT fromOrigin = ScreenOrigin(from);
    const POINT toOrigin = ScreenOrigin(to);
    const LONG dx = fromOrigin.x - toOrigin.x;
    const LONG dy = fromOrigin.y - toOrigin.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>((static_cast<uint32_t>(dx) & 0xFFFFu) | (static_cast<uint32_t>(dy) << 16));
}

int GetClassNameW(HWND window, LPWSTR name, int size) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    return entry ? CopyText(entry->className, name, size) : 0;
}

int GetWindowTextW(HWND window, LPWSTR text, int size) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    return entry ? CopyText(entry->text, text, size) : 0;
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    Lock lock(manager().mutex);
    Window* entry = Find(window);
    if (!entry) return FALSE;
    entry->text = text ? text : u"";
    return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC procedure = nullptr;
    {
        Lock lock(manager().mutex);
        Window* entry = Find(window);
        if (!entry) return 0;
        procedure = entry->procedure;
    }
    return procedure ? procedure(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            return SetWindowTextW(window, reinterpret_cast<LPCWSTR>(lParam));
        case WM_GETTEXT:
            return GetWindowTextW(window, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
        default:
            return 0;
    }
}

}  // extern "C"
