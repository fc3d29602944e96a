// The library's shortcut encoding: key code in the low byte, 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt.
#pragma once

#include <cstdint>

#include "platform/rtl/Text.h"

namespace vcl {

using TShortCut = uint16_t;

enum TShiftStateFlag : unsigned { ssShift = 1, ssCtrl = 2, ssAlt = 4 };
using TShiftState = unsigned;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// A key code above 0xFF has no shortcut: 0.
TShortCut ShortCut(uint16_t key, TShiftState shift);
// Empty for 0 and for keys that have no name.
rtl::String ShortCutToText(TShortCut shortCut);
// 0 for a text that names no shortcut.
TShortCut TextToShortCut(const rtl::String& text);

}  // namespace vcl
