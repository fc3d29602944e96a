// File system queries of the language library.
#pragma once

#include "platform/rtl/Text.h"

namespace rtl {

// True when a file (not a directory) exists at `path`; links are followed.
bool FileExists(const String& path);

}  // namespace rtl
