#include "windows/BdsWindowsService.h"

#include "loader/KorvelLoader.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComGuard.h"
#include "platform/vcl/Menus.h"
#include "services/KorvelBdsServices.h"
#include "windows/BdsDockableWindows.h"
#include "windows/BdsDocumentWindow.h"
#include "windows/BdsIdeUtils.h"

namespace korvel {
namespace {

constexpr char16_t ShadowWindowClassName[] = u"KorvelWnd";

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// The instance of the module this code is linked into: the loader's DLL inside the IDE.
HINSTANCE ModuleInstance() {
#ifdef _WIN32
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&WndProc), &module);
    return module;
#else
    return GetModuleHandleW(nullptr);
#endif
}

WNDCLASSW WndClass = {0, WndProc, 0, 0, nullptr, nullptr, nullptr, nullptr, rtl::W(u""), rtl::W(ShadowWindowClassName)};

bool EndsWith(const String& text, const String& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A tab's caption names the document's file when it is the identifier's whole file name: the
// whole identifier, or all that follows its last path separator. "Plan.kdoc" is not the tab of
// "C:\docs\MyPlan.kdoc".
bool CaptionNamesFile(const String& moduleID, const String& caption) {
    if (caption.empty() || !EndsWith(moduleID, caption)) return false;
    if (moduleID.size() == caption.size()) return true;
    const char16_t before = moduleID[moduleID.size() - caption.size() - 1];
    return before == u'\\' || before == u'/';
}

// Detaches every window of the list; a detach releases package objects, whose code may free
// windows further on, which have then left the list.
template <class Window>
void DetachAll(rtl::LockedList<Window>& windows) {
    for (Window* window : windows.Snapshot()) {
        if (!windows.Contains(window)) continue;
        const rtl::ComPtr<Window> pin(window);
        window->Detach();
    }
    windows.Clear();
}

}  // namespace

TBdsWindowsService::TBdsWindowsService() { CreateShadowWindow(); }

// Never reached while the IDE runs. Document and dockable windows the packages still hold are
// detached, not freed: their memory goes with the package's last release. Tab sets get their
// handlers back; frames stay in the IDE's control tree without the service's handlers.
TBdsWindowsService::~TBdsWindowsService() {
    RestoreTabSets();
    ReleasePackageHolds();
    for (const auto& record : FEditWindowRecords) {
        if (TKorvelFrame* frame = record->Frame.Get()) {
            frame->OnResize = nullptr;
            frame->OnDestroyWindowHandle = nullptr;
            frame->OnDestroy = nullptr;
        }
        record->Frame = nullptr;
        record->StatusBar = nullptr;
        record->TabSet = nullptr;
    }
    FBdsEditWindows.Clear();
    FEditWindowRecords.clear();
    if (hShadowWindow) DestroyWindow(hShadowWindow);
}

void TBdsWindowsService::ReleasePackageHolds() {
    FPackageHoldsReleased = true;
    DetachAll(FMadeDocumentWindows);
    DocumentWindows.Clear();
    DetachAll(DockableWindows);
}

void TBdsWindowsService::CreateShadowWindow() {
    if (hShadowWindow) return;
    WndClass.hInstance = ModuleInstance();
    WNDCLASSW registered{};
    if (!GetClassInfoW(WndClass.hInstance, WndClass.lpszClassName, &registered)) RegisterClassW(&WndClass);
    hShadowWindow = CreateWindowExW(WS_EX_TOOLWINDOW, WndClass.lpszClassName, rtl::W(u""), WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, WndClass.hInstance, nullptr);
    if (!hShadowWindow)
        throw rtl::EAssertionFailed(
            u"Failed to create window (Shell\\Src\\BdsShell\\Expert\\BdsWindowsService, line 251)");
}

HRESULT TBdsWindowsService::CreateDockableWindow(BSTR windowName, IBdsDockableWindow** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    // The service outlives the run: a window made after shut-down would hold its package's
    // objects for good.
    if (FPackageHoldsReleased) return E_UNEXPECTED;
    return rtl::ComGuard([&] {
        // The window holds its own reference; the package gets one more.
        TBdsDockableWindow* window = new TBdsDockableWindow(rtl::FromBstr(windowName), this);
        window->AddRef();
        *pRetVal = window;
        return S_OK;
    });
}

HRESULT TBdsWindowsService::GetStandardWindow(BSTR windowType, IBdsDockableWindow** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    if (FPackageHoldsReleased) return E_UNEXPECTED;
    return rtl::ComGuard([&] {
        if (rtl::FromBstr(windowType) != u"ObjectInspector") return S_OK;
        TBdsObjectInspectorWindow* window = new TBdsObjectInspectorWindow(this);
        window->AddRef();
        *pRetVal = window;
        return S_OK;
    });
}

HRESULT TBdsWindowsService::CreateDocumentWindow(BSTR moduleID, Integer moduleIndex, Integer editorIndex,
                                                 IBdsDocumentWindow** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    if (FPackageHoldsReleased) return E_UNEXPECTED;
    const HRESULT result = rtl::ComGuard([&] {
        const String moduleName = rtl::FromBstr(moduleID);
        TBdsEditWindow* record = FBdsEditWindows.Items(editorIndex);
        const auto module = FindOTAModule(moduleName, moduleIndex);
        const rtl::ComPtr<TBdsDocumentWindow> window(new TBdsDocumentWindow(this, module.Get()));
        window->SetBdsEditWindow(SharedRecord(record));
        window->SetDocImageIndex(-1);
        if (vcl::TComponent* tabSet = record->TabSet.Get()) {
            auto* items = dynamic_cast<vcl::TStringList*>(vcl::GetObjectProp(tabSet, u"Items"));
            if (!items) rtl::RaiseIntfCastError();
            // No early exit: of the matching tabs, the one with the lowest index wins.
            for (int i = items->Count() - 1; i >= 0; --i)
                if (CaptionNamesFile(moduleName, items->Strings(i))) window->SetIdentifiedObject(items->Objects(i));
            FTabDocumentsStale = true;
        }
        // Handed out last: a failure before this point must not leave the package a window
        // with a reference while it is told the call failed.
        window->AddRef();
        *pRetVal = window.Get();
        return S_OK;
    });
    return FAILED(result) ? E_UNEXPECTED : result;
}

HRESULT TBdsWindowsService::DocumentFrameOnTop(Integer* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = -1;
    const HRESULT result = rtl::ComGuard([&] {
        vcl::TWinControl* editControlParent = GetDocumentParentCtrl();
        if (!editControlParent) throw rtl::Exception(u"BDS Korvel: nil EditControl");
        // No early exit: the last record whose frame sits under the edit control is taken.
        int found = -1;
        const int count = FBdsEditWindows.Count();
        for (int i = 0; i < count; ++i) {
            TKorvelFrame* frame = FBdsEditWindows.Items(i)->Frame.Get();
            if (frame && frame->Parent() == editControlParent) found = i;
        }
        TBdsEditWindow* record = nullptr;
        // Hiding the documents asks packages for their windows: the IDE may close the edit
        // window meanwhile, and the record must outlive this call.
        std::shared_ptr<TBdsEditWindow> held;
        if (found >= 0) {
            record = FBdsEditWindows.Items(found);
            held = SharedRecord(record);
            *pRetVal = found;
            ForEachDocumentWindow(
                DocumentWindows, [&](const TBdsCustomDocumentWindow& window) { return window.BdsEditWindow() == record; },
                [](TBdsCustomDocumentWindow& window) { window.Set_Visible(0); });
        } else {
            record = NewEditWindowRecord(editControlParent);
            *pRetVal = FBdsEditWindows.Count() - 1;
        }
        // Lifted into the edit control's grandparent, the client-aligned frame covers the
        // edit control's container.
        if (TKorvelFrame* frame = record->Frame.Get()) frame->SetParent(frame->Parent() ? frame->Parent()->Parent() : nullptr);
        ShowFrame(record);
        return S_OK;
    });
    if (FAILED(result)) *pRetVal = -1;
    return S_OK;
}

TBdsEditWindow* TBdsWindowsService::NewEditWindowRecord(vcl::TWinControl* editControlParent) {
    auto record = std::make_shared<TBdsEditWindow>();
    std::unique_ptr<TKorvelFrame> unparented(new TKorvelFrame(nullptr));
    unparented->SetAlign(vcl::TAlign::alClient);
    unparented->SetParent(editControlParent);
    // From here the edit control's container owns the frame and destroys it with itself.
    TKorvelFrame* frame = unparented.release();
    record->Frame = frame;
    frame->UpdateHandleControl();
    frame->OnResize = [this](vcl::TObject* sender) { OnFrameResize(sender); };
    frame->OnDestroyWindowHandle = [this](vcl::TObject* sender) { OnFrameDestroyWindowHandle(sender); };
    frame->OnDestroy = [this](vcl::TObject* sender) { OnFrameDestroy(sender); };
    // The container's popup menu is not offered over package documents.
    frame->SetPopupMenu(new vcl::TPopupMenu(frame));
    SubstituteTabSet(*record);
    record->StatusBar = GetEditorStatusBar();
    FEditWindowRecords.push_back(record);
    FBdsEditWindows.Add(record.get());
    return record.get();
}

HRESULT TBdsWindowsService::DocumentFrameNormal(Integer editorIndex) {
    return rtl::ComGuard([&] {
        TBdsEditWindow* record = FBdsEditWindows.Items(editorIndex);
        TKorvelFrame* frame = record->Frame.Get();
        // Without an edit control the frame stays where it is: an orphaned frame would be lost.
        vcl::TWinControl* editControlParent = GetDocumentParentCtrl();
        if (frame && editControlParent) frame->SetParent(editControlParent);
        return S_OK;
    });
}

void TBdsWindowsService::UnregisterDocumentWindow(TBdsCustomDocumentWindow* window) {
    if (window->DocImageIndex() >= 0) FreeImageIndexes.push_back(window->DocImageIndex());
    FMadeDocumentWindows.Remove(window);
    DocumentWindows.Remove(window);
    FTabDocumentsStale = true;
}

void TBdsWindowsService::ShowFrame(TBdsEditWindow* record) {
    if (!record) return;
    NewEditWindowActionVisible(false);
    MessageViewEditorMenuVisble(false);
    if (vcl::TStatusBar* statusBar = record->StatusBar.Get())
        if (statusBar->Parent()) statusBar->Parent()->Hide();
    const vcl::ComponentPtr<TKorvelFrame> frame = record->Frame;
    if (!frame) return;
    if (!IsWindowEnabled(frame->Handle())) EnableWindow(frame->Handle(), TRUE);
    if (BdsServices) BdsServices->UpdateMessageProcessing();
    frame->Show();
    // Showing lays the frame out, and its resize handler asks packages for their windows.
    if (!frame) return;
    frame->BringToFront();
    ::SetFocus(frame->Handle());
}

void TBdsWindowsService::UpdateTabSet(vcl::TComponent* TabSet) {
    auto* control = dynamic_cast<vcl::TWinControl*>(TabSet);
    if (!control) rtl::RaiseIntfCastError();
    control->Refresh();
}

std::shared_ptr<TBdsEditWindow> TBdsWindowsService::SharedRecord(const TBdsEditWindow* record) const {
    for (const auto& shared : FEditWindowRecords)
        if (shared.get() == record) return shared;
    return nullptr;
}

template <class Bound, class Visit>
void TBdsWindowsService::ForEachDocumentWindow(TDocumentWindows& windows, Bound&& bound, Visit&& visit) {
    for (TBdsCustomDocumentWindow* window : windows.Snapshot()) {
        if (!windows.Contains(window) || !bound(*window)) continue;
        const rtl::ComPtr<TBdsCustomDocumentWindow> pin(window);
        visit(*window);
    }
}

template <class Visit>
void TBdsWindowsService::ForEachDocumentWindowOfFrame(TDocumentWindows& windows, const vcl::TObject* frame,
                                                      Visit&& visit) {
    ForEachDocumentWindow(
        windows, [frame](const TBdsCustomDocumentWindow& window) {
            return window.BdsEditWindow() && window.BdsEditWindow()->Frame.Get() == frame;
        },
        std::forward<Visit>(visit));
}

// The frame handlers run inside the component library's event dispatch: nothing escapes.
void TBdsWindowsService::OnFrameResize(vcl::TObject* Sender) {
    rtl::Swallow([&] {
        auto* frame = dynamic_cast<TKorvelFrame*>(Sender);
        if (!frame) return;
        const bool handleChanged = frame->IsHandleChanged();
        frame->UpdateHandleControl();
        ForEachDocumentWindowOfFrame(DocumentWindows, Sender,
                                     [&](TBdsCustomDocumentWindow& window) { window.OnResize(handleChanged); });
    });
}

// Every document window made, registered or not, has its package's window parked: the window
// would otherwise die with the frame's.
void TBdsWindowsService::OnFrameDestroyWindowHandle(vcl::TObject* Sender) {
    rtl::Swallow([&] {
        ForEachDocumentWindowOfFrame(FMadeDocumentWindows, Sender,
                                     [](TBdsCustomDocumentWindow& window) { window.OnFrameHandleDestroy(); });
    });
}

void TBdsWindowsService::OnFrameDestroy(vcl::TObject* Sender) {
    // The frame's window goes with the frame, before the IDE's windows around it.
    OnFrameDestroyWindowHandle(Sender);
    TBdsEditWindow* record = FBdsEditWindows.FindFirst(
        [Sender](const TBdsEditWindow* candidate) { return candidate->Frame.Get() == Sender; });
    if (!record) return;
    UnregisterBdsEditWindow(record);
    // Document windows bound to the record keep their share; they find its frame gone.
    std::shared_ptr<TBdsEditWindow> gone;
    for (auto it = FEditWindowRecords.begin(); it != FEditWindowRecords.end(); ++it) {
        if (it->get() == record) {
            gone = std::move(*it);
            FEditWindowRecords.erase(it);
            break;
        }
    }
    // The tab set may outlive the frame: once no record uses it, it gets its handlers back, and
    // a later record saves them again.
    if (gone && gone->TabSet.Get() && !RecordOfTabSet(gone->TabSet.Get(), false)) RestoreTabSet(*gone);
}

}  // namespace korvel
