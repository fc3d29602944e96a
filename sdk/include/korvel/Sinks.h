// Every interface a package implements for the IDE to call, with methods that do nothing and
// answer what lets the IDE go on (a save goes ahead, a message is not handled, no icon, no
// helper). A package lists Sink<I> among ComObject's interfaces and overrides only what it
// needs:
//
//     class SaveGuard final : public ComObject<Sink<IBDSNotifier>, Sink<IBDSModuleNotifier>> {
//         LongBool STDMETHODCALLTYPE BeforeSave() override { return ...; }
//     };
//
// The IDE calls a notifier until the package removes it (RemoveNotifier with the index
// AddNotifier answered); nothing a method throws may leave it, so wrap bodies in Guarded or
// in a try block of the package's own.
#pragma once

#include "korvel/ComObject.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#endif

namespace korvel::sdk {

template <class I>
struct Sink;

template <>
struct Sink<IBdsToolBarControlEvents> : IBdsToolBarControlEvents {
    using Interface = IBdsToolBarControlEvents;
    HRESULT STDMETHODCALLTYPE OnExecute() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnChange() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUpdate() override { return S_OK; }
};

template <>
struct Sink<IBdsWindowEvents> : IBdsWindowEvents {
    using Interface = IBdsWindowEvents;
    HRESULT STDMETHODCALLTYPE OnClose() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnActivate() override { return S_OK; }
    // No icon (yet): the loader asks again later.
    HRESULT STDMETHODCALLTYPE RequestIcon(Integer* pRetVal) override {
        if (!pRetVal) return E_POINTER;
        *pRetVal = 0;
        return S_OK;
    }
};

template <>
struct Sink<IMessageHandler> : IMessageHandler {
    using Interface = IMessageHandler;
    // Not handled; the IDE's own handler still runs. The hub does not preset Handled.
    HRESULT STDMETHODCALLTYPE HandleMessage(MSG* Msg, WordBool* CallDefaultHandler, WordBool* Handled) override {
        if (Handled) *Handled = 0;
        return S_OK;
    }
};

template <>
struct Sink<IDragDropHelperProvider> : IDragDropHelperProvider {
    using Interface = IDragDropHelperProvider;
    // No helper: the component is not the package's.
    HRESULT STDMETHODCALLTYPE GetDragDropHelper(BSTR ClassName, IUnknown** Helper) override {
        if (!Helper) return E_POINTER;
        *Helper = nullptr;
        return S_OK;
    }
};

template <>
struct Sink<IBdsShellPackage> : IBdsShellPackage {
    using Interface = IBdsShellPackage;
    HRESULT STDMETHODCALLTYPE OnDocumentDeactivated() override { return S_OK; }
};

template <>
struct Sink<IBDSNotifier> : IBDSNotifier {
    using Interface = IBDSNotifier;
    LongBool STDMETHODCALLTYPE AfterSave() override { return LongTrue; }
    // False stops the save.
    LongBool STDMETHODCALLTYPE BeforeSave() override { return LongTrue; }
    void STDMETHODCALLTYPE Destroyed() override {}
    void STDMETHODCALLTYPE Modified() override {}
};

template <>
struct Sink<IBDSModuleNotifier> : IBDSModuleNotifier {
    using Interface = IBDSModuleNotifier;
    LongBool STDMETHODCALLTYPE CheckOverwrite() override { return LongTrue; }
    void STDMETHODCALLTYPE ModuleRenamed(BSTR NewName) override {}
};

template <>
struct Sink<IBDSModuleNotifier80> : IBDSModuleNotifier80 {
    using Interface = IBDSModuleNotifier80;
    LongBool STDMETHODCALLTYPE AllowSave() override { return LongTrue; }
    Integer STDMETHODCALLTYPE GetOverwriteFileNameCount() override { return 0; }
    const WCHAR* STDMETHODCALLTYPE GetOverwriteFileName(Integer Index) override { return nullptr; }
    void STDMETHODCALLTYPE SetSaveFileName(BSTR FileName) override {}
};

template <>
struct Sink<IBDSModuleNotifier90> : IBDSModuleNotifier90 {
    using Interface = IBDSModuleNotifier90;
    void STDMETHODCALLTYPE BeforeRename(BSTR OldFileName, BSTR NewFileName) override {}
    void STDMETHODCALLTYPE AfterRename(BSTR OldFileName, BSTR NewFileName) override {}
};

template <>
struct Sink<IBDSEditorNotifier> : IBDSEditorNotifier {
    using Interface = IBDSEditorNotifier;
    void STDMETHODCALLTYPE ViewNotification(IBDSEditView* View, Integer Operation) override {}
    void STDMETHODCALLTYPE ViewActivated(IBDSEditView* View) override {}
};

template <>
struct Sink<IBDSEditServicesNotifier> : IBDSEditServicesNotifier {
    using Interface = IBDSEditServicesNotifier;
    LongBool STDMETHODCALLTYPE AfterSave() override { return LongTrue; }
    LongBool STDMETHODCALLTYPE BeforeSave() override { return LongTrue; }
    void STDMETHODCALLTYPE Destroyed() override {}
    void STDMETHODCALLTYPE Modified() override {}
    void STDMETHODCALLTYPE WindowShow(IBDSEditWindow* EditWindow, Boolean Show, Boolean LoadedFromDesktop) override {}
    void STDMETHODCALLTYPE WindowNotification(IBDSEditWindow* EditWindow, Integer Operation) override {}
    void STDMETHODCALLTYPE WindowActivated(IBDSEditWindow* EditWindow) override {}
    // Leaves Handled as the IDE set it: the IDE runs the command.
    void STDMETHODCALLTYPE WindowCommand(IBDSEditWindow* EditWindow, Integer Command, Integer Param,
                                         Boolean* Handled) override {}
    void STDMETHODCALLTYPE EditorViewActivated(IBDSEditWindow* EditWindow, IBDSEditView* EditView) override {}
    void STDMETHODCALLTYPE EditorViewModified(IBDSEditWindow* EditWindow, IBDSEditView* EditView) override {}
    void STDMETHODCALLTYPE DockFormVisibleChanged(IBDSEditWindow* EditWindow, IDockForm* DockForm) override {}
    void STDMETHODCALLTYPE DockFormUpdated(IBDSEditWindow* EditWindow, IDockForm* DockForm) override {}
    void STDMETHODCALLTYPE DockFormRefresh(IBDSEditWindow* EditWindow, IDockForm* DockForm) override {}
};

}  // namespace korvel::sdk

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
