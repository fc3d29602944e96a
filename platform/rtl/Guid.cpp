#include "platform/rtl/Guid.h"

namespace rtl {

String GUIDToString(const GUID& guid) {
    String text = u"{" + IntToHex(guid.Data1, 8) + u"-" + IntToHex(guid.Data2, 4) + u"-" + IntToHex(guid.Data3, 4) + u"-";
    for (int i = 0; i < 8; ++i) {
        if (i == 2) text += u'-';
        text += IntToHex(guid.Data4[i], 2);
    }
    return text + u"}";
}

namespace {

bool ParseHex(const String& text, size_t at, size_t digits, uint32_t& value) {
    value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        const char16_t c = text[i];
        uint32_t digit;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        else if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        else return false;
        value = (value << 4) | digit;
    }
    return true;
}

}  // namespace

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
