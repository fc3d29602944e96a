// Key combinations in the two encodings of the contract, from named keys and modifiers:
//
//     item->Set_Shortcut(MenuShortcut(Key::G, Ctrl | Alt));          // Ctrl+Alt+G on a menu item
//     site->IsShortcut(KeyData(Key::S, Ctrl), &taken);               // is Ctrl+S the IDE's?
//
// A menu item's shortcut (KORVEL_SHORTCUT_*) and IsShortcut's key data (KORVEL_KEYS_*) put the
// modifiers in different bits; a value in the wrong one is refused or answers for another key.
#pragma once

#include "korvel/BdsInterop.h"

namespace korvel::sdk {

enum class Modifiers : Integer { None = 0, Shift = 1, Ctrl = 2, Alt = 4 };
constexpr Modifiers operator|(Modifiers a, Modifiers b) {
    return static_cast<Modifiers>(static_cast<Integer>(a) | static_cast<Integer>(b));
}
constexpr Modifiers Shift = Modifiers::Shift;
constexpr Modifiers Ctrl = Modifiers::Ctrl;
constexpr Modifiers Alt = Modifiers::Alt;

// Virtual-key codes; a letter or a digit is its upper-case character.
namespace Key {
enum : Integer {
    Back = 0x08, Tab = 0x09, Enter = 0x0D, Escape = 0x1B, Space = 0x20, PageUp = 0x21, PageDown = 0x22,
    End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D, Delete = 0x2E,
    D0 = '0', D1, D2, D3, D4, D5, D6, D7, D8, D9,
    A = 'A', B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
    F1 = 0x70, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12
};
}  // namespace Key

namespace detail {
constexpr bool Has(Modifiers all, Modifiers one) { return (static_cast<Integer>(all) & static_cast<Integer>(one)) != 0; }
}  // namespace detail

// For IBdsMenuItem::Set_Shortcut: 16 bits, the key in the low byte.
constexpr Integer MenuShortcut(Integer key, Modifiers modifiers = Modifiers::None) {
    return (key & 0xFF) | (detail::Has(modifiers, Shift) ? KORVEL_SHORTCUT_SHIFT : 0) |
           (detail::Has(modifiers, Ctrl) ? KORVEL_SHORTCUT_CTRL : 0) | (detail::Has(modifiers, Alt) ? KORVEL_SHORTCUT_ALT : 0);
}

// For IBdsServices::IsShortcut: the key in the low 16 bits, the modifiers above.
constexpr Integer KeyData(Integer key, Modifiers modifiers = Modifiers::None) {
    return (key & 0xFFFF) | (detail::Has(modifiers, Shift) ? KORVEL_KEYS_SHIFT : 0) |
           (detail::Has(modifiers, Ctrl) ? KORVEL_KEYS_CONTROL : 0) | (detail::Has(modifiers, Alt) ? KORVEL_KEYS_ALT : 0);
}

}  // namespace korvel::sdk
