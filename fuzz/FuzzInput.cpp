#include "fuzz/FuzzInput.h"

#include <climits>

namespace fuzz {

uint8_t FuzzInput::Byte() { return position_ < size_ ? data_[position_++] : 0; }

size_t FuzzInput::Choose(size_t count) {
    if (count == 0) return 0;
    if (count <= 256) return Byte() % count;
    return ((size_t{Byte()} << 8) | Byte()) % count;
}

Integer FuzzInput::Number() {
    static const Integer edges[] = {0, 1, -1, 2, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1, 65535, 65536, -65536};
    const uint8_t kind = Byte();
    if (kind < 96) return static_cast<Integer>(kind % 8);
    if (kind < 192) return edges[kind % (sizeof(edges) / sizeof(edges[0]))];
    uint32_t raw = 0;
    for (int i = 0; i < 4; ++i) raw = (raw << 8) | Byte();
    return static_cast<Integer>(raw);
}

WordBool FuzzInput::Flag() {
    static const WordBool flags[] = {0, -1, 1, 2, SHRT_MIN, SHRT_MAX, 0x100};
    return flags[Choose(sizeof(flags) / sizeof(flags[0]))];
}

String FuzzInput::Text(const std::vector<String>& known) {
    static const String fragments[] = {u"\\", u"\\\\", u"Fz", u"ä", u"\u4E2D", u"\U0001F600", u"&", u"-",
                                       u" ", String(1, u'\0'), String(1, char16_t(0xD800)), u"ToolsMenu", u"."};
    const uint8_t kind = Byte();
    if (kind < 160 && !known.empty()) return known[kind % known.size()];
    if (kind < 176) return String();
    if (kind < 184) return String(Choose(4) == 0 ? 70000 : 300, u'W');
    String text;
    for (size_t parts = 1 + Choose(6); parts > 0; --parts) {
        if (Coin())
            text += fragments[Choose(sizeof(fragments) / sizeof(fragments[0]))];
        else
            text += static_cast<char16_t>(u'A' + Choose(26));
    }
    return text;
}

}  // namespace fuzz
