// The reference-counted COM object base: QueryInterface answers every listed interface
// and the interfaces they extend. The count starts at 0; the first out parameter adds the
// caller's reference; the object deletes itself when the count returns to 0.
#pragma once

#include <type_traits>
#include <utility>

#include "platform/rtl/ComPtr.h"
#include "platform/rtl/HandedToPackages.h"
#include "platform/rtl/InterfaceTraits.h"

namespace rtl {

template <class First, class... Rest>
class ComObject : public First, public Rest... {
public:
    ComObject() {
        if constexpr (kHandedToPackages) HandedToPackages::Add(Unknown(), &refCount_);
    }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    virtual ~ComObject() {
        if constexpr (kHandedToPackages) HandedToPackages::Remove(Unknown());
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        void* found = nullptr;
        if (iid == IID_IUnknown) {
            found = static_cast<IUnknown*>(static_cast<First*>(this));
        } else {
            found = Find<First>(iid);
            ((found = found ? found : Find<Rest>(iid)), ...);
        }
        if (!found) found = QueryOtherInterface(iid);
        if (!found) return E_NOINTERFACE;
        AddRef();
        *out = found;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refCount_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG count = --refCount_;
        if (count == 0) delete this;
        return count;
    }

    IUnknown* Unknown() noexcept { return static_cast<First*>(this); }
    ULONG RefCount() const noexcept { return refCount_; }

protected:
    // For an interface that the object answers but does not inherit; rarely needed.
    virtual void* QueryOtherInterface(REFIID) { return nullptr; }

    // A reference the object keeps on itself, which no package holds; and giving it up.
    void TakeOwnReference() {
        AddRef();
        if constexpr (kHandedToPackages) HandedToPackages::ChangeOwnReferences(Unknown(), 1);
    }
    void DropOwnReference() {
        if constexpr (kHandedToPackages) HandedToPackages::ChangeOwnReferences(Unknown(), -1);
        Release();
    }

private:
    template <class I>
    void* Find(REFIID iid) {
        return FindIn<I>(static_cast<I*>(this), iid);
    }
    template <class I>
    static void* FindIn(I* self, REFIID iid) {
        if constexpr (std::is_same_v<I, IUnknown>) {
            return nullptr;
        } else {
            if (iid == InterfaceTraits<I>::Id()) return self;
            using Base = typename InterfaceTraits<I>::Base;
            return FindIn<Base>(static_cast<Base*>(self), iid);
        }
    }

    static constexpr bool kHandedToPackages = (IsHandedToPackages<First> || ... || IsHandedToPackages<Rest>);
    ULONG refCount_ = 0;
};

}  // namespace rtl

namespace rtl {

// Keeps an object for the life of the module that made it; `release` lets go of it when the
// module is unloaded.
void RetainForModuleLifetime(void* object, void (*release)(void* object));
// What unloading the module does to the objects it kept, in the order they were kept.
void ReleaseRetainedObjects();

// An object that holds one reference on itself, as the hub and its services do: packages
// releasing too often bring the count down to that reference and never below it. Whoever
// owns the object lets go of that reference (LetGo) when the module is unloaded; it goes
// once no one else holds it.
template <class Base>
class SelfReferenced : public Base {
public:
    template <class... Args>
    explicit SelfReferenced(Args&&... args) : Base(std::forward<Args>(args)...) {
        Base::TakeOwnReference();
    }
    ULONG STDMETHODCALLTYPE Release() override { return pinned_ && Base::RefCount() <= 1 ? 1 : Base::Release(); }
    void LetGo() {
        if (!std::exchange(pinned_, false)) return;
        Base::DropOwnReference();
    }

private:
    bool pinned_ = true;
};

}  // namespace rtl
