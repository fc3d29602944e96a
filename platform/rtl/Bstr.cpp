#include "platform/rtl/Bstr.h"

#include <new>

namespace rtl {

BSTR AllocBstr(const String& text) {
    BSTR result = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    if (!result) throw std::bad_alloc();
    return result;
}

}  // namespace rtl
