// What only the emulated platform can do: tests use it to set up situations that the real
// platform produces by other means (a key the process may not write, a clean registry).
#pragma once

#include <string>

#include "platform/win32/Win32.h"

namespace emulation {

void ResetRegistry();
// Opening the key (relative to root) with any write right fails with ERROR_ACCESS_DENIED.
void DenyWriteAccess(HKEY root, const std::u16string& path);
// GDI bitmaps currently alive: lets tests see that consumed handles were deleted.
int LiveBitmapCount();
// The dynamic loader's own words for the calling thread's last LoadLibraryW that failed.
std::u16string LastLibraryError();
// Icons currently alive: lets tests see that icons are destroyed with their owners.
int LiveIconCount();
// From now on a hardware fault on the calling thread is raised as a structured exception through
// the thread's registration records (a stack of its own for the handler, so that a stack
// overflow is caught too). Nothing changes in a build with a sanitizer: its handlers stay.
void TranslateFaultsOnThisThread();

}  // namespace emulation

// The thread's information block, as NtCurrentTeb answers it; the platform's own code reads it
// in place, without a call, since every call into package code does.
struct _TEB {
    NT_TIB Tib;
    bool TranslatesFaults;  // TranslateFaultsOnThisThread has run on the thread
};

namespace emulation {

extern __thread _TEB currentThreadBlock __attribute__((tls_model("initial-exec")));

}  // namespace emulation
