/* A package in plain C that knows the loader only by the wire format: its own vtable
   structs, its own GUIDs, written from the published interface table and not from the SDK
   header. If the system's slot order or identifiers moved, these calls would land on other
   methods and the facts it reports would not hold. Everything it learns goes to the debug
   output as "ContractPackage: <fact>". */
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "korvel/Win32.h"

#ifdef _WIN32
#define CONTRACT_EXPORT
#else
#define CONTRACT_EXPORT __attribute__((visibility("default")))
#endif

typedef int16_t WordBool16;
typedef struct Object Object;
/* Any slot; cast to its own signature to call it. */
typedef void(STDMETHODCALLTYPE* Method)(void);

/* Any interface: a pointer to its table of slots. */
struct Object {
    const Method* slots;
};

static const GUID ContractPackageClass = {0x6A0C3D1E, 0x52B4, 0x4F0E, {0x9D, 0x1C, 0x3E, 0x77, 0x21, 0x5A, 0x90, 0x0B}};
static const GUID UnknownId = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const GUID ClassFactoryId = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const GUID PackageId = {0x7E5999AF, 0x8E58, 0x44A7, {0x97, 0xA8, 0x11, 0x5A, 0xCD, 0x1F, 0x1C, 0x0A}};
static const GUID ServicesId = {0xAB49F930, 0xBA93, 0x49F9, {0xB8, 0x6C, 0xAF, 0x9D, 0x7A, 0xB4, 0xA8, 0xE2}};
static const GUID ControlEventsId = {0xFFF45488, 0x2117, 0x4933, {0xBE, 0x66, 0x66, 0xCE, 0x5C, 0x4B, 0xC7, 0xFF}};
static const GUID MenuItemId = {0xDBC8B252, 0x9572, 0x49B1, {0x8D, 0xCB, 0x45, 0x6C, 0xFC, 0x3C, 0x1D, 0xCD}};
static const GUID ModuleServicesId = {0xF17A7BCD, 0xE07D, 0x11D1, {0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
static const GUID EditorServicesId = {0xF37E8C46, 0x0A02, 0x4FD4, {0x8D, 0x57, 0xE5, 0x5F, 0x9A, 0x57, 0x83, 0xEC}};
static const GUID NotifierId = {0xF17A7BCF, 0xE07D, 0x11D1, {0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
static const GUID ModuleNotifierId = {0xF17A7BCE, 0xE07D, 0x11D1, {0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
static const GUID EditServicesNotifierId = {0xF954AA40, 0x23E7, 0x412C, {0xBD, 0x59, 0xCC, 0x34, 0x28, 0xDE, 0x29, 0x39}};

/* Slots of the interfaces the package calls (0-2 are IUnknown's). */
enum {
    QueryInterfaceSlot = 0, AddRefSlot = 1, ReleaseSlot = 2,
    Services_get_BdsVersionMajor = 3, Services_Get_BdsMenuBarService = 10, Services_OnDotNetServicesInitialized = 18,
    Services_get_PackagesCount = 19, Services_GetPackageInfo = 20,
    MenuBar_RemoveMenuItem = 3, MenuBar_AddMenuItem = 5,
    MenuItem_Get_Caption = 5, MenuItem_Set_Checked = 8, MenuItem_Get_Checked = 7, MenuItem_Get_Name = 12,
    MenuItem_RegisterEvents = 20,
    Services_GetService = 12,
    ModuleServices_ModuleCount = 4, ModuleServices_GetModule = 10,
    Module_GetFileName = 3, Module_GetModuleFileCount = 8, Module_GetModuleFileEditor = 9, Module_GetOwnerCount = 10,
    Module_AddNotifier = 13, Module_RemoveNotifier = 14,
    Editor_GetFileName = 4, Editor_GetModule = 6,
    EditorServices_AddNotifier = 3, EditorServices_RemoveNotifier = 4
};

/* The Tools API's flags are 32 bits; WindowCommand's Handled is one byte. */
typedef int32_t LongBool32;
typedef uint8_t Boolean8;

typedef struct PackageRecord {
    GUID Id;
    const WCHAR* Name;
    Object* Instance;
} PackageRecord;

static long liveObjects;

static void Report(const char* fact) {
    WCHAR line[160];
    const char* prefix = "ContractPackage: ";
    int length = 0;
    while (*prefix && length < 150) line[length++] = (WCHAR)*prefix++;
    while (*fact && length < 159) line[length++] = (WCHAR)*fact++;
    line[length] = 0;
    OutputDebugStringW(line);
}

static void ReportNumber(const char* what, long value) {
    char text[120];
    snprintf(text, sizeof text, "%s %ld", what, value);
    Report(text);
}

static int SameGuid(const GUID* a, const GUID* b) { return memcmp(a, b, sizeof(GUID)) == 0; }

/* Calls slot `slot` of `object` with the given argument types. */
#define CALL(object, slot, Signature, ...) (((Signature)(object)->slots[slot])(object, __VA_ARGS__))
#define CALL0(object, slot) (((HRESULT(STDMETHODCALLTYPE*)(Object*))(object)->slots[slot])(object))
#define CALL0T(object, slot, Signature) (((Signature)(object)->slots[slot])(object))
#define RELEASE(object) (((ULONG(STDMETHODCALLTYPE*)(Object*))(object)->slots[ReleaseSlot])(object))

static BSTR Wide(const char* text) {
    WCHAR buffer[80];
    UINT length = 0;
    while (text[length] && length < 79) { buffer[length] = (WCHAR)text[length]; ++length; }
    return SysAllocStringLen(buffer, length);
}

static int SameText(BSTR text, const char* expected) {
    UINT i = 0;
    if (!text || SysStringLen(text) != strlen(expected)) return 0;
    for (; expected[i]; ++i)
        if (text[i] != (WCHAR)expected[i]) return 0;
    return 1;
}

/* One object with five interfaces: IBdsPackage (the identity), the menu item's events, and
   the Tools API notifiers it registers on a module and on the editor services. */
typedef struct Package {
    Object package;
    Object events;
    Object notifier;             /* IBDSNotifier */
    Object moduleNotifier;       /* IBDSModuleNotifier */
    Object editServicesNotifier; /* IBDSEditServicesNotifier */
    ULONG references;
    Object* site;
    Object* menuBar;
    Object* menuItem; /* the menu keeps the item while this reference lasts */
    HWND window;      /* its own, from Initialize to Terminate */
    Object* module;   /* the first open module and the notifier index it gave, while registered */
    int32_t moduleNotifierIndex;
    Object* editorServices;
    int32_t editServicesNotifierIndex;
} Package;

static HRESULT Answer(Package* self, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = NULL;
    if (IsEqualGUID(iid, &UnknownId) || IsEqualGUID(iid, &PackageId))
        *out = &self->package;
    else if (IsEqualGUID(iid, &ControlEventsId))
        *out = &self->events;
    else if (IsEqualGUID(iid, &NotifierId))
        *out = &self->notifier;
    else if (IsEqualGUID(iid, &ModuleNotifierId))
        *out = &self->moduleNotifier;
    else if (IsEqualGUID(iid, &EditServicesNotifierId))
        *out = &self->editServicesNotifier;
    else
        return E_NOINTERFACE;
    ++self->references;
    return S_OK;
}

static void ReleaseSite(Package* self) {
    if (self->module) RELEASE(self->module);
    if (self->editorServices) RELEASE(self->editorServices);
    self->module = self->editorServices = NULL;
    if (self->menuItem) RELEASE(self->menuItem);
    self->menuItem = NULL;
    if (self->menuBar) RELEASE(self->menuBar);
    if (self->site) RELEASE(self->site);
    self->menuBar = self->site = NULL;
}

static ULONG Drop(Package* self) {
    const ULONG left = --self->references;
    if (left == 0) {
        ReleaseSite(self);
        free(self);
        --liveObjects;
    }
    return left;
}

/* QueryInterface, AddRef and Release of the interface at `member` of a Package, each
   answering for the whole object: member_QueryInterface, member_AddRef, member_Release, and
   member_Owner, the Package behind such an interface pointer. */
#define PACKAGE_INTERFACE(member)                                                                     \
    static Package* member##_Owner(Object* object) {                                                  \
        return (Package*)((char*)object - offsetof(Package, member));                                 \
    }                                                                                                 \
    static HRESULT STDMETHODCALLTYPE member##_QueryInterface(Object* This, REFIID iid, void** out) {    \
        return Answer(member##_Owner(This), iid, out);                                                \
    }                                                                                                 \
    static ULONG STDMETHODCALLTYPE member##_AddRef(Object* This) { return ++member##_Owner(This)->references; } \
    static ULONG STDMETHODCALLTYPE member##_Release(Object* This) { return Drop(member##_Owner(This)); }
#define IUNKNOWN_SLOTS(member) (Method)member##_QueryInterface, (Method)member##_AddRef, (Method)member##_Release

PACKAGE_INTERFACE(package)
PACKAGE_INTERFACE(events)
PACKAGE_INTERFACE(notifier)
PACKAGE_INTERFACE(moduleNotifier)
PACKAGE_INTERFACE(editServicesNotifier)


static HRESULT STDMETHODCALLTYPE SetSite(Object* This, Object* site) {
    Package* self = package_Owner(This);
    Object* services = NULL;
    int32_t major = 0;
    if (!site) return E_POINTER;
    if (FAILED(CALL(site, QueryInterfaceSlot, HRESULT(STDMETHODCALLTYPE*)(Object*, const GUID*, void**), &ServicesId,
                    (void**)&services)))
        return E_NOINTERFACE;
    self->site = services;
    if (SUCCEEDED(CALL(services, Services_get_BdsVersionMajor, HRESULT(STDMETHODCALLTYPE*)(Object*, int32_t*), &major)))
        ReportNumber("IDE version", major);
    return CALL0(services, Services_OnDotNetServicesInitialized);
}

static void ReportPackages(Object* services) {
    int32_t count = 0;
    PackageRecord record;
    memset(&record, 0, sizeof record);
    CALL(services, Services_get_PackagesCount, HRESULT(STDMETHODCALLTYPE*)(Object*, int32_t*), &count);
    ReportNumber("packages", count);
    if (FAILED(CALL(services, Services_GetPackageInfo, HRESULT(STDMETHODCALLTYPE*)(Object*, int32_t, PackageRecord*),
                    0, &record)))
        return;
    if (SameGuid(&record.Id, &ContractPackageClass) && record.Name && record.Name[0] == 'C' && record.Instance)
        Report("first package is this one");
    if (record.Instance) RELEASE(record.Instance);
}

static void AddMenuItem(Package* self) {
    typedef HRESULT(STDMETHODCALLTYPE * AddMenuItemCall)(Object*, BSTR, int32_t, BSTR, BSTR, int32_t, Object**);
    Object* item = NULL;
    Object* sameItem = NULL;
    BSTR reference = Wide("ToolsMenu\\ToolsOptionsItem");
    BSTR name = Wide("ContractItem");
    BSTR caption = Wide("Contract in C");
    BSTR read = NULL;
    WordBool16 checked = 0;
    if (SUCCEEDED(CALL(self->menuBar, MenuBar_AddMenuItem, AddMenuItemCall, reference, 1, name, caption, 0, &item)) &&
        item) {
        if (SUCCEEDED(CALL(item, MenuItem_Get_Caption, HRESULT(STDMETHODCALLTYPE*)(Object*, BSTR*), &read)) &&
            SameText(read, "Contract in C"))
            Report("caption read back");
        SysFreeString(read);
        read = NULL;
        if (SUCCEEDED(CALL(item, MenuItem_Get_Name, HRESULT(STDMETHODCALLTYPE*)(Object*, BSTR*), &read)) &&
            SameText(read, "ContractItem"))
            Report("name read back");
        SysFreeString(read);
        CALL(item, MenuItem_Set_Checked, HRESULT(STDMETHODCALLTYPE*)(Object*, WordBool16), 1);
        CALL(item, MenuItem_Get_Checked, HRESULT(STDMETHODCALLTYPE*)(Object*, WordBool16*), &checked);
        ReportNumber("checked reads", checked);
        if (SUCCEEDED(CALL(item, QueryInterfaceSlot, HRESULT(STDMETHODCALLTYPE*)(Object*, const GUID*, void**),
                           &MenuItemId, (void**)&sameItem))) {
            Report("menu item answers its GUID");
            RELEASE(sameItem);
        }
        CALL(item, MenuItem_RegisterEvents, HRESULT(STDMETHODCALLTYPE*)(Object*, Object*), &self->events);
        self->menuItem = item;
    }
    SysFreeString(reference);
    SysFreeString(name);
    SysFreeString(caption);
}

/* The window functions under their Windows names, from C, in both builds. */
static const WCHAR WindowClassName[] = {'C', 'o', 'n', 't', 'r', 'a', 'c', 't', 'W', 'i', 'n', 'd', 'o', 'w', 0};

static void CreateOwnWindow(Package* self) {
    WNDCLASSW windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.lpszClassName = WindowClassName;
    if (!RegisterClassW(&windowClass)) return;
    self->window = CreateWindowExW(0, WindowClassName, WindowClassName, WS_POPUP, 0, 0, 40, 30, NULL, NULL,
                                   windowClass.hInstance, NULL);
    if (self->window && IsWindow(self->window)) Report("window created");
}

static void DestroyOwnWindow(Package* self) {
    if (!self->window) return;
    if (DestroyWindow(self->window) && !IsWindow(self->window)) Report("window destroyed");
    self->window = NULL;
    UnregisterClassW(WindowClassName, GetModuleHandleW(NULL));
}

/* The Tools API: its methods answer directly, not through a result code. */
typedef int32_t(STDMETHODCALLTYPE* IntegerCall)(Object*);
typedef int32_t(STDMETHODCALLTYPE* IndexedObjectCall)(Object*, int32_t, Object**);
typedef void(STDMETHODCALLTYPE* IndexedOutCall)(Object*, int32_t, Object**);
typedef int32_t(STDMETHODCALLTYPE* ObjectCall)(Object*, Object**);
typedef int32_t(STDMETHODCALLTYPE* RegisterCall)(Object*, Object*);
typedef void(STDMETHODCALLTYPE* UnregisterCall)(Object*, int32_t);
typedef BSTR(STDMETHODCALLTYPE* TextCall)(Object*);

static void ReportText(const char* what, const WCHAR* text) {
    char line[140];
    int length = snprintf(line, sizeof line, "%s ", what);
    if (!text) snprintf(line + length, sizeof line - length, "(nil)");
    while (text && *text && length < (int)sizeof line - 1) line[length++] = (char)*text++;
    if (text) line[length] = 0;
    Report(line);
}

/* A text the system answers is a BSTR of the caller's: reported, then freed. */
static void ReportAnsweredText(const char* what, BSTR text) {
    ReportText(what, text);
    SysFreeString(text);
}

static Object* ServiceOf(Object* site, const GUID* id) {
    Object* service = NULL;
    if (FAILED(CALL(site, Services_GetService, HRESULT(STDMETHODCALLTYPE*)(Object*, const GUID*, Object**), id,
                    &service)))
        return NULL;
    return service;
}

static void VisitEditor(Object* module) {
    Object* editor = NULL;
    Object* owner = NULL;
    Object* ownerAgain = NULL;
    CALL(module, Module_GetModuleFileEditor, IndexedOutCall, 0, &editor);
    if (!editor) return;
    ReportAnsweredText("editor", CALL0T(editor, Editor_GetFileName, TextCall));
    if (CALL(editor, Editor_GetModule, ObjectCall, &owner) == S_OK &&
        CALL(editor, Editor_GetModule, ObjectCall, &ownerAgain) == S_OK && owner && owner == ownerAgain)
        Report("editor answers one module");
    if (owner) RELEASE(owner);
    if (ownerAgain) RELEASE(ownerAgain);
    RELEASE(editor);
}

/* Watches the first open module and the editor windows through its own notifiers. */
static void WatchModules(Package* self) {
    Object* modules = ServiceOf(self->site, &ModuleServicesId);
    Object* module = NULL;
    if (!modules) return;
    ReportNumber("modules", CALL0T(modules, ModuleServices_ModuleCount, IntegerCall));
    if (CALL(modules, ModuleServices_GetModule, IndexedObjectCall, 0, &module) == S_OK && module) {
        ReportAnsweredText("module", CALL0T(module, Module_GetFileName, TextCall));
        ReportNumber("module files", CALL0T(module, Module_GetModuleFileCount, IntegerCall));
        ReportNumber("owners", CALL0T(module, Module_GetOwnerCount, IntegerCall));
        VisitEditor(module);
        self->moduleNotifierIndex = CALL(module, Module_AddNotifier, RegisterCall, &self->moduleNotifier);
        ReportNumber("module notifier", self->moduleNotifierIndex);
        self->module = module;
    }
    RELEASE(modules);
    self->editorServices = ServiceOf(self->site, &EditorServicesId);
    if (self->editorServices) {
        self->editServicesNotifierIndex =
            CALL(self->editorServices, EditorServices_AddNotifier, RegisterCall, &self->editServicesNotifier);
        ReportNumber("editor services notifier", self->editServicesNotifierIndex);
    }
}

static void StopWatching(Package* self) {
    if (self->module) CALL(self->module, Module_RemoveNotifier, UnregisterCall, self->moduleNotifierIndex);
    if (self->editorServices)
        CALL(self->editorServices, EditorServices_RemoveNotifier, UnregisterCall, self->editServicesNotifierIndex);
}

static HRESULT STDMETHODCALLTYPE Initialize(Object* This) {
    Package* self = package_Owner(This);
    if (!self->site) return E_UNEXPECTED;
    ReportPackages(self->site);
    if (SUCCEEDED(CALL(self->site, Services_Get_BdsMenuBarService, HRESULT(STDMETHODCALLTYPE*)(Object*, Object**),
                       &self->menuBar)) &&
        self->menuBar)
        AddMenuItem(self);
    CreateOwnWindow(self);
    WatchModules(self);
    Report("initialized");
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Terminate(Object* This) {
    Package* self = package_Owner(This);
    if (self->menuBar && self->menuItem) {
        /* Removing the item gives up this package's reference to it. */
        BSTR fullName = Wide("ToolsMenu\\ContractItem");
        CALL(self->menuBar, MenuBar_RemoveMenuItem, HRESULT(STDMETHODCALLTYPE*)(Object*, BSTR), fullName);
        SysFreeString(fullName);
        self->menuItem = NULL;
    }
    DestroyOwnWindow(self);
    StopWatching(self);
    ReleaseSite(self);
    Report("terminated");
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE OnExecute(Object* This) {
    Report("clicked");
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE OnNothing(Object* This) { return S_OK; }

static const Method PackageSlots[] = {IUNKNOWN_SLOTS(package), (Method)SetSite, (Method)Initialize,
                                      (Method)Terminate};
static const Method EventsSlots[] = {IUNKNOWN_SLOTS(events), (Method)OnExecute, (Method)OnNothing, (Method)OnNothing};

/* The notifiers: what the IDE tells the package through the system. The window, view and
   form arguments always arrive nil. */
static LongBool32 STDMETHODCALLTYPE NotifierAfterSave(Object* This) {
    Report("module saved");
    return -1;
}
static LongBool32 STDMETHODCALLTYPE NotifierBeforeSave(Object* This) {
    Report("module about to be saved");
    return -1;
}
static void STDMETHODCALLTYPE NotifierDestroyed(Object* This) { Report("module destroyed"); }
static void STDMETHODCALLTYPE NotifyNothing(Object* This) {}

static LongBool32 STDMETHODCALLTYPE CheckOverwrite(Object* This) {
    Report("overwrite allowed");
    return 1; /* any non-zero is true */
}
static void STDMETHODCALLTYPE ModuleRenamed(Object* This, BSTR newName) {
    ReportText("module renamed to", newName);
}

static LongBool32 STDMETHODCALLTYPE EditServicesAgree(Object* This) { return -1; }
/* Each takes its own arguments: with stdcall the called function clears them. */
static void STDMETHODCALLTYPE WindowShow(Object* This, Object* window, Boolean8 show, Boolean8 fromDesktop) {}
static void STDMETHODCALLTYPE WithWindow(Object* This, Object* window) {}
static void STDMETHODCALLTYPE WithWindowAnd(Object* This, Object* window, void* other) {}
static void STDMETHODCALLTYPE WindowCommand(Object* This, Object* window, int32_t command, int32_t param,
                                            Boolean8* handled) {
    char line[80];
    snprintf(line, sizeof line, "window command %d, param %d%s", (int)command, (int)param, window ? "" : ", no window");
    Report(line);
    if (handled) *handled = 1;
}

static const Method NotifierSlots[] = {IUNKNOWN_SLOTS(notifier), (Method)NotifierAfterSave, (Method)NotifierBeforeSave,
                                       (Method)NotifierDestroyed, (Method)NotifyNothing};
static const Method ModuleNotifierSlots[] = {IUNKNOWN_SLOTS(moduleNotifier), (Method)CheckOverwrite,
                                             (Method)ModuleRenamed};
static const Method EditServicesNotifierSlots[] = {
    IUNKNOWN_SLOTS(editServicesNotifier), (Method)EditServicesAgree, (Method)EditServicesAgree,
    (Method)NotifyNothing,                (Method)NotifyNothing,     (Method)WindowShow,
    (Method)WithWindowAnd,                (Method)WithWindow,        (Method)WindowCommand,
    (Method)WithWindowAnd,                (Method)WithWindowAnd,     (Method)WithWindowAnd,
    (Method)WithWindowAnd,                (Method)WithWindowAnd};

/* The class object: static, its references count as the library's. */
static HRESULT STDMETHODCALLTYPE FactoryQueryInterface(Object* This, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = NULL;
    if (!IsEqualGUID(iid, &UnknownId) && !IsEqualGUID(iid, &ClassFactoryId)) return E_NOINTERFACE;
    *out = This;
    ++liveObjects;
    return S_OK;
}
static ULONG STDMETHODCALLTYPE FactoryAddRef(Object* This) { return (ULONG)++liveObjects; }
static ULONG STDMETHODCALLTYPE FactoryRelease(Object* This) { return (ULONG)--liveObjects; }
static HRESULT STDMETHODCALLTYPE CreateInstance(Object* This, IUnknown* outer, REFIID iid, void** out) {
    Package* made;
    HRESULT result;
    if (!out) return E_POINTER;
    *out = NULL;
    if (outer) return CLASS_E_NOAGGREGATION;
    made = (Package*)calloc(1, sizeof(Package));
    if (!made) return E_OUTOFMEMORY;
    made->package.slots = PackageSlots;
    made->events.slots = EventsSlots;
    made->notifier.slots = NotifierSlots;
    made->moduleNotifier.slots = ModuleNotifierSlots;
    made->editServicesNotifier.slots = EditServicesNotifierSlots;
    made->references = 1;
    ++liveObjects;
    result = Answer(made, iid, out);
    Drop(made);
    return result;
}
static HRESULT STDMETHODCALLTYPE LockServer(Object* This, BOOL lock) {
    liveObjects += lock ? 1 : -1;
    return S_OK;
}
static const Method FactorySlots[] = {(Method)FactoryQueryInterface, (Method)FactoryAddRef, (Method)FactoryRelease,
                                      (Method)CreateInstance, (Method)LockServer};
static Object factory = {FactorySlots};

CONTRACT_EXPORT HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = NULL;
    if (!IsEqualGUID(clsid, &ContractPackageClass)) return CLASS_E_CLASSNOTAVAILABLE;
    return FactoryQueryInterface(&factory, iid, out);
}

CONTRACT_EXPORT HRESULT STDMETHODCALLTYPE DllCanUnloadNow(void) { return liveObjects == 0 ? S_OK : S_FALSE; }
