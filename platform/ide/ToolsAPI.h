// The IDE's Open Tools API as the system sees it. These are the IDE's own interfaces, not
// the package contract: methods return their values directly, as the IDE declares them.
#pragma once

#include "platform/rtl/ComPtr.h"
#include "platform/rtl/InterfaceTraits.h"
#include "platform/rtl/Streams.h"
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
inline constexpr GUID IID_IOTAEditorServices80 = {0xF37E8C46, 0x0A02, 0x4FD4, {0x8D, 0x57, 0xE5, 0x5F, 0x9A, 0x57, 0x83, 0xEC}};
inline constexpr GUID IID_IOTAFile = {0x6E2AD9B0, 0xF7F0, 0x11D1, {0xAB, 0x26, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
inline constexpr GUID IID_IOTAFileSystem = {0xA9D1389D, 0xF4B0, 0x11D1, {0xAB, 0x22, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
inline constexpr GUID IID_IOTAFilteredFileSystem = {0x3F0C9E52, 0x6A1B, 0x4D87, {0x9E, 0x2D, 0x71, 0xB4, 0x0C, 0x58, 0xA3, 0x16}};
inline constexpr GUID IID_IOTAFileFilter = {0x14DBB1D5, 0x9802, 0x458E, {0xA8, 0xC3, 0x60, 0x62, 0x37, 0x70, 0x89, 0x39}};
inline constexpr GUID IID_IOTACreator = {0x6EDB9B9E, 0xF57A, 0x11D1, {0xAB, 0x23, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
inline constexpr GUID IID_IOTAModuleCreator = {0x6EDB9B9A, 0xF57A, 0x11D1, {0xAB, 0x23, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
inline constexpr GUID IID_IOTAFormEditor = {0x8D2E4B61, 0x0F37, 0x4A9C, {0xB5, 0x1E, 0x26, 0xC9, 0x7A, 0x03, 0xD4, 0x8B}};
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
struct IOTAModuleNotifier;
struct INTAEditServicesNotifier;

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
    virtual bool STDMETHODCALLTYPE GetModified() = 0;
    // True when the editor could be marked.
    virtual bool STDMETHODCALLTYPE MarkModified() = 0;
    virtual void STDMETHODCALLTYPE Show() = 0;
    // The notifier is held until RemoveNotifier with the index returned, or the module's close.
    virtual int STDMETHODCALLTYPE AddNotifier(IOTANotifier* notifier) = 0;
    virtual void STDMETHODCALLTYPE RemoveNotifier(int index) = 0;
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
    // Renames the module (its notifiers hear of it); the file is written at the next save.
    virtual void STDMETHODCALLTYPE SetFileName(const String& fileName) = 0;
    // The identifier of the file system the module is read and written through; empty for files.
    virtual String STDMETHODCALLTYPE GetFileSystem() = 0;
    virtual void STDMETHODCALLTYPE SetFileSystem(const String& fileSystem) = 0;
    virtual bool STDMETHODCALLTYPE HasCoClasses() = 0;
    virtual void STDMETHODCALLTYPE AddToInterface() = 0;
    // The notifier is held until RemoveNotifier with the index returned, or the module's close.
    virtual int STDMETHODCALLTYPE AddNotifier(IOTAModuleNotifier* notifier) = 0;
    virtual void STDMETHODCALLTYPE RemoveNotifier(int index) = 0;
    // False when the save did not happen (a notifier stopped or refused it).
    virtual bool STDMETHODCALLTYPE Save(bool changeName, bool forceSave) = 0;
    virtual bool STDMETHODCALLTYPE Close() = 0;
    virtual bool STDMETHODCALLTYPE CloseModule(bool forceClosed) = 0;
    virtual rtl::ComPtr<IOTAEditor> STDMETHODCALLTYPE GetCurrentEditor() = 0;
    // The projects and project groups the module belongs to.
    virtual int STDMETHODCALLTYPE GetOwnerModuleCount() = 0;
    // Raises a list-index error outside 0..OwnerModuleCount-1.
    virtual rtl::ComPtr<IOTAModule> STDMETHODCALLTYPE GetOwnerModule(int index) = 0;
    virtual void STDMETHODCALLTYPE MarkModified() = 0;
    virtual void STDMETHODCALLTYPE Show() = 0;
    // Shows the module's file of that name.
    virtual void STDMETHODCALLTYPE ShowFilename(const String& fileName) = 0;
};

// A date and time: days since 30 December 1899, the time of day as the fraction.
using TDateTime = double;

// File-mode flags of the language library, as the IDE opens files with them.
inline constexpr int fmOpenRead = 0x0000;
inline constexpr int fmOpenWrite = 0x0001;
inline constexpr int fmOpenReadWrite = 0x0002;
inline constexpr int fmShareExclusive = 0x0010;
inline constexpr int fmShareDenyWrite = 0x0020;
inline constexpr int fmShareDenyNone = 0x0040;
inline constexpr int fmCreate = 0xFF00;

// The form file of a module with a form, as the form designer edits it.
struct IOTAFormEditor : IOTAEditor {};

// Content that a creator supplies for a new file.
struct IOTAFile : IUnknown {
    virtual String STDMETHODCALLTYPE GetSource() = 0;
    virtual TDateTime STDMETHODCALLTYPE GetAge() = 0;
};

// Turns a stream of a file system into the stream the IDE reads or writes (to encrypt or
// compress, say), for the streams it handles.
struct IOTAFileFilter : IUnknown {
    virtual rtl::ComPtr<IStream> STDMETHODCALLTYPE GetStream(const String& fileName, IStream* stream) = 0;
    virtual bool STDMETHODCALLTYPE HandlesStream(const String& fileName, IStream* stream) = 0;
    virtual String STDMETHODCALLTYPE GetIDString() = 0;
    virtual String STDMETHODCALLTYPE GetDisplayName() = 0;
};

// Where the modules that name it by its identifier are read and written, instead of the disk.
struct IOTAFileSystem : IUnknown {
    // Nil when the file cannot be opened with that mode (the fm flags above).
    virtual rtl::ComPtr<IStream> STDMETHODCALLTYPE GetFileStream(const String& fileName, int mode) = 0;
    // The file's age as a packed date and time; -1 when there is none.
    virtual int STDMETHODCALLTYPE FileAge(const String& fileName) = 0;
    virtual bool STDMETHODCALLTYPE RenameFile(const String& oldName, const String& newName) = 0;
    virtual bool STDMETHODCALLTYPE IsReadonly(const String& fileName) = 0;
    // False when the files live nowhere on disk: the IDE keeps no backups of them.
    virtual bool STDMETHODCALLTYPE IsFileBased() = 0;
    virtual bool STDMETHODCALLTYPE DeleteFile(const String& fileName) = 0;
    virtual bool STDMETHODCALLTYPE FileExists(const String& fileName) = 0;
    virtual String STDMETHODCALLTYPE GetTempFileName(const String& fileName) = 0;
    virtual String STDMETHODCALLTYPE GetBackupFileName(const String& fileName) = 0;
    virtual String STDMETHODCALLTYPE GetIDString() = 0;
};

// A file system that offers a stream filter: the IDE passes the file system's streams
// through it.
struct IOTAFilteredFileSystem : IOTAFileSystem {
    // Nil when the file system filters nothing.
    virtual rtl::ComPtr<IOTAFileFilter> STDMETHODCALLTYPE GetFilter() = 0;
};

// What the IDE asks when it creates something on request.
struct IOTACreator : IUnknown {
    // "Unit", "Form" or "Text".
    virtual String STDMETHODCALLTYPE GetCreatorType() = 0;
    // True when the file exists already and is opened rather than made.
    virtual bool STDMETHODCALLTYPE GetExisting() = 0;
    // The identifier of the file system the new module lives in; empty for the disk.
    virtual String STDMETHODCALLTYPE GetFileSystem() = 0;
    virtual rtl::ComPtr<IOTAModule> STDMETHODCALLTYPE GetOwner() = 0;
    // True when the IDE names the new module.
    virtual bool STDMETHODCALLTYPE GetUnnamed() = 0;
};

struct IOTAModuleCreator : IOTACreator {
    virtual String STDMETHODCALLTYPE GetAncestorName() = 0;
    virtual String STDMETHODCALLTYPE GetImplFileName() = 0;
    virtual String STDMETHODCALLTYPE GetIntfFileName() = 0;
    virtual String STDMETHODCALLTYPE GetFormName() = 0;
    virtual bool STDMETHODCALLTYPE GetMainForm() = 0;
    virtual bool STDMETHODCALLTYPE GetShowForm() = 0;
    virtual bool STDMETHODCALLTYPE GetShowSource() = 0;
    // Nil for a file the IDE makes with its own content.
    virtual rtl::ComPtr<IOTAFile> STDMETHODCALLTYPE NewFormFile(const String& formIdent, const String& ancestorIdent) = 0;
    virtual rtl::ComPtr<IOTAFile> STDMETHODCALLTYPE NewImplSource(const String& moduleIdent, const String& formIdent,
                                                                  const String& ancestorIdent) = 0;
    virtual rtl::ComPtr<IOTAFile> STDMETHODCALLTYPE NewIntfSource(const String& moduleIdent, const String& formIdent,
                                                                  const String& ancestorIdent) = 0;
    virtual void STDMETHODCALLTYPE FormCreated(IOTAFormEditor* formEditor) = 0;
};

struct IOTAModuleServices70 : IUnknown {
    virtual int STDMETHODCALLTYPE GetModuleCount() = 0;
    // Nil outside 0..ModuleCount-1.
    virtual rtl::ComPtr<IOTAModule> STDMETHODCALLTYPE GetModule(int index) = 0;
    // The open module of that file name (compared as the file system does), or nil.
    virtual rtl::ComPtr<IOTAModule> STDMETHODCALLTYPE FindModule(const String& fileName) = 0;
    // The module of the view the user works in, or nil.
    virtual rtl::ComPtr<IOTAModule> STDMETHODCALLTYPE CurrentModule() = 0;
    // Opens a new, unnamed unit; false when none was made.
    virtual bool STDMETHODCALLTYPE NewModule() = 0;
    // Names for a new unit that no open module uses yet; `prefix` empty gives "Unit".
    virtual void STDMETHODCALLTYPE GetNewModuleAndClassName(const String& prefix, String& unitIdent,
                                                            String& className, String& fileName) = 0;
    virtual rtl::ComPtr<IOTAModule> STDMETHODCALLTYPE FindFormModule(const String& formName) = 0;
    // True when every modified module was saved.
    virtual bool STDMETHODCALLTYPE SaveAll() = 0;
    virtual bool STDMETHODCALLTYPE CloseAll() = 0;
    // The new module, or nil when the creator made none; the IDE holds the creator only
    // while it creates.
    virtual rtl::ComPtr<IOTAModule> STDMETHODCALLTYPE CreateModule(IOTACreator* creator) = 0;
    // The file system is held until RemoveFileSystem with the index returned, or the IDE's end.
    virtual int STDMETHODCALLTYPE AddFileSystem(IOTAFileSystem* fileSystem) = 0;
    virtual void STDMETHODCALLTYPE RemoveFileSystem(int index) = 0;
    // The registered file system of that identifier, or nil.
    virtual rtl::ComPtr<IOTAFileSystem> STDMETHODCALLTYPE FindFileSystem(const String& name) = 0;
};

struct IOTAModuleServices : IOTAModuleServices70 {};

struct IOTAEditorServices : IUnknown {
    // The view the user works in, or nil when no source file is open.
    virtual rtl::ComPtr<IOTAEditView> STDMETHODCALLTYPE GetTopView() = 0;
    // The notifier is held until RemoveNotifier with the index returned, or the IDE's end.
    virtual int STDMETHODCALLTYPE AddNotifier(INTAEditServicesNotifier* notifier) = 0;
    virtual void STDMETHODCALLTYPE RemoveNotifier(int index) = 0;
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
KORVEL_BIND_INTERFACE(ide::IOTAFormEditor, ide::IOTAEditor, ide::IID_IOTAFormEditor);
KORVEL_BIND_INTERFACE(ide::IOTAFile, IUnknown, ide::IID_IOTAFile);
KORVEL_BIND_INTERFACE(ide::IOTAFileFilter, IUnknown, ide::IID_IOTAFileFilter);
KORVEL_BIND_INTERFACE(ide::IOTAFileSystem, IUnknown, ide::IID_IOTAFileSystem);
KORVEL_BIND_INTERFACE(ide::IOTAFilteredFileSystem, ide::IOTAFileSystem, ide::IID_IOTAFilteredFileSystem);
KORVEL_BIND_INTERFACE(ide::IOTACreator, IUnknown, ide::IID_IOTACreator);
KORVEL_BIND_INTERFACE(ide::IOTAModuleCreator, ide::IOTACreator, ide::IID_IOTAModuleCreator);
KORVEL_BIND_INTERFACE(ide::IOTAModuleServices70, IUnknown, ide::IID_IOTAModuleServices70);
KORVEL_BIND_INTERFACE(ide::IOTAModuleServices, ide::IOTAModuleServices70, ide::IID_IOTAModuleServices);
KORVEL_BIND_INTERFACE(ide::IOTAEditorServices, IUnknown, ide::IID_IOTAEditorServices);
KORVEL_BIND_INTERFACE(ide::INTAServices40, IUnknown, ide::IID_INTAServices40);
KORVEL_BIND_INTERFACE(ide::INTAServices, ide::INTAServices40, ide::IID_INTAServices);
