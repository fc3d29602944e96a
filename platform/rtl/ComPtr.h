// An owning interface pointer to the system's and the IDE's objects: one reference while it
// holds the interface. Package objects are held by PackageRef instead, whose every call goes
// through the door.
#pragma once

#include <utility>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/InterfaceTraits.h"

namespace rtl {

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a reference of its own on the pointer.
    explicit ComPtr(T* pointer) : pointer_(pointer) {
        if (pointer_) pointer_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.pointer_) {}
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other) {
        ComPtr(other).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).Swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) noexcept {
        Reset();
        return *this;
    }

    // Adopts a reference that the caller already owns.
    static ComPtr Adopt(T* pointer) noexcept {
        ComPtr result;
        result.pointer_ = pointer;
        return result;
    }

    T* Get() const noexcept { return pointer_; }
    T* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    // Releases what is held and gives the address for an out parameter to fill.
    T** Put() noexcept {
        Reset();
        return &pointer_;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

    // Hands the held reference to the caller.
    T* Detach() noexcept { return std::exchange(pointer_, nullptr); }

    // Writes a new reference into an out parameter.
    void CopyTo(T** out) const {
        *out = pointer_;
        if (pointer_) pointer_->AddRef();
    }

    // Runs from destructors, also while an exception unwinds: nothing may leave it.
    void Reset() noexcept {
        if (T* old = std::exchange(pointer_, nullptr)) {
            try {
                old->Release();
            } catch (...) {
            }
        }
    }
    void Swap(ComPtr& other) noexcept { std::swap(pointer_, other.pointer_); }

    // QueryInterface; nil when the object refuses. A refusal that still wrote a pointer is not
    // taken: nothing says a reference came with it.
    template <class U>
    ComPtr<U> Query() const {
        if (!pointer_) return {};
        void* answer = nullptr;
        if (FAILED(pointer_->QueryInterface(InterfaceTraits<U>::Id(), &answer))) return {};
        return ComPtr<U>::Adopt(static_cast<U*>(answer));
    }
    // QueryInterface that raises the language's cast error on refusal, like an "as" cast.
    template <class U>
    ComPtr<U> As() const {
        ComPtr<U> result = Query<U>();
        if (!result) RaiseIntfCastError();
        return result;
    }

private:
    T* pointer_ = nullptr;
};

template <class T>
bool operator==(const ComPtr<T>& a, const ComPtr<T>& b) noexcept {
    return a.Get() == b.Get();
}

// The same object behind two interface pointers: COM identity through IUnknown.
bool SameObject(IUnknown* a, IUnknown* b);

}  // namespace rtl
