#include "platform/vcl/ShortCuts.h"

namespace vcl {
namespace {

rtl::String KeyName(uint8_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return rtl::String(1, static_cast<char16_t>(key));
    if (key >= VK_F1 && key <= VK_F1 + 23) return u"F" + rtl::IntToStr(key - VK_F1 + 1);
    switch (key) {
        case VK_BACK: return u"BkSp";
        case VK_TAB: return u"Tab";
        case VK_RETURN: return u"Enter";
        case VK_ESCAPE: return u"Esc";
        case VK_SPACE: return u"Space";
        case VK_PRIOR: return u"PgUp";
        case VK_NEXT: return u"PgDn";
        case VK_END: return u"End";
        case VK_HOME: return u"Home";
        case VK_LEFT: return u"Left";
        case VK_UP: return u"Up";
        case VK_RIGHT: return u"Right";
        case VK_DOWN: return u"Down";
        case VK_INSERT: return u"Ins";
        case VK_DELETE: return u"Del";
        default: return {};
    }
}

}  // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
    if (key & 0xFF00) return 0;
    TShortCut result = key;
    if (shift & ssShift) result += scShift;
    if (shift & ssCtrl) result += scCtrl;
    if (shift & ssAlt) result += scAlt;
    return result;
}

rtl::String ShortCutToText(TShortCut shortCut) {
    const rtl::String name = KeyName(static_cast<uint8_t>(shortCut & 0xFF));
    if (name.empty()) return {};
    rtl::String text;
    if (shortCut & scShift) text += u"Shift+";
    if (shortCut & scCtrl) text += u"Ctrl+";
    if (shortCut & scAlt) text += u"Alt+";
    return text + name;
}

TShortCut TextToShortCut(const rtl::String& text) {
    for (unsigned modifiers = 0; modifiers < 8; ++modifiers)
        for (unsigned key = 1; key < 256; ++key) {
            const TShortCut candidate = ShortCut(static_cast<uint16_t>(key), modifiers);
            if (rtl::SameText(ShortCutToText(candidate), text)) return candidate;
        }
    return 0;
}

}  // namespace vcl
