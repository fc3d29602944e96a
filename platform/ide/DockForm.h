// The IDE's dockable tool window form and its desktop registration (the design-time units
// DockForm and DeskUtil). The IDE docks a dockable form into a dock site or lets it float; both
// re-create the form's window. The running IDE installs the desktop that remembers forms.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/ShortCuts.h"

namespace ide {

using rtl::String;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TMouseActivate { maDefault, maActivate, maActivateAndEat, maNoActivate, maNoActivateAndEat };

using TCloseEvent = std::function<void(vcl::TObject* sender, TCloseAction& action)>;
using TMouseActivateEvent = std::function<void(vcl::TObject* sender, vcl::TMouseButton button, vcl::TShiftState shift,
                                               int x, int y, int hitTest, TMouseActivate& mouseActivate)>;

class TDockableForm : public vcl::TCustomForm {
public:
    explicit TDockableForm(vcl::TComponent* owner);
    // Tells OnDestroy first, unless a derived destructor did.
    ~TDockableForm() override;
    KORVEL_VCL_CLASS(TDockableForm)

    // Every dockable form alive, in creation order, as the IDE's screen lists its forms.
    static const std::vector<TDockableForm*>& Forms();

    String DeskSection;
    bool AutoSave = false;
    bool SaveStateNecessary = false;

    // Undocked: a window of its own on the desktop.
    bool Floating() const { return floating_; }
    // Whether the user may dock it into the IDE's dock sites.
    bool Dockable() const { return dockable_; }
    void SetDockable(bool dockable) { dockable_ = dockable; }
    bool Active() const { return active_; }

    vcl::TIcon* Icon() const { return icon_.get(); }
    // The form takes the icon and destroys the one it had.
    void SetIcon(std::unique_ptr<vcl::TIcon> icon) { icon_ = std::move(icon); }

    void Show();
    // Shows a docked form with the dock site that holds it.
    void ForceShow();
    // OnClose decides; hiding is the default.
    void Close();
    // The form becomes the active window: OnActivate.
    void Activate();
    // The user clicks into the form: OnMouseActivate, then activation.
    void MouseActivate(int x, int y);

    // The IDE docks the form into `site`, or floats it with site nil; both re-create its window
    // (when it has one), and the new window is followed by OnResize.
    void ManualDock(vcl::TWinControl* site);

    TCloseEvent OnClose;
    vcl::TNotifyEvent OnActivate;
    vcl::TNotifyEvent OnShow;
    vcl::TNotifyEvent OnDestroy;
    TMouseActivateEvent OnMouseActivate;

protected:
    // Becoming visible is what OnShow reports.
    void VisibleChanged() override;
    // What the library's BeforeDestruction does: OnDestroy, once.
    void BeforeDestruction();

private:
    bool floating_ = true;
    bool dockable_ = true;
    bool active_ = false;
    bool destroyNotified_ = false;
    std::unique_ptr<vcl::TIcon> icon_;
};

// The IDE's desktop: it remembers registered forms so that it can save and restore their state.
class Desktop {
public:
    virtual void RegisterFieldAddress(const String& name, void* address) = 0;
    virtual void UnregisterFieldAddress(void* address) = 0;
    virtual void RegisterDesktopFormClass(const String& className, const String& name, const String& section) = 0;
    // Brings the form forward and gives it the focus.
    virtual void FocusWindow(vcl::TWinControl* window) = 0;

protected:
    ~Desktop() = default;
};

// Returns the one it replaces, so that the IDE can put it back.
Desktop* SetDesktop(Desktop* desktop);

// The IDE's procedure variables: unassigned (nil) outside an IDE that installed a desktop.
using TRegisterFieldAddress = void (*)(const String& name, void* address);
using TUnregisterFieldAddress = void (*)(void* address);
TRegisterFieldAddress RegisterFieldAddress();
TUnregisterFieldAddress UnregisterFieldAddress();

// Outside an IDE they do nothing.
void RegisterDesktopFormClass(const String& className, const String& name, const String& section);
void FocusWindow(vcl::TWinControl* window);

}  // namespace ide
