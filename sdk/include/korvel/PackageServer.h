/* An in-process server's plumbing, for packages in C and in C++: the library names its package
   classes once, with KORVEL_PACKAGE_CLASSES in one of its files, and the SDK answers COM and
   regsvr32 for them. The library exports exactly DllGetClassObject, DllCanUnloadNow,
   DllRegisterServer and DllUnregisterServer (and, for C++, KorvelListLiveObjects).

   In C:
       static HRESULT CreateGreeter(REFIID iid, void** object);
       KORVEL_PACKAGE_CLASSES({CLSID_Greeter, u"Greeter", 100, CreateGreeter});
   The create function makes one object and answers it as `iid`, as IClassFactory's
   CreateInstance would. Every live object of the library calls KorvelLockModule when it is
   made and KorvelUnlockModule when it is freed, so that DllCanUnloadNow keeps the library
   loaded while anyone holds one (C++'s ComObject does so by itself). */
#pragma once

#include <stddef.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#include "korvel/BdsInterop.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef HRESULT (*KorvelCreateFunction)(REFIID iid, void** object);

typedef struct KorvelPackageClass {
    CLSID id;
    /* The display name the loader lists (u"..."), and where the package comes in its load
       order (ascending). */
    const char16_t* name;
    Integer loadOrder;
    KorvelCreateFunction create;
} KorvelPackageClass;

/* Defined by KORVEL_PACKAGE_CLASSES. */
extern const KorvelPackageClass KorvelPackageClasses[];
extern const size_t KorvelPackageClassCount;

/* Live objects, class objects and server locks: while any is left, the library must stay
   loaded. More unlocks than locks are ignored. */
void KorvelLockModule(void);
void KorvelUnlockModule(void);
int KorvelModuleInUse(void);

#ifdef __cplusplus
}
#endif

/* The registry key under HKEY_LOCAL_MACHINE that lists the packages the loader starts. */
#define KORVEL_PACKAGES_KEY u"Software\\Korvel\\Brivanta\\RAD Studio XE2\\Packages"

#define KORVEL_PACKAGE_CLASSES(...)                                       \
    const KorvelPackageClass KorvelPackageClasses[] = {__VA_ARGS__};      \
    const size_t KorvelPackageClassCount = sizeof(KorvelPackageClasses) / sizeof(KorvelPackageClasses[0])
