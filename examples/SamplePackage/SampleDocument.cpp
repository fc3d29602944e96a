#include "examples/SamplePackage/SampleDocument.h"

#include "examples/SamplePackage/SampleCommon.h"
#include "windows/IWin32Window.h"

namespace sample {

template <>
inline const IID& InterfaceId<IWin32Window>() {
    return IID_IWin32Window;
}

namespace {

constexpr char16_t WindowClassName[] = u"KorvelSampleDocument";
const Text ModuleName = u"C:\\Korvel\\Sample.kdoc";
constexpr Integer AfterReferenceItem = 1;

// Any instance will do as the key of the window class: the executable's.
HINSTANCE LibraryInstance() { return GetModuleHandleW(nullptr); }

HWND CreateDocumentControl() {
    WNDCLASSW windowClass{};
    if (!GetClassInfoW(LibraryInstance(), reinterpret_cast<LPCWSTR>(WindowClassName), &windowClass)) {
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = LibraryInstance();
        windowClass.lpszClassName = reinterpret_cast<LPCWSTR>(WindowClassName);
        RegisterClassW(&windowClass);
    }
    return CreateWindowExW(0, reinterpret_cast<LPCWSTR>(WindowClassName), reinterpret_cast<LPCWSTR>(u"Sample document"),
                           WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, LibraryInstance(), nullptr);
}

// What the loader hosts: the package's window, its handle asked for each time.
class DocumentControl final : public ComObject<IWin32Window> {
public:
    explicit DocumentControl(HWND window) : window_(window) {}
    HRESULT STDMETHODCALLTYPE get_Handle(HWND* pRetVal) override {
        if (!pRetVal) return E_POINTER;
        *pRetVal = window_;
        return S_OK;
    }

private:
    HWND window_;
};

}  // namespace

SampleDocument::~SampleDocument() {
    document_.Reset();
    if (window_) DestroyWindow(window_);
}

void SampleDocument::Add(const ComRef<IBdsServices>& site) {
    site_ = site;
    ComRef<IBdsMenuBarService> menuBar;
    if (!menuBar.Received(site_->Get_BdsMenuBarService(menuBar.Put()))) return;
    ComRef<IBdsMenuItem> item;
    if (!item.Received(menuBar->AddMenuItem(Bstr(u"ToolsMenu\\KorvelSampleItem").Get(), AfterReferenceItem,
                                            Bstr(u"KorvelSampleDocumentItem").Get(),
                                            Bstr(u"Korvel Sample &Document").Get(), 0, item.Put())))
        return;
    item_.Subscribe(item, {[this] { Open(); }, nullptr});
}

void SampleDocument::Open() {
    ComRef<IBdsWindowsService> windows;
    if (!windows.Received(site_->Get_BdsWindowsService(windows.Put()))) return;
    Integer editor = -1;
    if (FAILED(windows->DocumentFrameOnTop(&editor)) || editor < 0) {
        SampleReport(u"no editor to show the document in");
        return;
    }
    ComRef<IBdsDocumentWindow> document;
    if (!document.Received(windows->CreateDocumentWindow(Bstr(ModuleName).Get(), 0, editor, document.Put()))) return;
    if (!window_) window_ = CreateDocumentControl();
    ComRef<IWin32Window> control(new DocumentControl(window_));
    document->HostControl(control.Get());
    document->Set_Modified(WordTrue);
    document->Set_StayOnTop(WordTrue);
    WordBool modified = WordFalse, onTop = WordFalse;
    document->Get_Modified(&modified);
    document->Get_StayOnTop(&onTop);
    document_ = document;
    SampleReport(u"document opened in editor " + DecimalText(editor) + u"; modified " +
                 (modified ? u"yes" : u"no") + u", stay on top " + (onTop ? u"yes" : u"no"));
}

}  // namespace sample
