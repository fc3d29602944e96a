// An in-process server's plumbing: the library names its package classes once, with
// KORVEL_PACKAGE_CLASSES in one of its files, and the SDK answers COM and regsvr32 for them
// (DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer).
#pragma once

#include <cstddef>

#include "korvel/ComObject.h"

namespace korvel::sdk {

using CreateFunction = HRESULT (*)(REFIID iid, void** object);

struct PackageClass {
    CLSID id;
    // The display name the loader lists, and where the package comes in its load order.
    const char16_t* name;
    Integer loadOrder;
    CreateFunction create;
};

// Defined by KORVEL_PACKAGE_CLASSES.
extern const PackageClass PackageClasses[];
extern const size_t PackageClassCount;

// The registry key under HKEY_LOCAL_MACHINE that lists the packages the loader starts.
inline constexpr char16_t PackagesKey[] = u"Software\\Korvel\\Brivanta\\RAD Studio XE2\\Packages";

// Makes an `Object` for a package class: CreatePackage<MyPackage>.
template <class Object>
HRESULT CreatePackage(REFIID iid, void** object) {
    return CreateObject<Object>(iid, object);
}

}  // namespace korvel::sdk

#define KORVEL_PACKAGE_CLASSES(...)                                                          \
    const korvel::sdk::PackageClass korvel::sdk::PackageClasses[] = {__VA_ARGS__};           \
    const size_t korvel::sdk::PackageClassCount =                                            \
        sizeof(korvel::sdk::PackageClasses) / sizeof(korvel::sdk::PackageClasses[0])
