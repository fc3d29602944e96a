// The package-facing Tools API interfaces: modules, editors, notifiers, files, file systems
// and module creators, in the shapes of the IDE's own interfaces but callable from any COM
// language. Most GUIDs are those of the IDE's interface of the same role.
//
// Every interface derives directly from IUnknown (none from another of these); slot order is
// the wire format. Methods use the standard COM calling convention and return their value
// directly; an Integer returned beside an out interface is a status: S_OK or E_NOTIMPL.
//
// Flags are LongBool (32 bits: -1 true, 0 false, any non-zero read as true), except where a
// one-byte Boolean is declared. Strings:
// - a PWideChar returned by the system is a new BSTR that the package frees (SysFreeString);
// - a PWideChar or BSTR passed by the package is copied during the call and never kept;
// - a BSTR passed to a package is allocated and freed by the system around the call;
// - a PWideChar returned by a package is copied at once and never freed: it must stay valid
//   until the call returns.
// Window, view, form and dock-form arguments are always nil: a package learns that something
// happened, not to which IDE object. A package asks IBdsServices::GetService for
// IID_IBDSModuleServices70 or IID_IBDSEditorServices80 to reach the two root services.
#pragma once

#include <cstdint>

#include "korvel/BdsInterop.h"
#ifdef _WIN32
#include <objidl.h>
#else
struct IStream;
#endif

typedef WCHAR* PWideChar;

struct IBDSModuleServices70;
struct IBDSEditorServices80;
struct IBDSModule;
struct IBDSEditor;
struct IBDSNotifier;
struct IBDSModuleNotifier;
struct IBDSModuleNotifier80;
struct IBDSModuleNotifier90;
struct IBDSEditorNotifier;
struct IBDSEditServicesNotifier;
struct IBDSFile;
struct IBDSFileSystem;
struct IBDSFileFilter;
struct IBDSCreator;
struct IBDSModuleCreator;
struct IBDSProject;
struct IBDSEditWindow;

/* Name, base, GUID, as the contract's own list in BdsInterop.h. */
#define KORVEL_TOOLS_INTERFACES(X) \
    X(IBDSModuleServices70, IUnknown, 0xF17A7BCD, 0xE07D, 0x11D1, 0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3) \
    X(IBDSEditorServices80, IUnknown, 0xF37E8C46, 0x0A02, 0x4FD4, 0x8D, 0x57, 0xE5, 0x5F, 0x9A, 0x57, 0x83, 0xEC) \
    X(IBDSModule, IUnknown, 0x7FF96161, 0xE610, 0x4414, 0xB8, 0xB1, 0xD1, 0xEC, 0xA7, 0x6F, 0xEA, 0xFB) \
    X(IBDSEditor, IUnknown, 0xF17A7BD0, 0xE07D, 0x11D1, 0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3) \
    X(IBDSNotifier, IUnknown, 0xF17A7BCF, 0xE07D, 0x11D1, 0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3) \
    X(IBDSModuleNotifier, IUnknown, 0xF17A7BCE, 0xE07D, 0x11D1, 0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3) \
    X(IBDSModuleNotifier80, IUnknown, 0x6C4714BB, 0x223A, 0x4CDF, 0xA7, 0x10, 0x42, 0x9F, 0xE8, 0xFA, 0x0B, 0x91) \
    X(IBDSModuleNotifier90, IUnknown, 0x53B90D0D, 0x0E70, 0x472A, 0x88, 0x5E, 0x05, 0x66, 0xB2, 0x71, 0x1C, 0x15) \
    X(IBDSEditorNotifier, IUnknown, 0x0E3B9D7B, 0xE119, 0x11D1, 0xAB, 0x0C, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3) \
    X(IBDSEditServicesNotifier, IUnknown, 0xF954AA40, 0x23E7, 0x412C, 0xBD, 0x59, 0xCC, 0x34, 0x28, 0xDE, 0x29, 0x39) \
    X(IBDSFile, IUnknown, 0x6E2AD9B0, 0xF7F0, 0x11D1, 0xAB, 0x26, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3) \
    X(IBDSFileSystem, IUnknown, 0xA9D1389D, 0xF4B0, 0x11D1, 0xAB, 0x22, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3) \
    X(IBDSFileFilter, IUnknown, 0x14DBB1D5, 0x9802, 0x458E, 0xA8, 0xC3, 0x60, 0x62, 0x37, 0x70, 0x89, 0x39) \
    X(IBDSCreator, IUnknown, 0x6EDB9B9E, 0xF57A, 0x11D1, 0xAB, 0x23, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3) \
    X(IBDSModuleCreator, IUnknown, 0x6EDB9B9A, 0xF57A, 0x11D1, 0xAB, 0x23, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3) \
    X(IBDSProject, IUnknown, 0xD0090018, 0xD879, 0x41FC, 0x8F, 0x83, 0xAA, 0x4F, 0x40, 0x09, 0x8A, 0xCF)

KORVEL_TOOLS_INTERFACES(KORVEL_INTERFACE_ID)

#define KORVEL_TOOLS_METHOD(Result) virtual Result STDMETHODCALLTYPE

// Parameter types only: the system never makes objects of these and always passes nil.
struct IBDSProject : IUnknown {};
struct IBDSEditView : IUnknown {};
struct IBDSFormEditor : IUnknown {};
struct IDockForm : IUnknown {};
struct ITCustomForm : IUnknown {};
struct ITStatusBar : IUnknown {};
struct ITDockableForm : IUnknown {};
struct ITFrame : IUnknown {};

struct IBDSEditWindow : IUnknown {
    KORVEL_TOOLS_METHOD(void) GetForm(ITCustomForm** Form) = 0;
    KORVEL_TOOLS_METHOD(void) GetStatusBar(ITStatusBar** StatusBar) = 0;
    KORVEL_TOOLS_METHOD(void) CreateDockableForm(BSTR FormName, ITDockableForm** Form) = 0;
    KORVEL_TOOLS_METHOD(void) ShowDockableFormFrame(BSTR FormName, BSTR Caption, ITFrame* Frame) = 0;
};

struct IBDSModuleServices70 : IUnknown {
    KORVEL_TOOLS_METHOD(Integer) GetCurrentModule(IBDSModule** Module) = 0;
    KORVEL_TOOLS_METHOD(Integer) ModuleCount() = 0;
    KORVEL_TOOLS_METHOD(LongBool) NewModule() = 0;
    KORVEL_TOOLS_METHOD(Integer) CreateModule(IBDSCreator* Creator, IBDSModule** Module) = 0;
    KORVEL_TOOLS_METHOD(void) GetNewModuleAndClassName(const WCHAR* Prefix, PWideChar* UnitIdent,
                                                       PWideChar* ClassName, PWideChar* FileName) = 0;
    KORVEL_TOOLS_METHOD(Integer) FindModule(const WCHAR* FileName, IBDSModule** Module) = 0;
    KORVEL_TOOLS_METHOD(Integer) FindFormModule(const WCHAR* FormName, IBDSModule** Module) = 0;
    KORVEL_TOOLS_METHOD(Integer) GetModule(Integer Index, IBDSModule** Module) = 0;
    KORVEL_TOOLS_METHOD(LongBool) SaveAll() = 0;
    KORVEL_TOOLS_METHOD(LongBool) CloseAll() = 0;
    KORVEL_TOOLS_METHOD(Integer) AddFileSystem(IBDSFileSystem* FileSystem) = 0;
    KORVEL_TOOLS_METHOD(Integer) FindFileSystem(const WCHAR* Name, IBDSFileSystem** FileSystem) = 0;
    KORVEL_TOOLS_METHOD(void) RemoveFileSystem(Integer Index) = 0;
};

struct IBDSEditorServices80 : IUnknown {
    KORVEL_TOOLS_METHOD(Integer) AddNotifier(IBDSEditServicesNotifier* Notifier) = 0;
    KORVEL_TOOLS_METHOD(void) RemoveNotifier(Integer Index) = 0;
};

struct IBDSModule : IUnknown {
    KORVEL_TOOLS_METHOD(PWideChar) GetFileName() = 0;
    KORVEL_TOOLS_METHOD(void) SetFileName(BSTR FileName) = 0;
    KORVEL_TOOLS_METHOD(PWideChar) GetFileSystem() = 0;
    KORVEL_TOOLS_METHOD(void) SetFileSystem(BSTR FileSystem) = 0;
    KORVEL_TOOLS_METHOD(LongBool) HasCoClasses() = 0;
    KORVEL_TOOLS_METHOD(Integer) GetModuleFileCount() = 0;
    KORVEL_TOOLS_METHOD(void) GetModuleFileEditor(Integer Index, IBDSEditor** Editor) = 0;
    KORVEL_TOOLS_METHOD(Integer) GetOwnerCount() = 0;
    KORVEL_TOOLS_METHOD(void) GetOwner(Integer Index, IBDSProject** Project) = 0;
    KORVEL_TOOLS_METHOD(void) AddToInterface() = 0;
    KORVEL_TOOLS_METHOD(Integer) AddNotifier(IBDSModuleNotifier* Notifier) = 0;
    KORVEL_TOOLS_METHOD(void) RemoveNotifier(Integer Index) = 0;
    KORVEL_TOOLS_METHOD(LongBool) Save(LongBool ChangeName, LongBool ForceSave) = 0;
    KORVEL_TOOLS_METHOD(LongBool) Close() = 0;
    KORVEL_TOOLS_METHOD(LongBool) CloseModule(LongBool ForceClosed) = 0;
    KORVEL_TOOLS_METHOD(void) GetCurrentEditor(IBDSEditor** Editor) = 0;
    KORVEL_TOOLS_METHOD(Integer) GetOwnerModuleCount() = 0;
    KORVEL_TOOLS_METHOD(void) GetOwnerModule(Integer Index, IBDSModule** Module) = 0;
    KORVEL_TOOLS_METHOD(void) MarkModified() = 0;
    KORVEL_TOOLS_METHOD(void) Show() = 0;
    KORVEL_TOOLS_METHOD(void) ShowFilename(const WCHAR* FileName) = 0;
};

struct IBDSEditor : IUnknown {
    KORVEL_TOOLS_METHOD(void) Dismiss() = 0;
    KORVEL_TOOLS_METHOD(PWideChar) GetFileName() = 0;
    KORVEL_TOOLS_METHOD(LongBool) GetModified() = 0;
    KORVEL_TOOLS_METHOD(Integer) GetModule(IBDSModule** Module) = 0;
    KORVEL_TOOLS_METHOD(LongBool) MarkModified() = 0;
    KORVEL_TOOLS_METHOD(void) Show() = 0;
    KORVEL_TOOLS_METHOD(Integer) AddNotifier(IBDSNotifier* Notifier) = 0;
    KORVEL_TOOLS_METHOD(void) RemoveNotifier(Integer Index) = 0;
};

// A package answering false to AfterSave or BeforeSave stops the operation in the IDE.
struct IBDSNotifier : IUnknown {
    KORVEL_TOOLS_METHOD(LongBool) AfterSave() = 0;
    KORVEL_TOOLS_METHOD(LongBool) BeforeSave() = 0;
    KORVEL_TOOLS_METHOD(void) Destroyed() = 0;
    KORVEL_TOOLS_METHOD(void) Modified() = 0;
};

struct IBDSModuleNotifier : IUnknown {
    KORVEL_TOOLS_METHOD(LongBool) CheckOverwrite() = 0;
    KORVEL_TOOLS_METHOD(void) ModuleRenamed(BSTR NewName) = 0;
};

struct IBDSModuleNotifier80 : IUnknown {
    KORVEL_TOOLS_METHOD(LongBool) AllowSave() = 0;
    KORVEL_TOOLS_METHOD(Integer) GetOverwriteFileNameCount() = 0;
    KORVEL_TOOLS_METHOD(const WCHAR*) GetOverwriteFileName(Integer Index) = 0;
    KORVEL_TOOLS_METHOD(void) SetSaveFileName(BSTR FileName) = 0;
};

struct IBDSModuleNotifier90 : IUnknown {
    KORVEL_TOOLS_METHOD(void) BeforeRename(BSTR OldFileName, BSTR NewFileName) = 0;
    KORVEL_TOOLS_METHOD(void) AfterRename(BSTR OldFileName, BSTR NewFileName) = 0;
};

// Operation: 0 a view was inserted, 1 removed.
struct IBDSEditorNotifier : IUnknown {
    KORVEL_TOOLS_METHOD(void) ViewNotification(IBDSEditView* View, Integer Operation) = 0;
    KORVEL_TOOLS_METHOD(void) ViewActivated(IBDSEditView* View) = 0;
};

struct IBDSEditServicesNotifier : IUnknown {
    KORVEL_TOOLS_METHOD(LongBool) AfterSave() = 0;
    KORVEL_TOOLS_METHOD(LongBool) BeforeSave() = 0;
    KORVEL_TOOLS_METHOD(void) Destroyed() = 0;
    KORVEL_TOOLS_METHOD(void) Modified() = 0;
    KORVEL_TOOLS_METHOD(void) WindowShow(IBDSEditWindow* EditWindow, Boolean Show, Boolean LoadedFromDesktop) = 0;
    // Operation: 0 a window was inserted, 1 removed.
    KORVEL_TOOLS_METHOD(void) WindowNotification(IBDSEditWindow* EditWindow, Integer Operation) = 0;
    KORVEL_TOOLS_METHOD(void) WindowActivated(IBDSEditWindow* EditWindow) = 0;
    // Handled points at the IDE's own flag; setting it to non-zero keeps the command from the IDE.
    KORVEL_TOOLS_METHOD(void) WindowCommand(IBDSEditWindow* EditWindow, Integer Command, Integer Param,
                                            Boolean* Handled) = 0;
    KORVEL_TOOLS_METHOD(void) EditorViewActivated(IBDSEditWindow* EditWindow, IBDSEditView* EditView) = 0;
    KORVEL_TOOLS_METHOD(void) EditorViewModified(IBDSEditWindow* EditWindow, IBDSEditView* EditView) = 0;
    KORVEL_TOOLS_METHOD(void) DockFormVisibleChanged(IBDSEditWindow* EditWindow, IDockForm* DockForm) = 0;
    KORVEL_TOOLS_METHOD(void) DockFormUpdated(IBDSEditWindow* EditWindow, IDockForm* DockForm) = 0;
    KORVEL_TOOLS_METHOD(void) DockFormRefresh(IBDSEditWindow* EditWindow, IDockForm* DockForm) = 0;
};

// Age: the bits of an OLE date (a double, days since 30 December 1899) in the integer.
struct IBDSFile : IUnknown {
    KORVEL_TOOLS_METHOD(const WCHAR*) GetSource() = 0;
    KORVEL_TOOLS_METHOD(int64_t) GetAge() = 0;
};

struct IBDSFileSystem : IUnknown {
    KORVEL_TOOLS_METHOD(const WCHAR*) GetIDString() = 0;
    KORVEL_TOOLS_METHOD(void) GetFilter(IBDSFileFilter** Filter) = 0;
    KORVEL_TOOLS_METHOD(Boolean) IsFileBased() = 0;
    KORVEL_TOOLS_METHOD(void) GetFileStream(BSTR FileName, Integer Mode, IStream** Stream) = 0;
    KORVEL_TOOLS_METHOD(Integer) FileAge(BSTR FileName) = 0;
    KORVEL_TOOLS_METHOD(Boolean) RenameFile(BSTR OldName, BSTR NewName) = 0;
    KORVEL_TOOLS_METHOD(Boolean) IsReadonly(BSTR FileName) = 0;
    KORVEL_TOOLS_METHOD(Boolean) DeleteFile(BSTR FileName) = 0;
    KORVEL_TOOLS_METHOD(Boolean) FileExists(BSTR FileName) = 0;
    KORVEL_TOOLS_METHOD(const WCHAR*) GetTempFileName(BSTR FileName) = 0;
    KORVEL_TOOLS_METHOD(const WCHAR*) GetBackupFileName(BSTR FileName) = 0;
};

struct IBDSFileFilter : IUnknown {
    KORVEL_TOOLS_METHOD(const WCHAR*) GetDisplayName() = 0;
    KORVEL_TOOLS_METHOD(const WCHAR*) GetIDString() = 0;
    KORVEL_TOOLS_METHOD(void) GetStream(BSTR FileName, IStream* Stream, IStream** Result) = 0;
    KORVEL_TOOLS_METHOD(Boolean) HandlesStream(BSTR FileName, IStream* Stream) = 0;
};

struct IBDSCreator : IUnknown {
    KORVEL_TOOLS_METHOD(const WCHAR*) GetCreatorType() = 0;
    KORVEL_TOOLS_METHOD(LongBool) GetExisting() = 0;
    KORVEL_TOOLS_METHOD(const WCHAR*) GetFileSystem() = 0;
    KORVEL_TOOLS_METHOD(LongBool) GetUnnamed() = 0;
    KORVEL_TOOLS_METHOD(Integer) GetOwner(IBDSModule** Owner) = 0;
};

// The five IBDSCreator methods first, in the same order, then its own.
struct IBDSModuleCreator : IUnknown {
    KORVEL_TOOLS_METHOD(const WCHAR*) GetCreatorType() = 0;
    KORVEL_TOOLS_METHOD(LongBool) GetExisting() = 0;
    KORVEL_TOOLS_METHOD(const WCHAR*) GetFileSystem() = 0;
    KORVEL_TOOLS_METHOD(LongBool) GetUnnamed() = 0;
    KORVEL_TOOLS_METHOD(Integer) GetOwner(IBDSModule** Owner) = 0;
    KORVEL_TOOLS_METHOD(const WCHAR*) GetAncestorName() = 0;
    KORVEL_TOOLS_METHOD(const WCHAR*) GetImplFileName() = 0;
    KORVEL_TOOLS_METHOD(const WCHAR*) GetIntfFileName() = 0;
    KORVEL_TOOLS_METHOD(const WCHAR*) GetFormName() = 0;
    KORVEL_TOOLS_METHOD(LongBool) GetMainForm() = 0;
    KORVEL_TOOLS_METHOD(LongBool) GetShowForm() = 0;
    KORVEL_TOOLS_METHOD(LongBool) GetShowSource() = 0;
    KORVEL_TOOLS_METHOD(Integer) NewFormFile(BSTR FormIdent, BSTR AncestorIdent, IBDSFile** File) = 0;
    KORVEL_TOOLS_METHOD(Integer) NewImplSource(BSTR ModuleIdent, BSTR FormIdent, BSTR AncestorIdent,
                                               IBDSFile** File) = 0;
    KORVEL_TOOLS_METHOD(Integer) NewIntfSource(BSTR ModuleIdent, BSTR FormIdent, BSTR AncestorIdent,
                                               IBDSFile** File) = 0;
    KORVEL_TOOLS_METHOD(void) FormCreated(IBDSFormEditor* FormEditor) = 0;
};

#undef KORVEL_TOOLS_METHOD
