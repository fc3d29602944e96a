// The IDE's module services, modules, editors and editor services offered to packages. Each wrapper holds one
// counted reference to the IDE object it wraps (an editor wrapper also to the module wrapper
// that made it) and lives as long as packages hold it; a wrapper never holds the wrappers it
// hands out, so no cycle arises. Every call reaches the IDE object: nothing is cached, and a
// returned IDE object gets a new wrapper on every call (nil stays nil).
//
// Nothing escapes to the package: a failure gives the method's "nothing" (nil, 0, false;
// E_FAIL where the integer is a status; -1 from AddNotifier, since 0 is a valid index) and
// leaves its text as the thread's COM error info.
#pragma once

#include "platform/ide/ToolsAPI.h"
#include "platform/ide/ToolsAPINotifiers.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/ValueGuard.h"
#include "toolsapi/ToolsApiConversions.h"

namespace korvel {

// AddNotifier's and AddFileSystem's answers when nothing was registered.
inline constexpr Integer NoNotifier = -1;
inline constexpr Integer NoFileSystem = -1;

// What the wrappers of IDE objects share: the wrapped object in `s`, and the guard around
// each method, which also keeps the wrapper alive while it calls out (a package notified
// from inside may release its last reference to it).
template <class Interface, class Wrapped>
class TBDSIdeObjectWrapper : public rtl::ComObject<Interface> {
public:
    explicit TBDSIdeObjectWrapper(rtl::ComPtr<Wrapped> wrapped) : s(std::move(wrapped)) {}

protected:
    template <class Result, class Body>
    Result Guarded(Result nothing, Body&& body) noexcept {
        const rtl::ComPtr<Interface> self(this);
        return rtl::GuardValue(nothing, std::forward<Body>(body));
    }
    template <class Body>
    void Guarded(Body&& body) noexcept {
        const rtl::ComPtr<Interface> self(this);
        rtl::GuardCall(std::forward<Body>(body));
    }

    rtl::ComPtr<Wrapped> s;
};

class TBDSModuleServicesWrapper final : public TBDSIdeObjectWrapper<IBDSModuleServices70, ide::IOTAModuleServices70> {
public:
    using TBDSIdeObjectWrapper::TBDSIdeObjectWrapper;

    Integer STDMETHODCALLTYPE GetCurrentModule(IBDSModule** Module) override;
    Integer STDMETHODCALLTYPE ModuleCount() override;
    LongBool STDMETHODCALLTYPE NewModule() override;
    // A creator that does not offer IBDSModuleCreator creates nothing: E_FAIL.
    Integer STDMETHODCALLTYPE CreateModule(IBDSCreator* Creator, IBDSModule** Module) override;
    void STDMETHODCALLTYPE GetNewModuleAndClassName(const WCHAR* Prefix, PWideChar* UnitIdent, PWideChar* ClassName,
                                                    PWideChar* FileName) override;
    Integer STDMETHODCALLTYPE FindModule(const WCHAR* FileName, IBDSModule** Module) override;
    Integer STDMETHODCALLTYPE FindFormModule(const WCHAR* FormName, IBDSModule** Module) override;
    Integer STDMETHODCALLTYPE GetModule(Integer Index, IBDSModule** Module) override;
    LongBool STDMETHODCALLTYPE SaveAll() override;
    LongBool STDMETHODCALLTYPE CloseAll() override;
    // Nil, or an object that does not offer IBDSFileSystem, registers nothing: NoFileSystem.
    Integer STDMETHODCALLTYPE AddFileSystem(IBDSFileSystem* FileSystem) override;
    // Always nil and E_NOTIMPL: the IDE's file systems are not offered to packages.
    Integer STDMETHODCALLTYPE FindFileSystem(const WCHAR* Name, IBDSFileSystem** FileSystem) override;
    void STDMETHODCALLTYPE RemoveFileSystem(Integer Index) override;

private:
    // The status methods that answer a module: the out parameter is nil until `find` succeeds.
    template <class Lookup>
    Integer AnswerModule(IBDSModule** Module, Lookup&& find);
};

class TBDSModuleWrapper final : public TBDSIdeObjectWrapper<IBDSModule, ide::IOTAModule> {
public:
    using TBDSIdeObjectWrapper::TBDSIdeObjectWrapper;

    PWideChar STDMETHODCALLTYPE GetFileName() override;
    void STDMETHODCALLTYPE SetFileName(BSTR FileName) override;
    PWideChar STDMETHODCALLTYPE GetFileSystem() override;
    void STDMETHODCALLTYPE SetFileSystem(BSTR FileSystem) override;
    LongBool STDMETHODCALLTYPE HasCoClasses() override;
    Integer STDMETHODCALLTYPE GetModuleFileCount() override;
    void STDMETHODCALLTYPE GetModuleFileEditor(Integer Index, IBDSEditor** Editor) override;
    Integer STDMETHODCALLTYPE GetOwnerCount() override;
    void STDMETHODCALLTYPE GetOwner(Integer Index, IBDSProject** Project) override;
    void STDMETHODCALLTYPE AddToInterface() override;
    Integer STDMETHODCALLTYPE AddNotifier(IBDSModuleNotifier* Notifier) override;
    void STDMETHODCALLTYPE RemoveNotifier(Integer Index) override;
    LongBool STDMETHODCALLTYPE Save(LongBool ChangeName, LongBool ForceSave) override;
    LongBool STDMETHODCALLTYPE Close() override;
    LongBool STDMETHODCALLTYPE CloseModule(LongBool ForceClosed) override;
    void STDMETHODCALLTYPE GetCurrentEditor(IBDSEditor** Editor) override;
    Integer STDMETHODCALLTYPE GetOwnerModuleCount() override;
    void STDMETHODCALLTYPE GetOwnerModule(Integer Index, IBDSModule** Module) override;
    void STDMETHODCALLTYPE MarkModified() override;
    void STDMETHODCALLTYPE Show() override;
    void STDMETHODCALLTYPE ShowFilename(const WCHAR* FileName) override;

    // The module's editor that `editor` names, an identity only (the editor may be gone); nil
    // when the module has no such editor (any more).
    rtl::ComPtr<ide::IOTAEditor> EditorNamed(const void* editor);

private:
    // The editor wrapped with this module wrapper as its module.
    void AnswerEditor(const rtl::ComPtr<ide::IOTAEditor>& editor, IBDSEditor** Editor);
};

class TBDSEditorWrapper final : public TBDSIdeObjectWrapper<IBDSEditor, ide::IOTAEditor> {
public:
    TBDSEditorWrapper(rtl::ComPtr<ide::IOTAEditor> editor, TBDSModuleWrapper* module)
        : TBDSIdeObjectWrapper(std::move(editor)), m(module), editor_(s.Get()) {}

    // Lets the IDE editor go; GetModule still answers, RemoveNotifier still removes from the
    // editor while the module has it, the rest fail harmlessly.
    void STDMETHODCALLTYPE Dismiss() override;
    PWideChar STDMETHODCALLTYPE GetFileName() override;
    LongBool STDMETHODCALLTYPE GetModified() override;
    Integer STDMETHODCALLTYPE GetModule(IBDSModule** Module) override;
    LongBool STDMETHODCALLTYPE MarkModified() override;
    void STDMETHODCALLTYPE Show() override;
    Integer STDMETHODCALLTYPE AddNotifier(IBDSNotifier* Notifier) override;
    void STDMETHODCALLTYPE RemoveNotifier(Integer Index) override;

private:
    // The editor for one call, held for its duration (a package may Dismiss from inside);
    // raises when the wrapper was dismissed.
    rtl::ComPtr<ide::IOTAEditor> Editor() const;

    const rtl::ComPtr<TBDSModuleWrapper> m;
    // The editor wrapped, as an identity that outlives Dismiss.
    const void* const editor_;
};

class TBDSEditorServicesWrapper final : public TBDSIdeObjectWrapper<IBDSEditorServices80, ide::IOTAEditorServices> {
public:
    using TBDSIdeObjectWrapper::TBDSIdeObjectWrapper;

    // A notifier that does not offer IBDSEditServicesNotifier, or nil, is not registered.
    Integer STDMETHODCALLTYPE AddNotifier(IBDSEditServicesNotifier* Notifier) override;
    void STDMETHODCALLTYPE RemoveNotifier(Integer Index) override;
};

}  // namespace korvel
