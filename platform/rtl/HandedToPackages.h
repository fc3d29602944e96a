// The system's objects that packages are handed (the hub, its services, the wrappers), listed
// while they live with their reference count, so that the IDE stand-in can say after shut-down
// which of them packages still hold. rtl::ComObject lists every object with an interface bound
// by KORVEL_BIND_PACKAGE_INTERFACE.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/rtl/Text.h"
#include "platform/win32/Win32.h"

namespace rtl {

struct HeldObject {
    String className;
    // Beyond the references the object keeps on itself.
    ULONG references;
};

class HandedToPackages {
public:
    static void Add(IUnknown* identity, const ULONG* references);
    static void Remove(IUnknown* identity);
    // The object keeps one reference more, or one fewer, on itself: nobody else's.
    static void ChangeOwnReferences(IUnknown* identity, int change);
    // A mark for StillHeld: objects made from now on come after it.
    static uint64_t Mark();
    // Every listed object made since `mark` with references beyond its own, in the order they
    // were made.
    static std::vector<HeldObject> StillHeld(uint64_t mark);
};

}  // namespace rtl
