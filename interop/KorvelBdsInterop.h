// The calling contract between KorvelLoader150 and its packages: twenty COM interfaces and
// the PackageInfo record. This header is all a package author needs; it depends on nothing
// but the platform's COM declarations.
//
// Every interface derives directly from IUnknown; slot order, parameter order and types are
// the wire format. Every method returns an HRESULT; a produced value travels through the
// trailing pointer parameter. WordBool is 16 bits: 0 false, -1 true; any non-zero is read as
// true. BSTR "in" arguments are borrowed; "out" BSTRs and interfaces belong to the caller.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#include <objbase.h>
#include <oleauto.h>
#else
#include "platform/win32/Win32.h"
#endif

typedef int16_t WordBool;
typedef int32_t Integer;

struct IBdsToolBarControlEvents;
struct IBdsWindowEvents;
struct IBdsMenuBarService;
struct IBdsMenuItem;
struct IBdsToolBarService;
struct IBdsToolBar;
struct IBdsToolBarControl;
struct IBdsToolBarButton;
struct IBdsToolBarComboBox;
struct IBdsToolBarPopUp;
struct IBdsDockableWindow;
struct IBdsDocumentWindow;
struct IBdsWindowsService;
struct IBdsHelpService;
struct IDragDropHelper;
struct IBdsServices;
struct IBdsPackage;
struct IBdsShellPackage;
struct IDragDropHelperProvider;
struct IMessageHandler;

inline constexpr GUID IID_IBdsToolBarControlEvents = {0xFFF45488, 0x2117, 0x4933, {0xBE, 0x66, 0x66, 0xCE, 0x5C, 0x4B, 0xC7, 0xFF}};
inline constexpr GUID IID_IBdsWindowEvents = {0x3E187226, 0x54E3, 0x47CE, {0xA0, 0x85, 0x09, 0xDD, 0x43, 0x74, 0x4F, 0x1A}};
inline constexpr GUID IID_IBdsMenuBarService = {0xE8CCAFB7, 0x156E, 0x4D11, {0xA7, 0x1B, 0x81, 0x4C, 0x9F, 0x82, 0x94, 0x7A}};
inline constexpr GUID IID_IBdsMenuItem = {0xDBC8B252, 0x9572, 0x49B1, {0x8D, 0xCB, 0x45, 0x6C, 0xFC, 0x3C, 0x1D, 0xCD}};
inline constexpr GUID IID_IBdsToolBarService = {0x904F1EFE, 0xD8D6, 0x4C1C, {0xB9, 0x0F, 0xEA, 0xF4, 0x1E, 0xC6, 0x71, 0x33}};
inline constexpr GUID IID_IBdsToolBar = {0xC9758D40, 0x3B10, 0x4338, {0x9B, 0x52, 0x78, 0x22, 0xFF, 0x35, 0x35, 0x77}};
inline constexpr GUID IID_IBdsToolBarControl = {0xB4F06B0E, 0x2707, 0x4B91, {0x9C, 0xC9, 0xC1, 0xAF, 0x8C, 0xEA, 0x12, 0xCF}};
inline constexpr GUID IID_IBdsToolBarButton = {0xECC87463, 0xA2BE, 0x4D60, {0xB7, 0x47, 0xC8, 0x3B, 0xCE, 0x98, 0x61, 0x6B}};
inline constexpr GUID IID_IBdsToolBarComboBox = {0x5DAE9182, 0x47EB, 0x486E, {0x99, 0xE1, 0xF2, 0x7E, 0x7F, 0x78, 0x00, 0x11}};
inline constexpr GUID IID_IBdsToolBarPopUp = {0xC548B814, 0x4A38, 0x4792, {0x8E, 0xCB, 0x64, 0x43, 0x04, 0xF6, 0xF6, 0x3C}};
inline constexpr GUID IID_IBdsDockableWindow = {0xA0106024, 0xDA57, 0x4041, {0xA2, 0x7B, 0x0A, 0xEC, 0x4E, 0x54, 0x40, 0xD9}};
inline constexpr GUID IID_IBdsDocumentWindow = {0x1AF2ED26, 0x43BF, 0x4363, {0xA7, 0xF1, 0x7F, 0xC0, 0x35, 0x82, 0x71, 0xB2}};
inline constexpr GUID IID_IBdsWindowsService = {0xBC7160DF, 0x95FA, 0x4297, {0x84, 0xA2, 0xF0, 0xF4, 0xEF, 0x27, 0xBF, 0x85}};
inline constexpr GUID IID_IBdsHelpService = {0x6385956D, 0x6E2B, 0x44AA, {0x81, 0x95, 0x4A, 0x36, 0x04, 0x94, 0xC9, 0x70}};
inline constexpr GUID IID_IDragDropHelper = {0x538A9DED, 0xE13F, 0x4971, {0x8C, 0x37, 0xCB, 0x3E, 0xDA, 0x31, 0x27, 0x0B}};
inline constexpr GUID IID_IBdsServices = {0xAB49F930, 0xBA93, 0x49F9, {0xB8, 0x6C, 0xAF, 0x9D, 0x7A, 0xB4, 0xA8, 0xE2}};
inline constexpr GUID IID_IBdsPackage = {0x7E5999AF, 0x8E58, 0x44A7, {0x97, 0xA8, 0x11, 0x5A, 0xCD, 0x1F, 0x1C, 0x0A}};
inline constexpr GUID IID_IBdsShellPackage = {0x436A49EE, 0x0938, 0x4653, {0xA4, 0x21, 0x49, 0x4F, 0xDE, 0xD3, 0xD6, 0xE2}};
inline constexpr GUID IID_IDragDropHelperProvider = {0x630B4751, 0x397C, 0x4A08, {0xAC, 0x52, 0x25, 0x56, 0x04, 0xB8, 0xBA, 0xC4}};
inline constexpr GUID IID_IMessageHandler = {0x3ACECC0D, 0x0E1D, 0x4933, {0xA1, 0x8E, 0x3F, 0xA3, 0x06, 0xCB, 0x87, 0xC8}};

// Filled by IBdsServices::GetPackageInfo. Name belongs to the loader and stays valid while it
// is loaded; Instance carries a reference of its own, which the receiver releases.
struct PackageInfo {
    GUID Id;
    const WCHAR* Name;
    IBdsPackage* Instance;
};
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PackageInfo) == 24, "PackageInfo is 24 bytes on the wire");
static_assert(offsetof(PackageInfo, Id) == 0, "PackageInfo.Id at 0");
static_assert(offsetof(PackageInfo, Name) == 16, "PackageInfo.Name at 16");
static_assert(offsetof(PackageInfo, Instance) == 20, "PackageInfo.Instance at 20");
#endif

#define KORVEL_INTEROP_METHOD virtual HRESULT STDMETHODCALLTYPE

struct IBdsToolBarControlEvents : IUnknown {
    KORVEL_INTEROP_METHOD OnExecute() = 0;
    KORVEL_INTEROP_METHOD OnChange() = 0;
    KORVEL_INTEROP_METHOD OnUpdate() = 0;
};

struct IBdsWindowEvents : IUnknown {
    KORVEL_INTEROP_METHOD OnClose() = 0;
    KORVEL_INTEROP_METHOD OnActivate() = 0;
    KORVEL_INTEROP_METHOD RequestIcon(Integer* pRetVal) = 0;
};

struct IBdsMenuBarService : IUnknown {
    KORVEL_INTEROP_METHOD RemoveMenuItem(BSTR FullName) = 0;
    KORVEL_INTEROP_METHOD GetMenuItem(BSTR FullName, IBdsMenuItem** pRetVal) = 0;
    KORVEL_INTEROP_METHOD AddMenuItem(BSTR ReferenceItemFullName, Integer ItemLocation, BSTR NewName, BSTR NewText,
                                      Integer bitmapHandle, IBdsMenuItem** pRetVal) = 0;
    KORVEL_INTEROP_METHOD InsertMenuItem(BSTR parentItemFullName, Integer index, BSTR newName, BSTR newText,
                                         Integer bitmapHandle, IBdsMenuItem** pRetVal) = 0;
    KORVEL_INTEROP_METHOD GetFirstMenuItem(IBdsMenuItem** pRetVal) = 0;
};

struct IBdsMenuItem : IUnknown {
    KORVEL_INTEROP_METHOD Get_BeginGroup(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_BeginGroup(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Caption(BSTR* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Caption(BSTR pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Checked(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Checked(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_ChildCount(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Enabled(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Enabled(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Name(BSTR* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_NextMenuItem(IBdsMenuItem** pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_ParentMenuItem(IBdsMenuItem** pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_PrevMenuItem(IBdsMenuItem** pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Shortcut(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Shortcut(Integer pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Visible(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Visible(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD RegisterEvents(IBdsToolBarControlEvents* BdsToolBarControlEvents) = 0;
    KORVEL_INTEROP_METHOD ChildMenuItem(Integer index, IBdsMenuItem** pRetVal) = 0;
    KORVEL_INTEROP_METHOD InvokeAction() = 0;
};

struct IBdsToolBarService : IUnknown {
    KORVEL_INTEROP_METHOD FindToolBar(BSTR Name, IBdsToolBar** pRetVal) = 0;
    KORVEL_INTEROP_METHOD AddToolBar(BSTR Name, BSTR Title, IBdsToolBar** pRetVal) = 0;
    KORVEL_INTEROP_METHOD RemoveToolBar(IBdsToolBar* bdsToolBar) = 0;
    KORVEL_INTEROP_METHOD Clear() = 0;
};

struct IBdsToolBar : IUnknown {
    KORVEL_INTEROP_METHOD Get_name(BSTR* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_name(BSTR pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Caption(BSTR* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Caption(BSTR pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Visible(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Visible(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Left(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Left(Integer pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Top(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Top(Integer pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Width(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Height(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Floating(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Floating(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_ControlCount(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD AddSeparator() = 0;
    KORVEL_INTEROP_METHOD AddControl(Integer Type_, IBdsToolBarControl** pRetVal) = 0;
    KORVEL_INTEROP_METHOD RemoveControl(IBdsToolBarControl* bdsToolBarControl) = 0;
    KORVEL_INTEROP_METHOD Clear() = 0;
};

struct IBdsToolBarControl : IUnknown {
    KORVEL_INTEROP_METHOD Get_Caption(BSTR* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Caption(BSTR pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Enabled(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Enabled(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Visible(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Visible(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_name(BSTR* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_name(BSTR pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_ToolTip(BSTR* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_ToolTip(BSTR pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_ShortCut(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_ShortCut(Integer pRetVal) = 0;
    KORVEL_INTEROP_METHOD RegisterEvents(IBdsToolBarControlEvents* bdsToolBarControlEvents) = 0;
};

struct IBdsToolBarButton : IUnknown {
    KORVEL_INTEROP_METHOD Get_Down(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Down(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD SetImage(Integer imageHandle) = 0;
};

struct IBdsToolBarComboBox : IUnknown {
    KORVEL_INTEROP_METHOD Get_CaptionVisible(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_CaptionVisible(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Text(BSTR* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Text(BSTR pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Width(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Width(Integer pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_ItemCount(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_SelectedItem(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_SelectedItem(Integer pRetVal) = 0;
    KORVEL_INTEROP_METHOD GetItem(Integer index, BSTR* pRetVal) = 0;
    KORVEL_INTEROP_METHOD SetItem(Integer index, BSTR newItem) = 0;
    KORVEL_INTEROP_METHOD AddItem(BSTR item, Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD RemoveItem(Integer index) = 0;
    KORVEL_INTEROP_METHOD ClearItems() = 0;
};

// A marker: it adds no methods of its own.
struct IBdsToolBarPopUp : IUnknown {};

struct IBdsDockableWindow : IUnknown {
    KORVEL_INTEROP_METHOD Get_Caption(BSTR* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Caption(BSTR pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Visible(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Visible(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_AutoHides(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_AutoHides(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_IsFloating(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_IsFloating(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_IsActive(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD RegisterEvents(IBdsWindowEvents* events) = 0;
    KORVEL_INTEROP_METHOD SetIcon(Integer imageHandle) = 0;
    KORVEL_INTEROP_METHOD HostControl(IUnknown* control) = 0;
    KORVEL_INTEROP_METHOD Activate() = 0;
    KORVEL_INTEROP_METHOD Close() = 0;
};

struct IBdsDocumentWindow : IUnknown {
    KORVEL_INTEROP_METHOD Get_Visible(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Visible(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_Modified(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_Modified(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_StayOnTop(WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Set_StayOnTop(WordBool pRetVal) = 0;
    KORVEL_INTEROP_METHOD RegisterEvents(IBdsWindowEvents* events) = 0;
    KORVEL_INTEROP_METHOD HostControl(IUnknown* control) = 0;
    KORVEL_INTEROP_METHOD ReHostControl() = 0;
    KORVEL_INTEROP_METHOD Activate() = 0;
    KORVEL_INTEROP_METHOD Close() = 0;
    KORVEL_INTEROP_METHOD DoResize() = 0;
};

struct IBdsWindowsService : IUnknown {
    KORVEL_INTEROP_METHOD CreateDockableWindow(BSTR windowName, IBdsDockableWindow** pRetVal) = 0;
    KORVEL_INTEROP_METHOD CreateDocumentWindow(BSTR moduleID, Integer moduleIndex, Integer editorIndex,
                                               IBdsDocumentWindow** pRetVal) = 0;
    KORVEL_INTEROP_METHOD GetStandardWindow(BSTR windowType, IBdsDockableWindow** pRetVal) = 0;
    KORVEL_INTEROP_METHOD DocumentFrameOnTop(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD DocumentFrameNormal(Integer editorIndex) = 0;
};

struct IBdsHelpService : IUnknown {
    KORVEL_INTEROP_METHOD ShowHelpByKeyword(BSTR keyword) = 0;
    KORVEL_INTEROP_METHOD ShowHelpByURL(BSTR URL) = 0;
};

struct IDragDropHelper : IUnknown {
    KORVEL_INTEROP_METHOD WaitForInfo() = 0;
    KORVEL_INTEROP_METHOD Get_DropX(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_DropY(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_ClientLeft(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_ClientTop(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_ClientRight(Integer* pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_ClientBottom(Integer* pRetVal) = 0;
};

struct IBdsServices : IUnknown {
    KORVEL_INTEROP_METHOD get_BdsVersionMajor(Integer* version) = 0;
    KORVEL_INTEROP_METHOD get_BdsVersionMinor(Integer* version) = 0;
    KORVEL_INTEROP_METHOD get_BdsEdition(BSTR* edition) = 0;
    KORVEL_INTEROP_METHOD get_IsPersonalityEdition(WordBool* personality) = 0;
    KORVEL_INTEROP_METHOD Get_BdsWindowsService(IBdsWindowsService** pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_BdsToolBarService(IBdsToolBarService** pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_BdsHelpService(IBdsHelpService** pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_BdsMenuBarService(IBdsMenuBarService** pRetVal) = 0;
    KORVEL_INTEROP_METHOD Get_IsComponentRegistered(BSTR ComponentName, WordBool* pRetVal) = 0;
    KORVEL_INTEROP_METHOD GetService(const GUID* Service, IUnknown** pRetVal) = 0;
    KORVEL_INTEROP_METHOD IsShortcut(Integer keyData, WordBool* pResult) = 0;
    KORVEL_INTEROP_METHOD AddSplashInfo(HBITMAP ABitmap, BSTR ACaption, BSTR ALicenseStatus, WordBool AIsUnRegistered,
                                        BSTR ASKUName) = 0;
    KORVEL_INTEROP_METHOD AddAboutBoxInfo(HBITMAP AAboutImage, HBITMAP AProductImage, BSTR ADialogTitle,
                                          BSTR ACopyright, BSTR ATitle, BSTR ADescription, BSTR ALicenseStatus,
                                          WordBool AIsUnRegistered, BSTR ASKUName) = 0;
    KORVEL_INTEROP_METHOD AddMessageHandler(IMessageHandler* AHandler) = 0;
    KORVEL_INTEROP_METHOD AddDragDropHelper(IDragDropHelperProvider* ADragDropHelper) = 0;
    KORVEL_INTEROP_METHOD OnDotNetServicesInitialized() = 0;
    KORVEL_INTEROP_METHOD get_PackagesCount(Integer* count) = 0;
    KORVEL_INTEROP_METHOD GetPackageInfo(Integer index, PackageInfo* pRetVal) = 0;
};

struct IBdsPackage : IUnknown {
    KORVEL_INTEROP_METHOD SetSite(IBdsServices* site) = 0;
    KORVEL_INTEROP_METHOD Initialize() = 0;
    KORVEL_INTEROP_METHOD Terminate() = 0;
};

struct IBdsShellPackage : IUnknown {
    KORVEL_INTEROP_METHOD OnDocumentDeactivated() = 0;
};

struct IDragDropHelperProvider : IUnknown {
    KORVEL_INTEROP_METHOD GetDragDropHelper(BSTR ClassName, IUnknown** Helper) = 0;
};

struct IMessageHandler : IUnknown {
    KORVEL_INTEROP_METHOD HandleMessage(MSG* Msg, WordBool* CallDefaultHandler, WordBool* Handled) = 0;
};

#undef KORVEL_INTEROP_METHOD
