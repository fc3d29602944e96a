// Package notifiers for the Tools API wrappers: each logs the calls it receives as text,
// answers as a test sets it up, and can refuse interfaces, lie in QueryInterface or throw.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "interop/ToolsInterfaceBindings.h"
#include "platform/rtl/ComObject.h"

namespace testing_support {

enum class Misbehaviour { None, Throw, QueryAnswersNil };

class FakeModuleNotifier final : public rtl::ComObject<IBDSNotifier, IBDSModuleNotifier, IBDSModuleNotifier80,
                                                       IBDSModuleNotifier90, IBDSEditorNotifier> {
public:
    // Answers QueryInterface only for the interfaces given (and IUnknown).
    explicit FakeModuleNotifier(std::vector<GUID> offered);
    static std::vector<GUID> AllInterfaces();
    // From now on it also answers `iid`: a notifier that delegates to a handler set later.
    void Offer(const GUID& iid) { offered_.push_back(iid); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;

    LongBool STDMETHODCALLTYPE AfterSave() override;
    LongBool STDMETHODCALLTYPE BeforeSave() override;
    void STDMETHODCALLTYPE Destroyed() override;
    void STDMETHODCALLTYPE Modified() override;
    LongBool STDMETHODCALLTYPE CheckOverwrite() override;
    void STDMETHODCALLTYPE ModuleRenamed(BSTR NewName) override;
    LongBool STDMETHODCALLTYPE AllowSave() override;
    Integer STDMETHODCALLTYPE GetOverwriteFileNameCount() override;
    const WCHAR* STDMETHODCALLTYPE GetOverwriteFileName(Integer Index) override;
    void STDMETHODCALLTYPE SetSaveFileName(BSTR FileName) override;
    void STDMETHODCALLTYPE BeforeRename(BSTR OldFileName, BSTR NewFileName) override;
    void STDMETHODCALLTYPE AfterRename(BSTR OldFileName, BSTR NewFileName) override;
    void STDMETHODCALLTYPE ViewNotification(IBDSEditView* View, Integer Operation) override;
    void STDMETHODCALLTYPE ViewActivated(IBDSEditView* View) override;

    std::vector<std::string> calls;
    // Runs inside every call, after it is logged: a package calling back in.
    std::function<void(const std::string& call)> onCall;
    Misbehaviour misbehaviour = Misbehaviour::None;
    LongBool saveAnswer = -1;  // AfterSave and BeforeSave
    LongBool checkOverwriteAnswer = -1;
    LongBool allowSaveAnswer = -1;
    std::vector<std::u16string> overwriteNames;

private:
    void Log(std::string call);
    std::vector<GUID> offered_;
};

class FakeEditServicesNotifier final : public rtl::ComObject<IBDSEditServicesNotifier> {
public:
    LongBool STDMETHODCALLTYPE AfterSave() override;
    LongBool STDMETHODCALLTYPE BeforeSave() override;
    void STDMETHODCALLTYPE Destroyed() override;
    void STDMETHODCALLTYPE Modified() override;
    void STDMETHODCALLTYPE WindowShow(IBDSEditWindow* EditWindow, Boolean Show, Boolean LoadedFromDesktop) override;
    void STDMETHODCALLTYPE WindowNotification(IBDSEditWindow* EditWindow, Integer Operation) override;
    void STDMETHODCALLTYPE WindowActivated(IBDSEditWindow* EditWindow) override;
    void STDMETHODCALLTYPE WindowCommand(IBDSEditWindow* EditWindow, Integer Command, Integer Param,
                                        Boolean* Handled) override;
    void STDMETHODCALLTYPE EditorViewActivated(IBDSEditWindow* EditWindow, IBDSEditView* EditView) override;
    void STDMETHODCALLTYPE EditorViewModified(IBDSEditWindow* EditWindow, IBDSEditView* EditView) override;
    void STDMETHODCALLTYPE DockFormVisibleChanged(IBDSEditWindow* EditWindow, IDockForm* DockForm) override;
    void STDMETHODCALLTYPE DockFormUpdated(IBDSEditWindow* EditWindow, IDockForm* DockForm) override;
    void STDMETHODCALLTYPE DockFormRefresh(IBDSEditWindow* EditWindow, IDockForm* DockForm) override;

    std::vector<std::string> calls;
    bool throws = false;
    LongBool saveAnswer = -1;
    // What WindowCommand writes through Handled, for the command it handles.
    Integer handledCommand = -1;
    Boolean handledValue = 1;

private:
    void Log(std::string call);
};

}  // namespace testing_support
