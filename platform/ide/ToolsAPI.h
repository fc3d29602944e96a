// The IDE's Open Tools API as the system sees it. These are the IDE's own interfaces, not
// the package contract: methods return their values directly, as the IDE declares them.
#pragma once

#include "platform/rtl/ComPtr.h"
#include "platform/rtl/InterfaceTraits.h"
#include "platform/vcl/Classes.h"

namespace vcl {
class TCustomForm;
class TStatusBar;
class TMainMenu;
class TCustomActionList;
class TToolBar;
class TWinControl;
}  // namespace vcl

namespace ide {

using rtl::String;

inline constexpr GUID IID_IBorlandIDEServices = {0x5B3E6A1D, 0x27C4, 0x4F08, {0x9D, 0x61, 0x3A, 0x8E, 0x0C, 0x52, 0x7B, 0x94}};
inline constexpr GUID IID_INTAServices40 = {0x3C7F3267, 0xF0BF, 0x11D1, {0xAB, 0x1E, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
inline constexpr GUID IID_INTAServices = {0x8A1E2B54, 0x3C6D, 0x4E7F, {0x9A, 0x0B, 0x1C, 0x2D, 0x3E, 0x4F, 0x5A, 0x6B}};
inline constexpr GUID IID_IOTANotifier = {0xF17A7BCF, 0xE07D, 0x11D1, {0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
inline constexpr GUID IID_IOTAModuleServices70 = {0xF17A7BCD, 0xE07D, 0x11D1, {0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
inline constexpr GUID IID_IOTAModuleServices = {0x9C4B2E71, 0x5A3D, 0x4C8E, {0xB2, 0x6F, 0x1D, 0x7A, 0x90, 0x3E, 0x64, 0xC5}};
inline constexpr GUID IID_IOTAModule = {0x7FF96161, 0xE610, 0x4414, {0xB8, 0xB1, 0xD1, 0xEC, 0xA7, 0x6F, 0xEA, 0xFB}};
inline constexpr GUID IID_IOTAEditor = {0xF17A7BD0, 0xE07D, 0x11D1, {0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
inline constexpr GUID IID_IOTASourceEditor = {0x2E8A5C13, 0x7B49, 0x4F06, {0x8C, 0x1D, 0x5B, 0x3F, 0xA2, 0x70, 0xC9, 0x1E}};
inline constexpr GUID IID_IOTAEditView = {0x6B1F0D4A, 0x92C7, 0x4E35, {0xA8, 0x4B, 0x0F, 0x61, 0xD3, 0x2C, 0x7E, 0x58}};
inline constexpr GUID IID_INTAEditWindow = {0xC85D3A09, 0x1E62, 0x47B4, {0x9F, 0x27, 0x6A, 0x0C, 0xE4, 0x81, 0x3B, 0xD2}};
inline constexpr GUID IID_IOTAEditorServices = {0xBE733055, 0x5ED8, 0x45B4, {0xBA, 0xB1, 0x19, 0xC4, 0x6C, 0x23, 0x74, 0x08}};
inline constexpr GUID IID_INTAToolbarStreamNotifier = {0xA2D9F2F7, 0x815E, 0x4E5B, {0xBD, 0x83, 0x2B, 0xD4, 0xA5, 0x7A, 0x45, 0xE1}};

// The IDE's services object: every service is asked for by its interface's GUID.
struct IBorlandIDEServices : IUnknown {
    virtual bool STDMETHODCALLTYPE SupportsService(const GUID& service) = 0;
    // The service with a reference added for the caller, or nil and false.
    virtual bool STDMETHODCALLTYPE GetService(const GUID& service, IUnknown** result) = 0;
};

struct IOTANotifier : IUnknown {
    virtual void STDMETHODCALLTYPE AfterSave() = 0;
    virtual void STDMETHODCALLTYPE BeforeSave() = 0;
    virtual void STDMETHODCALLTYPE Destroyed() = 0;
    virtual void STDMETHODCALLTYPE Modified() = 0;
};

// Told about the IDE's toolbars as they are saved and loaded.
struct INTAToolbarStreamNotifier : IOTANotifier {
    using IOTANotifier::AfterSave;
    using IOTANotifier::BeforeSave;
    virtual void STDMETHODCALLTYPE AfterSave(vcl::TWinControl* toolbar) = 0;
    virtual void STDMETHODCALLTYPE BeforeSave(vcl::TWinControl* toolbar) = 0;
    virtual void STDMETHODCALLTYPE ToolbarLoaded(vcl::TWinControl* toolbar) = 0;
};

// The native services: the IDE's main menu, its actions and its toolbars.
struct INTAServices40 : IUnknown {
    virtual vcl::TMainMenu* STDMETHODCALLTYPE GetMainMenu() = 0;
    virtual vcl::TCustomActionList* STDMETHODCALLTYPE GetActionList() = 0;
    // Nil when the IDE has no toolbar of that name.
    virtual vcl::TToolBar* STDMETHODCALLTYPE GetToolBar(const String& name) = 0;
    virtual vcl::TToolBar* STDMETHODCALLTYPE NewToolbar(const String& name, const String& caption,
                                                        const String& referenceToolBar, bool insertBefore) = 0;
};

struct INTAServices : INTAServices40 {
    virtual int STDMETHODCALLTYPE RegisterToolbarNotifier(IOTANotifier* notifier) = 0;
    virtual void STDMETHODCALLTYPE UnregisterToolbarNotifier(int index) = 0;
};

struct IOTAModule;
struct IOTAEditView;

// An edit window of the IDE: a form with the source editors' tabs, the editor and a status bar.
struct INTAEditWindow : IUnknown {
    virtual vcl::TCustomForm* STDMETHODCALLTYPE GetForm() = 0;
    virtual vcl::TStatusBar* STDMETHODCALLTYPE GetStatusBar() = 0;
};

// One view onto a source editor's buffer, shown in an edit window.
struct IOTAEditView : IUnknown {
    // Nil once the view's edit window is gone.
    virtual rtl::ComPtr<INTAEditWindow> STDMETHODCALLTYPE GetEditWindow() = 0;
};

// One file of a module, as the IDE edits it.
struct IOTAEditor : IUnknown {
    virtual String STDMETHODCALLTYPE GetFileName() = 0;
    // Nil once the module was closed.
    virtual rtl::ComPtr<IOTAModule> STDMETHODCALLTYPE GetModule() = 0;
};

struct IOTASourceEditor : IOTAEditor {
    virtual int STDMETHODCALLTYPE GetEditViewCount() = 0;
    // Nil outside 0..EditViewCount-1.
    virtual rtl::ComPtr<IOTAEditView> STDMETHODCALLTYPE GetEditView(int index) = 0;
};

// An open file set (a unit with its form, a project, a text file) and its editors.
struct IOTAModule : IUnknown {
    virtual String STDMETHODCALLTYPE GetFileName() = 0;
    virtual int STDMETHODCALLTYPE GetModuleFileCount() = 0;
    // Nil outside 0..ModuleFileCount-1.
    virtual rtl::ComPtr<IOTAEditor> STDMETHODCALLTYPE GetModuleFileEditor(int index) = 0;
};

struct IOTAModuleServices70 : IUnknown {
    virtual int STDMETHODCALLTYPE GetModuleCount() = 0;
    // Nil outside 0..ModuleCount-1.
    virtual rtl::ComPtr<IOTAModule> STDMETHODCALLTYPE GetModule(int index) = 0;
    // The open module of that file name (compared as the file system does), or nil.
    virtual rtl::ComPtr<IOTAModule> STDMETHODCALLTYPE FindModule(const String& fileName) = 0;
};

struct IOTAModuleServices : IOTAModuleServices70 {};

struct IOTAEditorServices : IUnknown {
    // The view the user works in, or nil when no source file is open.
    virtual rtl::ComPtr<IOTAEditView> STDMETHODCALLTYPE GetTopView() = 0;
};

// A wizard library's entry, which the IDE finds by the name WizardEntryPoint and calls once.
// It answers true when it took part; Terminate receives what the IDE calls when it unloads
// experts. The registration procedure is the IDE's own; wizards may ignore it.
using TWizardRegisterProc = void*;
using TWizardTerminateProc = void (*)();
using TWizardInitProc = uint8_t(STDMETHODCALLTYPE*)(IBorlandIDEServices* BorlandIDEServices,
                                                    TWizardRegisterProc RegisterProc,
                                                    TWizardTerminateProc* Terminate);
inline constexpr char WizardEntryPoint[] = "INITWIZARD0001";

// The IDE's global services object; nil outside an IDE.
IBorlandIDEServices* BorlandIDEServices();
void SetBorlandIDEServices(IBorlandIDEServices* services);

// BorlandIDEServices.GetService in its typed form: nil when the IDE lacks the service.
template <class I>
rtl::ComPtr<I> GetIDEService(const GUID& service) {
    IBorlandIDEServices* services = BorlandIDEServices();
    if (!services) return nullptr;
    rtl::ComPtr<IUnknown> found;
    services->GetService(service, found.Put());
    return found.template Query<I>();
}

}  // namespace ide

KORVEL_BIND_INTERFACE(ide::IBorlandIDEServices, IUnknown, ide::IID_IBorlandIDEServices);
KORVEL_BIND_INTERFACE(ide::IOTANotifier, IUnknown, ide::IID_IOTANotifier);
KORVEL_BIND_INTERFACE(ide::INTAToolbarStreamNotifier, ide::IOTANotifier, ide::IID_INTAToolbarStreamNotifier);
KORVEL_BIND_INTERFACE(ide::INTAEditWindow, IUnknown, ide::IID_INTAEditWindow);
KORVEL_BIND_INTERFACE(ide::IOTAEditView, IUnknown, ide::IID_IOTAEditView);
KORVEL_BIND_INTERFACE(ide::IOTAEditor, IUnknown, ide::IID_IOTAEditor);
KORVEL_BIND_INTERFACE(ide::IOTASourceEditor, ide::IOTAEditor, ide::IID_IOTASourceEditor);
KORVEL_BIND_INTERFACE(ide::IOTAModule, IUnknown, ide::IID_IOTAModule);
KORVEL_BIND_INTERFACE(ide::IOTAModuleServices70, IUnknown, ide::IID_IOTAModuleServices70);
KORVEL_BIND_INTERFACE(ide::IOTAModuleServices, ide::IOTAModuleServices70, ide::IID_IOTAModuleServices);
KORVEL_BIND_INTERFACE(ide::IOTAEditorServices, IUnknown, ide::IID_IOTAEditorServices);
KORVEL_BIND_INTERFACE(ide::INTAServices40, IUnknown, ide::IID_INTAServices40);
KORVEL_BIND_INTERFACE(ide::INTAServices, ide::INTAServices40, ide::IID_INTAServices);
