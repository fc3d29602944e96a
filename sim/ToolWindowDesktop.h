// The IDE's desktop of tool windows: it remembers the dockable forms registered with it, holds
// the dock site they dock into, and does to a form what a user does with the mouse: dock it,
// float it, click into it, close it. The IDE destroying a form (at shut-down, or when a
// desktop is loaded) is here too.
#pragma once

#include <memory>
#include <vector>

#include "platform/ide/DockForm.h"
#include "sim/Recorder.h"

namespace sim {

using rtl::String;

class ToolWindowDesktop final : public ide::Desktop {
public:
    struct FormClass {
        String className;
        String name;
        String section;
    };

    explicit ToolWindowDesktop(Recorder& recorder);
    ~ToolWindowDesktop();
    ToolWindowDesktop(const ToolWindowDesktop&) = delete;
    ToolWindowDesktop& operator=(const ToolWindowDesktop&) = delete;

    // The IDE's dock site beside the editor, where docked tool windows live.
    vcl::TWinControl& DockSite() { return *dockSite_; }
    // The live dockable form whose desk section is `section` (ignoring case), or nil.
    static ide::TDockableForm* Find(const String& section);

    // Names with a registered field address, in registration order.
    std::vector<String> RegisteredFields() const;
    const std::vector<FormClass>& FormClasses() const { return formClasses_; }

    void Dock(ide::TDockableForm& form) { form.ManualDock(dockSite_.get()); }
    void Float(ide::TDockableForm& form) { form.ManualDock(nullptr); }
    // The IDE frees the form; whoever holds it is told through its OnDestroy.
    static void Destroy(ide::TDockableForm* form) { delete form; }

    void RegisterFieldAddress(const String& name, void* address) override;
    void UnregisterFieldAddress(void* address) override;
    void RegisterDesktopFormClass(const String& className, const String& name, const String& section) override;
    void FocusWindow(vcl::TWinControl* window) override;

private:
    struct Field {
        String name;
        void* address;
    };

    Recorder& recorder_;
    std::unique_ptr<vcl::TWinControl> dockSite_;
    std::vector<Field> fields_;
    std::vector<FormClass> formClasses_;
    ide::Desktop* previous_;
};

}  // namespace sim
