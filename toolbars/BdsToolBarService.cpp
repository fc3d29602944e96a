#include "toolbars/BdsToolBarService.h"

#include <utility>

#include "loader/KorvelLoader.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComGuard.h"
#include "platform/win32/Observed.h"
#include "services/KorvelBdsServices.h"
#include "services/WordBool.h"
#include "toolbars/BdsToolBarControls.h"

namespace korvel {
namespace {

// The kinds of control that AddControl makes.
constexpr Integer ButtonControl = 1;
constexpr Integer EditableComboBoxControl = 2;
constexpr Integer ListComboBoxControl = 3;
constexpr Integer PopUpControl = 4;

rtl::ComPtr<ide::INTAServices> IdeToolBarServices() {
    rtl::ComPtr<ide::INTAServices> services = ide::GetIDEService<ide::INTAServices>(ide::IID_INTAServices);
    if (!services) rtl::RaiseIntfCastError();
    return services;
}

// The IDE's toolbar called Name, or a new one that stays hidden until a package shows it;
// sized to its controls either way.
vcl::TToolBar& AcquireNativeToolBar(const String& Name, const String& Title) {
    const rtl::ComPtr<ide::INTAServices> services = IdeToolBarServices();
    vcl::TToolBar* toolBar = services->GetToolBar(Name);
    if (!toolBar) {
        toolBar = services->NewToolbar(Name, Title, String(), false);
        if (!toolBar) throw rtl::EInvalidOperation(u"The IDE made no toolbar " + Name);
        toolBar->SetVisible(false);
    }
    toolBar->SetAutoSize(true);
    return *toolBar;
}

}  // namespace

// ---- TBdsToolBar ----

TBdsToolBar::TBdsToolBar(const String& Name, const String& Title, TBdsToolBarService& ToolBarService)
    : ToolBarControls(std::make_unique<TToolBarControls>()) {
    ToolBar = &AcquireNativeToolBar(Name, Title);
    BdsToolBarService = &ToolBarService;
    ToolBarService.RegisterToolBar(this);
}

TBdsToolBar::~TBdsToolBar() { Detach(); }

void TBdsToolBar::RegisterControl(TBdsToolBarControl* Control) {
    if (!ToolBarControls) throw rtl::EInvalidOperation(u"The toolbar is closed");
    ToolBarControls->Add(Control);
}

void TBdsToolBar::UnregisterControl(TBdsToolBarControl* Control) {
    if (ToolBarControls) ToolBarControls->Remove(Control);
}

std::vector<rtl::ComPtr<TBdsToolBarControl>> TBdsToolBar::HeldControls() const {
    std::vector<rtl::ComPtr<TBdsToolBarControl>> held;
    if (ToolBarControls)
        for (TBdsToolBarControl* control : ToolBarControls->Snapshot()) held.emplace_back(control);
    return held;
}

void TBdsToolBar::Detach() {
    if (TBdsToolBarService* service = std::exchange(BdsToolBarService, nullptr)) service->UnregisterToolBar(this);
    ToolBar = nullptr;
    if (const std::unique_ptr<TToolBarControls> controls = std::move(ToolBarControls))
        for (TBdsToolBarControl* control : controls->Snapshot()) control->ForgetToolBar();
}

void TBdsToolBar::Close() {
    const rtl::ComPtr<IUnknown> keepAlive(Unknown());
    const vcl::ComponentPtr<vcl::TToolBar> native = ToolBar;
    const std::vector<rtl::ComPtr<TBdsToolBarControl>> controls = HeldControls();
    Detach();
    if (vcl::TToolBar* toolBar = native.Get()) toolBar->SetVisible(false);
    for (auto control = controls.rbegin(); control != controls.rend(); ++control) (*control)->Detach();
    // The controls' sinks ran package code meanwhile, so the toolbar is looked up again. It
    // destroys every control on it, from the last, as it goes.
    delete native.Get();
}

template <class Body>
HRESULT TBdsToolBar::OnNativeToolBar(Body&& body) {
    return rtl::ComGuard([&]() -> HRESULT {
        vcl::TToolBar* native = ToolBar.Get();
        if (!native) return E_UNEXPECTED;
        return rtl::ResultOf(body, *native);
    });
}

template <class Out, class Body>
HRESULT TBdsToolBar::AnswerFromNativeToolBar(Out* out, Body&& body) {
    KORVEL_CHECK_OUT(out);
    *out = Out{};
    return OnNativeToolBar([&](vcl::TToolBar& native) { *out = body(native); });
}

template <class Body>
HRESULT TBdsToolBar::WhileOpen(Body&& body) {
    return rtl::ComGuard([&]() -> HRESULT {
        if (!ToolBarControls) return E_UNEXPECTED;
        return rtl::ResultOf(body);
    });
}

HRESULT TBdsToolBar::Get_name(BSTR* pRetVal) {
    return AnswerFromNativeToolBar(pRetVal, [](vcl::TToolBar& native) { return rtl::AllocBstr(native.Name()); });
}

HRESULT TBdsToolBar::Set_name(BSTR pRetVal) {
    return OnNativeToolBar([&](vcl::TToolBar& native) { native.SetName(rtl::FromBstr(pRetVal)); });
}

HRESULT TBdsToolBar::Get_Caption(BSTR* pRetVal) {
    return AnswerFromNativeToolBar(pRetVal, [](vcl::TToolBar& native) { return rtl::AllocBstr(native.Caption()); });
}

HRESULT TBdsToolBar::Set_Caption(BSTR pRetVal) {
    return OnNativeToolBar([&](vcl::TToolBar& native) { native.SetCaption(rtl::FromBstr(pRetVal)); });
}

HRESULT TBdsToolBar::Get_Visible(WordBool* pRetVal) {
    return AnswerFromNativeToolBar(pRetVal, [](vcl::TToolBar& native) { return ToWordBool(native.Visible()); });
}

HRESULT TBdsToolBar::Set_Visible(WordBool pRetVal) {
    return OnNativeToolBar([&](vcl::TToolBar& native) { native.SetVisible(pRetVal != 0); });
}

HRESULT TBdsToolBar::Get_Left(Integer* pRetVal) {
    return AnswerFromNativeToolBar(pRetVal, [](vcl::TToolBar& native) { return Integer{native.Left()}; });
}

HRESULT TBdsToolBar::Set_Left(Integer pRetVal) {
    return OnNativeToolBar([&](vcl::TToolBar& native) { native.SetLeft(pRetVal); });
}

HRESULT TBdsToolBar::Get_Top(Integer* pRetVal) {
    return AnswerFromNativeToolBar(pRetVal, [](vcl::TToolBar& native) { return Integer{native.Top()}; });
}

HRESULT TBdsToolBar::Set_Top(Integer pRetVal) {
    return OnNativeToolBar([&](vcl::TToolBar& native) { native.SetTop(pRetVal); });
}

HRESULT TBdsToolBar::Get_Width(Integer* pRetVal) {
    return AnswerFromNativeToolBar(pRetVal, [](vcl::TToolBar& native) { return Integer{native.Width()}; });
}

HRESULT TBdsToolBar::Get_Height(Integer* pRetVal) {
    return AnswerFromNativeToolBar(pRetVal, [](vcl::TToolBar& native) { return Integer{native.Height()}; });
}

HRESULT TBdsToolBar::Get_Floating(WordBool* pRetVal) {
    return AnswerFromNativeToolBar(pRetVal, [](vcl::TToolBar& native) { return ToWordBool(native.Floating()); });
}

HRESULT TBdsToolBar::Set_Floating(WordBool) {
    return OnNativeToolBar([](vcl::TToolBar&) { return E_NOTIMPL; });
}

HRESULT TBdsToolBar::Get_ControlCount(Integer* pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = 0;
    return WhileOpen([&] { *pRetVal = ToolBarControls->Count(); });
}

HRESULT TBdsToolBar::AddSeparator() {
    return OnNativeToolBar([](vcl::TToolBar& native) {
        auto* separator = new vcl::TToolButton(&native);
        separator->SetStyle(vcl::TToolButtonStyle::tbsDivider);
        separator->SetWidth(separator->Width() / 4);
        separator->SetParent(&native);
        PlaceAfterLastControl(*separator, native);
    });
}

rtl::ComPtr<IBdsToolBarControl> TBdsToolBar::MakeControl(Integer Type_) {
    switch (Type_) {
        case ButtonControl:
            return rtl::ComPtr<IBdsToolBarControl>(new TBdsToolBarButton(*this));
        case EditableComboBoxControl:
            return rtl::ComPtr<IBdsToolBarControl>(new TBdsToolBarComboBox(*this, true));
        case ListComboBoxControl:
            return rtl::ComPtr<IBdsToolBarControl>(new TBdsToolBarComboBox(*this, false));
        case PopUpControl:
            return rtl::ComPtr<IBdsToolBarControl>(new TBdsToolBarPopUp(*this));
        default:
            return nullptr;
    }
}

HRESULT TBdsToolBar::AddControl(Integer Type_, IBdsToolBarControl** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return OnNativeToolBar([&](vcl::TToolBar&) -> HRESULT {
        rtl::ComPtr<IBdsToolBarControl> control = MakeControl(Type_);
        if (!control) return E_FAIL;
        *pRetVal = control.Detach();
        return S_OK;
    });
}

HRESULT TBdsToolBar::RemoveControl(IBdsToolBarControl* bdsToolBarControl) {
    if (!bdsToolBarControl) return E_POINTER;
    const rtl::ComPtr<IUnknown> keepAlive(Unknown());
    return WhileOpen([&]() -> HRESULT {
        TBdsToolBarControl* control = TBdsToolBarControl::FromInterface(bdsToolBarControl);
        if (!control) rtl::RaiseIntfCastError();
        if (control->IsDetached()) return E_UNEXPECTED;
        control->Detach();
        return S_OK;
    });
}

HRESULT TBdsToolBar::Clear() {
    const rtl::ComPtr<IUnknown> keepAlive(Unknown());
    return WhileOpen([&] {
        // Each control leaves the list as it goes; the list is read afresh because the
        // controls' sinks run package code, which may even close this toolbar.
        while (ToolBarControls && ToolBarControls->Count() > 0) {
            const rtl::ComPtr<TBdsToolBarControl> last(ToolBarControls->Items(ToolBarControls->Count() - 1));
            last->Detach();
        }
        if (vcl::TToolBar* native = ToolBar.Get()) native->DestroyComponents();
    });
}

// ---- TBdsToolBarService ----

TBdsToolBarService::TBdsToolBarService() {
    const rtl::ComPtr<TToolBarNotifier> notifier(new TToolBarNotifier);
    notifier->Register();
}

TBdsToolBarService::~TBdsToolBarService() { DetachToolBars(); }

void TBdsToolBarService::DetachToolBars() {
    while (ToolBars.Count() > 0) {
        const rtl::ComPtr<TBdsToolBar> last(ToolBars.Items(ToolBars.Count() - 1));
        last->Detach();
        last->ReleaseServiceReference();
    }
}

void TBdsToolBarService::ReleasePackageHolds() {
    // Each held for the loop: a sink's release may run package code that releases controls.
    std::vector<rtl::ComPtr<TBdsToolBarControl>> controls;
    for (TBdsToolBarControl* control : rtl::LiveObject<TBdsToolBarControl>::Snapshot()) controls.emplace_back(control);
    for (const auto& control : controls) control->ReleaseEvents();
}

HRESULT TBdsToolBarService::FindToolBar(BSTR Name, IBdsToolBar** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return rtl::ComGuard([&] {
        const String name = rtl::FromBstr(Name);
        TBdsToolBar* found = nullptr;
        for (TBdsToolBar* toolBar : ToolBars.Snapshot()) {
            const vcl::TToolBar* native = toolBar->GetNativeToolBar();
            if (native && native->Name() == name) found = toolBar;
        }
        if (found) rtl::ComPtr<IBdsToolBar>(found).CopyTo(pRetVal);
        return S_OK;
    });
}

HRESULT TBdsToolBarService::AddToolBar(BSTR Name, BSTR Title, IBdsToolBar** pRetVal) {
    KORVEL_CHECK_OUT(pRetVal);
    *pRetVal = nullptr;
    return rtl::ComGuard([&] {
        auto* toolBar = new TBdsToolBar(rtl::FromBstr(Name), rtl::FromBstr(Title), *this);
        toolBar->TakeServiceReference();
        toolBar->AddRef();  // the caller's
        *pRetVal = toolBar;
        return S_OK;
    });
}

HRESULT TBdsToolBarService::RemoveToolBar(IBdsToolBar* bdsToolBar) {
    if (!bdsToolBar) return E_POINTER;
    return rtl::ComGuard([&]() -> HRESULT {
        TBdsToolBar* toolBar = rtl::LiveObject<TBdsToolBar>::Find(bdsToolBar);
        if (!toolBar) rtl::RaiseIntfCastError();
        // Only a listed toolbar still carries the service's reference.
        if (!ToolBars.Contains(toolBar)) return E_UNEXPECTED;
        toolBar->Close();
        toolBar->ReleaseServiceReference();
        return S_OK;
    });
}

HRESULT TBdsToolBarService::Clear() {
    return rtl::ComGuard([&] {
        DetachToolBars();
        return S_OK;
    });
}

// ---- TToolBarNotifier ----

TToolBarNotifier::~TToolBarNotifier() { Unregister(); }

void TToolBarNotifier::Register() {
    if (const auto services = ide::GetIDEService<ide::INTAServices>(ide::IID_INTAServices))
        FIndex = services->RegisterToolbarNotifier(this);
}

void TToolBarNotifier::Unregister() {
    const int index = std::exchange(FIndex, -1);
    if (index < 0) return;
    if (const auto services = ide::GetIDEService<ide::INTAServices>(ide::IID_INTAServices))
        services->UnregisterToolbarNotifier(index);
}

void TToolBarNotifier::Destroyed() {
    const rtl::ComPtr<IUnknown> keepAlive(Unknown());  // the IDE lets go of it here
    Unregister();
}

void TToolBarNotifier::ToolbarLoaded(vcl::TWinControl* Toolbar) {
    const rtl::ComPtr<IUnknown> keepAlive(Unknown());
    rtl::Swallow([&] {
        win32::WriteDebugOutput(u"ToolbarLoaded : " + (Toolbar ? Toolbar->Name() : String()));
        if (BdsServices) BdsServices->OnToolBarServiceInitialized();
    });
}

}  // namespace korvel
