#include "examples/SamplePackage/Text.h"

#include <new>

namespace sample {
namespace {

static_assert(sizeof(OLECHAR) == sizeof(char16_t) && sizeof(WCHAR) == sizeof(char16_t),
              "the platform's wide characters are UTF-16 code units");

const OLECHAR* Ole(const Text& text) { return reinterpret_cast<const OLECHAR*>(text.c_str()); }

Text FromAscii(const std::string& digits) { return Text(digits.begin(), digits.end()); }

}  // namespace

Bstr::Bstr(const Text& text) : text_(SysAllocStringLen(Ole(text), static_cast<UINT>(text.size()))) {
    if (!text_) throw std::bad_alloc();
}

Bstr::~Bstr() { Free(); }

BSTR* Bstr::Put() {
    Free();
    return &text_;
}

bool Bstr::Received(HRESULT result) {
    if (FAILED(result)) text_ = nullptr;
    return SUCCEEDED(result);
}

Text Bstr::ToText() const { return FromBstr(text_); }

void Bstr::Free() {
    if (text_) SysFreeString(text_);
    text_ = nullptr;
}

Text FromBstr(BSTR text) {
    if (!text) return Text();
    return Text(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

Text FromWideString(const WCHAR* text) { return text ? Text(reinterpret_cast<const char16_t*>(text)) : Text(); }

Text Quoted(const Text& text) { return u"\"" + text + u"\""; }

Text DecimalText(int64_t value) { return FromAscii(std::to_string(value)); }

Text HexText(uint32_t value, int digits) {
    static const char hexDigits[] = "0123456789ABCDEF";
    std::string text;
    for (; value != 0 || static_cast<int>(text.size()) < digits; value >>= 4)
        text.insert(text.begin(), hexDigits[value & 0xF]);
    return FromAscii(text);
}

void WriteDebugLine(const Text& line) { OutputDebugStringW(reinterpret_cast<LPCWSTR>(line.c_str())); }

}  // namespace sample
