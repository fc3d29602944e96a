/* @NAME@: a package for KorvelLoader150, in plain C. It adds "@NAME@" to the IDE's Tools menu
   and shows a message box when the item is clicked. One object with two interfaces: the package
   itself and the sink that the menu item calls when it is clicked. DllRegisterServer and the
   class object come from the SDK's C helper, through KORVEL_PACKAGE_CLASSES. */
#include <stddef.h>
#include <stdlib.h>

#include "korvel/PackageServer.h"

/* @CLSID_TEXT@, as an initializer: C's class table takes constants only. */
#define CLSID_@NAME@ @CLSID_INITIALIZER@

/* AddMenuItem puts the new item after the reference item (1) or before it (0). */
enum { AfterReferenceItem = 1 };

typedef struct Package {
    IBdsPackage package; /* the object's identity */
    IBdsToolBarControlEvents events;
    LONG references;
    IBdsServices* site;   /* from SetSite to Terminate */
    IBdsMenuItem* item;   /* the menu keeps the item while this reference lasts */
} Package;

/* The object from a pointer to one of its interfaces. */
#define PACKAGE_OF(pointer, member) ((Package*)((char*)(pointer) - offsetof(Package, member)))

static BSTR Text(const char16_t* text) {
    UINT length = 0;
    while (text[length]) ++length;
    return SysAllocStringLen((const OLECHAR*)text, length);
}

/* --- IUnknown, shared by both interfaces ------------------------------------------------ */

static HRESULT Answer(Package* self, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = NULL;
    if (IsEqualGUID(iid, &IID_IUnknown) || IsEqualGUID(iid, &IID_IBdsPackage))
        *object = &self->package;
    else if (IsEqualGUID(iid, &IID_IBdsToolBarControlEvents))
        *object = &self->events;
    else
        return E_NOINTERFACE;
    ++self->references;
    return S_OK;
}

static ULONG Release(Package* self) {
    const ULONG left = (ULONG)--self->references;
    if (left == 0) {
        free(self);
        KorvelUnlockModule();
    }
    return left;
}

static HRESULT STDMETHODCALLTYPE PackageQueryInterface(IBdsPackage* This, REFIID iid, void** object) {
    return Answer(PACKAGE_OF(This, package), iid, object);
}
static ULONG STDMETHODCALLTYPE PackageAddRef(IBdsPackage* This) { return (ULONG)++PACKAGE_OF(This, package)->references; }
static ULONG STDMETHODCALLTYPE PackageRelease(IBdsPackage* This) { return Release(PACKAGE_OF(This, package)); }

static HRESULT STDMETHODCALLTYPE EventsQueryInterface(IBdsToolBarControlEvents* This, REFIID iid, void** object) {
    return Answer(PACKAGE_OF(This, events), iid, object);
}
static ULONG STDMETHODCALLTYPE EventsAddRef(IBdsToolBarControlEvents* This) {
    return (ULONG)++PACKAGE_OF(This, events)->references;
}
static ULONG STDMETHODCALLTYPE EventsRelease(IBdsToolBarControlEvents* This) { return Release(PACKAGE_OF(This, events)); }

/* --- IBdsPackage ------------------------------------------------------------------------ */

static HRESULT STDMETHODCALLTYPE SetSite(IBdsPackage* This, IBdsServices* site) {
    Package* self = PACKAGE_OF(This, package);
    if (!site) return E_POINTER;
    KORVEL_CALL(site, AddRef);
    self->site = site;
    /* Without this notice the loader never calls Initialize. */
    return KORVEL_CALL(site, OnDotNetServicesInitialized);
}

static HRESULT STDMETHODCALLTYPE Initialize(IBdsPackage* This) {
    Package* self = PACKAGE_OF(This, package);
    IBdsMenuBarService* menuBar = NULL;
    BSTR reference, name, caption;
    HRESULT result;
    if (!self->site) return E_UNEXPECTED;
    result = KORVEL_CALL(self->site, Get_BdsMenuBarService, &menuBar);
    if (FAILED(result) || !menuBar) return FAILED(result) ? result : E_FAIL;
    reference = Text(u"ToolsMenu\\ToolsOptionsItem");
    name = Text(u"@NAME@Item");
    caption = Text(u"@NAME@");
    result = KORVEL_CALL(menuBar, AddMenuItem, reference, AfterReferenceItem, name, caption, 0, &self->item);
    SysFreeString(reference);
    SysFreeString(name);
    SysFreeString(caption);
    KORVEL_CALL(menuBar, Release);
    if (FAILED(result)) {
        self->item = NULL;
        return result;
    }
    /* The item holds the sink, and so this object, until Terminate takes the sink back. */
    return KORVEL_CALL(self->item, RegisterEvents, &self->events);
}

/* Letting go of the item takes it off the menu. */
static HRESULT STDMETHODCALLTYPE Terminate(IBdsPackage* This) {
    Package* self = PACKAGE_OF(This, package);
    if (self->item) {
        KORVEL_CALL(self->item, RegisterEvents, NULL);
        KORVEL_CALL(self->item, Release);
        self->item = NULL;
    }
    if (self->site) {
        KORVEL_CALL(self->site, Release);
        self->site = NULL;
    }
    return S_OK;
}

/* --- IBdsToolBarControlEvents: the menu item's clicks ----------------------------------- */

static HRESULT STDMETHODCALLTYPE OnExecute(IBdsToolBarControlEvents* This) {
    (void)This;
    MessageBoxW(GetForegroundWindow(), (LPCWSTR)u"Hello from @NAME@.", (LPCWSTR)u"@NAME@", MB_OK);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE OnChange(IBdsToolBarControlEvents* This) {
    (void)This;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE OnUpdate(IBdsToolBarControlEvents* This) {
    (void)This;
    return S_OK;
}

static const IBdsPackageVtbl packageMethods = {PackageQueryInterface, PackageAddRef, PackageRelease,
                                               SetSite, Initialize, Terminate};
static const IBdsToolBarControlEventsVtbl eventsMethods = {EventsQueryInterface, EventsAddRef, EventsRelease,
                                                           OnExecute, OnChange, OnUpdate};

static HRESULT Create@NAME@(REFIID iid, void** object) {
    Package* self;
    HRESULT result;
    if (!object) return E_POINTER;
    *object = NULL;
    self = (Package*)calloc(1, sizeof *self);
    if (!self) return E_OUTOFMEMORY;
    self->package.lpVtbl = &packageMethods;
    self->events.lpVtbl = &eventsMethods;
    self->references = 1;
    KorvelLockModule();
    result = Answer(self, iid, object);
    Release(self);
    return result;
}

KORVEL_PACKAGE_CLASSES({CLSID_@NAME@, u"@NAME@", 100, Create@NAME@});
