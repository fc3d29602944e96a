#include "platform/ide/DockForm.h"

#include <algorithm>

namespace ide {
namespace {

Desktop* installedDesktop = nullptr;

std::vector<TDockableForm*>& LiveForms() {
    static auto* forms = new std::vector<TDockableForm*>;
    return *forms;
}

void ForwardRegisterFieldAddress(const String& name, void* address) {
    if (installedDesktop) installedDesktop->RegisterFieldAddress(name, address);
}

void ForwardUnregisterFieldAddress(void* address) {
    if (installedDesktop) installedDesktop->UnregisterFieldAddress(address);
}

}  // namespace

TDockableForm::TDockableForm(vcl::TComponent* owner) : vcl::TCustomForm(owner) {
    SetBounds(0, 0, 300, 200);
    LiveForms().push_back(this);
}

TDockableForm::~TDockableForm() {
    BeforeDestruction();
    std::vector<TDockableForm*>& forms = LiveForms();
    forms.erase(std::find(forms.begin(), forms.end(), this));
}

const std::vector<TDockableForm*>& TDockableForm::Forms() { return LiveForms(); }

void TDockableForm::BeforeDestruction() {
    if (destroyNotified_) return;
    destroyNotified_ = true;
    vcl::RaiseEvent(OnDestroy, this);
}

void TDockableForm::Show() { SetVisible(true); }

void TDockableForm::VisibleChanged() {
    vcl::TCustomForm::VisibleChanged();
    if (Visible()) vcl::RaiseEvent(OnShow, this);
}

void TDockableForm::ForceShow() {
    if (!floating_ && Parent()) Parent()->SetVisible(true);
    Show();
}

void TDockableForm::Close() {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) {
        const TCloseEvent handler = OnClose;
        handler(this, action);
    }
    if (action == TCloseAction::caNone) return;
    active_ = false;
    SetVisible(false);
}

void TDockableForm::Activate() {
    if (active_) return;
    active_ = true;
    vcl::RaiseEvent(OnActivate, this);
}

void TDockableForm::MouseActivate(int x, int y) {
    TMouseActivate answer = TMouseActivate::maDefault;
    if (OnMouseActivate) {
        const TMouseActivateEvent handler = OnMouseActivate;
        handler(this, vcl::TMouseButton::mbLeft, 0, x, y, 1, answer);
    }
    if (answer != TMouseActivate::maNoActivate && answer != TMouseActivate::maNoActivateAndEat) Activate();
}

void TDockableForm::ManualDock(vcl::TWinControl* site) {
    const bool hadWindow = HandleAllocated();
    DestroyHandle();
    SetParent(site);
    floating_ = site == nullptr;
    if (hadWindow) HandleNeeded();
}

Desktop* SetDesktop(Desktop* desktop) {
    Desktop* previous = installedDesktop;
    installedDesktop = desktop;
    return previous;
}

TRegisterFieldAddress RegisterFieldAddress() { return installedDesktop ? &ForwardRegisterFieldAddress : nullptr; }

TUnregisterFieldAddress UnregisterFieldAddress() {
    return installedDesktop ? &ForwardUnregisterFieldAddress : nullptr;
}

void RegisterDesktopFormClass(const String& className, const String& name, const String& section) {
    if (installedDesktop) installedDesktop->RegisterDesktopFormClass(className, name, section);
}

void FocusWindow(vcl::TWinControl* window) {
    if (installedDesktop) installedDesktop->FocusWindow(window);
}

}  // namespace ide
