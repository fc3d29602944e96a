#include "toolsapi/BDSIdeWrappers.h"

#include "toolsapi/BDSFileWrappers.h"
#include "toolsapi/BDSModuleCreatorWrapper.h"
#include "toolsapi/BDSNotifierWrappers.h"

namespace korvel {
namespace {

template <class Interface>
void ClearOut(Interface** out) {
    if (out) *out = nullptr;
}

rtl::ComPtr<IBDSModule> WrapModule(const rtl::ComPtr<ide::IOTAModule>& module) {
    if (!module) return nullptr;
    return rtl::ComPtr<IBDSModule>(new TBDSModuleWrapper(module));
}

// A package's notifier wrapped for the IDE; nil for a nil notifier, which nothing registers.
rtl::ComPtr<TBDSAnyNotifierWrapper> WrapNotifier(IUnknown* notifier) {
    if (!notifier) return nullptr;
    return rtl::ComPtr<TBDSAnyNotifierWrapper>(new TBDSAnyNotifierWrapper(rtl::PackageRef<IUnknown>(notifier)));
}

const Integer Failed = E_FAIL;

}  // namespace

template <class Lookup>
Integer TBDSModuleServicesWrapper::AnswerModule(IBDSModule** Module, Lookup&& find) {
    ClearOut(Module);
    if (!Module) return E_POINTER;
    return Guarded(Failed, [&] {
        HandOut(WrapModule(find()), Module);
        return Integer(S_OK);
    });
}

Integer TBDSModuleServicesWrapper::GetCurrentModule(IBDSModule** Module) {
    return AnswerModule(Module, [&] { return s->CurrentModule(); });
}

Integer TBDSModuleServicesWrapper::ModuleCount() {
    return Guarded(Integer(0), [&] { return Integer(s->GetModuleCount()); });
}

LongBool TBDSModuleServicesWrapper::NewModule() {
    return Guarded(LongBool(0), [&] { return ToLongBool(s->NewModule()); });
}

// The IDE holds the creator wrapper while it creates; the package's creator goes with it.
Integer TBDSModuleServicesWrapper::CreateModule(IBDSCreator* Creator, IBDSModule** Module) {
    ClearOut(Module);
    if (!Creator) return S_OK;
    if (!Module) return E_POINTER;
    return Guarded(Failed, [&] {
        const auto creator = WrapPackageObject<TBDSModuleCreatorWrapper, ide::IOTACreator>(Creator);
        if (!creator) rtl::RaiseIntfCastError();
        HandOut(WrapModule(s->CreateModule(creator.Get())), Module);
        return Integer(S_OK);
    });
}

void TBDSModuleServicesWrapper::GetNewModuleAndClassName(const WCHAR* Prefix, PWideChar* UnitIdent,
                                                         PWideChar* ClassName, PWideChar* FileName) {
    ClearOut(UnitIdent);
    ClearOut(ClassName);
    ClearOut(FileName);
    Guarded([&] {
        String unitIdent, className, fileName;
        s->GetNewModuleAndClassName(CopyPackageText(Prefix), unitIdent, className, fileName);
        // All three are made before any is handed over, so a failure leaves the package nothing to free.
        rtl::WideString unitText(unitIdent), classText(className), fileText(fileName);
        if (UnitIdent) *UnitIdent = unitText.Detach();
        if (ClassName) *ClassName = classText.Detach();
        if (FileName) *FileName = fileText.Detach();
    });
}

Integer TBDSModuleServicesWrapper::FindModule(const WCHAR* FileName, IBDSModule** Module) {
    return AnswerModule(Module, [&] { return s->FindModule(CopyPackageText(FileName)); });
}

Integer TBDSModuleServicesWrapper::FindFormModule(const WCHAR* FormName, IBDSModule** Module) {
    return AnswerModule(Module, [&] { return s->FindFormModule(CopyPackageText(FormName)); });
}

Integer TBDSModuleServicesWrapper::GetModule(Integer Index, IBDSModule** Module) {
    return AnswerModule(Module, [&] { return s->GetModule(Index); });
}

LongBool TBDSModuleServicesWrapper::SaveAll() {
    return Guarded(LongBool(0), [&] { return ToLongBool(s->SaveAll()); });
}

LongBool TBDSModuleServicesWrapper::CloseAll() {
    return Guarded(LongBool(0), [&] { return ToLongBool(s->CloseAll()); });
}

// The IDE holds the file system wrapper until RemoveFileSystem; the package's file system goes with it.
Integer TBDSModuleServicesWrapper::AddFileSystem(IBDSFileSystem* FileSystem) {
    return Guarded(NoFileSystem, [&] {
        const auto fileSystem = WrapPackageObject<TBDSFileSystemWrapper, ide::IOTAFileSystem>(FileSystem);
        if (!fileSystem) rtl::RaiseIntfCastError();
        return Integer(s->AddFileSystem(fileSystem.Get()));
    });
}

Integer TBDSModuleServicesWrapper::FindFileSystem(const WCHAR*, IBDSFileSystem** FileSystem) {
    ClearOut(FileSystem);
    return E_NOTIMPL;
}

void TBDSModuleServicesWrapper::RemoveFileSystem(Integer Index) {
    Guarded([&] { s->RemoveFileSystem(Index); });
}

PWideChar TBDSModuleWrapper::GetFileName() {
    return Guarded(PWideChar(nullptr), [&] { return NewPackageText(s->GetFileName()); });
}

void TBDSModuleWrapper::SetFileName(BSTR FileName) {
    Guarded([&] { s->SetFileName(rtl::FromBstr(FileName)); });
}

PWideChar TBDSModuleWrapper::GetFileSystem() {
    return Guarded(PWideChar(nullptr), [&] { return NewPackageText(s->GetFileSystem()); });
}

void TBDSModuleWrapper::SetFileSystem(BSTR FileSystem) {
    Guarded([&] { s->SetFileSystem(rtl::FromBstr(FileSystem)); });
}

LongBool TBDSModuleWrapper::HasCoClasses() {
    return Guarded(LongBool(0), [&] { return ToLongBool(s->HasCoClasses()); });
}

Integer TBDSModuleWrapper::GetModuleFileCount() {
    return Guarded(Integer(0), [&] { return Integer(s->GetModuleFileCount()); });
}

rtl::ComPtr<ide::IOTAEditor> TBDSModuleWrapper::EditorNamed(const void* editor) {
    const int count = s->GetModuleFileCount();
    for (int index = 0; index < count; ++index)
        if (auto candidate = s->GetModuleFileEditor(index); candidate.Get() == editor) return candidate;
    return nullptr;
}

void TBDSModuleWrapper::AnswerEditor(const rtl::ComPtr<ide::IOTAEditor>& editor, IBDSEditor** Editor) {
    if (editor) HandOut(rtl::ComPtr<IBDSEditor>(new TBDSEditorWrapper(editor, this)), Editor);
}

void TBDSModuleWrapper::GetModuleFileEditor(Integer Index, IBDSEditor** Editor) {
    ClearOut(Editor);
    Guarded([&] { AnswerEditor(s->GetModuleFileEditor(Index), Editor); });
}

// Projects are not offered to packages: a module has no owners for them.
Integer TBDSModuleWrapper::GetOwnerCount() { return 0; }

void TBDSModuleWrapper::GetOwner(Integer, IBDSProject** Project) { ClearOut(Project); }

void TBDSModuleWrapper::AddToInterface() {
    Guarded([&] { s->AddToInterface(); });
}

Integer TBDSModuleWrapper::AddNotifier(IBDSModuleNotifier* Notifier) {
    return Guarded(NoNotifier, [&] {
        const auto wrapper = WrapNotifier(Notifier);
        return wrapper ? Integer(s->AddNotifier(wrapper.Get())) : NoNotifier;
    });
}

void TBDSModuleWrapper::RemoveNotifier(Integer Index) {
    Guarded([&] { s->RemoveNotifier(Index); });
}

LongBool TBDSModuleWrapper::Save(LongBool ChangeName, LongBool ForceSave) {
    return Guarded(LongBool(0), [&] { return ToLongBool(s->Save(ChangeName != 0, ForceSave != 0)); });
}

LongBool TBDSModuleWrapper::Close() {
    return Guarded(LongBool(0), [&] { return ToLongBool(s->Close()); });
}

LongBool TBDSModuleWrapper::CloseModule(LongBool ForceClosed) {
    return Guarded(LongBool(0), [&] { return ToLongBool(s->CloseModule(ForceClosed != 0)); });
}

void TBDSModuleWrapper::GetCurrentEditor(IBDSEditor** Editor) {
    ClearOut(Editor);
    Guarded([&] { AnswerEditor(s->GetCurrentEditor(), Editor); });
}

Integer TBDSModuleWrapper::GetOwnerModuleCount() {
    return Guarded(Integer(0), [&] { return Integer(s->GetOwnerModuleCount()); });
}

// The IDE is asked, so that an index it rejects still fails there, but its owner is not offered.
void TBDSModuleWrapper::GetOwnerModule(Integer Index, IBDSModule** Module) {
    ClearOut(Module);
    Guarded([&] { s->GetOwnerModule(Index); });
}

void TBDSModuleWrapper::MarkModified() {
    Guarded([&] { s->MarkModified(); });
}

void TBDSModuleWrapper::Show() {
    Guarded([&] { s->Show(); });
}

void TBDSModuleWrapper::ShowFilename(const WCHAR* FileName) {
    Guarded([&] { s->ShowFilename(CopyPackageText(FileName)); });
}

rtl::ComPtr<ide::IOTAEditor> TBDSEditorWrapper::Editor() const {
    if (!s) throw rtl::EInvalidOperation(u"The editor was dismissed");
    return s;
}

void TBDSEditorWrapper::Dismiss() { s = nullptr; }

PWideChar TBDSEditorWrapper::GetFileName() {
    return Guarded(PWideChar(nullptr), [&] { return NewPackageText(Editor()->GetFileName()); });
}

LongBool TBDSEditorWrapper::GetModified() {
    return Guarded(LongBool(0), [&] { return ToLongBool(Editor()->GetModified()); });
}

Integer TBDSEditorWrapper::GetModule(IBDSModule** Module) {
    ClearOut(Module);
    if (!Module) return E_POINTER;
    HandOut(rtl::ComPtr<IBDSModule>(m.Get()), Module);
    return S_OK;
}

LongBool TBDSEditorWrapper::MarkModified() {
    return Guarded(LongBool(0), [&] { return ToLongBool(Editor()->MarkModified()); });
}

void TBDSEditorWrapper::Show() {
    Guarded([&] { Editor()->Show(); });
}

Integer TBDSEditorWrapper::AddNotifier(IBDSNotifier* Notifier) {
    return Guarded(NoNotifier, [&] {
        const auto editor = Editor();
        const auto wrapper = WrapNotifier(Notifier);
        return wrapper ? Integer(editor->AddNotifier(static_cast<ide::IOTAEditorNotifier*>(wrapper.Get()))) : NoNotifier;
    });
}

// A notifier the package removes is removed after Dismiss too: the IDE would call it until
// the module closed.
void TBDSEditorWrapper::RemoveNotifier(Integer Index) {
    Guarded([&] {
        if (const auto editor = s ? s : m->EditorNamed(editor_)) editor->RemoveNotifier(Index);
    });
}

Integer TBDSEditorServicesWrapper::AddNotifier(IBDSEditServicesNotifier* Notifier) {
    return Guarded(NoNotifier, [&] {
        if (!Notifier) return NoNotifier;
        const auto wrapper = WrapPackageObject<TBDSEditServicesNotifierWrapper, ide::INTAEditServicesNotifier>(Notifier);
        if (!wrapper) rtl::RaiseIntfCastError();
        return Integer(s->AddNotifier(wrapper.Get()));
    });
}

void TBDSEditorServicesWrapper::RemoveNotifier(Integer Index) {
    Guarded([&] { s->RemoveNotifier(Index); });
}

}  // namespace korvel
