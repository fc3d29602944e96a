// The one guard at the top of every method a package (or the IDE) can call: whatever
// escapes the body becomes a failing result, and no exception crosses the boundary.
#pragma once

#include <type_traits>
#include <utility>

#include "platform/rtl/ComPtr.h"

namespace rtl {

// Maps the exception being handled to a result code and records its text as the
// thread's COM error info where the platform has one. Call only inside a catch block.
HRESULT HResultFromCurrentException() noexcept;

template <class Body>
HRESULT ComGuard(Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return HResultFromCurrentException();
    }
}

// Runs a method body; a body without a result succeeded.
template <class Body, class... Args>
HRESULT ResultOf(Body&& body, Args&... args) {
    if constexpr (std::is_void_v<std::invoke_result_t<Body, Args&...>>) {
        std::forward<Body>(body)(args...);
        return S_OK;
    } else {
        return std::forward<Body>(body)(args...);
    }
}

// For calls into package code whose failures the system swallows.
template <class Body>
void Swallow(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (...) {
    }
}

// Out parameters are cleared before anything can fail; a null one is E_POINTER.
#define KORVEL_CHECK_OUT(pointer)      \
    do {                               \
        if (!(pointer)) return E_POINTER; \
    } while (0)

}  // namespace rtl
