// The one place the system gets the Win32 and COM API from: the real one on Windows,
// the in-process emulation on Linux (the same declarations packages compile against).
#pragma once

#include "korvel/Win32.h"

#ifdef _WIN32
#include <shellapi.h>
#endif
