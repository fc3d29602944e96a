#include "fuzz/PackageObjects.h"

#include <cstdio>
#include <set>
#include <utility>

#include "fuzz/PackageSession.h"
#include "platform/rtl/ComPtr.h"
#include "platform/rtl/Text.h"

namespace fuzz {
namespace {

std::set<const Counted*>& LiveObjects() {
    static std::set<const Counted*> objects;
    return objects;
}

}  // namespace

int LivePackageObjects() { return static_cast<int>(LiveObjects().size()); }

void ListLivePackageObjects() {
    for (const Counted* object : LiveObjects()) std::fprintf(stderr, "  alive: made by %s\n", object->Origin());
}

Counted::Counted(const char* origin) : origin_(origin) { LiveObjects().insert(this); }
Counted::~Counted() { LiveObjects().erase(this); }

HRESULT CarelessSink::OnExecute() { return React(); }
HRESULT CarelessSink::OnChange() { return React(); }
HRESULT CarelessSink::OnUpdate() { return React(); }
HRESULT CarelessSink::OnClose() { return React(); }
HRESULT CarelessSink::OnActivate() { return React(); }

HRESULT CarelessSink::RequestIcon(Integer* pRetVal) {
    const HRESULT reaction = React();
    // A bitmap the system then owns: fresh, deleted, made up or none.
    if (pRetVal) *pRetVal = session_.Bitmap();
    return reaction;
}

HRESULT CarelessSink::React() {
    session_.CountCall();
    return session_.React(owner_);
}

HRESULT CarelessSink::HandleMessage(MSG* Msg, WordBool* CallDefaultHandler, WordBool* Handled) {
    FuzzInput& input = session_.Input();
    if (CallDefaultHandler && input.Coin()) *CallDefaultHandler = input.Flag();
    if (Handled && input.Coin()) *Handled = input.Flag();
    return React();
}

HRESULT CarelessSink::GetDragDropHelper(BSTR ClassName, IUnknown** Helper) {
    if (!Helper) return E_POINTER;
    *Helper = nullptr;
    const HRESULT reaction = React();
    if (FAILED(reaction)) return reaction;
    *Helper = HandedOut<IUnknown>(session_.Input(), Unknown(), [&] { return session_.NewDropHelper(); });
    return reaction;
}

CarelessWindow::CarelessWindow(PackageSession& session, const char* origin) : Counted(origin), session_(session) {
    static const LPCWSTR className = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = rtl::W(u"KorvelFuzzPackageWindow");
        RegisterClassW(&windowClass);
        return windowClass.lpszClassName;
    }();
    handle_ = CreateWindowExW(0, className, rtl::W(u"Package window"), WS_POPUP, 0, 0, 40, 30, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
}

CarelessWindow::~CarelessWindow() {
    if (IsWindow(handle_)) DestroyWindow(handle_);
}

HRESULT CarelessWindow::get_Handle(HWND* pRetVal) {
    session_.CountCall();
    const HRESULT reaction = session_.React(owner_);
    if (!pRetVal) return E_POINTER;
    FuzzInput& input = session_.Input();
    switch (input.Choose(8)) {
        case 0:
            *pRetVal = nullptr;
            return reaction;
        case 1:
            if (IsWindow(handle_)) DestroyWindow(handle_);
            break;
        case 2:
            *pRetVal = reinterpret_cast<HWND>(static_cast<uintptr_t>(static_cast<uint32_t>(input.Number())));
            return reaction;
        default:
            break;
    }
    *pRetVal = handle_;
    return reaction;
}

DropHelper::DropHelper(PackageSession& session, const char* origin) : Counted(origin), session_(session) {
    for (Integer& value : values_) value = session_.Input().Number();
}

HRESULT DropHelper::WaitForInfo() {
    session_.CountCall();
    return session_.React(this);
}

HRESULT DropHelper::Answer(Integer value, Integer* out) {
    if (!out) return E_POINTER;
    *out = value;
    return session_.Input().Choose(8) == 0 ? E_FAIL : S_OK;
}

}  // namespace fuzz
