#include "sim/ToolWindowDesktop.h"

#include <algorithm>

namespace sim {

ToolWindowDesktop::ToolWindowDesktop(Recorder& recorder)
    : recorder_(recorder), dockSite_(std::make_unique<vcl::TWinControl>(nullptr)), previous_(ide::SetDesktop(this)) {
    dockSite_->SetName(u"DockSite");
    dockSite_->SetBounds(0, 0, 300, 480);
}

ToolWindowDesktop::~ToolWindowDesktop() { ide::SetDesktop(previous_); }

ide::TDockableForm* ToolWindowDesktop::Find(const String& section) {
    for (ide::TDockableForm* form : ide::TDockableForm::Forms())
        if (rtl::SameText(form->DeskSection, section)) return form;
    return nullptr;
}

std::vector<String> ToolWindowDesktop::RegisteredFields() const {
    std::vector<String> names;
    for (const Field& field : fields_) names.push_back(field.name);
    return names;
}

void ToolWindowDesktop::RegisterFieldAddress(const String& name, void* address) {
    fields_.push_back({name, address});
}

void ToolWindowDesktop::UnregisterFieldAddress(void* address) {
    fields_.erase(std::remove_if(fields_.begin(), fields_.end(), [&](const Field& field) { return field.address == address; }),
                  fields_.end());
}

void ToolWindowDesktop::RegisterDesktopFormClass(const String& className, const String& name, const String& section) {
    formClasses_.push_back({className, name, section});
}

void ToolWindowDesktop::FocusWindow(vcl::TWinControl* window) {
    auto* form = dynamic_cast<ide::TDockableForm*>(window);
    if (!form) return;
    recorder_.Note(u"focus: " + form->Caption());
    form->Show();
    form->Activate();
}

}  // namespace sim
