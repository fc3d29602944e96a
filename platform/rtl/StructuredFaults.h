// Hardware faults and structured exceptions raised inside a call, taken where the call was made:
// an exception registration record of the caller's own on the thread's handler chain (the
// language has no __try here). Handlers that the called code registered itself get their turn
// first; a vectored handler, which would come before them, is never used.
#pragma once

#include "platform/rtl/Text.h"

namespace rtl {

// What ended a call: a hardware fault, or an exception raised with RaiseException. Written
// whole when a fault is taken, and not before (every call through a guard carries one).
struct StructuredFault {
    DWORD code;
    const void* address;
    // Access violations and in-page errors: how the memory was touched (0 read, 1 write,
    // 8 execute) and where.
    bool touchedMemory;
    ULONG_PTR access;
    ULONG_PTR target;
};

// Runs body(context). A fault or structured exception inside that the body does not handle
// itself ends the body at once: the handlers registered above are unwound, and false comes back
// with `fault` filled in. Informational exceptions (the debugger's) pass by untouched. The body
// must own nothing that needs unwinding: none of its destructors run when a fault ends it.
// `tag` marks the call for InnermostGuardTag while the body runs.
bool CallCatchingFaults(void (*body)(void*), void* context, StructuredFault& fault,
                        const void* tag = nullptr) noexcept;
// The tag of the innermost guarded call running on this thread; nil outside.
const void* InnermostGuardTag() noexcept;

// The fault in words, with where it happened: "Access violation at address 6BA41968 in module
// 'crashpkg.dll'. Write of address 00000000", "Stack overflow (C00000FD) at address ...".
String DescribeFault(const StructuredFault& fault);

// The file name (no folder) of the module that holds the address; empty when none does.
String ModuleNameAt(const void* address);

}  // namespace rtl
