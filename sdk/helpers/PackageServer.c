/* The library as COM and regsvr32 see it: a class object per package class, the unload
   question, and the registry entries that make the loader find the packages. Plain C, so that
   a package in C needs no C++ compiler; C++ packages use it as well. */
#include "korvel/PackageServer.h"

#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#define KORVEL_SERVER_EXPORT __declspec(dllexport) /* undecorated by the linker's --kill-at */
#else
#define KORVEL_SERVER_EXPORT __attribute__((visibility("default")))
#endif

/* COM may ask from any thread. */
static LONG moduleReferences;

void KorvelLockModule(void) { __atomic_add_fetch(&moduleReferences, 1, __ATOMIC_SEQ_CST); }

void KorvelUnlockModule(void) {
    LONG references = __atomic_load_n(&moduleReferences, __ATOMIC_SEQ_CST);
    while (references > 0 && !__atomic_compare_exchange_n(&moduleReferences, &references, references - 1, 0,
                                                           __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST)) {
    }
}

int KorvelModuleInUse(void) { return __atomic_load_n(&moduleReferences, __ATOMIC_SEQ_CST) > 0; }

/* --- finding a class -------------------------------------------------------------------- */

/* Of two entries with one identifier the first counts. */
static int CompareClasses(const void* a, const void* b) {
    const KorvelPackageClass* first = *(const KorvelPackageClass* const*)a;
    const KorvelPackageClass* second = *(const KorvelPackageClass* const*)b;
    const int byId = memcmp(&first->id, &second->id, sizeof(GUID));
    return byId != 0 ? byId : (first > second) - (first < second);
}

/* The classes ordered by identifier, made at the first request, so that a library of many
   classes finds one without walking them all. Threads that race make one each; one is kept. */
static const KorvelPackageClass** ClassesById(void) {
    static const KorvelPackageClass** ordered;
    const KorvelPackageClass** made = __atomic_load_n(&ordered, __ATOMIC_ACQUIRE);
    const KorvelPackageClass** expected = NULL;
    size_t i;
    if (made) return made;
    made = (const KorvelPackageClass**)malloc((KorvelPackageClassCount + 1) * sizeof *made);
    if (!made) return NULL;
    for (i = 0; i < KorvelPackageClassCount; ++i) made[i] = &KorvelPackageClasses[i];
    qsort(made, KorvelPackageClassCount, sizeof *made, CompareClasses);
    if (!__atomic_compare_exchange_n(&ordered, &expected, made, 0, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE)) {
        free(made);
        return expected;
    }
    return made;
}

static const KorvelPackageClass* FindPackageClass(const GUID* id) {
    const KorvelPackageClass** classes = ClassesById();
    size_t low = 0, high = KorvelPackageClassCount;
    if (!classes) return NULL;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (memcmp(&classes[middle]->id, id, sizeof(GUID)) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low < KorvelPackageClassCount && memcmp(&classes[low]->id, id, sizeof(GUID)) == 0 ? classes[low] : NULL;
}

/* --- the class object ------------------------------------------------------------------- */

typedef struct PackageFactory {
    IClassFactory factory;
    LONG references;
    const KorvelPackageClass* packageClass;
} PackageFactory;

static HRESULT STDMETHODCALLTYPE FactoryQueryInterface(IClassFactory* self, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = NULL;
    if (!IsEqualGUID(iid, &IID_IUnknown) && !IsEqualGUID(iid, &IID_IClassFactory)) return E_NOINTERFACE;
    self->lpVtbl->AddRef(self);
    *object = self;
    return S_OK;
}

static ULONG STDMETHODCALLTYPE FactoryAddRef(IClassFactory* self) {
    return (ULONG)__atomic_add_fetch(&((PackageFactory*)self)->references, 1, __ATOMIC_SEQ_CST);
}

static ULONG STDMETHODCALLTYPE FactoryRelease(IClassFactory* self) {
    const LONG left = __atomic_sub_fetch(&((PackageFactory*)self)->references, 1, __ATOMIC_SEQ_CST);
    if (left == 0) {
        free(self);
        KorvelUnlockModule();
    }
    return (ULONG)left;
}

static HRESULT STDMETHODCALLTYPE FactoryCreateInstance(IClassFactory* self, IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = NULL;
    if (outer) return CLASS_E_NOAGGREGATION;
    return ((PackageFactory*)self)->packageClass->create(iid, object);
}

static HRESULT STDMETHODCALLTYPE FactoryLockServer(IClassFactory* self, BOOL lock) {
    (void)self;
    if (lock)
        KorvelLockModule();
    else
        KorvelUnlockModule();
    return S_OK;
}

static const IClassFactoryVtbl factoryMethods = {FactoryQueryInterface, FactoryAddRef, FactoryRelease,
                                                 FactoryCreateInstance, FactoryLockServer};

/* --- registration ----------------------------------------------------------------------- */

enum { PathCapacity = 1024 };

/* Appends `text` to the zero-terminated `path`; false when it does not fit. */
static int Append(WCHAR* path, const WCHAR* text) {
    size_t length = 0, i = 0;
    while (path[length]) ++length;
    for (; text[i]; ++i) {
        if (length + i + 1 >= PathCapacity) return 0;
        path[length + i] = text[i];
    }
    path[length + i] = 0;
    return 1;
}

/* "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" */
static void GuidText(const GUID* id, WCHAR text[39]) {
    static const char digits[] = "0123456789ABCDEF";
    WCHAR* next = text;
    int i, shift;
    *next++ = '{';
    for (shift = 28; shift >= 0; shift -= 4) *next++ = (WCHAR)digits[(id->Data1 >> shift) & 0xF];
    *next++ = '-';
    for (shift = 12; shift >= 0; shift -= 4) *next++ = (WCHAR)digits[(id->Data2 >> shift) & 0xF];
    *next++ = '-';
    for (shift = 12; shift >= 0; shift -= 4) *next++ = (WCHAR)digits[(id->Data3 >> shift) & 0xF];
    *next++ = '-';
    for (i = 0; i < 8; ++i) {
        if (i == 2) *next++ = '-';
        *next++ = (WCHAR)digits[id->Data4[i] >> 4];
        *next++ = (WCHAR)digits[id->Data4[i] & 0xF];
    }
    *next++ = '}';
    *next = 0;
}

/* "CLSID\{...}" or "<packages key>\{...}" */
static int ClassKeyPath(WCHAR* path, const WCHAR* parent, const GUID* id) {
    WCHAR idText[39];
    GuidText(id, idText);
    path[0] = 0;
    return Append(path, parent) && Append(path, (const WCHAR*)u"\\") && Append(path, idText);
}

static LSTATUS SetText(HKEY key, const WCHAR* name, const WCHAR* value) {
    DWORD length = 0;
    while (value[length]) ++length;
    return RegSetValueExW(key, name, 0, REG_SZ, (const BYTE*)value, (length + 1) * sizeof(WCHAR));
}

static LSTATUS CreateKey(HKEY root, const WCHAR* path, HKEY* key) {
    return RegCreateKeyExW(root, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL, key, NULL);
}

static LSTATUS RegisterServerKey(const KorvelPackageClass* packageClass, const WCHAR* serverPath) {
    WCHAR path[PathCapacity];
    HKEY key = NULL;
    LSTATUS status;
    if (!ClassKeyPath(path, (const WCHAR*)u"CLSID", &packageClass->id) ||
        !Append(path, (const WCHAR*)u"\\InprocServer32"))
        return ERROR_INSUFFICIENT_BUFFER;
    status = CreateKey(HKEY_CLASSES_ROOT, path, &key);
    if (status != ERROR_SUCCESS) return status;
    status = SetText(key, (const WCHAR*)u"", serverPath);
    if (status == ERROR_SUCCESS) status = SetText(key, (const WCHAR*)u"ThreadingModel", (const WCHAR*)u"Apartment");
    RegCloseKey(key);
    return status;
}

static LSTATUS RegisterPackageKey(const KorvelPackageClass* packageClass) {
    WCHAR path[PathCapacity];
    HKEY key = NULL;
    const DWORD loadOrder = (DWORD)packageClass->loadOrder;
    LSTATUS status;
    if (!ClassKeyPath(path, (const WCHAR*)KORVEL_PACKAGES_KEY, &packageClass->id)) return ERROR_INSUFFICIENT_BUFFER;
    status = CreateKey(HKEY_LOCAL_MACHINE, path, &key);
    if (status != ERROR_SUCCESS) return status;
    status = SetText(key, (const WCHAR*)u"", packageClass->name ? (const WCHAR*)packageClass->name : (const WCHAR*)u"");
    if (status == ERROR_SUCCESS)
        status = RegSetValueExW(key, (const WCHAR*)u"LoadOrder", 0, REG_DWORD, (const BYTE*)&loadOrder, sizeof loadOrder);
    RegCloseKey(key);
    return status;
}

/* The file this code was loaded from; false when the platform cannot say. */
static int ServerPath(WCHAR path[PathCapacity]) {
    HMODULE self = NULL;
    DWORD length;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            (LPCWSTR)(void*)&ServerPath, &self))
        return 0;
    length = GetModuleFileNameW(self, path, PathCapacity);
    return length > 0 && length < PathCapacity;
}

/* --- the entry points ------------------------------------------------------------------- */

KORVEL_SERVER_EXPORT HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object);
KORVEL_SERVER_EXPORT HRESULT STDMETHODCALLTYPE DllCanUnloadNow(void);
KORVEL_SERVER_EXPORT HRESULT STDMETHODCALLTYPE DllRegisterServer(void);
KORVEL_SERVER_EXPORT HRESULT STDMETHODCALLTYPE DllUnregisterServer(void);

HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    const KorvelPackageClass* packageClass;
    PackageFactory* factory;
    HRESULT result;
    if (!object) return E_POINTER;
    *object = NULL;
    packageClass = FindPackageClass(clsid);
    if (!packageClass) return CLASS_E_CLASSNOTAVAILABLE;
    factory = (PackageFactory*)malloc(sizeof *factory);
    if (!factory) return E_OUTOFMEMORY;
    factory->factory.lpVtbl = &factoryMethods;
    factory->references = 1;
    factory->packageClass = packageClass;
    KorvelLockModule();
    result = FactoryQueryInterface(&factory->factory, iid, object);
    FactoryRelease(&factory->factory);
    return result;
}

HRESULT STDMETHODCALLTYPE DllCanUnloadNow(void) { return KorvelModuleInUse() ? S_FALSE : S_OK; }

/* As regsvr32 asks it: the class under HKEY_CLASSES_ROOT, the package under the loader's key. */
HRESULT STDMETHODCALLTYPE DllRegisterServer(void) {
    WCHAR serverPath[PathCapacity];
    size_t i;
    if (!ServerPath(serverPath)) return HRESULT_FROM_WIN32(GetLastError());
    for (i = 0; i < KorvelPackageClassCount; ++i) {
        LSTATUS status = RegisterServerKey(&KorvelPackageClasses[i], serverPath);
        if (status == ERROR_SUCCESS) status = RegisterPackageKey(&KorvelPackageClasses[i]);
        if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DllUnregisterServer(void) {
    WCHAR path[PathCapacity];
    size_t i;
    for (i = 0; i < KorvelPackageClassCount; ++i) {
        if (ClassKeyPath(path, (const WCHAR*)u"CLSID", &KorvelPackageClasses[i].id))
            RegDeleteTreeW(HKEY_CLASSES_ROOT, path);
        if (ClassKeyPath(path, (const WCHAR*)KORVEL_PACKAGES_KEY, &KorvelPackageClasses[i].id))
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, path);
    }
    return S_OK;
}
