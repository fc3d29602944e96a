/* The calling contract between KorvelLoader150 and its packages: twenty COM interfaces, the window hand-over interface and
   the PackageInfo record, for C and C++.

   Every interface derives directly from IUnknown; slot order, parameter order and types are
   the wire format. Every method returns an HRESULT; a produced value travels through the
   trailing pointer parameter. WordBool is 16 bits: 0 false, -1 true; any non-zero is read as
   true. BSTR "in" arguments are borrowed; "out" BSTRs and interfaces belong to the caller.

   In C++ each interface is an abstract struct deriving from its base. In C it is a struct
   whose first member, lpVtbl, points at a table of function pointers that starts with the
   three IUnknown slots; call through it as KORVEL_CALL(object, Method, arguments...), or
   object->lpVtbl->Method(object, arguments...).

   Each interface is written once, as a list of its methods (KORVEL_<name>_METHODS below),
   and one line of KORVEL_INTERFACES gives its GUID and base. Both forms are expanded from
   those two places, so the C and C++ declarations cannot disagree. To add an interface:
   write its method list, add its line to KORVEL_INTERFACES. A method is
   METHOD(I, ResultType, Name, parameters...) or, without parameters,
   METHOD0(I, ResultType, Name).

   Who frees what: a BSTR the package passes in stays the package's; a BSTR the loader hands out
   (Get_Caption, Get_Name, get_BdsEdition, ...) is the package's to free with SysFreeString;
   an interface handed out carries a reference the package releases. PackageInfo.Name is the
   loader's and is never freed. Bitmaps: see the note before the menu bar service.

   The helpers of korvel/Shortcut.h, korvel/Bitmap.h, korvel/PackageWindow.h and
   korvel/Sinks.h (C++) take care of the encodings, the bitmap hand-over, hosted windows and
   sinks whose methods do nothing. */
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "korvel/Win32.h"

typedef int16_t WordBool;
typedef int32_t Integer;
typedef int32_t LongBool;
typedef uint8_t Boolean;

/* Name, base, GUID. The base is IUnknown or an interface listed before. */
#define KORVEL_INTERFACES(X)                                                                                        \
    X(IBdsToolBarControlEvents, IUnknown, 0xFFF45488, 0x2117, 0x4933, 0xBE, 0x66, 0x66, 0xCE, 0x5C, 0x4B, 0xC7, 0xFF) \
    X(IBdsWindowEvents, IUnknown, 0x3E187226, 0x54E3, 0x47CE, 0xA0, 0x85, 0x09, 0xDD, 0x43, 0x74, 0x4F, 0x1A)         \
    X(IBdsMenuBarService, IUnknown, 0xE8CCAFB7, 0x156E, 0x4D11, 0xA7, 0x1B, 0x81, 0x4C, 0x9F, 0x82, 0x94, 0x7A)       \
    X(IBdsMenuItem, IUnknown, 0xDBC8B252, 0x9572, 0x49B1, 0x8D, 0xCB, 0x45, 0x6C, 0xFC, 0x3C, 0x1D, 0xCD)             \
    X(IBdsToolBarService, IUnknown, 0x904F1EFE, 0xD8D6, 0x4C1C, 0xB9, 0x0F, 0xEA, 0xF4, 0x1E, 0xC6, 0x71, 0x33)       \
    X(IBdsToolBar, IUnknown, 0xC9758D40, 0x3B10, 0x4338, 0x9B, 0x52, 0x78, 0x22, 0xFF, 0x35, 0x35, 0x77)              \
    X(IBdsToolBarControl, IUnknown, 0xB4F06B0E, 0x2707, 0x4B91, 0x9C, 0xC9, 0xC1, 0xAF, 0x8C, 0xEA, 0x12, 0xCF)       \
    X(IBdsToolBarButton, IUnknown, 0xECC87463, 0xA2BE, 0x4D60, 0xB7, 0x47, 0xC8, 0x3B, 0xCE, 0x98, 0x61, 0x6B)        \
    X(IBdsToolBarComboBox, IUnknown, 0x5DAE9182, 0x47EB, 0x486E, 0x99, 0xE1, 0xF2, 0x7E, 0x7F, 0x78, 0x00, 0x11)      \
    X(IBdsToolBarPopUp, IUnknown, 0xC548B814, 0x4A38, 0x4792, 0x8E, 0xCB, 0x64, 0x43, 0x04, 0xF6, 0xF6, 0x3C)         \
    X(IBdsDockableWindow, IUnknown, 0xA0106024, 0xDA57, 0x4041, 0xA2, 0x7B, 0x0A, 0xEC, 0x4E, 0x54, 0x40, 0xD9)       \
    X(IBdsDocumentWindow, IUnknown, 0x1AF2ED26, 0x43BF, 0x4363, 0xA7, 0xF1, 0x7F, 0xC0, 0x35, 0x82, 0x71, 0xB2)       \
    X(IBdsWindowsService, IUnknown, 0xBC7160DF, 0x95FA, 0x4297, 0x84, 0xA2, 0xF0, 0xF4, 0xEF, 0x27, 0xBF, 0x85)       \
    X(IBdsHelpService, IUnknown, 0x6385956D, 0x6E2B, 0x44AA, 0x81, 0x95, 0x4A, 0x36, 0x04, 0x94, 0xC9, 0x70)          \
    X(IDragDropHelper, IUnknown, 0x538A9DED, 0xE13F, 0x4971, 0x8C, 0x37, 0xCB, 0x3E, 0xDA, 0x31, 0x27, 0x0B)          \
    X(IBdsServices, IUnknown, 0xAB49F930, 0xBA93, 0x49F9, 0xB8, 0x6C, 0xAF, 0x9D, 0x7A, 0xB4, 0xA8, 0xE2)             \
    X(IBdsPackage, IUnknown, 0x7E5999AF, 0x8E58, 0x44A7, 0x97, 0xA8, 0x11, 0x5A, 0xCD, 0x1F, 0x1C, 0x0A)              \
    X(IBdsShellPackage, IUnknown, 0x436A49EE, 0x0938, 0x4653, 0xA4, 0x21, 0x49, 0x4F, 0xDE, 0xD3, 0xD6, 0xE2)         \
    X(IDragDropHelperProvider, IUnknown, 0x630B4751, 0x397C, 0x4A08, 0xAC, 0x52, 0x25, 0x56, 0x04, 0xB8, 0xBA, 0xC4)  \
    X(IMessageHandler, IUnknown, 0x3ACECC0D, 0x0E1D, 0x4933, 0xA1, 0x8E, 0x3F, 0xA3, 0x06, 0xCB, 0x87, 0xC8)        \
    X(IWin32Window, IUnknown, 0x458AB8A2, 0xA1EA, 0x4D7B, 0x8E, 0xBE, 0xDE, 0xE5, 0xD3, 0xD9, 0x44, 0x2C)

/* Forward declarations and the IID_ constants. */
#ifdef __cplusplus
#define KORVEL_FORWARD_INTERFACE(I, ...) struct I;
#else
#define KORVEL_FORWARD_INTERFACE(I, ...) typedef struct I I;
#endif
KORVEL_INTERFACES(KORVEL_FORWARD_INTERFACE)
#define KORVEL_INTERFACE_ID(I, Base, ...) KORVEL_DEFINE_GUID(IID_##I, __VA_ARGS__);
KORVEL_INTERFACES(KORVEL_INTERFACE_ID)

/* Filled by IBdsServices::GetPackageInfo (24 bytes in the 32-bit build). Name belongs to the
   loader and stays valid while it is loaded; Instance carries a reference of its own, which
   the receiver releases. */
typedef struct PackageInfo {
    GUID Id;
    const WCHAR* Name;
    IBdsPackage* Instance;
} PackageInfo;

/* Key combinations come in two encodings (korvel/Shortcut.h builds both):
   - a menu item's shortcut (IBdsMenuItem Get_Shortcut/Set_Shortcut) is 16 bits: the
     virtual-key code in the low byte, plus KORVEL_SHORTCUT_SHIFT, _CTRL and _ALT. Ctrl+Alt+G is
     'G' | 0x4000 | 0x8000. Set_Shortcut fails for a value outside 0..65535 and
     keeps the old one, so IsShortcut's bits do not work there. A shortcut that an IDE command
     has already keeps running the IDE's command;
   - IBdsServices::IsShortcut takes key data: the virtual-key code in the low 16 bits, plus
     KORVEL_KEYS_SHIFT, _CONTROL and _ALT; Ctrl+Shift+G is 'G' | 0x20000 | 0x10000. It answers
     whether an enabled IDE command (not the editor's or the search's) has that key.
   A toolbar control's ShortCut is always 0 and ignores what it is given. */
#define KORVEL_SHORTCUT_SHIFT 0x2000
#define KORVEL_SHORTCUT_CTRL 0x4000
#define KORVEL_SHORTCUT_ALT 0x8000
#define KORVEL_KEYS_SHIFT 0x10000
#define KORVEL_KEYS_CONTROL 0x20000
#define KORVEL_KEYS_ALT 0x40000

#define KORVEL_IUnknown_METHODS(I, METHOD, METHOD0)

#define KORVEL_IBdsToolBarControlEvents_METHODS(I, METHOD, METHOD0) \
    METHOD0(I, HRESULT, OnExecute)                                  \
    METHOD0(I, HRESULT, OnChange)                                   \
    METHOD0(I, HRESULT, OnUpdate)

#define KORVEL_IBdsWindowEvents_METHODS(I, METHOD, METHOD0) \
    METHOD0(I, HRESULT, OnClose)                            \
    METHOD0(I, HRESULT, OnActivate)                         \
    METHOD(I, HRESULT, RequestIcon, Integer* pRetVal)

/* Bitmaps for images arrive as an HBITMAP in an Integer. AddMenuItem, InsertMenuItem,
   IBdsToolBarButton::SetImage, IBdsDockableWindow::SetIcon and an icon answered from
   IBdsWindowEvents::RequestIcon take the handle over: the loader copies the picture (magenta
   0xFF00FF is transparent) and deletes the handle, so the package must not use or delete it
   after such a call succeeded. AddMenuItem and InsertMenuItem for a name that is there already
   change nothing and take no picture. AddSplashInfo and AddAboutBoxInfo only borrow theirs.
   Menu items are named by their full name: component names from the main menu down, joined by
   a backslash ("ToolsMenu\ToolsOptionsItem"); AddMenuItem's ItemLocation is 0 before the
   reference item, 1 after it, 2 as its last child. */
#define KORVEL_IBdsMenuBarService_METHODS(I, METHOD, METHOD0)                                                   \
    METHOD(I, HRESULT, RemoveMenuItem, BSTR FullName)                                                           \
    METHOD(I, HRESULT, GetMenuItem, BSTR FullName, IBdsMenuItem** pRetVal)                                      \
    METHOD(I, HRESULT, AddMenuItem, BSTR ReferenceItemFullName, Integer ItemLocation, BSTR NewName, BSTR NewText, \
           Integer bitmapHandle, IBdsMenuItem** pRetVal)                                                        \
    METHOD(I, HRESULT, InsertMenuItem, BSTR parentItemFullName, Integer index, BSTR newName, BSTR newText,      \
           Integer bitmapHandle, IBdsMenuItem** pRetVal)                                                        \
    METHOD(I, HRESULT, GetFirstMenuItem, IBdsMenuItem** pRetVal)

#define KORVEL_IBdsMenuItem_METHODS(I, METHOD, METHOD0)                           \
    METHOD(I, HRESULT, Get_BeginGroup, WordBool* pRetVal)                         \
    METHOD(I, HRESULT, Set_BeginGroup, WordBool pRetVal)                          \
    METHOD(I, HRESULT, Get_Caption, BSTR* pRetVal)                                \
    METHOD(I, HRESULT, Set_Caption, BSTR pRetVal)                                 \
    METHOD(I, HRESULT, Get_Checked, WordBool* pRetVal)                            \
    METHOD(I, HRESULT, Set_Checked, WordBool pRetVal)                             \
    METHOD(I, HRESULT, Get_ChildCount, Integer* pRetVal)                          \
    METHOD(I, HRESULT, Get_Enabled, WordBool* pRetVal)                            \
    METHOD(I, HRESULT, Set_Enabled, WordBool pRetVal)                             \
    METHOD(I, HRESULT, Get_Name, BSTR* pRetVal)                                   \
    METHOD(I, HRESULT, Get_NextMenuItem, IBdsMenuItem** pRetVal)                  \
    METHOD(I, HRESULT, Get_ParentMenuItem, IBdsMenuItem** pRetVal)                \
    METHOD(I, HRESULT, Get_PrevMenuItem, IBdsMenuItem** pRetVal)                  \
    METHOD(I, HRESULT, Get_Shortcut, Integer* pRetVal)                            \
    METHOD(I, HRESULT, Set_Shortcut, Integer pRetVal)                             \
    METHOD(I, HRESULT, Get_Visible, WordBool* pRetVal)                            \
    METHOD(I, HRESULT, Set_Visible, WordBool pRetVal)                             \
    METHOD(I, HRESULT, RegisterEvents, IBdsToolBarControlEvents* BdsToolBarControlEvents) \
    METHOD(I, HRESULT, ChildMenuItem, Integer index, IBdsMenuItem** pRetVal)      \
    METHOD0(I, HRESULT, InvokeAction)

#define KORVEL_IBdsToolBarService_METHODS(I, METHOD, METHOD0)             \
    METHOD(I, HRESULT, FindToolBar, BSTR Name, IBdsToolBar** pRetVal)     \
    METHOD(I, HRESULT, AddToolBar, BSTR Name, BSTR Title, IBdsToolBar** pRetVal) \
    METHOD(I, HRESULT, RemoveToolBar, IBdsToolBar* bdsToolBar)            \
    METHOD0(I, HRESULT, Clear)

#define KORVEL_IBdsToolBar_METHODS(I, METHOD, METHOD0)                           \
    METHOD(I, HRESULT, Get_name, BSTR* pRetVal)                                  \
    METHOD(I, HRESULT, Set_name, BSTR pRetVal)                                   \
    METHOD(I, HRESULT, Get_Caption, BSTR* pRetVal)                               \
    METHOD(I, HRESULT, Set_Caption, BSTR pRetVal)                                \
    METHOD(I, HRESULT, Get_Visible, WordBool* pRetVal)                           \
    METHOD(I, HRESULT, Set_Visible, WordBool pRetVal)                            \
    METHOD(I, HRESULT, Get_Left, Integer* pRetVal)                               \
    METHOD(I, HRESULT, Set_Left, Integer pRetVal)                                \
    METHOD(I, HRESULT, Get_Top, Integer* pRetVal)                                \
    METHOD(I, HRESULT, Set_Top, Integer pRetVal)                                 \
    METHOD(I, HRESULT, Get_Width, Integer* pRetVal)                              \
    METHOD(I, HRESULT, Get_Height, Integer* pRetVal)                             \
    METHOD(I, HRESULT, Get_Floating, WordBool* pRetVal)                          \
    METHOD(I, HRESULT, Set_Floating, WordBool pRetVal)                           \
    METHOD(I, HRESULT, Get_ControlCount, Integer* pRetVal)                       \
    METHOD0(I, HRESULT, AddSeparator)                                            \
    METHOD(I, HRESULT, AddControl, Integer Type_, IBdsToolBarControl** pRetVal)  \
    METHOD(I, HRESULT, RemoveControl, IBdsToolBarControl* bdsToolBarControl)     \
    METHOD0(I, HRESULT, Clear)

#define KORVEL_IBdsToolBarControl_METHODS(I, METHOD, METHOD0) \
    METHOD(I, HRESULT, Get_Caption, BSTR* pRetVal)            \
    METHOD(I, HRESULT, Set_Caption, BSTR pRetVal)             \
    METHOD(I, HRESULT, Get_Enabled, WordBool* pRetVal)        \
    METHOD(I, HRESULT, Set_Enabled, WordBool pRetVal)         \
    METHOD(I, HRESULT, Get_Visible, WordBool* pRetVal)        \
    METHOD(I, HRESULT, Set_Visible, WordBool pRetVal)         \
    METHOD(I, HRESULT, Get_name, BSTR* pRetVal)               \
    METHOD(I, HRESULT, Set_name, BSTR pRetVal)                \
    METHOD(I, HRESULT, Get_ToolTip, BSTR* pRetVal)            \
    METHOD(I, HRESULT, Set_ToolTip, BSTR pRetVal)             \
    METHOD(I, HRESULT, Get_ShortCut, Integer* pRetVal)        \
    METHOD(I, HRESULT, Set_ShortCut, Integer pRetVal)         \
    METHOD(I, HRESULT, RegisterEvents, IBdsToolBarControlEvents* bdsToolBarControlEvents)

#define KORVEL_IBdsToolBarButton_METHODS(I, METHOD, METHOD0) \
    METHOD(I, HRESULT, Get_Down, WordBool* pRetVal)          \
    METHOD(I, HRESULT, Set_Down, WordBool pRetVal)           \
    METHOD(I, HRESULT, SetImage, Integer imageHandle)

#define KORVEL_IBdsToolBarComboBox_METHODS(I, METHOD, METHOD0)  \
    METHOD(I, HRESULT, Get_CaptionVisible, WordBool* pRetVal)   \
    METHOD(I, HRESULT, Set_CaptionVisible, WordBool pRetVal)    \
    METHOD(I, HRESULT, Get_Text, BSTR* pRetVal)                 \
    METHOD(I, HRESULT, Set_Text, BSTR pRetVal)                  \
    METHOD(I, HRESULT, Get_Width, Integer* pRetVal)             \
    METHOD(I, HRESULT, Set_Width, Integer pRetVal)              \
    METHOD(I, HRESULT, Get_ItemCount, Integer* pRetVal)         \
    METHOD(I, HRESULT, Get_SelectedItem, Integer* pRetVal)      \
    METHOD(I, HRESULT, Set_SelectedItem, Integer pRetVal)       \
    METHOD(I, HRESULT, GetItem, Integer index, BSTR* pRetVal)   \
    METHOD(I, HRESULT, SetItem, Integer index, BSTR newItem)    \
    METHOD(I, HRESULT, AddItem, BSTR item, Integer* pRetVal)    \
    METHOD(I, HRESULT, RemoveItem, Integer index)               \
    METHOD0(I, HRESULT, ClearItems)

/* A marker: it adds no methods of its own. */
#define KORVEL_IBdsToolBarPopUp_METHODS(I, METHOD, METHOD0)

#define KORVEL_IBdsDockableWindow_METHODS(I, METHOD, METHOD0) \
    METHOD(I, HRESULT, Get_Caption, BSTR* pRetVal)            \
    METHOD(I, HRESULT, Set_Caption, BSTR pRetVal)             \
    METHOD(I, HRESULT, Get_Visible, WordBool* pRetVal)        \
    METHOD(I, HRESULT, Set_Visible, WordBool pRetVal)         \
    METHOD(I, HRESULT, Get_AutoHides, WordBool* pRetVal)      \
    METHOD(I, HRESULT, Set_AutoHides, WordBool pRetVal)       \
    METHOD(I, HRESULT, Get_IsFloating, WordBool* pRetVal)     \
    METHOD(I, HRESULT, Set_IsFloating, WordBool pRetVal)      \
    METHOD(I, HRESULT, Get_IsActive, WordBool* pRetVal)       \
    METHOD(I, HRESULT, RegisterEvents, IBdsWindowEvents* events) \
    METHOD(I, HRESULT, SetIcon, Integer imageHandle)          \
    METHOD(I, HRESULT, HostControl, IUnknown* control)        \
    METHOD0(I, HRESULT, Activate)                             \
    METHOD0(I, HRESULT, Close)

#define KORVEL_IBdsDocumentWindow_METHODS(I, METHOD, METHOD0)    \
    METHOD(I, HRESULT, Get_Visible, WordBool* pRetVal)           \
    METHOD(I, HRESULT, Set_Visible, WordBool pRetVal)            \
    METHOD(I, HRESULT, Get_Modified, WordBool* pRetVal)          \
    METHOD(I, HRESULT, Set_Modified, WordBool pRetVal)           \
    METHOD(I, HRESULT, Get_StayOnTop, WordBool* pRetVal)         \
    METHOD(I, HRESULT, Set_StayOnTop, WordBool pRetVal)          \
    METHOD(I, HRESULT, RegisterEvents, IBdsWindowEvents* events) \
    METHOD(I, HRESULT, HostControl, IUnknown* control)           \
    METHOD0(I, HRESULT, ReHostControl)                           \
    METHOD0(I, HRESULT, Activate)                                \
    METHOD0(I, HRESULT, Close)                                   \
    METHOD0(I, HRESULT, DoResize)

/* A document window shows a package window over the IDE's editor, in place of the editor of an
   open module: moduleID is that module's file name (and moduleIndex picks among modules of the
   same name), editorIndex is what DocumentFrameOnTop answered. Without an open module of that
   file the window is made but never gets a tab of its own; open the file first.
   DocumentFrameOnTop lays the loader's frame over the top edit window's editor and answers its
   editor index (-1 when there is no editor); DocumentFrameNormal(index) puts that frame back
   under the editor. Call them in pairs: a second DocumentFrameOnTop without DocumentFrameNormal
   in between makes a second frame for the same edit window. */
#define KORVEL_IBdsWindowsService_METHODS(I, METHOD, METHOD0)                                   \
    METHOD(I, HRESULT, CreateDockableWindow, BSTR windowName, IBdsDockableWindow** pRetVal)     \
    METHOD(I, HRESULT, CreateDocumentWindow, BSTR moduleID, Integer moduleIndex, Integer editorIndex, \
           IBdsDocumentWindow** pRetVal)                                                        \
    METHOD(I, HRESULT, GetStandardWindow, BSTR windowType, IBdsDockableWindow** pRetVal)        \
    METHOD(I, HRESULT, DocumentFrameOnTop, Integer* pRetVal)                                    \
    METHOD(I, HRESULT, DocumentFrameNormal, Integer editorIndex)

#define KORVEL_IBdsHelpService_METHODS(I, METHOD, METHOD0) \
    METHOD(I, HRESULT, ShowHelpByKeyword, BSTR keyword)    \
    METHOD(I, HRESULT, ShowHelpByURL, BSTR URL)

#define KORVEL_IDragDropHelper_METHODS(I, METHOD, METHOD0) \
    METHOD0(I, HRESULT, WaitForInfo)                       \
    METHOD(I, HRESULT, Get_DropX, Integer* pRetVal)        \
    METHOD(I, HRESULT, Get_DropY, Integer* pRetVal)        \
    METHOD(I, HRESULT, Get_ClientLeft, Integer* pRetVal)   \
    METHOD(I, HRESULT, Get_ClientTop, Integer* pRetVal)    \
    METHOD(I, HRESULT, Get_ClientRight, Integer* pRetVal)  \
    METHOD(I, HRESULT, Get_ClientBottom, Integer* pRetVal)

#define KORVEL_IBdsServices_METHODS(I, METHOD, METHOD0)                                                        \
    METHOD(I, HRESULT, get_BdsVersionMajor, Integer* version)                                                  \
    METHOD(I, HRESULT, get_BdsVersionMinor, Integer* version)                                                  \
    METHOD(I, HRESULT, get_BdsEdition, BSTR* edition)                                                          \
    METHOD(I, HRESULT, get_IsPersonalityEdition, WordBool* personality)                                        \
    METHOD(I, HRESULT, Get_BdsWindowsService, IBdsWindowsService** pRetVal)                                    \
    METHOD(I, HRESULT, Get_BdsToolBarService, IBdsToolBarService** pRetVal)                                    \
    METHOD(I, HRESULT, Get_BdsHelpService, IBdsHelpService** pRetVal)                                          \
    METHOD(I, HRESULT, Get_BdsMenuBarService, IBdsMenuBarService** pRetVal)                                    \
    METHOD(I, HRESULT, Get_IsComponentRegistered, BSTR ComponentName, WordBool* pRetVal)                       \
    METHOD(I, HRESULT, GetService, const GUID* Service, IUnknown** pRetVal)                                    \
    METHOD(I, HRESULT, IsShortcut, Integer keyData, WordBool* pResult)                                         \
    METHOD(I, HRESULT, AddSplashInfo, HBITMAP ABitmap, BSTR ACaption, BSTR ALicenseStatus,                     \
           WordBool AIsUnRegistered, BSTR ASKUName)                                                            \
    METHOD(I, HRESULT, AddAboutBoxInfo, HBITMAP AAboutImage, HBITMAP AProductImage, BSTR ADialogTitle,         \
           BSTR ACopyright, BSTR ATitle, BSTR ADescription, BSTR ALicenseStatus, WordBool AIsUnRegistered,     \
           BSTR ASKUName)                                                                                      \
    METHOD(I, HRESULT, AddMessageHandler, IMessageHandler* AHandler)                                           \
    METHOD(I, HRESULT, AddDragDropHelper, IDragDropHelperProvider* ADragDropHelper)                            \
    METHOD0(I, HRESULT, OnDotNetServicesInitialized)                                                           \
    METHOD(I, HRESULT, get_PackagesCount, Integer* count)                                                      \
    METHOD(I, HRESULT, GetPackageInfo, Integer index, PackageInfo* pRetVal)

#define KORVEL_IBdsPackage_METHODS(I, METHOD, METHOD0) \
    METHOD(I, HRESULT, SetSite, IBdsServices* site)    \
    METHOD0(I, HRESULT, Initialize)                    \
    METHOD0(I, HRESULT, Terminate)

#define KORVEL_IBdsShellPackage_METHODS(I, METHOD, METHOD0) METHOD0(I, HRESULT, OnDocumentDeactivated)

#define KORVEL_IDragDropHelperProvider_METHODS(I, METHOD, METHOD0) \
    METHOD(I, HRESULT, GetDragDropHelper, BSTR ClassName, IUnknown** Helper)

#define KORVEL_IMessageHandler_METHODS(I, METHOD, METHOD0) \
    METHOD(I, HRESULT, HandleMessage, MSG* Msg, WordBool* CallDefaultHandler, WordBool* Handled)

/* A window of the package's own, handed over to be hosted: the identifier under which .NET
   exposes its Windows Forms IWin32Window to COM, so a .NET control passed through COM interop
   offers it. The handle is asked afresh whenever it is needed. */
#define KORVEL_IWin32Window_METHODS(I, METHOD, METHOD0) \
    METHOD(I, HRESULT, get_Handle, HWND* pRetVal)

/* The two forms, expanded from the lists above. */
#ifdef __cplusplus
#define KORVEL_CXX_METHOD(I, Result, Name, ...) virtual Result STDMETHODCALLTYPE Name(__VA_ARGS__) = 0;
#define KORVEL_CXX_METHOD0(I, Result, Name) virtual Result STDMETHODCALLTYPE Name() = 0;
#define KORVEL_DECLARE_INTERFACE(I, Base, ...)                            \
    struct I : Base {                                                      \
        KORVEL_##I##_METHODS(I, KORVEL_CXX_METHOD, KORVEL_CXX_METHOD0)     \
    };
#else
#define KORVEL_C_METHOD(I, Result, Name, ...) Result(STDMETHODCALLTYPE* Name)(I * This, __VA_ARGS__);
#define KORVEL_C_METHOD0(I, Result, Name) Result(STDMETHODCALLTYPE* Name)(I * This);
#define KORVEL_DECLARE_INTERFACE(I, Base, ...)                                                      \
    typedef struct I##Vtbl {                                                                         \
        HRESULT(STDMETHODCALLTYPE* QueryInterface)(I * This, REFIID riid, void** ppvObject);         \
        ULONG(STDMETHODCALLTYPE* AddRef)(I * This);                                                  \
        ULONG(STDMETHODCALLTYPE* Release)(I * This);                                                 \
        KORVEL_##Base##_METHODS(I, KORVEL_C_METHOD, KORVEL_C_METHOD0)                                \
        KORVEL_##I##_METHODS(I, KORVEL_C_METHOD, KORVEL_C_METHOD0)                                   \
    } I##Vtbl;                                                                                       \
    struct I {                                                                                       \
        const struct I##Vtbl* lpVtbl;                                                                \
    };

/* KORVEL_CALL(object, Method, arguments...): object->lpVtbl->Method(object, arguments...). */
#define KORVEL_CALL(...) KORVEL_CALL_PICK(__VA_ARGS__, KORVEL_CALL_N, KORVEL_CALL_N, KORVEL_CALL_N, KORVEL_CALL_N, \
                                          KORVEL_CALL_N, KORVEL_CALL_N, KORVEL_CALL_N, KORVEL_CALL_N,          \
                                          KORVEL_CALL_N, KORVEL_CALL_0, unused)(__VA_ARGS__)
#define KORVEL_CALL_PICK(a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, chosen, ...) chosen
#define KORVEL_CALL_0(object, Method) ((object)->lpVtbl->Method(object))
#define KORVEL_CALL_N(object, Method, ...) ((object)->lpVtbl->Method(object, __VA_ARGS__))
#endif
KORVEL_INTERFACES(KORVEL_DECLARE_INTERFACE)

#if defined(_WIN32) && !defined(_WIN64)
#ifdef __cplusplus
static_assert(sizeof(PackageInfo) == 24, "PackageInfo is 24 bytes on the wire");
static_assert(offsetof(PackageInfo, Name) == 16, "PackageInfo.Name at 16");
static_assert(offsetof(PackageInfo, Instance) == 20, "PackageInfo.Instance at 20");
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
_Static_assert(sizeof(PackageInfo) == 24, "PackageInfo is 24 bytes on the wire");
#endif
#endif
