#include "korvel/Text.h"

#include <new>

namespace korvel::sdk {

static_assert(sizeof(OLECHAR) == sizeof(char16_t) && sizeof(WCHAR) == sizeof(char16_t),
              "the platform's wide characters are UTF-16 code units");

Bstr::Bstr(const Text& text) : text_(SysAllocStringLen(Wide(text), static_cast<UINT>(text.size()))) {
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

LPCWSTR Wide(const Text& text) { return reinterpret_cast<LPCWSTR>(text.c_str()); }

void WriteDebugLine(const Text& line) { OutputDebugStringW(Wide(line)); }

int ShowMessage(const Text& text, const Text& caption, UINT style) {
    return MessageBoxW(GetForegroundWindow(), Wide(text), Wide(caption), style);
}

}  // namespace korvel::sdk
