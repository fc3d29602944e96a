#include "platform/rtl/Text.h"

namespace rtl {

std::string ToUtf8(const String& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

String FromUtf8(const std::string& text) {
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<uint8_t>(text[i]);
        uint32_t c;
        size_t extra;
        if (byte < 0x80) {
            c = byte;
            extra = 0;
        } else if ((byte & 0xE0) == 0xC0) {
            c = byte & 0x1F;
            extra = 1;
        } else if ((byte & 0xF0) == 0xE0) {
            c = byte & 0x0F;
            extra = 2;
        } else if ((byte & 0xF8) == 0xF0) {
            c = byte & 0x07;
            extra = 3;
        } else {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (i + extra >= text.size()) {
            out += u'\uFFFD';
            break;
        }
        for (size_t k = 1; k <= extra; ++k) c = (c << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
        i += extra + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

String IntToStr(int64_t value) {
    const std::string digits = std::to_string(value);
    return String(digits.begin(), digits.end());
}

String IntToHex(uint64_t value, int digits) {
    static const char16_t hex[] = u"0123456789ABCDEF";
    String out;
    do {
        out.insert(out.begin(), hex[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(out.size()) < digits) out.insert(out.begin(), u'0');
    return out;
}

String LowerCase(const String& text) {
    String lower(text);
    for (char16_t& c : lower) c = AsciiLower(c);
    return lower;
}

int CompareText(const String& a, const String& b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const int diff = static_cast<int>(AsciiLower(a[i])) - static_cast<int>(AsciiLower(b[i]));
        if (diff != 0) return diff;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool IsValidIdent(const String& text) {
    auto isAlpha = [](char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; };
    if (text.empty() || !isAlpha(text[0])) return false;
    for (char16_t c : text)
        if (!isAlpha(c) && !(c >= u'0' && c <= u'9')) return false;
    return true;
}

}  // namespace rtl
