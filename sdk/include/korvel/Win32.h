/* The Win32 and COM API a package is written against: Windows' own headers on Windows, the
   IDE stand-in's emulation on Linux (the same names, types and C functions). */
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
/* A C vtable is a constant table, as in the contract's own interfaces and on Linux. */
#ifndef CONST_VTABLE
#define CONST_VTABLE
#endif
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#ifdef __cplusplus
#define KORVEL_DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    inline constexpr GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#elif defined(__GNUC__)
#define KORVEL_DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    static const GUID name __attribute__((unused)) = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#else
#define KORVEL_DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    static const GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#endif
#else
#include "korvel/EmulatedWin32.h"
#endif
