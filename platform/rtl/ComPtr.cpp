#include "platform/rtl/ComPtr.h"

namespace rtl {

bool SameObject(IUnknown* a, IUnknown* b) {
    if (a == b) return true;
    if (!a || !b) return false;
    ComPtr<IUnknown> identityA = ComPtr<IUnknown>(a).Query<IUnknown>();
    ComPtr<IUnknown> identityB = ComPtr<IUnknown>(b).Query<IUnknown>();
    // Two objects that refuse their identity are not thereby one.
    return identityA && identityA.Get() == identityB.Get();
}

}  // namespace rtl

#include <mutex>
#include <vector>

#include "platform/rtl/ComObject.h"

namespace rtl {

void RetainForProcessLifetime(const void* object) {
    static std::mutex mutex;
    static auto* retained = new std::vector<const void*>;
    std::lock_guard<std::mutex> lock(mutex);
    retained->push_back(object);
}

}  // namespace rtl
