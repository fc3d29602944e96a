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

namespace {

struct Retained {
    void* object;
    void (*release)(void* object);
};

struct RetainedObjects {
    std::mutex mutex;
    std::vector<Retained> objects;
};

RetainedObjects& retainedObjects() {
    static auto* retained = new RetainedObjects;
    return *retained;
}

}  // namespace

void RetainForModuleLifetime(void* object, void (*release)(void* object)) {
    std::lock_guard<std::mutex> lock(retainedObjects().mutex);
    retainedObjects().objects.push_back({object, release});
}

void ReleaseRetainedObjects() {
    std::vector<Retained> objects;
    {
        std::lock_guard<std::mutex> lock(retainedObjects().mutex);
        objects.swap(retainedObjects().objects);
    }
    for (const Retained& retained : objects) retained.release(retained.object);
}

}  // namespace rtl
