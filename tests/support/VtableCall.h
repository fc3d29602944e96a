// Calls a COM method by its slot number, as a caller in another language does: through the
// object's vtable, with the interface pointer first.
#pragma once

#include "platform/win32/Win32.h"

namespace testing_support {

// Slots 0-2 belong to IUnknown; the interface's first method is slot 3.
constexpr int FirstMethodSlot = 3;

template <class Ret = HRESULT, class... Args>
Ret CallSlot(void* object, int slot, Args... args) {
    using Method = Ret(STDMETHODCALLTYPE*)(void*, Args...);
    Method method = reinterpret_cast<Method>((*reinterpret_cast<void***>(object))[slot]);
    return method(object, args...);
}

// The n-th method (1-based, as the contract numbers them) of an interface.
template <class Ret = HRESULT, class... Args>
Ret CallMethod(void* object, int method, Args... args) {
    return CallSlot<Ret, Args...>(object, FirstMethodSlot + method - 1, args...);
}

}  // namespace testing_support
