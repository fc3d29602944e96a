// The IDE's own product key under HKEY_LOCAL_MACHINE, read the way the IDE's code opens it:
// with full access, so a key the process may not write counts as one it cannot read.
#pragma once

#include "platform/rtl/Text.h"

namespace korvel {

// The "Edition" value; "unknown" when the key or the value cannot be read.
rtl::String ReadIdeEdition(const rtl::String& regKeyName);
// False only when the key holds a "RegMergeTimeStamp" value.
bool ReadIsPersonalityEdition(const rtl::String& regKeyName);

}  // namespace korvel
