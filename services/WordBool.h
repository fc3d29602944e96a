// WordBool at the package boundary: the system writes only 0 or -1 and reads any non-zero
// value as true.
#pragma once

#include "interop/KorvelBdsInterop.h"

namespace korvel {

inline WordBool ToWordBool(bool value) { return value ? WordBool(-1) : WordBool(0); }

}  // namespace korvel
