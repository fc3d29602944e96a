#pragma once

#include "platform/rtl/Text.h"

namespace rtl {

// Registry format: braces, upper-case hexadecimal.
String GUIDToString(const GUID& guid);
// Accepts exactly the registry format (hexadecimal in either case); nothing else.
bool TryStringToGUID(const String& text, GUID& guid);

}  // namespace rtl
