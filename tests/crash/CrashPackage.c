/* A package library that breaks on purpose, for the fault-containment tests: five classes that
   each fail their own way (an access violation, an integer division by zero, RaiseException
   with a code of their own, a stack overflow, a C++ throw) at the place that the environment
   variable KORVEL_CRASH_PLACE names (create, SetSite, Initialize, menu, toolbar, notifier,
   Terminate, release), and a bystander that does its work undisturbed beside them. Each adds
   a Tools menu item and a button on a toolbar of their own, which show a message box when
   clicked, and, for the notifier place, a notifier on the module open at Initialize. The class
   objects and the registration are the SDK's C helper's. */
#include <stdlib.h>
#include <string.h>

#include "korvel/BdsInterop.h"
#include "korvel/BdsToolsInterop.h"
#include "korvel/PackageServer.h"

typedef enum Fault { NoFault, AccessViolation, DivideByZero, Raised, StackOverflow, CxxThrow } Fault;
typedef enum Place { Nowhere, Create, SetSite, Initialize, Menu, Toolbar, Notifier, Terminate, FinalRelease } Place;

static const char* const placeNames[] = {"",     "create",  "SetSite",  "Initialize", "menu",
                                         "toolbar", "notifier", "Terminate", "release"};

typedef struct CrashClass {
    const char* name;  /* the menu item and button are named Crash<name>Item and Crash<name>Button */
    const char* caption;
    Fault fault;
} CrashClass;

static const CrashClass classes[] = {
    {"AccessViolation", "Crash access violation", AccessViolation},
    {"DivideByZero", "Crash divide by zero", DivideByZero},
    {"Raise", "Crash raise", Raised},
    {"StackOverflow", "Crash stack overflow", StackOverflow},
    {"Throw", "Crash throw", CxxThrow},
    {"Bystander", "Crash bystander", NoFault},
};

/* CrashThrow.cpp: a C++ throw that travels out through this library's C frames. */
void CrashThrow(void);

static Place ChosenPlace(void) {
    const char* chosen = getenv("KORVEL_CRASH_PLACE");
    unsigned i;
    for (i = 1; chosen && i < sizeof placeNames / sizeof placeNames[0]; ++i)
        if (strcmp(chosen, placeNames[i]) == 0) return (Place)i;
    return Nowhere;
}

static volatile int zero;

static int Recurse(int depth) {
    volatile char frame[4096];
    frame[0] = (char)depth;
    return depth < 0 ? 0 : Recurse(depth + 1) + frame[0];
}

static void Break(Fault fault) {
    switch (fault) {
        case AccessViolation: *(volatile int*)0 = 1; break;
        case DivideByZero: zero = 10 / zero; break;
        case Raised: RaiseException(0xE0C0FFEE, 0, 0, NULL); break;
        case StackOverflow: zero = Recurse(0); break;
        case CxxThrow: CrashThrow(); break;
        case NoFault: break;
    }
}

static void BreakAt(const CrashClass* cls, Place place) {
    if (ChosenPlace() == place) Break(cls->fault);
}

static BSTR Text(const char* ascii) {
    WCHAR buffer[96];
    UINT length = 0;
    while (ascii[length] && length < 95) {
        buffer[length] = (WCHAR)ascii[length];
        ++length;
    }
    return SysAllocStringLen(buffer, length);
}

static BSTR Joined(const char* before, const char* name, const char* after) {
    char text[96];
    strcpy(text, before);
    strncat(text, name, 40);
    strncat(text, after, 20);
    return Text(text);
}

typedef struct Crash {
    IBdsPackage package; /* the identity */
    IBdsToolBarControlEvents menuEvents;
    IBdsToolBarControlEvents buttonEvents;
    IBDSNotifier notifier;
    long references;
    const CrashClass* cls;
    IBdsServices* site;
    IBdsMenuItem* menuItem;
    IBdsToolBarControl* button;
    IBDSModule* module;
    Integer notifierIndex;
} Crash;

#define CRASH_OF(member, pointer) ((Crash*)((char*)(pointer) - offsetof(Crash, member)))

static HRESULT Answer(Crash* self, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = NULL;
    if (IsEqualGUID(iid, &IID_IUnknown) || IsEqualGUID(iid, &IID_IBdsPackage))
        *out = &self->package;
    else if (IsEqualGUID(iid, &IID_IBdsToolBarControlEvents))
        *out = &self->menuEvents;
    else if (IsEqualGUID(iid, &IID_IBDSNotifier))
        *out = &self->notifier;
    else
        return E_NOINTERFACE;
    ++self->references;
    return S_OK;
}

static ULONG Drop(Crash* self) {
    const long left = --self->references;
    if (left == 0) {
        BreakAt(self->cls, FinalRelease);
        free(self);
        KorvelUnlockModule();
    }
    return (ULONG)left;
}

#define RELEASE(object)                             \
    do {                                            \
        if (object) KORVEL_CALL(object, Release);   \
        (object) = NULL;                            \
    } while (0)

/* IUnknown for each part of the object. */
#define UNKNOWN_OF(Interface, member)                                                                  \
    static HRESULT STDMETHODCALLTYPE member##Query(Interface* This, REFIID iid, void** out) {          \
        return Answer(CRASH_OF(member, This), iid, out);                                               \
    }                                                                                                  \
    static ULONG STDMETHODCALLTYPE member##AddRef(Interface* This) {                                    \
        return (ULONG)++CRASH_OF(member, This)->references;                                           \
    }                                                                                                  \
    static ULONG STDMETHODCALLTYPE member##Release(Interface* This) { return Drop(CRASH_OF(member, This)); }
UNKNOWN_OF(IBdsPackage, package)
UNKNOWN_OF(IBdsToolBarControlEvents, menuEvents)
UNKNOWN_OF(IBdsToolBarControlEvents, buttonEvents)
UNKNOWN_OF(IBDSNotifier, notifier)

static void Clicked(Crash* self, Place place) {
    BreakAt(self->cls, place);
    {
        BSTR text = Joined("", self->cls->caption, " clicked");
        BSTR caption = Text(self->cls->caption);
        MessageBoxW(NULL, text, caption, 0);
        SysFreeString(text);
        SysFreeString(caption);
    }
}

static HRESULT STDMETHODCALLTYPE MenuExecute(IBdsToolBarControlEvents* This) {
    Clicked(CRASH_OF(menuEvents, This), Menu);
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE ButtonExecute(IBdsToolBarControlEvents* This) {
    Clicked(CRASH_OF(buttonEvents, This), Toolbar);
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE NothingToDo(IBdsToolBarControlEvents* This) { return S_OK; }

static LongBool STDMETHODCALLTYPE AfterSave(IBDSNotifier* This) { return -1; }
static LongBool STDMETHODCALLTYPE BeforeSave(IBDSNotifier* This) {
    BreakAt(CRASH_OF(notifier, This)->cls, Notifier);
    return -1;
}
static void STDMETHODCALLTYPE NotifiedOnly(IBDSNotifier* This) {}

static const IBdsToolBarControlEventsVtbl menuEventsVtbl = {menuEventsQuery, menuEventsAddRef, menuEventsRelease,
                                                            MenuExecute, NothingToDo, NothingToDo};
static const IBdsToolBarControlEventsVtbl buttonEventsVtbl = {buttonEventsQuery, buttonEventsAddRef,
                                                              buttonEventsRelease, ButtonExecute, NothingToDo,
                                                              NothingToDo};
static const IBDSNotifierVtbl notifierVtbl = {notifierQuery, notifierAddRef, notifierRelease,
                                              AfterSave,     BeforeSave,     NotifiedOnly, NotifiedOnly};

static void AddMenuItem(Crash* self) {
    IBdsMenuBarService* menuBar = NULL;
    BSTR reference = Text("ToolsMenu\\ToolsOptionsItem");
    BSTR name = Joined("Crash", self->cls->name, "Item");
    BSTR caption = Text(self->cls->caption);
    if (SUCCEEDED(KORVEL_CALL(self->site, Get_BdsMenuBarService, &menuBar)) && menuBar &&
        SUCCEEDED(KORVEL_CALL(menuBar, AddMenuItem, reference, 1, name, caption, 0, &self->menuItem)) && self->menuItem)
        KORVEL_CALL(self->menuItem, RegisterEvents, &self->menuEvents);
    RELEASE(menuBar);
    SysFreeString(reference);
    SysFreeString(name);
    SysFreeString(caption);
}

static void AddButton(Crash* self) {
    IBdsToolBarService* toolBars = NULL;
    IBdsToolBar* toolBar = NULL;
    BSTR shared = Text("CrashToolBar");
    BSTR title = Text("Crash");
    BSTR name = Joined("Crash", self->cls->name, "Button");
    if (SUCCEEDED(KORVEL_CALL(self->site, Get_BdsToolBarService, &toolBars)) && toolBars &&
        SUCCEEDED(KORVEL_CALL(toolBars, FindToolBar, shared, &toolBar)) && !toolBar &&
        SUCCEEDED(KORVEL_CALL(toolBars, AddToolBar, shared, title, &toolBar)) && toolBar)
        KORVEL_CALL(toolBar, Set_Visible, -1);
    if (toolBar && SUCCEEDED(KORVEL_CALL(toolBar, AddControl, 1, &self->button)) && self->button) {
        KORVEL_CALL(self->button, Set_name, name);
        KORVEL_CALL(self->button, RegisterEvents, &self->buttonEvents);
    }
    RELEASE(toolBar);
    RELEASE(toolBars);
    SysFreeString(shared);
    SysFreeString(title);
    SysFreeString(name);
}

static void WatchCurrentModule(Crash* self) {
    IUnknown* service = NULL;
    IBDSModuleServices70* modules = NULL;
    if (SUCCEEDED(KORVEL_CALL(self->site, GetService, &IID_IBDSModuleServices70, &service)) && service &&
        SUCCEEDED(KORVEL_CALL(service, QueryInterface, &IID_IBDSModuleServices70, (void**)&modules)) && modules &&
        KORVEL_CALL(modules, GetCurrentModule, &self->module) == S_OK && self->module)
        self->notifierIndex = KORVEL_CALL(self->module, AddNotifier, (IBDSModuleNotifier*)&self->notifier);
    RELEASE(modules);
    RELEASE(service);
}

static HRESULT STDMETHODCALLTYPE PackageSetSite(IBdsPackage* This, IBdsServices* site) {
    Crash* self = CRASH_OF(package, This);
    BreakAt(self->cls, SetSite);
    self->site = site;
    if (!site) return E_POINTER;
    KORVEL_CALL(site, AddRef);
    return KORVEL_CALL(site, OnDotNetServicesInitialized);
}

static HRESULT STDMETHODCALLTYPE PackageInitialize(IBdsPackage* This) {
    Crash* self = CRASH_OF(package, This);
    BreakAt(self->cls, Initialize);
    if (!self->site) return E_UNEXPECTED;
    AddMenuItem(self);
    AddButton(self);
    if (ChosenPlace() == Notifier) WatchCurrentModule(self);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE PackageTerminate(IBdsPackage* This) {
    Crash* self = CRASH_OF(package, This);
    BreakAt(self->cls, Terminate);
    if (self->module) KORVEL_CALL(self->module, RemoveNotifier, self->notifierIndex);
    RELEASE(self->module);
    if (self->menuItem) KORVEL_CALL(self->menuItem, RegisterEvents, NULL);
    RELEASE(self->menuItem);
    if (self->button) KORVEL_CALL(self->button, RegisterEvents, NULL);
    RELEASE(self->button);
    RELEASE(self->site);
    return S_OK;
}

static const IBdsPackageVtbl packageVtbl = {packageQuery,      packageAddRef,    packageRelease,
                                            PackageSetSite, PackageInitialize, PackageTerminate};

static HRESULT MakeCrash(const CrashClass* cls, REFIID iid, void** out) {
    Crash* made;
    HRESULT result;
    /* No C++ exception may leave a COM entry point: through the system's COM library nothing
       can catch it. */
    if (cls->fault != CxxThrow) BreakAt(cls, Create);
    if (!out) return E_POINTER;
    *out = NULL;
    made = (Crash*)calloc(1, sizeof(Crash));
    if (!made) return E_OUTOFMEMORY;
    made->package.lpVtbl = &packageVtbl;
    made->menuEvents.lpVtbl = &menuEventsVtbl;
    made->buttonEvents.lpVtbl = &buttonEventsVtbl;
    made->notifier.lpVtbl = &notifierVtbl;
    made->cls = cls;
    made->references = 1;
    KorvelLockModule();
    result = Answer(made, iid, out);
    Drop(made);
    return result;
}

#define CRASH_CLASS(index)                                                              \
    static HRESULT Create##index(REFIID iid, void** out) { return MakeCrash(&classes[index], iid, out); }
CRASH_CLASS(0)
CRASH_CLASS(1)
CRASH_CLASS(2)
CRASH_CLASS(3)
CRASH_CLASS(4)
CRASH_CLASS(5)

/* {C0A5E001-7A11-4C0D-9E01-00000000000n}; the bystander loads among the others. */
#define CRASH_ID(n) {0xC0A5E001, 0x7A11, 0x4C0D, {0x9E, 0x01, 0, 0, 0, 0, 0, n}}
KORVEL_PACKAGE_CLASSES({CRASH_ID(1), u"Crash access violation", 10, Create0},
                       {CRASH_ID(2), u"Crash divide by zero", 20, Create1},
                       {CRASH_ID(3), u"Crash raise", 30, Create2},
                       {CRASH_ID(4), u"Crash stack overflow", 40, Create3},
                       {CRASH_ID(5), u"Crash throw", 50, Create4},
                       {CRASH_ID(6), u"Crash bystander", 35, Create5});
