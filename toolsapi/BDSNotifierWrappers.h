// Package notifiers registered with the IDE. The IDE holds each wrapper from AddNotifier until
// it lets the registration go (RemoveNotifier with its index, or the watched object closing);
// the wrapper holds references to the package's notifier (and to the notifier interfaces it
// was found to offer) for its whole life, so the package's notifier lives exactly as long as
// the registration. Nothing else holds either.
//
// A package that answers false to AfterSave or BeforeSave has the wrapper raise the silent
// abort into the IDE's notification: that is how a package stops a save. A package that
// fails or throws in a notification is treated as having no answer: the default applies.
#pragma once

#include <tuple>

#include "platform/ide/ToolsAPINotifiers.h"
#include "platform/rtl/ComObject.h"
#include "toolsapi/BDSPackageObjectWrapper.h"
#include "toolsapi/ToolsApiConversions.h"

namespace korvel {

// The interfaces a package notifier offers, each asked of it once, at the first notification
// of its group, and held from then on: COM fixes what an object offers for its lifetime, so
// that one answer serves every later notification and a notification costs no query.
class OfferedNotifierInterfaces {
public:
    explicit OfferedNotifierInterfaces(IUnknown* notifier) : notifier_(notifier) {}
    // Nil when the notifier does not offer it; raises what the package's query raises.
    template <class Interface>
    Interface* Find() {
        Answer<Interface>& answer = std::get<Answer<Interface>>(answers_);
        if (!answer.asked) {
            answer.asked = true;
            void* offered = nullptr;
            if (notifier_ && SUCCEEDED(notifier_->QueryInterface(rtl::InterfaceTraits<Interface>::Id(), &offered)))
                answer.offered = rtl::ComPtr<Interface>::Adopt(static_cast<Interface*>(offered));
        }
        return answer.offered.Get();
    }

private:
    template <class Interface>
    struct Answer {
        bool asked = false;
        rtl::ComPtr<Interface> offered;
    };
    const rtl::ComPtr<IUnknown> notifier_;
    std::tuple<Answer<IBDSNotifier>, Answer<IBDSModuleNotifier>, Answer<IBDSModuleNotifier80>,
               Answer<IBDSModuleNotifier90>, Answer<IBDSEditorNotifier>>
        answers_;
};

// Relays module and editor notifications to a package notifier that may offer any of the
// five package notifier interfaces: each call tests that the package offers the interface of
// its group, and answers the IDE's default when it does not.
class TBDSAnyNotifierWrapper final : public rtl::ComObject<ide::IOTAModuleNotifier90, ide::IOTAEditorNotifier> {
public:
    explicit TBDSAnyNotifierWrapper(IUnknown* notifier) : s(notifier) {}

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
    // fails; the wrapper, and with it the package's notifier, lives until the call ends.
    template <class Interface, class Result, class Call>
    Result AskIfOffered(Result byDefault, Call&& call) noexcept;
    template <class Interface, class Call>
    void TellIfOffered(Call&& call) noexcept;

    OfferedNotifierInterfaces s;
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
