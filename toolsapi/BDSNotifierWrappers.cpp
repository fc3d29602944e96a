#include "toolsapi/BDSNotifierWrappers.h"

#include "platform/rtl/ValueGuard.h"

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
Result TBDSAnyNotifierWrapper::AskIfOffered(Result byDefault, Call&& call) noexcept {
    return rtl::GuardValue(byDefault, [&]() -> Result {
        // Through the final class, so that holding itself costs no virtual call.
        const rtl::ComPtr<TBDSAnyNotifierWrapper> keepAlive(this);
        Interface* offered = s.Find<Interface>();
        return offered ? call(*offered) : byDefault;
    });
}

template <class Interface, class Call>
void TBDSAnyNotifierWrapper::TellIfOffered(Call&& call) noexcept {
    AskIfOffered<Interface>(false, [&](Interface& offered) {
        call(offered);
        return true;
    });
}

void TBDSAnyNotifierWrapper::AfterSave() {
    StopUnlessAgreed(AskIfOffered<IBDSNotifier>(Agreed, [](IBDSNotifier& n) { return n.AfterSave(); }));
}

void TBDSAnyNotifierWrapper::BeforeSave() {
    StopUnlessAgreed(AskIfOffered<IBDSNotifier>(Agreed, [](IBDSNotifier& n) { return n.BeforeSave(); }));
}

void TBDSAnyNotifierWrapper::Destroyed() {
    TellIfOffered<IBDSNotifier>([](IBDSNotifier& n) { n.Destroyed(); });
}

void TBDSAnyNotifierWrapper::Modified() {
    TellIfOffered<IBDSNotifier>([](IBDSNotifier& n) { n.Modified(); });
}

bool TBDSAnyNotifierWrapper::CheckOverwrite() {
    return AskIfOffered<IBDSModuleNotifier>(Agreed, [](IBDSModuleNotifier& n) { return n.CheckOverwrite(); }) != 0;
}

void TBDSAnyNotifierWrapper::ModuleRenamed(const String& NewName) {
    TellIfOffered<IBDSModuleNotifier>([&](IBDSModuleNotifier& n) { n.ModuleRenamed(rtl::WideString(NewName).Get()); });
}

bool TBDSAnyNotifierWrapper::AllowSave() {
    return AskIfOffered<IBDSModuleNotifier80>(Agreed, [](IBDSModuleNotifier80& n) { return n.AllowSave(); }) != 0;
}

int TBDSAnyNotifierWrapper::GetOverwriteFileNameCount() {
    return AskIfOffered<IBDSModuleNotifier80>(Integer(0),
                                              [](IBDSModuleNotifier80& n) { return n.GetOverwriteFileNameCount(); });
}

String TBDSAnyNotifierWrapper::GetOverwriteFileName(int Index) {
    return AskIfOffered<IBDSModuleNotifier80>(String(), [&](IBDSModuleNotifier80& n) {
        return CopyPackageText(n.GetOverwriteFileName(Index));
    });
}

void TBDSAnyNotifierWrapper::SetSaveFileName(const String& FileName) {
    TellIfOffered<IBDSModuleNotifier80>([&](IBDSModuleNotifier80& n) { n.SetSaveFileName(rtl::WideString(FileName).Get()); });
}

void TBDSAnyNotifierWrapper::BeforeRename(const String& OldFileName, const String& NewFileName) {
    TellIfOffered<IBDSModuleNotifier90>([&](IBDSModuleNotifier90& n) {
        n.BeforeRename(rtl::WideString(OldFileName).Get(), rtl::WideString(NewFileName).Get());
    });
}

void TBDSAnyNotifierWrapper::AfterRename(const String& OldFileName, const String& NewFileName) {
    TellIfOffered<IBDSModuleNotifier90>([&](IBDSModuleNotifier90& n) {
        n.AfterRename(rtl::WideString(OldFileName).Get(), rtl::WideString(NewFileName).Get());
    });
}

void TBDSAnyNotifierWrapper::ViewNotification(ide::IOTAEditView*, vcl::TOperation Operation) {
    TellIfOffered<IBDSEditorNotifier>([&](IBDSEditorNotifier& n) { n.ViewNotification(nullptr, OperationCode(Operation)); });
}

void TBDSAnyNotifierWrapper::ViewActivated(ide::IOTAEditView*) {
    TellIfOffered<IBDSEditorNotifier>([](IBDSEditorNotifier& n) { n.ViewActivated(nullptr); });
}

void TBDSEditServicesNotifierWrapper::AfterSave() {
    StopUnlessAgreed(Ask(Agreed, [](IBDSEditServicesNotifier& n) { return n.AfterSave(); }));
}

void TBDSEditServicesNotifierWrapper::BeforeSave() {
    StopUnlessAgreed(Ask(Agreed, [](IBDSEditServicesNotifier& n) { return n.BeforeSave(); }));
}

void TBDSEditServicesNotifierWrapper::Destroyed() {
    Tell([](IBDSEditServicesNotifier& n) { n.Destroyed(); });
}

void TBDSEditServicesNotifierWrapper::Modified() {
    Tell([](IBDSEditServicesNotifier& n) { n.Modified(); });
}

void TBDSEditServicesNotifierWrapper::WindowShow(ide::INTAEditWindow*, bool Show, bool LoadedFromDesktop) {
    Tell([&](IBDSEditServicesNotifier& n) { n.WindowShow(nullptr, ToBoolean(Show), ToBoolean(LoadedFromDesktop)); });
}

void TBDSEditServicesNotifierWrapper::WindowNotification(ide::INTAEditWindow*, vcl::TOperation Operation) {
    Tell([&](IBDSEditServicesNotifier& n) { n.WindowNotification(nullptr, OperationCode(Operation)); });
}

void TBDSEditServicesNotifierWrapper::WindowActivated(ide::INTAEditWindow*) {
    Tell([](IBDSEditServicesNotifier& n) { n.WindowActivated(nullptr); });
}

// The package sets a one-byte flag that starts as the IDE's; any non-zero value it leaves
// there means handled. (Letting it write the IDE's bool itself could leave an invalid bool.)
void TBDSEditServicesNotifierWrapper::WindowCommand(ide::INTAEditWindow*, int Command, int Param, bool& Handled) {
    Boolean handledByPackage = ToBoolean(Handled);
    Tell([&](IBDSEditServicesNotifier& n) { n.WindowCommand(nullptr, Command, Param, &handledByPackage); });
    Handled = handledByPackage != 0;
}

void TBDSEditServicesNotifierWrapper::EditorViewActivated(ide::INTAEditWindow*, ide::IOTAEditView*) {
    Tell([](IBDSEditServicesNotifier& n) { n.EditorViewActivated(nullptr, nullptr); });
}

void TBDSEditServicesNotifierWrapper::EditorViewModified(ide::INTAEditWindow*, ide::IOTAEditView*) {
    Tell([](IBDSEditServicesNotifier& n) { n.EditorViewModified(nullptr, nullptr); });
}

void TBDSEditServicesNotifierWrapper::DockFormVisibleChanged(ide::INTAEditWindow*, ide::TDockableForm*) {
    Tell([](IBDSEditServicesNotifier& n) { n.DockFormVisibleChanged(nullptr, nullptr); });
}

void TBDSEditServicesNotifierWrapper::DockFormUpdated(ide::INTAEditWindow*, ide::TDockableForm*) {
    Tell([](IBDSEditServicesNotifier& n) { n.DockFormUpdated(nullptr, nullptr); });
}

void TBDSEditServicesNotifierWrapper::DockFormRefresh(ide::INTAEditWindow*, ide::TDockableForm*) {
    Tell([](IBDSEditServicesNotifier& n) { n.DockFormRefresh(nullptr, nullptr); });
}

}  // namespace korvel
