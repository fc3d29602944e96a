// The guard for methods a package calls that return their value directly instead of a
// result code: whatever escapes the body gives the method's "nothing" and leaves the
// failure's text as the thread's COM error info. No exception crosses into the package.
#pragma once

#include <utility>

#include "platform/rtl/ComGuard.h"

namespace rtl {

template <class Result, class Body>
Result GuardValue(Result nothing, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        HResultFromCurrentException();
        return nothing;
    }
}

template <class Body>
void GuardCall(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (...) {
        HResultFromCurrentException();
    }
}

}  // namespace rtl
