/* The package-facing Tools API interfaces: modules, editors, notifiers, files, file systems
   and module creators, in the shapes of the IDE's own interfaces but callable from any COM
   language, for C and C++. Most GUIDs are those of the IDE's interface of the same role.

   Every interface derives directly from IUnknown (none from another of these, not even
   IBDSModuleCreator, which repeats IBDSCreator's five methods first); slot order is the wire
   format. Methods use the standard COM calling convention and return their value directly;
   an Integer returned beside an out interface is a status: S_OK or E_NOTIMPL.

   Flags are LongBool (32 bits: -1 true, 0 false, any non-zero read as true), except where a
   one-byte Boolean is declared. Strings:
   - a string the system returns is a new BSTR (declared BSTR, where the IDE's shape has a
     PWideChar) that the package frees with SysFreeString;
   - a PWideChar or BSTR passed by the package is copied during the call and never kept; a
     BSTR is read up to its terminator and never past its length prefix, so pass a real one
     (SysAllocString): in C a plain string compiles as a BSTR, and is cut short where the four
     bytes before it happen to hold a smaller length;
   - a BSTR passed to a package is allocated and freed by the system around the call;
   - a PWideChar returned by a package is copied at once and never freed: it must stay valid
     until the call returns.
   Wrappers are new objects on every call: two calls that reach the same module answer two
   different IBDSModule pointers, and even their IUnknowns differ. Compare modules by file name
   (GetFileName), never by pointer, and release every wrapper when done with it.
   A notifier added with AddNotifier is called until the package removes it with the index
   AddNotifier answered (-1: refused); remove it at the latest in Terminate, or the IDE keeps it
   and the package's objects stay referenced after shut-down. korvel/Sinks.h (C++) gives
   notifiers whose methods do nothing, so that a package writes only those it needs.
   Window, view, form and dock-form arguments are always nil: a package learns that something
   happened, not to which IDE object. A package asks IBdsServices::GetService for
   IID_IBDSModuleServices70 or IID_IBDSEditorServices80 to reach the two root services.

   Written as BdsInterop.h writes the hub's interfaces: one method list per interface
   (KORVEL_<name>_METHODS) and one line of KORVEL_TOOLS_INTERFACES with its GUID, expanded to
   a C vtable struct or a C++ abstract struct. In C, call as KORVEL_CALL(object, Method, ...). */
#pragma once

#include "korvel/BdsInterop.h"
#if defined(_WIN32)
#include <objidl.h>
#endif

typedef WCHAR* PWideChar;
typedef int64_t Int64;

/* Name, base, GUID. */
#define KORVEL_TOOLS_INTERFACES(X)                                                                                     \
    X(IBDSModuleServices70, IUnknown, 0xF17A7BCD, 0xE07D, 0x11D1, 0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3)     \
    X(IBDSEditorServices80, IUnknown, 0xF37E8C46, 0x0A02, 0x4FD4, 0x8D, 0x57, 0xE5, 0x5F, 0x9A, 0x57, 0x83, 0xEC)     \
    X(IBDSModule, IUnknown, 0x7FF96161, 0xE610, 0x4414, 0xB8, 0xB1, 0xD1, 0xEC, 0xA7, 0x6F, 0xEA, 0xFB)               \
    X(IBDSEditor, IUnknown, 0xF17A7BD0, 0xE07D, 0x11D1, 0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3)               \
    X(IBDSNotifier, IUnknown, 0xF17A7BCF, 0xE07D, 0x11D1, 0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3)             \
    X(IBDSModuleNotifier, IUnknown, 0xF17A7BCE, 0xE07D, 0x11D1, 0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3)       \
    X(IBDSModuleNotifier80, IUnknown, 0x6C4714BB, 0x223A, 0x4CDF, 0xA7, 0x10, 0x42, 0x9F, 0xE8, 0xFA, 0x0B, 0x91)     \
    X(IBDSModuleNotifier90, IUnknown, 0x53B90D0D, 0x0E70, 0x472A, 0x88, 0x5E, 0x05, 0x66, 0xB2, 0x71, 0x1C, 0x15)     \
    X(IBDSEditorNotifier, IUnknown, 0x0E3B9D7B, 0xE119, 0x11D1, 0xAB, 0x0C, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3)       \
    X(IBDSEditServicesNotifier, IUnknown, 0xF954AA40, 0x23E7, 0x412C, 0xBD, 0x59, 0xCC, 0x34, 0x28, 0xDE, 0x29, 0x39) \
    X(IBDSFile, IUnknown, 0x6E2AD9B0, 0xF7F0, 0x11D1, 0xAB, 0x26, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3)                 \
    X(IBDSFileSystem, IUnknown, 0xA9D1389D, 0xF4B0, 0x11D1, 0xAB, 0x22, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3)           \
    X(IBDSFileFilter, IUnknown, 0x14DBB1D5, 0x9802, 0x458E, 0xA8, 0xC3, 0x60, 0x62, 0x37, 0x70, 0x89, 0x39)           \
    X(IBDSCreator, IUnknown, 0x6EDB9B9E, 0xF57A, 0x11D1, 0xAB, 0x23, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3)              \
    X(IBDSModuleCreator, IUnknown, 0x6EDB9B9A, 0xF57A, 0x11D1, 0xAB, 0x23, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3)        \
    X(IBDSProject, IUnknown, 0xD0090018, 0xD879, 0x41FC, 0x8F, 0x83, 0xAA, 0x4F, 0x40, 0x09, 0x8A, 0xCF)

/* The services IBdsServices::GetService hands out, each asked for by the identifier of the
   interface it answers with. */
#define KORVEL_HUB_SERVICES(X) X(IBDSModuleServices70) X(IBDSEditorServices80)

/* Parameter types only: the system never makes objects of these and always passes nil. The
   IDE gives them no identifiers a package could rely on; these are the kit's own, so that a
   type library can describe them. */
#define KORVEL_TOOLS_PARAMETER_INTERFACES(X)                                                                  \
    X(IBDSEditWindow, IUnknown, 0xE44C8038, 0xFA17, 0x40F1, 0x9C, 0x31, 0xCD, 0xC2, 0xF5, 0xFF, 0x4A, 0x34) \
    X(IBDSEditView, IUnknown, 0xDD9DB62D, 0xC232, 0x4206, 0xB1, 0xA9, 0xE1, 0x93, 0x4D, 0xBC, 0x54, 0xA1)   \
    X(IBDSFormEditor, IUnknown, 0x3D51C6A4, 0x6DDC, 0x4A64, 0xAE, 0xBF, 0x92, 0x75, 0x81, 0xB7, 0xDB, 0x04) \
    X(IDockForm, IUnknown, 0xD30B7FAF, 0xE8D6, 0x4FA1, 0x86, 0x7C, 0x4A, 0x39, 0xFD, 0xC9, 0x77, 0x40)      \
    X(ITCustomForm, IUnknown, 0xA764F788, 0x812A, 0x434D, 0x8E, 0xAE, 0xC0, 0x6C, 0x93, 0x73, 0x8A, 0xA2)   \
    X(ITStatusBar, IUnknown, 0x6EB25C50, 0x2355, 0x43C5, 0xB6, 0x22, 0x81, 0xDE, 0xB4, 0x7A, 0x4D, 0xB9)    \
    X(ITDockableForm, IUnknown, 0xAFC2E35F, 0xE1AF, 0x4DBB, 0x8F, 0x73, 0x00, 0x00, 0xDD, 0xE0, 0x40, 0xB2) \
    X(ITFrame, IUnknown, 0x94B894E6, 0x09D6, 0x45C2, 0x98, 0x78, 0x85, 0x08, 0xEE, 0x0C, 0x23, 0x43)

KORVEL_TOOLS_INTERFACES(KORVEL_FORWARD_INTERFACE)
KORVEL_TOOLS_PARAMETER_INTERFACES(KORVEL_FORWARD_INTERFACE)
KORVEL_TOOLS_INTERFACES(KORVEL_INTERFACE_ID)
KORVEL_TOOLS_PARAMETER_INTERFACES(KORVEL_INTERFACE_ID)

#define KORVEL_IBDSProject_METHODS(I, METHOD, METHOD0)
#define KORVEL_IBDSEditView_METHODS(I, METHOD, METHOD0)
#define KORVEL_IBDSFormEditor_METHODS(I, METHOD, METHOD0)
#define KORVEL_IDockForm_METHODS(I, METHOD, METHOD0)
#define KORVEL_ITCustomForm_METHODS(I, METHOD, METHOD0)
#define KORVEL_ITStatusBar_METHODS(I, METHOD, METHOD0)
#define KORVEL_ITDockableForm_METHODS(I, METHOD, METHOD0)
#define KORVEL_ITFrame_METHODS(I, METHOD, METHOD0)

#define KORVEL_IBDSEditWindow_METHODS(I, METHOD, METHOD0)                       \
    METHOD(I, void, GetForm, ITCustomForm** Form)                               \
    METHOD(I, void, GetStatusBar, ITStatusBar** StatusBar)                      \
    METHOD(I, void, CreateDockableForm, BSTR FormName, ITDockableForm** Form)   \
    METHOD(I, void, ShowDockableFormFrame, BSTR FormName, BSTR Caption, ITFrame* Frame)

#define KORVEL_IBDSModuleServices70_METHODS(I, METHOD, METHOD0)                                               \
    METHOD(I, Integer, GetCurrentModule, IBDSModule** Module)                                                  \
    METHOD0(I, Integer, ModuleCount)                                                                           \
    METHOD0(I, LongBool, NewModule)                                                                            \
    METHOD(I, Integer, CreateModule, IBDSCreator* Creator, IBDSModule** Module)                                \
    METHOD(I, void, GetNewModuleAndClassName, const WCHAR* Prefix, BSTR* UnitIdent, BSTR* ClassName,           \
           BSTR* FileName)                                                                                     \
    METHOD(I, Integer, FindModule, const WCHAR* FileName, IBDSModule** Module)                                 \
    METHOD(I, Integer, FindFormModule, const WCHAR* FormName, IBDSModule** Module)                             \
    METHOD(I, Integer, GetModule, Integer Index, IBDSModule** Module)                                          \
    METHOD0(I, LongBool, SaveAll)                                                                              \
    METHOD0(I, LongBool, CloseAll)                                                                             \
    METHOD(I, Integer, AddFileSystem, IBDSFileSystem* FileSystem)                                              \
    METHOD(I, Integer, FindFileSystem, const WCHAR* Name, IBDSFileSystem** FileSystem)                         \
    METHOD(I, void, RemoveFileSystem, Integer Index)

#define KORVEL_IBDSEditorServices80_METHODS(I, METHOD, METHOD0)          \
    METHOD(I, Integer, AddNotifier, IBDSEditServicesNotifier* Notifier)  \
    METHOD(I, void, RemoveNotifier, Integer Index)

#define KORVEL_IBDSModule_METHODS(I, METHOD, METHOD0)                        \
    METHOD0(I, BSTR, GetFileName)                                            \
    METHOD(I, void, SetFileName, BSTR FileName)                              \
    METHOD0(I, BSTR, GetFileSystem)                                          \
    METHOD(I, void, SetFileSystem, BSTR FileSystem)                          \
    METHOD0(I, LongBool, HasCoClasses)                                       \
    METHOD0(I, Integer, GetModuleFileCount)                                  \
    METHOD(I, void, GetModuleFileEditor, Integer Index, IBDSEditor** Editor) \
    METHOD0(I, Integer, GetOwnerCount)                                       \
    METHOD(I, void, GetOwner, Integer Index, IBDSProject** Project)          \
    METHOD0(I, void, AddToInterface)                                         \
    METHOD(I, Integer, AddNotifier, IBDSModuleNotifier* Notifier)            \
    METHOD(I, void, RemoveNotifier, Integer Index)                           \
    METHOD(I, LongBool, Save, LongBool ChangeName, LongBool ForceSave)       \
    METHOD0(I, LongBool, Close)                                              \
    METHOD(I, LongBool, CloseModule, LongBool ForceClosed)                   \
    METHOD(I, void, GetCurrentEditor, IBDSEditor** Editor)                   \
    METHOD0(I, Integer, GetOwnerModuleCount)                                 \
    METHOD(I, void, GetOwnerModule, Integer Index, IBDSModule** Module)      \
    METHOD0(I, void, MarkModified)                                           \
    METHOD0(I, void, Show)                                                   \
    METHOD(I, void, ShowFilename, const WCHAR* FileName)

/* After Dismiss an editor answers GetModule, and RemoveNotifier still removes a notifier from
   the editor while its module has it; the rest do nothing. */
#define KORVEL_IBDSEditor_METHODS(I, METHOD, METHOD0)          \
    METHOD0(I, void, Dismiss)                                  \
    METHOD0(I, BSTR, GetFileName)                              \
    METHOD0(I, LongBool, GetModified)                          \
    METHOD(I, Integer, GetModule, IBDSModule** Module)         \
    METHOD0(I, LongBool, MarkModified)                         \
    METHOD0(I, void, Show)                                     \
    METHOD(I, Integer, AddNotifier, IBDSNotifier* Notifier)    \
    METHOD(I, void, RemoveNotifier, Integer Index)

/* A package answering false to AfterSave or BeforeSave stops the operation in the IDE. */
#define KORVEL_IBDSNotifier_METHODS(I, METHOD, METHOD0) \
    METHOD0(I, LongBool, AfterSave)                     \
    METHOD0(I, LongBool, BeforeSave)                    \
    METHOD0(I, void, Destroyed)                         \
    METHOD0(I, void, Modified)

#define KORVEL_IBDSModuleNotifier_METHODS(I, METHOD, METHOD0) \
    METHOD0(I, LongBool, CheckOverwrite)                      \
    METHOD(I, void, ModuleRenamed, BSTR NewName)

#define KORVEL_IBDSModuleNotifier80_METHODS(I, METHOD, METHOD0)       \
    METHOD0(I, LongBool, AllowSave)                                   \
    METHOD0(I, Integer, GetOverwriteFileNameCount)                    \
    METHOD(I, const WCHAR*, GetOverwriteFileName, Integer Index)      \
    METHOD(I, void, SetSaveFileName, BSTR FileName)

#define KORVEL_IBDSModuleNotifier90_METHODS(I, METHOD, METHOD0)           \
    METHOD(I, void, BeforeRename, BSTR OldFileName, BSTR NewFileName)     \
    METHOD(I, void, AfterRename, BSTR OldFileName, BSTR NewFileName)

/* Operation: 0 a view was inserted, 1 removed. */
#define KORVEL_IBDSEditorNotifier_METHODS(I, METHOD, METHOD0)          \
    METHOD(I, void, ViewNotification, IBDSEditView* View, Integer Operation) \
    METHOD(I, void, ViewActivated, IBDSEditView* View)

/* WindowNotification's Operation: 0 a window was inserted, 1 removed. WindowCommand's Handled
   points at a one-byte flag that starts as the IDE's; setting it to non-zero keeps the
   command from the IDE. */
#define KORVEL_IBDSEditServicesNotifier_METHODS(I, METHOD, METHOD0)                                           \
    METHOD0(I, LongBool, AfterSave)                                                                           \
    METHOD0(I, LongBool, BeforeSave)                                                                          \
    METHOD0(I, void, Destroyed)                                                                               \
    METHOD0(I, void, Modified)                                                                                \
    METHOD(I, void, WindowShow, IBDSEditWindow* EditWindow, Boolean Show, Boolean LoadedFromDesktop)         \
    METHOD(I, void, WindowNotification, IBDSEditWindow* EditWindow, Integer Operation)                       \
    METHOD(I, void, WindowActivated, IBDSEditWindow* EditWindow)                                             \
    METHOD(I, void, WindowCommand, IBDSEditWindow* EditWindow, Integer Command, Integer Param, Boolean* Handled) \
    METHOD(I, void, EditorViewActivated, IBDSEditWindow* EditWindow, IBDSEditView* EditView)                 \
    METHOD(I, void, EditorViewModified, IBDSEditWindow* EditWindow, IBDSEditView* EditView)                  \
    METHOD(I, void, DockFormVisibleChanged, IBDSEditWindow* EditWindow, IDockForm* DockForm)                 \
    METHOD(I, void, DockFormUpdated, IBDSEditWindow* EditWindow, IDockForm* DockForm)                        \
    METHOD(I, void, DockFormRefresh, IBDSEditWindow* EditWindow, IDockForm* DockForm)

/* Age: the bits of an OLE date (a double, days since 30 December 1899) in the integer. */
#define KORVEL_IBDSFile_METHODS(I, METHOD, METHOD0) \
    METHOD0(I, const WCHAR*, GetSource)             \
    METHOD0(I, Int64, GetAge)

#define KORVEL_IBDSFileSystem_METHODS(I, METHOD, METHOD0)                       \
    METHOD0(I, const WCHAR*, GetIDString)                                       \
    METHOD(I, void, GetFilter, IBDSFileFilter** Filter)                         \
    METHOD0(I, Boolean, IsFileBased)                                            \
    METHOD(I, void, GetFileStream, BSTR FileName, Integer Mode, IStream** Stream) \
    METHOD(I, Integer, FileAge, BSTR FileName)                                  \
    METHOD(I, Boolean, RenameFile, BSTR OldName, BSTR NewName)                  \
    METHOD(I, Boolean, IsReadonly, BSTR FileName)                               \
    METHOD(I, Boolean, DeleteFile, BSTR FileName)                               \
    METHOD(I, Boolean, FileExists, BSTR FileName)                               \
    METHOD(I, const WCHAR*, GetTempFileName, BSTR FileName)                     \
    METHOD(I, const WCHAR*, GetBackupFileName, BSTR FileName)

#define KORVEL_IBDSFileFilter_METHODS(I, METHOD, METHOD0)                        \
    METHOD0(I, const WCHAR*, GetDisplayName)                                     \
    METHOD0(I, const WCHAR*, GetIDString)                                        \
    METHOD(I, void, GetStream, BSTR FileName, IStream* Stream, IStream** Result) \
    METHOD(I, Boolean, HandlesStream, BSTR FileName, IStream* Stream)

#define KORVEL_IBDSCreator_METHODS(I, METHOD, METHOD0) \
    METHOD0(I, const WCHAR*, GetCreatorType)           \
    METHOD0(I, LongBool, GetExisting)                  \
    METHOD0(I, const WCHAR*, GetFileSystem)            \
    METHOD0(I, LongBool, GetUnnamed)                   \
    METHOD(I, Integer, GetOwner, IBDSModule** Owner)

/* IBDSCreator's five methods in the same slots, then its own; its base is still IUnknown. */
#define KORVEL_IBDSModuleCreator_METHODS(I, METHOD, METHOD0)                                                  \
    KORVEL_IBDSCreator_METHODS(I, METHOD, METHOD0)                                                            \
    METHOD0(I, const WCHAR*, GetAncestorName)                                                                 \
    METHOD0(I, const WCHAR*, GetImplFileName)                                                                 \
    METHOD0(I, const WCHAR*, GetIntfFileName)                                                                 \
    METHOD0(I, const WCHAR*, GetFormName)                                                                     \
    METHOD0(I, LongBool, GetMainForm)                                                                         \
    METHOD0(I, LongBool, GetShowForm)                                                                         \
    METHOD0(I, LongBool, GetShowSource)                                                                       \
    METHOD(I, Integer, NewFormFile, BSTR FormIdent, BSTR AncestorIdent, IBDSFile** File)                      \
    METHOD(I, Integer, NewImplSource, BSTR ModuleIdent, BSTR FormIdent, BSTR AncestorIdent, IBDSFile** File)  \
    METHOD(I, Integer, NewIntfSource, BSTR ModuleIdent, BSTR FormIdent, BSTR AncestorIdent, IBDSFile** File)  \
    METHOD(I, void, FormCreated, IBDSFormEditor* FormEditor)

KORVEL_TOOLS_PARAMETER_INTERFACES(KORVEL_DECLARE_INTERFACE)
KORVEL_TOOLS_INTERFACES(KORVEL_DECLARE_INTERFACE)
