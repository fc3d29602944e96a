#include "platform/rtl/Guid.h"

#include <array>

namespace rtl {

namespace {

// Writes `digits` upper-case hexadecimal digits of `value` at `out`, most significant first.
char16_t* PutHex(char16_t* out, uint32_t value, int digits) {
    static const char16_t hex[] = u"0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) *out++ = hex[(value >> shift) & 0xF];
    return out;
}

// The value of each hexadecimal digit among the first 128 characters; -1 for the others.
constexpr std::array<int8_t, 128> kHexDigitValues = [] {
    std::array<int8_t, 128> values{};
    for (auto& value : values) value = -1;
    for (int c = 0; c < 10; ++c) values['0' + c] = static_cast<int8_t>(c);
    for (int c = 0; c < 6; ++c) values['a' + c] = values['A' + c] = static_cast<int8_t>(10 + c);
    return values;
}();

bool ParseHex(const String& text, size_t at, size_t digits, uint32_t& value) {
    value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        const char16_t c = text[i];
        const int digit = c < kHexDigitValues.size() ? kHexDigitValues[c] : -1;
        if (digit < 0) return false;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return true;
}

}  // namespace

char16_t* WriteGUID(const GUID& guid, char16_t* out) {
    *out++ = u'{';
    out = PutHex(out, guid.Data1, 8);
    *out++ = u'-';
    out = PutHex(out, guid.Data2, 4);
    *out++ = u'-';
    out = PutHex(out, guid.Data3, 4);
    *out++ = u'-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2) *out++ = u'-';
        out = PutHex(out, guid.Data4[i], 2);
    }
    *out++ = u'}';
    return out;
}

String GUIDToString(const GUID& guid) {
    String text(GUIDTextLength, u'\0');
    WriteGUID(guid, text.data());
    return text;
}

bool TryStringToGUID(const String& text, GUID& guid) {
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' || text[14] != u'-' ||
        text[19] != u'-' || text[24] != u'-')
        return false;
    GUID parsed{};
    uint32_t value;
    if (!ParseHex(text, 1, 8, value)) return false;
    parsed.Data1 = value;
    if (!ParseHex(text, 10, 4, value)) return false;
    parsed.Data2 = static_cast<uint16_t>(value);
    if (!ParseHex(text, 15, 4, value)) return false;
    parsed.Data3 = static_cast<uint16_t>(value);
    static const size_t byteAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!ParseHex(text, byteAt[i], 2, value)) return false;
        parsed.Data4[i] = static_cast<uint8_t>(value);
    }
    guid = parsed;
    return true;
}

}  // namespace rtl
