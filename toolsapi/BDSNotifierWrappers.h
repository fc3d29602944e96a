// Package notifiers registered with the IDE. The IDE holds each wrapper from AddNotifier until
// it lets the registration go (RemoveNotifier with its index, or the watched object closing);
// the wrapper holds a reference to the package's notifier for its whole life, so the package's
// notifier lives exactly as long as the registration. Nothing else holds either.
//
// A package that answers false to AfterSave or BeforeSave has the wrapper raise the silent
// abort into the IDE's notification: that is how a package stops a save. A package that
// fails, raises or faults in a notification is treated as having no answer: the default applies.
#pragma once

#include "platform/ide/ToolsAPINotifiers.h"
#include "platform/rtl/ComObject.h"
#include "toolsapi/BDSPackageObjectWrapper.h"
#include "toolsapi/ToolsApiConversions.h"

namespace korvel {

// Relays module and editor notifications to a package notifier that may offer any of the
// five package notifier interfaces: each call asks the package's notifier for the interface of
// its group, for that call alone (what an object offers may change: a delegating notifier may
// gain its handler later), and answers the IDE's default when it is not offered.
class TBDSAnyNotifierWrapper final : public rtl::ComObject<ide::IOTAModuleNotifier90, ide::IOTAEditorNotifier> {
public:
    explicit TBDSAnyNotifierWrapper(rtl::PackageRef<IUnknown> notifier) : s(std::move(notifier)) {}

    // IOTANotifier
    void STDMETHODCALLTYPE AfterSave() override;
    void STDMETHODCALLTYPE BeforeSave() override;
    void STDMETHODCALLTYPE Destroyed() override;
    void STDMETHODCALLTYPE Modified() override;
    // IOTAModuleNotifier, 80 and 90
    bool STDMETHODCALLTYPE CheckOverwrite() override;
    void STDMETHODCALLTYPE ModuleRenamed(const String& NewName) override;
    bool STDMETHODCALLTYPE AllowSave() override;
    int STDMETHODCALLTYPE GetOverwriteFileNameCount() override;
    String STDMETHODCALLTYPE GetOverwriteFileName(int Index) override;
    void STDMETHODCALLTYPE SetSaveFileName(const String& FileName) override;
    void STDMETHODCALLTYPE BeforeRename(const String& OldFileName, const String& NewFileName) override;
    void STDMETHODCALLTYPE AfterRename(const String& OldFileName, const String& NewFileName) override;
    // IOTAEditorNotifier
    void STDMETHODCALLTYPE ViewNotification(ide::IOTAEditView* View, vcl::TOperation Operation) override;
    void STDMETHODCALLTYPE ViewActivated(ide::IOTAEditView* View) override;

private:
    // The package's answer, or `byDefault` when its notifier does not offer the interface or
    // raises or faults; the interface it offers is held until the call ends.
    template <class Interface, class Result, class Call>
    Result AskIfOffered(const char* method, Result byDefault, Call&& call) const noexcept;
    template <class Interface, class Call>
    void TellIfOffered(const char* method, Call&& call) const noexcept;

    const rtl::PackageRef<IUnknown> s;
};

// Relays editor-window notifications to a package's IBDSEditServicesNotifier. The IDE's
// windows, views and dock forms never reach the package: they go as nil.
class TBDSEditServicesNotifierWrapper final
    : public TBDSPackageObjectWrapper<IBDSEditServicesNotifier, ide::INTAEditServicesNotifier> {
public:
    using TBDSPackageObjectWrapper::TBDSPackageObjectWrapper;

    void STDMETHODCALLTYPE AfterSave() override;
    void STDMETHODCALLTYPE BeforeSave() override;
    void STDMETHODCALLTYPE Destroyed() override;
    void STDMETHODCALLTYPE Modified() override;
    void STDMETHODCALLTYPE WindowShow(ide::INTAEditWindow* EditWindow, bool Show, bool LoadedFromDesktop) override;
    void STDMETHODCALLTYPE WindowNotification(ide::INTAEditWindow* EditWindow, vcl::TOperation Operation) override;
    void STDMETHODCALLTYPE WindowActivated(ide::INTAEditWindow* EditWindow) override;
    void STDMETHODCALLTYPE WindowCommand(ide::INTAEditWindow* EditWindow, int Command, int Param, bool& Handled) override;
    void STDMETHODCALLTYPE EditorViewActivated(ide::INTAEditWindow* EditWindow, ide::IOTAEditView* EditView) override;
    void STDMETHODCALLTYPE EditorViewModified(ide::INTAEditWindow* EditWindow, ide::IOTAEditView* EditView) override;
    void STDMETHODCALLTYPE DockFormVisibleChanged(ide::INTAEditWindow* EditWindow, ide::TDockableForm* DockForm) override;
    void STDMETHODCALLTYPE DockFormUpdated(ide::INTAEditWindow* EditWindow, ide::TDockableForm* DockForm) override;
    void STDMETHODCALLTYPE DockFormRefresh(ide::INTAEditWindow* EditWindow, ide::TDockableForm* DockForm) override;
};

}  // namespace korvel
