// Shortcuts written as the IDE's layout tables spell them: Ctrl('S'), CtrlShift(F(11)).
#pragma once

#include "platform/vcl/ShortCuts.h"
#include "platform/win32/Win32.h"

namespace sim::keys {

using vcl::TShortCut;

constexpr unsigned F(unsigned n) { return VK_F1 + n - 1; }
constexpr TShortCut Key(unsigned key) { return static_cast<TShortCut>(key); }
constexpr TShortCut Shift(unsigned key) { return static_cast<TShortCut>(vcl::scShift | key); }
constexpr TShortCut Ctrl(unsigned key) { return static_cast<TShortCut>(vcl::scCtrl | key); }
constexpr TShortCut Alt(unsigned key) { return static_cast<TShortCut>(vcl::scAlt | key); }
constexpr TShortCut CtrlShift(unsigned key) { return static_cast<TShortCut>(vcl::scCtrl | vcl::scShift | key); }
constexpr TShortCut CtrlAlt(unsigned key) { return static_cast<TShortCut>(vcl::scCtrl | vcl::scAlt | key); }
constexpr TShortCut ShiftAlt(unsigned key) { return static_cast<TShortCut>(vcl::scShift | vcl::scAlt | key); }
constexpr TShortCut CtrlShiftAlt(unsigned key) {
    return static_cast<TShortCut>(vcl::scCtrl | vcl::scShift | vcl::scAlt | key);
}

}  // namespace sim::keys
