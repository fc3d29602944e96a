#include "Text.h"


namespace sample {
namespace {

Text FromAscii(const std::string& digits) { return Text(digits.begin(), digits.end()); }

}  // namespace

Text Quoted(const Text& text) { return u"\"" + text + u"\""; }

Text DecimalText(int64_t value) { return FromAscii(std::to_string(value)); }

Text HexText(uint32_t value, int digits) {
    static const char hexDigits[] = "0123456789ABCDEF";
    std::string text;
    for (; value != 0 || static_cast<int>(text.size()) < digits; value >>= 4)
        text.insert(text.begin(), hexDigits[value & 0xF]);
    return FromAscii(text);
}

}  // namespace sample
