#pragma once

#include "platform/rtl/Text.h"

namespace rtl {

// Registry format: braces, upper-case hexadecimal.
String GUIDToString(const GUID& guid);
// The same text written at `out` (no terminating zero); returns the end of what it wrote.
constexpr size_t GUIDTextLength = 38;
char16_t* WriteGUID(const GUID& guid, char16_t* out);
// Accepts exactly the registry format (hexadecimal in either case); nothing else.
bool TryStringToGUID(const String& text, GUID& guid);

}  // namespace rtl
