#include "tests/support/FakeToolsNotifiers.h"

#include <algorithm>
#include <stdexcept>

#include "platform/rtl/Bstr.h"

namespace testing_support {
namespace {

std::string Text(BSTR text) { return rtl::ToUtf8(rtl::FromBstr(text)); }
std::string Nil(const void* pointer) { return pointer ? "object" : "nil"; }

}  // namespace

FakeModuleNotifier::FakeModuleNotifier(std::vector<GUID> offered) : offered_(std::move(offered)) {}

std::vector<GUID> FakeModuleNotifier::AllInterfaces() {
    return {IID_IBDSNotifier, IID_IBDSModuleNotifier, IID_IBDSModuleNotifier80, IID_IBDSModuleNotifier90,
            IID_IBDSEditorNotifier};
}

HRESULT FakeModuleNotifier::QueryInterface(REFIID iid, void** out) {
    const bool offered = iid == IID_IUnknown || std::find(offered_.begin(), offered_.end(), iid) != offered_.end();
    if (offered && misbehaviour == Misbehaviour::QueryAnswersNil && iid != IID_IUnknown) {
        *out = nullptr;
        return S_OK;
    }
    if (!offered) {
        if (out) *out = nullptr;
        return E_NOINTERFACE;
    }
    return ComObject::QueryInterface(iid, out);
}

void FakeModuleNotifier::Log(std::string call) {
    calls.push_back(call);
    if (onCall) onCall(call);
    if (misbehaviour == Misbehaviour::Throw) throw std::runtime_error("package failure");
}

LongBool FakeModuleNotifier::AfterSave() { return Log("AfterSave"), saveAnswer; }
LongBool FakeModuleNotifier::BeforeSave() { return Log("BeforeSave"), saveAnswer; }
void FakeModuleNotifier::Destroyed() { Log("Destroyed"); }
void FakeModuleNotifier::Modified() { Log("Modified"); }
LongBool FakeModuleNotifier::CheckOverwrite() { return Log("CheckOverwrite"), checkOverwriteAnswer; }
void FakeModuleNotifier::ModuleRenamed(BSTR NewName) { Log("ModuleRenamed " + Text(NewName)); }
LongBool FakeModuleNotifier::AllowSave() { return Log("AllowSave"), allowSaveAnswer; }
Integer FakeModuleNotifier::GetOverwriteFileNameCount() {
    Log("GetOverwriteFileNameCount");
    return static_cast<Integer>(overwriteNames.size());
}
const WCHAR* FakeModuleNotifier::GetOverwriteFileName(Integer Index) {
    Log("GetOverwriteFileName " + std::to_string(Index));
    return Index >= 0 && Index < static_cast<Integer>(overwriteNames.size()) ? rtl::W(overwriteNames[Index]) : nullptr;
}
void FakeModuleNotifier::SetSaveFileName(BSTR FileName) { Log("SetSaveFileName " + Text(FileName)); }
void FakeModuleNotifier::BeforeRename(BSTR OldFileName, BSTR NewFileName) {
    Log("BeforeRename " + Text(OldFileName) + " " + Text(NewFileName));
}
void FakeModuleNotifier::AfterRename(BSTR OldFileName, BSTR NewFileName) {
    Log("AfterRename " + Text(OldFileName) + " " + Text(NewFileName));
}
void FakeModuleNotifier::ViewNotification(IBDSEditView* View, Integer Operation) {
    Log("ViewNotification " + Nil(View) + " " + std::to_string(Operation));
}
void FakeModuleNotifier::ViewActivated(IBDSEditView* View) { Log("ViewActivated " + Nil(View)); }

void FakeEditServicesNotifier::Log(std::string call) {
    calls.push_back(std::move(call));
    if (throws) throw std::runtime_error("package failure");
}

LongBool FakeEditServicesNotifier::AfterSave() { return Log("AfterSave"), saveAnswer; }
LongBool FakeEditServicesNotifier::BeforeSave() { return Log("BeforeSave"), saveAnswer; }
void FakeEditServicesNotifier::Destroyed() { Log("Destroyed"); }
void FakeEditServicesNotifier::Modified() { Log("Modified"); }
void FakeEditServicesNotifier::WindowShow(IBDSEditWindow* EditWindow, Boolean Show, Boolean LoadedFromDesktop) {
    Log("WindowShow " + Nil(EditWindow) + " " + std::to_string(Show) + " " + std::to_string(LoadedFromDesktop));
}
void FakeEditServicesNotifier::WindowNotification(IBDSEditWindow* EditWindow, Integer Operation) {
    Log("WindowNotification " + Nil(EditWindow) + " " + std::to_string(Operation));
}
void FakeEditServicesNotifier::WindowActivated(IBDSEditWindow* EditWindow) { Log("WindowActivated " + Nil(EditWindow)); }
void FakeEditServicesNotifier::WindowCommand(IBDSEditWindow* EditWindow, Integer Command, Integer Param,
                                             Boolean* Handled) {
    if (Command == handledCommand && Handled) *Handled = handledValue;
    Log("WindowCommand " + Nil(EditWindow) + " " + std::to_string(Command) + " " + std::to_string(Param));
}
void FakeEditServicesNotifier::EditorViewActivated(IBDSEditWindow* EditWindow, IBDSEditView* EditView) {
    Log("EditorViewActivated " + Nil(EditWindow) + " " + Nil(EditView));
}
void FakeEditServicesNotifier::EditorViewModified(IBDSEditWindow* EditWindow, IBDSEditView* EditView) {
    Log("EditorViewModified " + Nil(EditWindow) + " " + Nil(EditView));
}
void FakeEditServicesNotifier::DockFormVisibleChanged(IBDSEditWindow* EditWindow, IDockForm* DockForm) {
    Log("DockFormVisibleChanged " + Nil(EditWindow) + " " + Nil(DockForm));
}
void FakeEditServicesNotifier::DockFormUpdated(IBDSEditWindow* EditWindow, IDockForm* DockForm) {
    Log("DockFormUpdated " + Nil(EditWindow) + " " + Nil(DockForm));
}
void FakeEditServicesNotifier::DockFormRefresh(IBDSEditWindow* EditWindow, IDockForm* DockForm) {
    Log("DockFormRefresh " + Nil(EditWindow) + " " + Nil(DockForm));
}

}  // namespace testing_support
