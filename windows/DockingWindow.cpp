#include "windows/DockingWindow.h"

namespace korvel {

TToolDockWindow::TToolDockWindow(vcl::TComponent* owner) : ide::TDockableForm(owner) {
    DeskSection = Name();
    AutoSave = true;
    SaveStateNecessary = true;
}

TToolDockWindow::~TToolDockWindow() {
    // OnDestroy runs while the whole form still exists.
    BeforeDestruction();
    SaveStateNecessary = true;
}

void TToolDockWindow::RegisterForm(void* RegInstance, const String& WindowName) {
    if (const ide::TRegisterFieldAddress registerField = ide::RegisterFieldAddress())
        registerField(WindowName, RegInstance);
    ide::RegisterDesktopFormClass(u"TToolDockWindow", WindowName, WindowName);
}

void TToolDockWindow::UnRegisterForm(void* RegInstance) {
    if (const ide::TUnregisterFieldAddress unregisterField = ide::UnregisterFieldAddress()) unregisterField(RegInstance);
}

void TToolDockWindow::ForceActivate() {
    if (Floating()) {
        Show();
        return;
    }
    ForceShow();
    ide::FocusWindow(this);
}

void TToolDockWindow::DestroyWindowHandle() {
    vcl::RaiseEvent(OnDestroyWindowHandle, this);
    ide::TDockableForm::DestroyWindowHandle();
}

}  // namespace korvel
