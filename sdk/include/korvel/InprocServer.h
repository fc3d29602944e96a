// An in-process server's plumbing for C++ packages: the library names its package classes once,
// with KORVEL_PACKAGE_CLASSES in one of its files (korvel/PackageServer.h), and the SDK answers
// COM and regsvr32 for them.
//
//     KORVEL_PACKAGE_CLASSES({CLSID_Greeter, u"Greeter", 100, &CreatePackage<Greeter>});
#pragma once

#include "korvel/ComObject.h"
#include "korvel/PackageServer.h"

namespace korvel::sdk {

using PackageClass = KorvelPackageClass;
using CreateFunction = KorvelCreateFunction;

inline constexpr char16_t PackagesKey[] = KORVEL_PACKAGES_KEY;

// Makes an `Object` for a package class: CreatePackage<MyPackage>.
template <class Object>
HRESULT CreatePackage(REFIID iid, void** object) {
    return CreateObject<Object>(iid, object);
}

}  // namespace korvel::sdk
