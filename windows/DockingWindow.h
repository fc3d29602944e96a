// TToolDockWindow: the IDE dockable form that carries a package's tool window. It takes part
// in the IDE's desktop under its window name, reports the destruction of its window handle
// (docking and floating re-create it) and remembers the handle it last saw.
#pragma once

#include "platform/ide/DockForm.h"

namespace korvel {

using rtl::String;

class TToolDockWindow : public ide::TDockableForm {
public:
    explicit TToolDockWindow(vcl::TComponent* owner);
    ~TToolDockWindow() override;
    String ClassName() const override { return u"TToolDockWindow"; }

    // RegInstance is the address of the variable that holds the form.
    static void RegisterForm(void* RegInstance, const String& WindowName);
    static void UnRegisterForm(void* RegInstance);
    // Shows a floating form; a docked one is shown with its dock site and gets the focus.
    void ForceActivate();
    // Records the current handle, creating it if needed.
    void UpdateHandleControl() { FPreviousHandle = Handle(); }
    bool IsHandleChanged() { return Handle() != FPreviousHandle; }

    vcl::TNotifyEvent OnDestroyWindowHandle;

protected:
    void DestroyWindowHandle() override;

private:
    HWND FPreviousHandle = nullptr;
};

}  // namespace korvel
