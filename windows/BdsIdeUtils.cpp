#include "windows/BdsIdeUtils.h"

#include "platform/rtl/ComGuard.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/TypInfo.h"

namespace korvel {
namespace {

rtl::ComPtr<ide::IOTAEditorServices> EditorServices() {
    return ide::GetIDEService<ide::IOTAEditorServices>(ide::IID_IOTAEditorServices);
}

rtl::ComPtr<ide::IOTAModuleServices> ModuleServices() {
    return ide::GetIDEService<ide::IOTAModuleServices>(ide::IID_IOTAModuleServices);
}

rtl::ComPtr<ide::INTAEditWindow> EditWindowOf(const rtl::ComPtr<ide::IOTAEditView>& view) {
    return view ? view->GetEditWindow() : nullptr;
}

vcl::TCustomForm* FormOf(const rtl::ComPtr<ide::IOTAEditView>& view) {
    const auto editWindow = EditWindowOf(view);
    return editWindow ? editWindow->GetForm() : nullptr;
}

vcl::TComponent* FirstOwnedOfClass(const vcl::TComponent* owner, const String& className) {
    if (!owner) return nullptr;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (owner->Components(i)->ClassName() == className) return owner->Components(i);
    return nullptr;
}

vcl::TWinControl* AsWinControl(vcl::TComponent* component) {
    auto* control = dynamic_cast<vcl::TWinControl*>(component);
    if (!control) rtl::RaiseIntfCastError();
    return control;
}

}  // namespace

rtl::ComPtr<ide::IOTAEditView> GetAnyOTAEditView() {
    if (const auto services = EditorServices()) {
        if (auto top = services->GetTopView()) return top;
    }
    const auto modules = ModuleServices();
    if (!modules) return nullptr;
    rtl::ComPtr<ide::IOTAEditor> kept;
    for (int i = 0; i < modules->GetModuleCount(); ++i) {
        const auto module = modules->GetModule(i);
        if (!module) continue;
        // Only the module's last file editor counts; a module without files keeps the last one.
        for (int j = 0; j < module->GetModuleFileCount(); ++j) kept = module->GetModuleFileEditor(j);
        const auto source = kept.Query<ide::IOTASourceEditor>();
        if (source && source->GetEditViewCount() > 0) return source->GetEditView(0);
    }
    return nullptr;
}

vcl::TStatusBar* GetEditorStatusBar() {
    const auto editWindow = EditWindowOf(GetAnyOTAEditView());
    return editWindow ? editWindow->GetStatusBar() : nullptr;
}

void SetEditorStatusBarVisibility(bool visible) {
    vcl::TStatusBar* statusBar = GetEditorStatusBar();
    if (statusBar && statusBar->Parent()) statusBar->Parent()->SetVisible(visible);
}

vcl::TComponent* GetEditorTabSet(const String& className) {
    return FirstOwnedOfClass(FormOf(GetAnyOTAEditView()), className);
}

vcl::TWinControl* GetObjectInspectorWindow() {
    vcl::TComponent* inspector = FirstOwnedOfClass(vcl::Application(), u"TPropertyInspector");
    if (!inspector) return nullptr;
    vcl::TWinControl* window = nullptr;
    rtl::Swallow([&] {
        vcl::TWinControl* parent = AsWinControl(inspector)->Parent();
        for (int level = 1; parent && level < 3; ++level) parent = parent->Parent();
        window = parent;
    });
    return window;
}

vcl::TWinControl* GetDocumentParentCtrl() {
    const auto services = EditorServices();
    vcl::TComponent* editControl = FirstOwnedOfClass(FormOf(services ? services->GetTopView() : nullptr),
                                                     u"TEditControl");
    return editControl ? AsWinControl(editControl)->Parent() : nullptr;
}

rtl::ComPtr<ide::IOTAModule> FindOTAModule(const String& fileName, int index) {
    const auto modules = ModuleServices();
    if (!modules || index < 0 || index >= modules->GetModuleCount()) return nullptr;
    auto module = modules->GetModule(index);
    if (!module || module->GetFileName() != fileName) module = modules->FindModule(fileName);
    return module;
}

void NewEditWindowActionVisible(bool visible) {
    const auto services = ide::GetIDEService<ide::INTAServices>(ide::IID_INTAServices);
    vcl::TCustomActionList* actions = services ? services->GetActionList() : nullptr;
    if (!actions) return;
    for (int i = 0; i < actions->ActionCount(); ++i) {
        auto* action = dynamic_cast<vcl::TCustomAction*>(actions->Actions(i));
        if (action && action->Name() == u"ViewNewEditorCommand") {
            action->SetVisible(visible);
            return;
        }
    }
}

void MessageViewEditorMenuVisble(bool visible) {
    const auto services = EditorServices();
    vcl::TComponent* messageView =
        FirstOwnedOfClass(FormOf(services ? services->GetTopView() : nullptr), u"TMessageViewForm");
    if (!messageView) return;
    auto* popup = dynamic_cast<vcl::TPopupMenu*>(vcl::GetObjectProp(messageView, u"PopupMenu"));
    if (!popup) rtl::RaiseIntfCastError();
    if (vcl::TMenuItem* item = vcl::FindItemByCaption(*popup->Items(), u"View Editor")) item->SetVisible(visible);
}

}  // namespace korvel
