// The string and flag rules at the boundary between packages and the IDE's Tools API.
#pragma once

#include "interop/ToolsInterfaceBindings.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComPtr.h"

namespace korvel {

using rtl::String;

inline LongBool ToLongBool(bool value) { return value ? LongBool(-1) : LongBool(0); }

// Our text for a package: a new BSTR that the package frees.
inline PWideChar NewPackageText(const String& text) { return rtl::AllocBstr(text); }

// A package's text, copied at once; the package keeps its buffer.
inline String CopyPackageText(const WCHAR* text) { return rtl::FromWide(text); }

// Hands a new reference to an IBDS out parameter; a null parameter receives nothing.
template <class Interface>
void HandOut(const rtl::ComPtr<Interface>& object, Interface** out) {
    if (out) object.CopyTo(out);
}

}  // namespace korvel
