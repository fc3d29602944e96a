// BSTR at the package boundary: an "in" string is borrowed, an "out" string belongs to the caller.
#pragma once

#include <utility>

#include "platform/rtl/Text.h"

namespace rtl {

inline String FromBstr(BSTR text) { return text ? String(U(text), SysStringLen(text)) : String(); }

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
