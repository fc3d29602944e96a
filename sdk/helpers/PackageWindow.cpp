#include "korvel/PackageWindow.h"

namespace korvel::sdk {
namespace {

// Any instance will do as the key of the window classes: the executable's.
HINSTANCE ClassInstance() { return GetModuleHandleW(nullptr); }

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

ComRef<IWin32Window> HostedWindow(HWND window) { return ComRef<IWin32Window>(new WindowControl(window)); }

PackageWindow::~PackageWindow() {
    if (window_) DestroyWindow(window_);
}

HWND PackageWindow::Handle() {
    if (window_) return window_;
    WNDCLASSW windowClass{};
    if (!GetClassInfoW(ClassInstance(), Wide(className_), &windowClass)) {
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = ClassInstance();
        windowClass.lpszClassName = Wide(className_);
        RegisterClassW(&windowClass);
    }
    window_ = CreateWindowExW(0, Wide(className_), Wide(caption_), WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                              ClassInstance(), nullptr);
    return window_;
}

ComRef<IWin32Window> PackageWindow::Control() {
    HWND window = Handle();
    return window ? HostedWindow(window) : ComRef<IWin32Window>();
}

}  // namespace korvel::sdk
