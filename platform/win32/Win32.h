// The one place the system gets the Win32 and COM API from: the real one on Windows,
// the in-process emulation on Linux.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#else
#include "platform/win32/emulated/EmulatedWin32.h"
#endif
