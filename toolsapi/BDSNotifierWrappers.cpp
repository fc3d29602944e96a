#include "toolsapi/BDSNotifierWrappers.h"

namespace korvel {
namespace {

// False from a package stops the IDE's operation: the silent abort unwinds into the IDE.
void StopUnlessAgreed(LongBool answer) {
    if (!answer) rtl::Abort();
}

const LongBool Agreed = ToLongBool(true);

Integer OperationCode(vcl::TOperation operation) { return operation == vcl::TOperation::opInsert ? 0 : 1; }

Boolean ToBoolean(bool value) { return value ? 1 : 0; }

}  // namespace

template <class Interface, class Result, class Call>
Result TBDSAnyNotifierWrapper::AskIfOffered(const char* method, Result byDefault, Call&& call) const noexcept {
    return s.template AskOffered<Interface>(method, byDefault, std::forward<Call>(call));
}

template <class Interface, class Call>
void TBDSAnyNotifierWrapper::TellIfOffered(const char* method, Call&& call) const noexcept {
    AskIfOffered<Interface>(method, false, [&](Interface& offered) {
        call(offered);
        return true;
    });
}

void TBDSAnyNotifierWrapper::AfterSave() {
    StopUnlessAgreed(AskIfOffered<IBDSNotifier>("AfterSave", Agreed, [](IBDSNotifier& n) { return n.AfterSave(); }));
}

void TBDSAnyNotifierWrapper::BeforeSave() {
    StopUnlessAgreed(AskIfOffered<IBDSNotifier>("BeforeSave", Agreed, [](IBDSNotifier& n) { return n.BeforeSave(); }));
}

void TBDSAnyNotifierWrapper::Destroyed() {
    TellIfOffered<IBDSNotifier>("Destroyed", [](IBDSNotifier& n) { n.Destroyed(); });
}

void TBDSAnyNotifierWrapper::Modified() {
    TellIfOffered<IBDSNotifier>("Modified", [](IBDSNotifier& n) { n.Modified(); });
}

bool TBDSAnyNotifierWrapper::CheckOverwrite() {
    return AskIfOffered<IBDSModuleNotifier>("CheckOverwrite", Agreed,
                                            [](IBDSModuleNotifier& n) { return n.CheckOverwrite(); }) != 0;
}

void TBDSAnyNotifierWrapper::ModuleRenamed(const String& NewName) {
    const rtl::WideString name(NewName);
    TellIfOffered<IBDSModuleNotifier>("ModuleRenamed", [&](IBDSModuleNotifier& n) { n.ModuleRenamed(name.Get()); });
}

bool TBDSAnyNotifierWrapper::AllowSave() {
    return AskIfOffered<IBDSModuleNotifier80>("AllowSave", Agreed, [](IBDSModuleNotifier80& n) { return n.AllowSave(); }) != 0;
}

int TBDSAnyNotifierWrapper::GetOverwriteFileNameCount() {
    return AskIfOffered<IBDSModuleNotifier80>("GetOverwriteFileNameCount", Integer(0), [](IBDSModuleNotifier80& n) {
        return n.GetOverwriteFileNameCount();
    });
}

String TBDSAnyNotifierWrapper::GetOverwriteFileName(int Index) {
    return CopyPackageText(AskIfOffered<IBDSModuleNotifier80>(
        "GetOverwriteFileName", static_cast<const WCHAR*>(nullptr),
        [&](IBDSModuleNotifier80& n) { return n.GetOverwriteFileName(Index); }));
}

void TBDSAnyNotifierWrapper::SetSaveFileName(const String& FileName) {
    const rtl::WideString name(FileName);
    TellIfOffered<IBDSModuleNotifier80>("SetSaveFileName", [&](IBDSModuleNotifier80& n) { n.SetSaveFileName(name.Get()); });
}

void TBDSAnyNotifierWrapper::BeforeRename(const String& OldFileName, const String& NewFileName) {
    const rtl::WideString oldName(OldFileName);
    const rtl::WideString newName(NewFileName);
    TellIfOffered<IBDSModuleNotifier90>("BeforeRename",
                                        [&](IBDSModuleNotifier90& n) { n.BeforeRename(oldName.Get(), newName.Get()); });
}

void TBDSAnyNotifierWrapper::AfterRename(const String& OldFileName, const String& NewFileName) {
    const rtl::WideString oldName(OldFileName);
    const rtl::WideString newName(NewFileName);
    TellIfOffered<IBDSModuleNotifier90>("AfterRename",
                                        [&](IBDSModuleNotifier90& n) { n.AfterRename(oldName.Get(), newName.Get()); });
}

void TBDSAnyNotifierWrapper::ViewNotification(ide::IOTAEditView*, vcl::TOperation Operation) {
    const Integer operation = OperationCode(Operation);
    TellIfOffered<IBDSEditorNotifier>("ViewNotification",
                                      [&](IBDSEditorNotifier& n) { n.ViewNotification(nullptr, operation); });
}

void TBDSAnyNotifierWrapper::ViewActivated(ide::IOTAEditView*) {
    TellIfOffered<IBDSEditorNotifier>("ViewActivated", [](IBDSEditorNotifier& n) { n.ViewActivated(nullptr); });
}

void TBDSEditServicesNotifierWrapper::AfterSave() {
    StopUnlessAgreed(Ask("AfterSave", Agreed, [](IBDSEditServicesNotifier& n) { return n.AfterSave(); }));
}

void TBDSEditServicesNotifierWrapper::BeforeSave() {
    StopUnlessAgreed(Ask("BeforeSave", Agreed, [](IBDSEditServicesNotifier& n) { return n.BeforeSave(); }));
}

void TBDSEditServicesNotifierWrapper::Destroyed() {
    Tell("Destroyed", [](IBDSEditServicesNotifier& n) { n.Destroyed(); });
}

void TBDSEditServicesNotifierWrapper::Modified() {
    Tell("Modified", [](IBDSEditServicesNotifier& n) { n.Modified(); });
}

void TBDSEditServicesNotifierWrapper::WindowShow(ide::INTAEditWindow*, bool Show, bool LoadedFromDesktop) {
    const Boolean show = ToBoolean(Show);
    const Boolean loadedFromDesktop = ToBoolean(LoadedFromDesktop);
    Tell("WindowShow", [&](IBDSEditServicesNotifier& n) { n.WindowShow(nullptr, show, loadedFromDesktop); });
}

void TBDSEditServicesNotifierWrapper::WindowNotification(ide::INTAEditWindow*, vcl::TOperation Operation) {
    const Integer operation = OperationCode(Operation);
    Tell("WindowNotification", [&](IBDSEditServicesNotifier& n) { n.WindowNotification(nullptr, operation); });
}

void TBDSEditServicesNotifierWrapper::WindowActivated(ide::INTAEditWindow*) {
    Tell("WindowActivated", [](IBDSEditServicesNotifier& n) { n.WindowActivated(nullptr); });
}

// The package sets a one-byte flag that starts as the IDE's; any non-zero value it leaves
// there means handled. (Letting it write the IDE's bool itself could leave an invalid bool.)
// A call that raised or faulted leaves the IDE's flag as it was.
void TBDSEditServicesNotifierWrapper::WindowCommand(ide::INTAEditWindow*, int Command, int Param, bool& Handled) {
    Boolean handledByPackage = ToBoolean(Handled);
    const bool answered = Ask("WindowCommand", false, [&](IBDSEditServicesNotifier& n) {
        n.WindowCommand(nullptr, Command, Param, &handledByPackage);
        return true;
    });
    if (answered) Handled = handledByPackage != 0;
}

void TBDSEditServicesNotifierWrapper::EditorViewActivated(ide::INTAEditWindow*, ide::IOTAEditView*) {
    Tell("EditorViewActivated", [](IBDSEditServicesNotifier& n) { n.EditorViewActivated(nullptr, nullptr); });
}

void TBDSEditServicesNotifierWrapper::EditorViewModified(ide::INTAEditWindow*, ide::IOTAEditView*) {
    Tell("EditorViewModified", [](IBDSEditServicesNotifier& n) { n.EditorViewModified(nullptr, nullptr); });
}

void TBDSEditServicesNotifierWrapper::DockFormVisibleChanged(ide::INTAEditWindow*, ide::TDockableForm*) {
    Tell("DockFormVisibleChanged", [](IBDSEditServicesNotifier& n) { n.DockFormVisibleChanged(nullptr, nullptr); });
}

void TBDSEditServicesNotifierWrapper::DockFormUpdated(ide::INTAEditWindow*, ide::TDockableForm*) {
    Tell("DockFormUpdated", [](IBDSEditServicesNotifier& n) { n.DockFormUpdated(nullptr, nullptr); });
}

void TBDSEditServicesNotifierWrapper::DockFormRefresh(ide::INTAEditWindow*, ide::TDockableForm*) {
    Tell("DockFormRefresh", [](IBDSEditServicesNotifier& n) { n.DockFormRefresh(nullptr, nullptr); });
}

}  // namespace korvel
