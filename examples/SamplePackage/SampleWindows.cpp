#include "SampleWindows.h"

namespace sample {
namespace {

// Any instance will do as the key of the window classes: the executable's.
HINSTANCE LibraryInstance() { return GetModuleHandleW(nullptr); }

HWND CreatePackageWindow(const char16_t* className, const Text& caption) {
    WNDCLASSW windowClass{};
    if (!GetClassInfoW(LibraryInstance(), reinterpret_cast<LPCWSTR>(className), &windowClass)) {
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = LibraryInstance();
        windowClass.lpszClassName = reinterpret_cast<LPCWSTR>(className);
        RegisterClassW(&windowClass);
    }
    return CreateWindowExW(0, reinterpret_cast<LPCWSTR>(className), reinterpret_cast<LPCWSTR>(caption.c_str()),
                           WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, LibraryInstance(), nullptr);
}

// What the loader hosts: the package's window, its handle asked for each time.
class WindowControl final : public ComObject<IWin32Window> {
public:
    explicit WindowControl(HWND window) : window_(window) {}
    HRESULT STDMETHODCALLTYPE get_Handle(HWND* pRetVal) override {
        if (!pRetVal) return E_POINTER;
        *pRetVal = window_;
        return S_OK;
    }

private:
    HWND window_;
};

}  // namespace

PackageWindow::~PackageWindow() {
    if (window_) DestroyWindow(window_);
}

ComRef<IWin32Window> PackageWindow::Control() {
    if (!window_) window_ = CreatePackageWindow(className_, caption_);
    if (!window_) return ComRef<IWin32Window>();
    return ComRef<IWin32Window>(new WindowControl(window_));
}

HRESULT WindowEvents::OnClose() {
    return Guarded([&] {
        if (const auto handlers = Current(); handlers.onClose) handlers.onClose();
        return S_OK;
    });
}

HRESULT WindowEvents::OnActivate() {
    return Guarded([&] {
        if (const auto handlers = Current(); handlers.onActivate) handlers.onActivate();
        return S_OK;
    });
}

HRESULT WindowEvents::RequestIcon(Integer* pRetVal) {
    if (!pRetVal) return E_POINTER;
    return Guarded([&] {
        const auto handlers = Current();
        const HBITMAP icon = handlers.requestIcon ? handlers.requestIcon() : nullptr;
        *pRetVal = static_cast<Integer>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(icon)));
        return S_OK;
    });
}

}  // namespace sample
