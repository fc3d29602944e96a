// The calling contract between KorvelLoader150 and its packages. The system compiles against
// the very header package authors get from the SDK, so the two cannot drift apart.
#pragma once

#include "korvel/BdsInterop.h"
