// The COM plumbing every object of a package library shares: the count that keeps the
// library loaded, a reference-counted object over a list of interfaces, an owning interface
// pointer, and the guard that keeps C++ exceptions from leaving a COM method.
#pragma once

#include <new>
#include <type_traits>
#include <utility>

#include "korvel/BdsInterop.h"
#include "korvel/BdsToolsInterop.h"
#include "korvel/PackageServer.h"

namespace korvel::sdk {

// Every live ComObject of the library, counted so that the library stays loaded while anyone
// holds one, and listed by class for whoever asks what is still referenced (the IDE stand-in
// does after shut-down, through the library's KorvelListLiveObjects).
void ObjectMade(IUnknown* object);
void ObjectGone(IUnknown* object);

// The contract's WordBool: -1 is true, and any non-zero value reads as true.
constexpr WordBool WordTrue = -1;
constexpr WordBool WordFalse = 0;
// The Tools API's LongBool: -1 is true.
constexpr LongBool LongTrue = -1;

template <class Interface>
const IID& InterfaceId();

#define KORVEL_SDK_INTERFACE_ID(Interface, ...)  \
    template <>                                  \
    inline const IID& InterfaceId<Interface>() { \
        return IID_##Interface;                  \
    }
KORVEL_SDK_INTERFACE_ID(IUnknown)
KORVEL_SDK_INTERFACE_ID(IClassFactory)
KORVEL_INTERFACES(KORVEL_SDK_INTERFACE_ID)
KORVEL_TOOLS_INTERFACES(KORVEL_SDK_INTERFACE_ID)
#undef KORVEL_SDK_INTERFACE_ID

// The interface a base of ComObject implements: itself, or for a base with defaults for an
// interface's methods (Sink<I>), that interface.
template <class Base, class = void>
struct ImplementedInterface {
    using type = Base;
};
template <class Base>
struct ImplementedInterface<Base, std::void_t<typename Base::Interface>> {
    using type = typename Base::Interface;
};

// Runs a COM method's body; whatever it throws becomes a failing HRESULT.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// One reference to an interface. The reference goes before the release runs, so that code
// the release runs never sees a pointer that is about to lose its object.
template <class T>
class ComRef {
public:
    ComRef() = default;
    // Takes a reference of its own.
    explicit ComRef(T* object) : object_(object) {
        if (object_) object_->AddRef();
    }
    ComRef(const ComRef& other) : ComRef(other.object_) {}
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~ComRef() { Reset(); }

    // Takes over a reference that the caller already owns.
    static ComRef Adopt(T* object) {
        ComRef adopted;
        adopted.object_ = object;
        return adopted;
    }

    void Reset() {
        if (T* released = std::exchange(object_, nullptr)) released->Release();
    }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(object_, nullptr); }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // The slot for an out parameter; pass the call's result to Received.
    T** Put() {
        Reset();
        return &object_;
    }
    // Whether the call that filled Put() succeeded and answered an object. A failed call
    // leaves nothing the caller owns, whatever it wrote.
    bool Received(HRESULT result) {
        if (FAILED(result)) object_ = nullptr;
        return object_ != nullptr;
    }

    // The object's other interface; empty when it has none.
    template <class Other>
    ComRef<Other> Query() const {
        void* found = nullptr;
        if (!object_ || FAILED(object_->QueryInterface(InterfaceId<Other>(), &found))) return ComRef<Other>();
        return ComRef<Other>::Adopt(static_cast<Other*>(found));
    }

private:
    T* object_ = nullptr;
};

// A heap object implementing `Interfaces`: its count starts at 0, the first ComRef or
// QueryInterface gives the first reference, and it deletes itself at 0.
template <class... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject() { ObjectMade(Identity<Interfaces...>()); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = Find(iid);
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~ComObject() { ObjectGone(Identity<Interfaces...>()); }

private:
    template <class First, class...>
    IUnknown* Identity() {
        return static_cast<First*>(this);
    }

    void* Find(REFIID iid) {
        if (IsEqualGUID(iid, IID_IUnknown)) return Identity<Interfaces...>();
        void* found = nullptr;
        (Match<Interfaces>(iid, found), ...);
        return found;
    }
    template <class Base>
    void Match(REFIID iid, void*& found) {
        using Interface = typename ImplementedInterface<Base>::type;
        if (!found && IsEqualGUID(iid, InterfaceId<Interface>()))
            found = static_cast<Interface*>(static_cast<Base*>(this));
    }

    ULONG references_ = 0;
};

// A new `Object`, answered as its interface `iid`.
template <class Object>
HRESULT CreateObject(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    return Guarded([&] {
        const ComRef<Object> made(new Object);
        return made->QueryInterface(iid, object);
    });
}

}  // namespace korvel::sdk
