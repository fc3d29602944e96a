// The live objects of one class, found again from an interface pointer a package passes in.
// They are found by COM identity (the object's IUnknown), never by asking the object for an
// internal interface: a package's own object may answer any interface with itself.
#pragma once

#include "platform/rtl/ComPtr.h"
#include "platform/rtl/PackageDoor.h"
#include "platform/rtl/LockedList.h"

namespace rtl {

// A member of T: T is listed from the member's construction to its destruction.
template <class T>
class LiveObject {
public:
    explicit LiveObject(T* object) : object_(object) { List().Add(object_); }
    ~LiveObject() { List().Remove(object_); }
    LiveObject(const LiveObject&) = delete;
    LiveObject& operator=(const LiveObject&) = delete;

    // The live T behind `pointer` (which a package passed: it may be the package's own object),
    // or nil when it is none. Raises EPackageFailure when the object's AddRef or QueryInterface
    // raises or faults.
    static T* Find(IUnknown* pointer) {
        const auto identity = PackageRef<IUnknown>(pointer).template Query<IUnknown>();
        if (!identity) return nullptr;
        return List().FindFirst([&](T* object) { return object->Unknown() == identity.Get(); });
    }

    // Every live T, in the order they were made.
    static std::vector<T*> Snapshot() { return List().Snapshot(); }

private:
    static LockedList<T>& List() {
        static LockedList<T> objects;
        return objects;
    }

    T* object_;
};

}  // namespace rtl
