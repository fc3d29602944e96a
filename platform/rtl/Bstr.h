// BSTR at the package boundary: an "in" string is borrowed, an "out" string belongs to the caller.
#pragma once

#include <utility>

#include "platform/rtl/Text.h"

namespace rtl {

// A BSTR's text up to its terminator, and never past the length its prefix gives: in C a plain
// string passes for a BSTR, and the four bytes before it are no length.
inline String FromBstr(BSTR text) {
    if (!text) return String();
    const UINT bound = SysStringLen(text);
    UINT length = 0;
    while (length < bound && text[length]) ++length;
    return String(U(text), length);
}

// A new BSTR the receiver frees; raises std::bad_alloc when the allocator fails.
BSTR AllocBstr(const String& text);

// An owned BSTR, freed with the system allocator.
class WideString {
public:
    WideString() = default;
    explicit WideString(const String& text) : value_(AllocBstr(text)) {}
    WideString(const WideString&) = delete;
    WideString& operator=(const WideString&) = delete;
    WideString(WideString&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    ~WideString() { SysFreeString(value_); }

    BSTR Get() const noexcept { return value_; }
    BSTR* Put() noexcept {
        SysFreeString(std::exchange(value_, nullptr));
        return &value_;
    }
    BSTR Detach() noexcept { return std::exchange(value_, nullptr); }
    String Text() const { return FromBstr(value_); }

private:
    BSTR value_ = nullptr;
};

}  // namespace rtl
